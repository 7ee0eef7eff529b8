#!/usr/bin/env python3
"""Compares FolderNameKey with the canonical caseless form Python makes from its own
Unicode data: NFD(casefold(NFD(name))).

    folder_key_oracle.py DUMPER

DUMPER is tavrel_folder_key_dump (tests/form/FolderKeyDump.cpp), which prints the key of
each line it reads. The names: every code point alone (but surrogates and the line
breaks that would split the input), each after a letter, and words of letters with
combining marks in random order (a fixed seed). The comparison holds only when this
Python's Unicode version is the one form/UnicodeTables.inc was made from; otherwise the
test is skipped (exit 77).
"""

import pathlib
import random
import subprocess
import sys
import unicodedata

ROOT = pathlib.Path(__file__).resolve().parent.parent.parent
TABLES = ROOT / "form" / "UnicodeTables.inc"
VERSION_LINE = "// Unicode version: "


def tables_version():
    for line in TABLES.read_text(encoding="utf-8").splitlines():
        if line.startswith(VERSION_LINE):
            return line[len(VERSION_LINE):]
    return None


def key(name):
    return unicodedata.normalize("NFD", unicodedata.normalize("NFD", name).casefold())


def names():
    singles = [chr(c) for c in range(1, 0x110000)
               if not 0xD800 <= c <= 0xDFFF and c not in (0x0A, 0x0D)]
    yield from singles
    yield from ("A" + c for c in singles[::7])
    marks = [c for c in singles if unicodedata.combining(c)]
    letters = [c for c in singles if unicodedata.category(c).startswith("L")]
    rng = random.Random(16)
    for _ in range(20000):
        yield "".join(rng.choice(letters if rng.random() < 0.5 else marks)
                      for _ in range(rng.randint(1, 6)))


def main():
    if tables_version() != unicodedata.unidata_version:
        print(f"the tables are Unicode {tables_version()}, this Python's "
              f"{unicodedata.unidata_version}: not compared", file=sys.stderr)
        return 77
    inputs = list(names())
    run = subprocess.run([sys.argv[1]], input="\n".join(inputs).encode() + b"\n",
                         capture_output=True, check=True)
    keys = run.stdout.split(b"\n")[:-1]
    if len(keys) != len(inputs):
        print(f"{len(inputs)} names, {len(keys)} keys", file=sys.stderr)
        return 1
    wrong = [(name, got) for name, got in zip(inputs, keys) if got != key(name).encode()]
    for name, got in wrong[:20]:
        print(f"{ascii(name)}: key {ascii(got.decode(errors='replace'))}, "
              f"expected {ascii(key(name))}", file=sys.stderr)
    print(f"{len(inputs)} names, {len(wrong)} keys differ")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())

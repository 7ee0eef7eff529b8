#!/usr/bin/env python3
"""Compares our CSV reader with an independent one, Python's csv module (strict, so that
text after a closing quote and a quoted cell never closed are refused).

    csv_oracle.py DUMPER [FOLDER...]

DUMPER is tavrel_csv_dump (tests/form/CsvDump.cpp), which prints what ReadCsv reads. The
inputs: every file in the FOLDERs (the fuzz corpus), the tables written out below, and
short texts drawn at random (with a fixed seed) from the characters that shape CSV.

Where the two readers differ on purpose, and how they are compared:

- Blank records: csv.reader returns them as empty rows; ReadCsv leaves them out but
  counts them. Records are compared by number, csv.reader's empty rows left out.
- A quote inside a cell that does not start with one: csv.reader takes it as text, even
  when strict; ReadCsv takes it as text too (so the cells agree) but names the fault,
  since RFC 4180 writes such a cell in quotes. That fault is allowed on any row whose
  cells hold a quote.
- csv.reader stops at the first fault it refuses; ReadCsv reads on. For a refused text,
  the records before csv.reader's failing one are compared, and ReadCsv must name a
  fault on that one.

Bytes that are not UTF-8 are handed to csv.reader as surrogate escapes and compared as
bytes again, so the comparison is byte for byte.
"""

import csv
import io
import os
import random
import subprocess
import sys
import tempfile

TABLES = [
    b"",
    b"name,ipAddress\r\ndev1,10.0.0.5\r\n",
    b"name,pushAddress\r\ndev1,\"a,b \"\"c\"\"\r\nline2\"\r\ndev2,\"x\ny\"\r\n",
    b"name\rdev1\rdev2\r",
    b"a\r\nb\nc\rd",
    b"\n\nname\n\r\n\rdev\n",
    b"name,ipAddress,subnetMask\n\ndev1,,255.255.0.0\n\ndev2,10.0.0.2,",
    b"\"\"\n\"\",\"\"\n,\n",
    b"name,cipKey\ndev1,\"  \"\n",
    "name,cipKey\n大廳,密鑰\n".encode(),
    b"name,cipKey\n\xa4j\xc6U,\xb1K\xc6_\n",  # code page 950
    b"a\x00b,c\n",
    b"name,pushAddress\na,\"x\nb,y\n",
    b"name,pushAddress\na,x\"y\"\n",
    b"name,pushAddress\na,\"x\"y\n",
    b"name,\"ringLimit\"x\n",
    b"\"x\" ,y\n",
    b"\"a\"\"",
    b"\"a\"\r\"b\"\n\"c\"\r\n\"d\"",
]

KINDS = {"ok", "stray-quote", "after-quote", "unclosed"}


def random_texts(count, seed=4180):
    pieces = [b"a", b"b", b",", b"\"", b"\"\"", b"\r", b"\n", b"\r\n", b" ", "é".encode(),
              b"\x00", b"\xa4"]
    rng = random.Random(seed)
    return [b"".join(rng.choice(pieces) for _ in range(rng.randrange(0, 14)))
            for _ in range(count)]


def python_rows(data):
    """csv.reader's rows as lists of bytes, and its error (None when it read the whole)."""
    text = data.decode("utf-8", "surrogateescape")
    rows = []
    try:
        for cells in csv.reader(io.StringIO(text, newline=""), strict=True):
            rows.append([c.encode("utf-8", "surrogateescape") for c in cells])
    except csv.Error as error:
        return rows, str(error)
    return rows, None


def our_rows(dumper, paths):
    """ReadCsv's records of each file: {number: (kind, [cell bytes])}."""
    out = subprocess.run([dumper, *paths], check=True, capture_output=True).stdout
    files = []
    for line in out.decode("ascii").splitlines():
        if line == "file":
            files.append({})
            continue
        number, kind, *cells = line.split(" ")
        files[-1][int(number)] = (kind, [bytes.fromhex(c[1:]) for c in cells])
    if len(files) != len(paths):
        raise SystemExit(f"the dumper printed {len(files)} files of {len(paths)}")
    return files


def compare(data, ours):
    """What is wrong with our records of `data`, or None."""
    rows, error = python_rows(data)
    failing = len(rows) + 1 if error else None
    theirs = {n: cells for n, cells in enumerate(rows, 1) if cells}
    for number, (kind, _) in ours.items():
        if kind not in KINDS:
            return f"record {number}: unknown fault {kind}"
    if failing is not None:
        if failing not in ours or ours[failing][0] == "ok":
            return f"csv.reader refuses record {failing} ({error}); we name no fault there"
        ours = {n: r for n, r in ours.items() if n < failing}
    if sorted(ours) != sorted(theirs):
        return f"records {sorted(ours)}, csv.reader's {sorted(theirs)}"
    for number, (kind, cells) in ours.items():
        if cells != theirs[number]:
            return f"record {number}: cells {cells}, csv.reader's {theirs[number]}"
        if kind != "ok" and not (kind == "stray-quote" and any(b"\"" in c for c in cells)):
            return f"record {number}: fault {kind} on a record csv.reader reads"
    return None


def main():
    if len(sys.argv) < 2:
        raise SystemExit(__doc__)
    csv.field_size_limit(sys.maxsize)
    dumper = sys.argv[1]
    inputs = []
    for folder in sys.argv[2:]:
        for name in sorted(os.listdir(folder)):
            with open(os.path.join(folder, name), "rb") as f:
                inputs.append((f"{folder}/{name}", f.read()))
    inputs += [(f"table {i}", t) for i, t in enumerate(TABLES)]
    inputs += [(f"random text {i}", t) for i, t in enumerate(random_texts(3000))]

    with tempfile.TemporaryDirectory() as scratch:
        paths = []
        for i, (_, data) in enumerate(inputs):
            paths.append(os.path.join(scratch, str(i)))
            with open(paths[-1], "wb") as f:
                f.write(data)
        ours = our_rows(dumper, paths)

    failures = 0
    refused = 0
    for (name, data), records in zip(inputs, ours):
        refused += python_rows(data)[1] is not None
        problem = compare(data, records)
        if problem:
            failures += 1
            print(f"{name} {data!r}: {problem}")
    print(f"{len(inputs)} inputs, {refused} of them refused by csv.reader, {failures} differ")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

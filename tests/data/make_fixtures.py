#!/usr/bin/env python3
"""Builds the shared test fixtures straight from the file layout, independently of the
C++ code, so that every program's output can be compared with them byte for byte.

  full-form.dat    what confirming this form writes:
                   fixed address mode; IP 192.168.0.20, mask 255.255.255.0,
                   gateway 192.168.0.1, other DNS 8.8.4.4, preferred DNS 8.8.8.8;
                   push address "http://push.example.com/call" CR LF "中文推送";
                   guard on (index 1); ring count 3; key "密鑰Key123" (code page 950)
  fresh-form.dat   what confirming an untouched form writes (no stored file):
                   automatic mode, mask 255.255.255.0, every other address 0.0.0.0,
                   empty texts, guard off, ring count 0
  foreign.dat      a file some other tool wrote: mode 2, IP "10.1", mask empty, gateway
                   "bogus", other DNS " 8.8.4.4" (not an address), preferred 8.8.8.8
                   followed by garbage after its terminator, non-zero reserved bytes,
                   guard 5, ring -5, key "abc"
  foreign-saved.dat  what loading foreign.dat and confirming without edits writes
  line-breaks.dat  a fresh form whose push address holds a lone LF and a lone CR,
                   "a" LF "b" CR "c" (only a foreign file has them); loading it and
                   confirming without edits writes it again unchanged
"""
import struct
from pathlib import Path

SIZE = 1036


def slot16(text, units):
    data = text.encode("utf-16-le")
    assert len(data) < units * 2
    return data + b"\0" * (units * 2 - len(data))


def record(mode, ip, mask, other, gateway, preferred, push, guard, rings, key):
    key_bytes = key.encode("cp950")
    assert len(key_bytes) < 128
    out = struct.pack("<i", mode)
    for a in (ip, mask, other, gateway, preferred):
        out += slot16(a, 32)
    out += b"\0" * 64
    out += slot16(push, 256)
    out += struct.pack("<ii", guard, rings)
    out += key_bytes + b"\0" * (128 - len(key_bytes))
    assert len(out) == SIZE
    return out


def main():
    here = Path(__file__).parent
    full = record(0, "192.168.0.20", "255.255.255.0", "8.8.4.4", "192.168.0.1", "8.8.8.8",
                  "http://push.example.com/call\r\n中文推送", 1, 3, "密鑰Key123")
    fresh = record(1, "0.0.0.0", "255.255.255.0", "0.0.0.0", "0.0.0.0", "0.0.0.0", "", 0, 0, "")
    line_breaks = record(1, "0.0.0.0", "255.255.255.0", "0.0.0.0", "0.0.0.0", "0.0.0.0",
                         "a\nb\rc", 0, 0, "")

    foreign = bytearray(record(2, "10.1", "", " 8.8.4.4", "bogus", "8.8.8.8", "", 5, -5, "abc"))
    preferred_at = 260 + len("8.8.8.8\0".encode("utf-16-le"))
    foreign[preferred_at:preferred_at + 4] = b"Z\0Z\0"   # after the terminator
    foreign[330] = 0x7F                                    # reserved
    saved = record(1, "10.0.0.1", "255.255.255.255", "255.255.255.255", "255.255.255.255",
                   "8.8.8.8", "", -1, -5, "abc")

    for name, data in (("full-form.dat", full), ("fresh-form.dat", fresh),
                       ("foreign.dat", bytes(foreign)), ("foreign-saved.dat", saved),
                       ("line-breaks.dat", line_breaks)):
        (here / name).write_bytes(data)


if __name__ == "__main__":
    main()

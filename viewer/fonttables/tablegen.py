"""Shared by the build-time generators of C++ tables (the code page 932
decoding table, the Japanese character sets).

read_cp932() returns {byte string: code point} for every character of code
page 932 as glibc's locales package describes it (WINDOWS-31J).
"""
import gzip
import os
import re

CHARMAP = "/usr/share/i18n/charmaps/WINDOWS-31J.gz"
_LINE = re.compile(r"^<U([0-9A-F]{4,6})>\s+((?:/x[0-9a-f]{2})+)\s")


def read_cp932(path=CHARMAP):
    mapping = {}
    with gzip.open(path, "rt", encoding="ascii", errors="replace") as f:
        inside = False
        for line in f:
            if line.startswith("CHARMAP"):
                inside = True
            elif line.startswith("END CHARMAP"):
                break
            elif inside:
                m = _LINE.match(line)
                if m:
                    code = bytes(int(h, 16) for h in m.group(2).split("/x")[1:])
                    mapping.setdefault(code, int(m.group(1), 16))
    return mapping


def array_lines(values, form):
    """The body of a C++ array initializer, twelve values a line."""
    return ["  " + ", ".join(form % v for v in values[i:i + 12]) + "," for i in range(0, len(values), 12)]


def write_source(path, lines):
    """Writes the file whole or not at all: a stopped build leaves no half."""
    tmp = path + ".tmp"
    with open(tmp, "w", encoding="ascii") as f:
        f.write("\n".join(lines))
    os.replace(tmp, path)

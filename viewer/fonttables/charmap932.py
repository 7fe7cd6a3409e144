"""Code page 932 as glibc's locales package describes it (WINDOWS-31J).

read_cp932() returns {byte string: code point} for every defined character.
Shared by the build-time generators of the decoding table and of the
character sets, so that both read the mapping the same way.
"""
import gzip
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

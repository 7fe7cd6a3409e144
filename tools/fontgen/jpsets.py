"""The Japanese character sets, rebuilt in Python from the same Debian data
as the viewer's build-time tables, but by another route: the JIS X 0208
rows through Python's own cp932 codec instead of glibc's charmap.

sets() returns {name: sorted list of code points} in the CSV column order.
"""
import bz2
import functools

UNIHAN = "/usr/share/unicode/Unihan_OtherMappings.txt.bz2"
NAMES = ["kana", "nonkanji", "jis1", "jis2", "joyo", "jinmeiyo", "jis3", "jis4"]


def _jis0208():
    found = {"kana": set(), "nonkanji": set(), "jis1": set(), "jis2": set()}
    for row in range(1, 85):
        for cell in range(1, 95):
            # JIS row/cell to Shift_JIS bytes.
            lead = (row + 1) // 2 + (0x80 if row <= 62 else 0xC0)
            trail = cell + (0x9E if row % 2 == 0 else (0x3F if cell <= 63 else 0x40))
            try:
                ch = bytes([lead, trail]).decode("cp932")
            except UnicodeDecodeError:
                continue
            if row in (4, 5):
                found["kana"].add(ord(ch))
            elif row <= 8:
                found["nonkanji"].add(ord(ch))
            elif 16 <= row <= 47:
                found["jis1"].add(ord(ch))
            elif row >= 48:
                found["jis2"].add(ord(ch))
    return found


def _unihan():
    found = {"joyo": set(), "jinmeiyo": set(), "jis3": set(), "jis4": set()}
    with bz2.open(UNIHAN, "rt", encoding="utf-8") as f:
        for line in f:
            fields = line.split()
            if len(fields) != 3:
                continue
            code, key, value = fields
            cp = int(code[2:], 16)
            if key == "kJoyoKanji" and not value.startswith("U+"):
                found["joyo"].add(cp)
            elif key == "kJinmeiyoKanji":
                found["jinmeiyo"].add(cp)
            elif key == "kJIS0213":
                found["jis3" if value.split(",")[0] == "1" else "jis4"].add(cp)
    return found


@functools.lru_cache(maxsize=1)
def sets():
    found = {**_jis0208(), **_unihan()}
    return {name: sorted(found[name]) for name in NAMES}

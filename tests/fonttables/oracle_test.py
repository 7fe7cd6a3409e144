"""fontcover against an independent oracle: python3-fonttools reads the
cmap, name and GSUB tables, and the Japanese sets are rebuilt in Python from
the same Debian data (tools/fontgen/jpsets.py), on the installed IPA fonts
and on generated fonts with known gaps.

FONTCOVER is the command (split on blanks): the native program, or
"wine-run TREE fontcover.exe" with FONTCOVER_WINE=1 for paths as Z:\\...
"""
import csv
import glob
import io
import os
import shlex
import subprocess
import sys

import pytest
from fontTools.ttLib import TTCollection, TTFont

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "fontgen"))
import jpsets  # noqa: E402
import make_fonts  # noqa: E402

IPA_FONTS = sorted(glob.glob("/usr/share/fonts/opentype/ipa*/*.ttf"))
WINE = os.environ.get("FONTCOVER_WINE") == "1"


def fontcover(*args):
    paths = [("Z:" + a.replace("/", "\\")) if WINE and a.startswith("/") else a for a in args]
    done = subprocess.run(shlex.split(os.environ["FONTCOVER"]) + paths, capture_output=True, timeout=300)
    rows = list(csv.reader(io.StringIO(done.stdout.decode("utf-8"))))
    return done.returncode, rows, done.stderr.decode("utf-8", "replace")


def oracle_rows(path):
    """Per face: family, counts per set and IVS; names; vertical features."""
    fonts = TTCollection(path).fonts if path.endswith(".ttc") else [TTFont(path)]
    sets = jpsets.sets()
    rows = []
    for font in fonts:
        mapped = {c for c, g in font.getBestCmap().items() if font.getGlyphID(g) != 0}
        ivs = 0
        for table in font["cmap"].tables:
            if table.format == 14:
                ivs = sum(len(v) for s, v in table.uvsDict.items() if 0xE0100 <= s <= 0xE01EF)
        name = font["name"]
        japanese = name.getName(1, 3, 1, 0x411) or name.getName(1, 1, 1, 11)
        english = name.getName(1, 3, 1, 0x409)
        japanese, english = (str(n) if n else "" for n in (japanese, english))
        features = set()
        if "GSUB" in font and font["GSUB"].table.FeatureList:
            features = {r.FeatureTag for r in font["GSUB"].table.FeatureList.FeatureRecord}
        vertical = " ".join(t for t in ("vert", "vrt2") if t in features)
        counts = [str(len(mapped.intersection(sets[n]))) for n in jpsets.NAMES]
        rows.append({"counts": [japanese or english] + counts + [str(ivs)],
                     "names": [japanese, english, vertical]})
    return rows


def check_against_oracle(paths):
    code, counts, err = fontcover(*paths)
    assert code == 0, err
    assert counts[0] == ["file", "index", "family"] + jpsets.NAMES + ["ivs"]
    code, names, err = fontcover("--names", *paths)
    assert code == 0, err
    expected = [(i, row) for p in paths for i, row in enumerate(oracle_rows(p))]
    assert [r[1] for r in counts[1:]] == [str(i) for i, _ in expected]
    assert [r[2:] for r in counts[1:]] == [row["counts"] for _, row in expected]
    assert [r[2:] for r in names[1:]] == [row["names"] for _, row in expected]


@pytest.mark.parametrize("path", IPA_FONTS, ids=os.path.basename)
def test_ipa_fonts_agree_with_fonttools(path):
    check_against_oracle([path])


@pytest.fixture(scope="module")
def generated(tmp_path_factory):
    folder = tmp_path_factory.mktemp("fonts")
    manifest = make_fonts.make(str(folder), 4)
    paths = [str(folder / e["file"]) for e in manifest]
    mac = str(folder / "mac-japanese.ttf")
    make_fonts.build_font(mac, "", "Glimra Mac", jpsets.sets()["kana"], mac_japanese="マック試験")
    ttc = str(folder / "pair.ttc")
    collection = TTCollection()
    collection.fonts = [TTFont(paths[0]), TTFont(paths[1])]
    collection.save(ttc)
    return folder, manifest, paths, [mac, ttc]


def test_generated_fonts_agree_with_fonttools(generated):
    _, manifest, paths, extra = generated
    check_against_oracle(paths + extra)
    _, names, _ = fontcover("--names", *paths)
    assert [r[2:] for r in names[1:]] == [
        [e["japanese"], e["english"], "vert" if e["vertical"] else ""] for e in manifest]


def test_missing_joyo_are_exactly_the_omitted_ones(generated):
    _, manifest, paths, _ = generated
    code, rows, err = fontcover("--missing", "joyo", *paths)
    assert code == 0, err
    for entry, path in zip(manifest, paths):
        listed = [int(r[2][2:], 16) for r in rows[1:] if r[0].endswith(os.path.basename(path))]
        assert listed == entry["missing_joyo"] and len(listed) == 10
        assert all(chr(int(r[2][2:], 16)) == r[3] for r in rows[1:])


def test_bad_input_is_reported_with_exit_code_1(generated, tmp_path):
    good = generated[2][0]
    data = open(good, "rb").read()
    cmap = data.index(b"cmap")  # its directory entry: tag, checksum, offset, length
    hostile = bytearray(data)
    table = int.from_bytes(data[cmap + 8:cmap + 12], "big")
    hostile[table + 2:table + 4] = b"\xff\xff"  # numTables
    cases = {
        "empty.ttf": (b"", "too short"),
        "text.ttf": (b"This is not a font at all.", "not a TrueType"),
        "truncated.ttf": (data[:len(data) // 2], "past the end"),
        "hostile.ttf": (bytes(hostile), "cmap: more subtables"),
    }
    for name, (content, message) in cases.items():
        (tmp_path / name).write_bytes(content)
        code, rows, err = fontcover(str(tmp_path / name), good)
        assert code == 1 and message in err and name in err, (name, err)
        assert len(rows) == 2 and rows[1][0].endswith(os.path.basename(good)), name  # the good file still listed
    code, _, err = fontcover("--missing", "nosuchset", good)
    assert code == 2 and "unknown set" in err


def test_sets_list_names_and_sizes():
    code, rows, _ = fontcover("--sets")
    assert code == 0
    assert [(r[0], int(r[1])) for r in rows[1:]] == [(n, len(jpsets.sets()[n])) for n in jpsets.NAMES]

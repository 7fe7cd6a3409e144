"""Makes small TrueType fonts with distinct Japanese and English family
names and known Japanese coverage, with python3-fonttools (Debian).

Font i (from 0) is "グリムラ試験 NNNN" / "Glimra Test NNNN" and maps the kana
and every joyo kanji except `omit` of them, chosen from i so that fonts
differ; every `ivs_every`-th font also maps the first ten joyo kanji with the
selector U+E0100, every second font has a 'vert' feature. Every glyph is one
box, so that thousands of fonts stay small.

    make_fonts.py OUT_DIR [--count N] [--omit K] [--first I]

writes OUT_DIR/glimra-test-NNNN.ttf and OUT_DIR/manifest.json: per font its
file, names, the omitted (missing) joyo kanji, the IVS count and whether it
has vertical forms.
"""
import argparse
import json
import os
import sys

from fontTools.feaLib.builder import addOpenTypeFeaturesFromString
from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import jpsets  # noqa: E402

IVS_SELECTOR = 0xE0100


def _box(width, height):
    pen = TTGlyphPen(None)
    pen.moveTo((100, -120))
    pen.lineTo((100, height))
    pen.lineTo((width - 100, height))
    pen.lineTo((width - 100, -120))
    pen.closePath()
    return pen.glyph()


def build_font(path, japanese, english, chars, ivs_bases=(), vertical=False, mac_japanese=None):
    """One font: `chars` all map to a box; `ivs_bases` get U+E0100 as a
    default variation sequence; `mac_japanese` replaces the Windows Japanese
    name by a Macintosh one."""
    fb = FontBuilder(1000, isTTF=True)
    glyphs = [".notdef", "box", "box.vert"]
    fb.setupGlyphOrder(glyphs)
    fb.setupCharacterMap({c: "box" for c in chars},
                         uvs=[(base, IVS_SELECTOR, None) for base in ivs_bases])
    fb.setupGlyf({".notdef": _box(500, 700), "box": _box(1000, 880), "box.vert": _box(1000, 800)})
    fb.setupHorizontalMetrics({g: (1000, 100) for g in glyphs})
    fb.setupHorizontalHeader(ascent=880, descent=-120)
    style = {"en": "Regular"}
    family = {"en": english}
    if mac_japanese is None:
        family["ja"] = japanese
    fb.setupNameTable({"familyName": family, "styleName": style,
                       "uniqueFontIdentifier": english, "fullName": {"en": english},
                       "psName": english.replace(" ", "")}, mac=False)
    if mac_japanese is not None:
        fb.font["name"].setName(mac_japanese, 1, 1, 1, 11)  # Macintosh, Japanese
    fb.setupOS2(sTypoAscender=880, sTypoDescender=-120, usWinAscent=880, usWinDescent=120,
                ulCodePageRange1=(1 << 17) | 1)  # code page 932 and Latin 1
    fb.setupPost()
    if vertical:
        addOpenTypeFeaturesFromString(fb.font, "feature vert { sub box by box.vert; } vert;")
    fb.save(path)


def omitted_joyo(index, omit):
    joyo = jpsets.sets()["joyo"]
    picked = []
    k = 0
    while len(picked) < omit:
        c = joyo[(index * 131 + k * 211 + 7) % len(joyo)]
        if c not in picked:
            picked.append(c)
        k += 1
    return sorted(picked)


def make(out_dir, count, omit=10, first=0, ivs_every=3):
    sets = jpsets.sets()
    os.makedirs(out_dir, exist_ok=True)
    manifest = []
    for i in range(first, first + count):
        missing = omitted_joyo(i, omit)
        chars = (set(sets["kana"]) | set(sets["joyo"])) - set(missing)
        ivs = [c for c in sets["joyo"][:10] if c in chars] if i % ivs_every == 0 else []
        entry = {
            "file": "glimra-test-%04d.ttf" % i,
            "japanese": "グリムラ試験 %04d" % i,
            "english": "Glimra Test %04d" % i,
            "missing_joyo": missing,
            "ivs": len(ivs),
            "vertical": i % 2 == 0,
        }
        build_font(os.path.join(out_dir, entry["file"]), entry["japanese"], entry["english"], chars,
                   ivs_bases=ivs, vertical=entry["vertical"])
        manifest.append(entry)
    with open(os.path.join(out_dir, "manifest.json"), "w", encoding="utf-8") as f:
        json.dump(manifest, f, ensure_ascii=False, indent=1)
    return manifest


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("out_dir")
    parser.add_argument("--count", type=int, default=10)
    parser.add_argument("--omit", type=int, default=10, help="joyo kanji each font lacks")
    parser.add_argument("--first", type=int, default=0, help="number of the first font")
    args = parser.parse_args()
    make(args.out_dir, args.count, args.omit, args.first)


if __name__ == "__main__":
    main()

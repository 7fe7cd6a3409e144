#!/usr/bin/python3
"""Makes the small TrueType fonts that the installation tests load.

Each face has a name that no system font has, so that loading its file makes
a new face appear. Run again only when a font must change:
    /usr/bin/python3 make_fonts.py   (needs python3-fonttools)
"""
from pathlib import Path

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTCollection

HERE = Path(__file__).resolve().parent


def box(width, height):
    pen = TTGlyphPen(None)
    pen.moveTo((50, 0))
    pen.lineTo((50, height))
    pen.lineTo((width - 50, height))
    pen.lineTo((width - 50, 0))
    pen.closePath()
    return pen.glyph()


def make_font(family, japanese=None):
    glyphs = [".notdef", "space", "A", "a"]
    fb = FontBuilder(1000, isTTF=True)
    fb.setupGlyphOrder(glyphs)
    fb.setupCharacterMap({0x20: "space", 0x41: "A", 0x61: "a"})
    empty = TTGlyphPen(None).glyph()
    fb.setupGlyf({".notdef": box(500, 700), "space": empty, "A": box(600, 700), "a": box(500, 500)})
    fb.setupHorizontalMetrics({g: (600, 50) for g in glyphs})
    fb.setupHorizontalHeader(ascent=800, descent=-200)
    ps = family.replace(" ", "") + "-Regular"
    names = {"familyName": family, "styleName": "Regular", "fullName": family, "psName": ps,
             "uniqueFontIdentifier": ps}
    if japanese:
        names.update(familyName={"en": family, "ja": japanese}, fullName={"en": family, "ja": japanese})
    fb.setupNameTable(names)
    fb.setupOS2(sTypoAscender=800, usWinAscent=800, usWinDescent=200, ulCodePageRange1=0x1)
    fb.setupPost()
    return fb.font


def main():
    make_font("Glimra Test Alpha").save(HERE / "GlimraAlpha.ttf")
    make_font("Glimra Test Delta").save(HERE / "GlimraDelta.ttf")
    make_font("Glimra Test Epsilon", "グリムラ試験イプシロン").save(HERE / "GlimraEpsilon.ttf")
    for name in ("One", "Two", "Three"):
        make_font(f"Glimra Search {name}").save(HERE / f"GlimraSearch{name}.ttf")
    pair = TTCollection()
    pair.fonts = [make_font("Glimra Test Beta"), make_font("Glimra Test Gamma")]
    pair.save(HERE / "GlimraPair.ttc")
    (HERE / "NotAFont.ttf").write_bytes(b"This is a text file with a font's extension.\r\n")


if __name__ == "__main__":
    main()

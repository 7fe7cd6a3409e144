#!/usr/bin/python3
"""Seed corpus for the font-table fuzzer: small generated fonts whole (first
byte 0), a collection of two, and their cmap, name and GSUB tables alone
(first byte 1, 2, 3).

Usage: make_font_seeds.py <seed folder>"""
import os
import sys
import tempfile

from fontTools.ttLib import TTCollection, TTFont

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "..", "tools", "fontgen"))
import make_fonts  # noqa: E402

seeds = sys.argv[1]
os.makedirs(seeds, exist_ok=True)


def put(name, data):
    with open(os.path.join(seeds, name), "wb") as f:
        f.write(data)


kanji = [0x4E00, 0x4E01, 0x4E03, 0x4E07, 0x4E08, 0x4E09, 0x4E0A, 0x20B9F]
kana = list(range(0x3041, 0x3050))
with tempfile.TemporaryDirectory() as tmp:
    fonts = [
        ("plain", dict(chars=kana)),
        ("ivs", dict(chars=kana + kanji, ivs_bases=kanji[:3], vertical=True)),
        ("mac", dict(chars=kanji, mac_japanese="マック")),
    ]
    paths = []
    for name, options in fonts:
        path = os.path.join(tmp, name + ".ttf")
        make_fonts.build_font(path, "試験" + name, "Seed " + name, **options)
        paths.append(path)
        data = open(path, "rb").read()
        put("font-" + name, b"\0" + data)
        font = TTFont(path)
        for selector, tag in ((1, "cmap"), (2, "name"), (3, "GSUB")):
            if tag in font:
                put("%s-%s" % (tag, name), bytes([selector]) + font.getTableData(tag))
    collection = TTCollection()
    collection.fonts = [TTFont(p) for p in paths[:2]]
    ttc = os.path.join(tmp, "pair.ttc")
    collection.save(ttc)
    put("font-pair-ttc", b"\0" + open(ttc, "rb").read())

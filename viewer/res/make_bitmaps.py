"""Writes the tool bar bitmaps and the program icon of Glimra.exe.

The images are drawn here from simple shapes so that the resources come from
reviewable source instead of binary files. Usage: make_bitmaps.py OUTDIR
"""
import struct
import sys
from pathlib import Path

FACE = (192, 192, 192)  # the button face colour the bars map to the system's


def bmp(width, height, pixels):
    """24-bit bottom-up BMP from pixels[y][x] = (r, g, b)."""
    row_size = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixels[y][x]
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        data += row
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(header) + len(data), 0, 0, 14 + len(header)) + header + data


class Canvas:
    def __init__(self, width, height):
        self.w, self.h = width, height
        self.p = [[FACE] * width for _ in range(height)]

    def rect(self, x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                self.p[y][x] = c

    def frame(self, x0, y0, x1, y1, c):
        self.rect(x0, y0, x1, y0 + 1, c)
        self.rect(x0, y1 - 1, x1, y1, c)
        self.rect(x0, y0, x0 + 1, y1, c)
        self.rect(x1 - 1, y0, x1, y1, c)

    def glyph(self, ox, oy, rows, c, scale=1):
        """Draws a small bitmap font glyph given as strings of '#' and '.'."""
        for j, line in enumerate(rows):
            for i, ch in enumerate(line):
                if ch == "#":
                    self.rect(ox + i * scale, oy + j * scale, ox + (i + 1) * scale, oy + (j + 1) * scale, c)


GLYPHS = {
    "A": [".##.", "#..#", "####", "#..#", "#..#"],
    "J": ["..##", "...#", "...#", "#..#", ".##."],
    "E": ["####", "#...", "###.", "#...", "####"],
    "T": ["###", ".#.", ".#.", ".#.", ".#."],
    "O": [".##.", "#..#", "#..#", "#..#", ".##."],
    "*": ["..#..", ".###.", "#####", ".###.", ".#.#."],
    "!": ["#", "#", "#", ".", "#"],
    "+": [".#.", "###", ".#."],
    "-": ["###"],
    "=": ["####", "....", "####", "....", "####"],
}

BLACK, RED, GREEN, BLUE, NAVY, WHITE, YELLOW = (0, 0, 0), (200, 0, 0), (0, 150, 0), (0, 0, 200), (0, 0, 128), (255, 255, 255), (230, 200, 0)


def page(c, x, fill=WHITE):
    c.rect(x + 5, 3, x + 17, 20, fill)
    c.frame(x + 5, 3, x + 17, 20, BLACK)


def main_toolbar():
    names = ["copy", "paste", "install", "uninstall", "permanent", "fav+", "fav-", "cand+", "cand-", "print"]
    c = Canvas(24 * len(names), 24)
    for n, name in enumerate(names):
        x = 24 * n
        if name == "copy":
            page(c, x - 2)
            page(c, x + 3)
        elif name == "paste":
            c.rect(x + 3, 5, x + 15, 21, (160, 110, 40))
            page(c, x + 4)
        elif name in ("install", "uninstall", "permanent"):
            page(c, x)
            c.glyph(x + 8, 6, GLYPHS["A"], BLACK, 1)
            sign = {"install": "+", "uninstall": "-", "permanent": "+"}[name]
            colour = {"install": GREEN, "uninstall": RED, "permanent": BLUE}[name]
            c.glyph(x + 14, 14, GLYPHS[sign], colour, 2)
        elif name.startswith("fav"):
            c.glyph(x + 4, 5, GLYPHS["*"], YELLOW, 2)
            c.glyph(x + 15, 15, GLYPHS[name[-1]], GREEN if name[-1] == "+" else RED, 2)
        elif name.startswith("cand"):
            c.glyph(x + 7, 4, GLYPHS["!"], GREEN, 3)
            c.glyph(x + 15, 15, GLYPHS[name[-1]], GREEN if name[-1] == "+" else RED, 2)
        elif name == "print":
            c.rect(x + 3, 10, x + 21, 19, (100, 100, 100))
            c.rect(x + 6, 4, x + 18, 11, WHITE)
            c.frame(x + 6, 4, x + 18, 11, BLACK)
    return c


def labelled(width, labels):
    c = Canvas(width * len(labels), 24)
    for n, (text, colour) in enumerate(labels):
        x = width * n
        total = sum(len(GLYPHS[ch][0]) * 2 + 2 for ch in text) - 2
        ox = x + (width - total) // 2
        for ch in text:
            c.glyph(ox, 7, GLYPHS[ch], colour, 2)
            ox += len(GLYPHS[ch][0]) * 2 + 2
    return c


def icon(path):
    """A 32 x 32 icon: a page with a large A, 32-bit with an AND mask."""
    c = Canvas(32, 32)
    c.rect(0, 0, 32, 32, NAVY)
    c.rect(3, 3, 29, 29, WHITE)
    c.glyph(6, 6, GLYPHS["A"], NAVY, 5)
    xor = bytearray()
    for y in range(31, -1, -1):
        for x in range(32):
            r, g, b = c.p[y][x]
            xor += bytes((b, g, r, 255))
    mask = b"\0" * (4 * 32)
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 32, 32, 0, 0, 1, 32, len(image), 22)
    path.write_bytes(directory + image)


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    images = {
        "MainToolBar.bmp": main_toolbar(),
        "FontSelectBar.bmp": labelled(36, [("E", BLUE), ("J", RED), ("A", BLACK), ("T", GREEN), ("O", NAVY)]),
        "ListSelectBar.bmp": labelled(34, [("=", BLACK), ("*", YELLOW), ("!", GREEN)]),
    }
    for name, c in images.items():
        (out / name).write_bytes(bmp(c.w, c.h, c.p))
    icon(out / "Glimra.ico")


if __name__ == "__main__":
    main()

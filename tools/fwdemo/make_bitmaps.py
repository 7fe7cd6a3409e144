#!/usr/bin/env python3
"""Draws the demo's tool bar bitmaps: 16-colour BMPs, one 16x15 image per
button, on the light grey (192,192,192) that the tool bar maps to the button face."""
import struct
import sys
from pathlib import Path

# The 16 standard VGA colours; index 7 is the grey that becomes the button face.
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
           (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
           (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, NAVY, GREY, RED, GREEN, BLUE, WHITE, FACE = 0, 4, 8, 9, 2, 12, 15, 7
W, H = 16, 15


def write_bmp(path, images):
    width = W * len(images)
    pixels = [[FACE] * width for _ in range(H)]
    for n, draw in enumerate(images):
        draw(lambda x, y, c, ox=n * W: pixels[y].__setitem__(ox + x, c) if 0 <= x < W and 0 <= y < H else None)
    row = ((width * 4 + 31) // 32) * 4
    data = bytearray()
    for y in range(H - 1, -1, -1):
        line = bytearray()
        for x in range(0, width, 2):
            hi = pixels[y][x]
            lo = pixels[y][x + 1] if x + 1 < width else 0
            line.append(hi << 4 | lo)
        line.extend(b"\0" * (row - len(line)))
        data.extend(line)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, H, 1, 4, 0, len(data), 2835, 2835, 16, 16)
    Path(path).write_bytes(header + info + palette + data)


def rect(p, x0, y0, x1, y1, c):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            p(x, y, c)


def frame(p, x0, y0, x1, y1, c):
    for x in range(x0, x1 + 1):
        p(x, y0, c)
        p(x, y1, c)
    for y in range(y0, y1 + 1):
        p(x0, y, c)
        p(x1, y, c)


def plus(p):
    rect(p, 7, 2, 8, 12, GREEN)
    rect(p, 2, 6, 13, 7, GREEN)


def minus(p):
    rect(p, 2, 6, 13, 8, RED)


def reset(p):
    frame(p, 3, 2, 12, 12, NAVY)
    rect(p, 6, 5, 9, 9, NAVY)


def printer(p):
    rect(p, 4, 1, 11, 5, WHITE)
    frame(p, 4, 1, 11, 5, BLACK)
    rect(p, 1, 6, 14, 11, GREY)
    frame(p, 1, 6, 14, 11, BLACK)
    rect(p, 4, 10, 11, 14, WHITE)
    frame(p, 4, 10, 11, 14, BLACK)


def check(p):
    for i in range(4):
        p(3 + i, 7 + i, BLUE)
        p(3 + i, 8 + i, BLUE)
    for i in range(7):
        p(7 + i, 10 - i, BLUE)
        p(7 + i, 9 - i, BLUE)


def dialog(p):
    rect(p, 1, 2, 14, 13, WHITE)
    frame(p, 1, 2, 14, 13, BLACK)
    rect(p, 2, 3, 13, 4, NAVY)
    rect(p, 9, 10, 12, 11, GREY)


def sheet(p):
    rect(p, 1, 4, 14, 13, WHITE)
    frame(p, 1, 4, 14, 13, BLACK)
    frame(p, 2, 1, 6, 4, BLACK)
    frame(p, 7, 1, 11, 4, BLACK)


if __name__ == "__main__":
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    write_bmp(out / "MainBar.bmp", [plus, minus, reset, printer])
    write_bmp(out / "SecondBar.bmp", [check, dialog, sheet])

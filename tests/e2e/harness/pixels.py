"""Pixels of screen captures and printed pages, read in plain Python from
binary PPM (P6, colour) or PGM (P5, grey) files, 8 bits a sample."""
import subprocess
from pathlib import Path

BLACK, GREY, RED, GREEN = (0, 0, 0), (192, 192, 192), (255, 0, 0), (0, 255, 0)


class Image:
    def __init__(self, width, height, channels, data):
        self.width, self.height, self.channels, self.data = width, height, channels, data

    def pixel(self, x, y):
        i = (y * self.width + x) * self.channels
        return tuple(self.data[i:i + self.channels]) if self.channels == 3 else self.data[i]

    def row(self, y, x0=0, x1=None):
        """Samples of row y from x0 up to x1 (exclusive)."""
        x1 = self.width if x1 is None else x1
        base = y * self.width * self.channels
        return self.data[base + x0 * self.channels:base + x1 * self.channels]

    def where(self, colour, x0, y0, x1, y1):
        """(x, y) of every pixel of that colour in the box."""
        return [(x, y) for y in range(y0, y1) for x in range(x0, x1) if self.pixel(x, y) == colour]


def read_pnm(path) -> Image:
    raw = Path(path).read_bytes()
    fields, pos = [], 0
    while len(fields) < 4:  # magic, width, height, maximum; comments skipped
        while raw[pos:pos + 1].isspace():
            pos += 1
        if raw[pos:pos + 1] == b"#":
            pos = raw.index(b"\n", pos)
            continue
        end = pos
        while not raw[end:end + 1].isspace():
            end += 1
        fields.append(raw[pos:end])
        pos = end
    magic, width, height, maximum = fields[0], int(fields[1]), int(fields[2]), int(fields[3])
    if magic not in (b"P6", b"P5") or maximum != 255:
        raise ValueError(f"{path}: not an 8-bit binary PPM or PGM")
    channels = 3 if magic == b"P6" else 1
    data = raw[pos + 1:pos + 1 + width * height * channels]
    return Image(width, height, channels, data)


def capture(display, box, path) -> Image:
    """The screen's box (left, top, right, bottom) as an image, saved at path."""
    left, top, right, bottom = box
    subprocess.run(["import", "-display", display, "-window", "root", "-crop",
                    f"{right - left}x{bottom - top}+{left}+{top}", "+repage", "-depth", "8", str(path)], check=True, timeout=60)
    return read_pnm(path)


def full_lines(image, below=64, x0=0, x1=None, share=1.0):
    """Bands of consecutive rows in which at least share of the samples from
    x0 to x1 are darker than below: (first y, last y) each."""
    x1 = image.width if x1 is None else x1
    dark = bytes(1 if v < below else 0 for v in range(256))
    need = share * (x1 - x0) * image.channels
    bands = []
    for y in range(image.height):
        if image.row(y, x0, x1).translate(dark).count(1) >= need:
            if bands and bands[-1][1] == y - 1:
                bands[-1] = (bands[-1][0], y)
            else:
                bands.append((y, y))
    return bands

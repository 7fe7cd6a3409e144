"""Draws the About dialog's mark: a 32x32 32-bit icon image (RT_ICON data)
and its one-entry icon directory (RT_GROUP_ICON data) pointing at image id
1420. Usage: make_about_mark.py <output folder>"""
import struct
import sys
from pathlib import Path

SIZE = 32
IMAGE_ID = 1420


def pixel(x, y):
    """A rounded blue tile with a white 'G'-like ring, transparent corners."""
    cx = cy = (SIZE - 1) / 2
    dx, dy = x - cx, y - cy
    r2 = dx * dx + dy * dy
    if r2 > 15.5 ** 2:
        return None
    if 8 ** 2 <= r2 <= 12 ** 2 and not (dx > 2 and -3 < dy < 0):
        return (255, 255, 255)
    if 0 <= dy <= 2 and 2 <= dx <= 12:
        return (255, 255, 255)
    return (200, 80, 20)  # BGR: a deep blue


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    mask_rows = []
    for y in range(SIZE - 1, -1, -1):  # bottom-up
        bits = 0
        for x in range(SIZE):
            p = pixel(x, y)
            if p is None:
                xor += bytes((0, 0, 0, 0))
                bits |= 1 << (31 - x)
            else:
                xor += bytes((p[0], p[1], p[2], 255))
        mask_rows.append(struct.pack(">I", bits))
    image = header + bytes(xor) + b"".join(mask_rows)
    (out / "AboutMark.icon").write_bytes(image)
    group = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHIH", SIZE, SIZE, 0, 0, 1, 32, len(image), IMAGE_ID)
    (out / "AboutMark.group").write_bytes(group)


if __name__ == "__main__":
    main()

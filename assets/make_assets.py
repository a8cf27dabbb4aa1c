#!/usr/bin/env python3
"""Writes the pictures the program loads from its folder: the window icon and the ten
toolbar pictures. Small drawn shapes, so no binary file needs to live in the repository.

usage: make_assets.py <program folder>
"""
import os
import struct
import sys


def bmp_rows(size, painter):
    """Bottom-up rows of BGR(A) pixels from painter(x, y) -> (r, g, b, a)."""
    return [[painter(x, y) for x in range(size)] for y in reversed(range(size))]


def bmp_file(size, painter):
    row_bytes = (size * 3 + 3) & ~3
    pixels = b""
    for row in bmp_rows(size, painter):
        line = b"".join(struct.pack("BBB", b, g, r) for r, g, b, _ in row)
        pixels += line + b"\0" * (row_bytes - len(line))
    header = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(header) + len(pixels), 0, 0, 14 + len(header)) + header + pixels


def ico_file(size, painter):
    pixels = b"".join(struct.pack("BBBB", b, g, r, a) for row in bmp_rows(size, painter) for r, g, b, a in row)
    mask = b"\0" * (((size + 31) // 32) * 4 * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    image = header + pixels + mask
    return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 22) + image


def disc(colour, background, centre, radius):
    def paint(x, y):
        inside = (x - centre) ** 2 + (y - centre) ** 2 <= radius ** 2
        return (*colour, 255) if inside else (*background, 255)
    return paint


def butterfly(x, y):
    """A lemon-yellow butterfly on a transparent ground."""
    dx, dy = abs(x - 15.5), y - 15.5
    wing = (dx - 8) ** 2 / 49 + dy ** 2 / 144 <= 1 and dx > 1
    body = dx <= 1 and abs(dy) <= 11
    if body:
        return (60, 40, 20, 255)
    if wing:
        return (250, 230, 40, 255)
    return (0, 0, 0, 0)


TOOLBAR = [  # file name, colour (Wine keeps file names in UTF-8 on disk)
    ("narzisse3.bmp", (250, 220, 40)), ("musiker.bmp", (200, 60, 60)), ("blattstein.bmp", (60, 160, 60)),
    ("gitarre.bmp", (160, 100, 40)), ("pizza.bmp", (230, 120, 30)), ("hundies.bmp", (140, 90, 60)),
    ("torte.bmp", (240, 160, 200)), ("akkordeon.bmp", (80, 80, 200)), ("b\u00e4nke.bmp", (120, 120, 120)),
    ("sonne1b.bmp", (255, 200, 0)),
]


def main(folder):
    os.makedirs(os.path.join(folder, "pix"), exist_ok=True)
    with open(os.path.join(folder, "zitronenfalter.ico"), "wb") as f:
        f.write(ico_file(32, butterfly))
    for name, colour in TOOLBAR:
        path = os.path.join(os.fsencode(folder), b"pix", name.encode("utf-8"))
        with open(path, "wb") as f:
            f.write(bmp_file(30, disc(colour, (240, 240, 240), 14.5, 12)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))

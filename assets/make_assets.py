#!/usr/bin/env python3
"""Writes the pictures the program loads from its folder: the window icon, the ten toolbar
pictures and the welcome dialog's picture. All are drawn here from simple shapes, so no
binary file needs to live in the repository.

Each is drawn at the display scales 100%, 125%, 150% and 200%, so that a display of any scale
shows one drawn for it or near it: the 100% picture under its own name, the others with
"@<percent>" before the extension ("pix/narzisse3@150.bmp", "zitronenfalter@200.ico",
"2001-A-Space-Odyssey-1@125.jpg"), their sides grown by the scale as the program grows its
layout numbers (to the nearest pixel, halves up: 30 pixels are 38 at 125%).

usage: make_assets.py <program folder>...
"""
import math
import os
import random
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from jpeg import jpeg_file  # noqa: E402


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


SCALES = (100, 125, 150, 200)


def scaled_side(side, percent):
    """A side at percent of its 100% length, to the nearest pixel with halves up."""
    return (side * percent + 50) // 100


def scaled_name(name, percent):
    """The file of the picture drawn at percent: the name itself at 100%."""
    if percent == 100:
        return name
    stem, ext = os.path.splitext(name)
    return "%s@%d%s" % (stem, percent, ext)


def at_scale(painter, design, size):
    """painter(x, y) of a picture designed design pixels wide, drawn size pixels wide: each pixel
    takes the colour of the design at its centre (at 100% exactly the design's own pixels)."""
    step = design / size
    return lambda x, y: painter((x + 0.5) * step - 0.5, (y + 0.5) * step - 0.5)


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


class Canvas:
    """A small picture painted shape by shape; later shapes cover earlier ones. Coordinates
    are those of a design picture design pixels wide, y downwards; the canvas is size pixels
    wide and each of its pixels takes the shape under its centre."""

    def __init__(self, size, ground, design=30):
        self.size = size
        self.step = design / size
        self.pixels = [[ground] * size for _ in range(size)]

    def fill(self, colour, inside):
        for y in range(self.size):
            for x in range(self.size):
                if inside((x + 0.5) * self.step, (y + 0.5) * self.step):
                    self.pixels[y][x] = colour

    def ellipse(self, colour, cx, cy, rx, ry, angle=0.0):
        c, s = math.cos(math.radians(angle)), math.sin(math.radians(angle))
        self.fill(colour, lambda x, y: (((x - cx) * c + (y - cy) * s) / rx) ** 2
                  + ((-(x - cx) * s + (y - cy) * c) / ry) ** 2 <= 1)

    def disc(self, colour, cx, cy, r):
        self.ellipse(colour, cx, cy, r, r)

    def rect(self, colour, left, top, right, bottom):
        self.fill(colour, lambda x, y: left <= x <= right and top <= y <= bottom)

    def line(self, colour, x0, y0, x1, y1, width=1.5):
        length2 = (x1 - x0) ** 2 + (y1 - y0) ** 2 or 1

        def near(x, y):
            t = max(0.0, min(1.0, ((x - x0) * (x1 - x0) + (y - y0) * (y1 - y0)) / length2))
            return math.hypot(x - x0 - t * (x1 - x0), y - y0 - t * (y1 - y0)) <= width / 2
        self.fill(colour, near)

    def polygon(self, colour, points):
        def inside(x, y):
            hit = False
            for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
                if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                    hit = not hit
            return hit
        self.fill(colour, inside)

    def painter(self):
        return lambda x, y: (*self.pixels[y][x], 255)


GROUND = (240, 240, 240)
GREEN, DARK_GREEN = (60, 160, 50), (30, 100, 30)
BROWN, DARK_BROWN = (150, 90, 40), (90, 50, 20)
YELLOW, ORANGE, RED = (250, 220, 30), (240, 140, 20), (200, 30, 30)
BLACK, WHITE, GREY = (20, 20, 20), (255, 255, 255), (130, 130, 130)


def daffodil(c):
    c.line(DARK_GREEN, 15, 18, 15, 29, 2)
    c.ellipse(GREEN, 10, 25, 4, 1.5, -30)
    for k in range(6):
        a = math.radians(60 * k + 90)
        c.ellipse(YELLOW, 15 + 5.5 * math.cos(a), 11 + 5.5 * math.sin(a), 4.5, 2.6, 60 * k + 90)
    c.disc(ORANGE, 15, 11, 3.2)
    c.disc((200, 100, 10), 15, 11, 1.4)


def musician(c):
    c.disc((230, 180, 140), 11, 7, 3.5)                      # head
    c.polygon((50, 70, 160), [(6, 12), (16, 12), (18, 24), (4, 24)])  # coat
    c.line(BLACK, 7, 24, 7, 29, 2)
    c.line(BLACK, 15, 24, 15, 29, 2)
    c.line((230, 180, 140), 15, 14, 20, 17, 2)               # arm
    c.disc(BLACK, 23, 13, 2.3)                                # a note beside him
    c.line(BLACK, 25, 13, 25, 3, 1.3)
    c.line(BLACK, 25, 3, 28, 6, 1.3)


def leaf_on_stone(c):
    c.ellipse(GREY, 15, 22, 12, 6)
    c.ellipse((170, 170, 165), 12, 20, 6, 2.5)
    c.ellipse(GREEN, 15, 13, 9, 4.5, -25)
    c.line(DARK_GREEN, 7, 17, 23, 9, 1)


def guitar(c):
    c.line(DARK_BROWN, 14, 17, 25, 3, 3)                      # neck
    c.rect(BLACK, 23, 1, 28, 5)                               # head
    c.disc(BROWN, 10, 22, 6.5)
    c.disc(BROWN, 15, 15, 4.8)
    c.disc(BLACK, 12, 19, 2)                                  # sound hole
    c.line((200, 200, 200), 6, 26, 25, 3, 0.6)                # a string


def pizza(c):
    c.disc((200, 130, 50), 15, 15, 13)                        # crust
    c.disc((245, 200, 80), 15, 15, 11)                        # cheese
    c.line((200, 130, 50), 15, 15, 15, 2, 1)                  # cut into slices
    c.line((200, 130, 50), 15, 15, 26, 21, 1)
    c.line((200, 130, 50), 15, 15, 4, 21, 1)
    for x, y in ((10, 11), (20, 10), (21, 17), (11, 20), (17, 22)):
        c.disc(RED, x, y, 2.2)


def dog(c, dx, colour):
    c.ellipse(colour, dx + 6, 19, 5, 3)                       # body
    c.disc(colour, dx + 11, 14, 3)                            # head
    c.ellipse(DARK_BROWN, dx + 10, 12, 1.3, 2.5, 20)          # ear
    c.disc(BLACK, dx + 13.5, 14.5, 0.9)                       # nose
    c.line(colour, dx + 2, 22, dx + 2, 27, 1.6)
    c.line(colour, dx + 9, 22, dx + 9, 27, 1.6)
    c.line(colour, dx + 1, 18, dx - 1, 14, 1.3)               # tail


def dogs(c):
    dog(c, 2, BROWN)
    dog(c, 15, (200, 160, 100))


def cake(c):
    c.rect((120, 70, 40), 4, 16, 26, 27)
    c.rect((250, 170, 200), 4, 13, 26, 17)
    c.rect((250, 170, 200), 4, 21, 26, 22)
    c.rect(WHITE, 3, 27, 27, 28)
    c.rect((90, 140, 230), 14, 6, 16, 13)                     # candle
    c.ellipse(ORANGE, 15, 4, 1.5, 2.5)


def accordion(c):
    c.rect(RED, 2, 7, 8, 24)                                  # left hand side
    c.rect(RED, 22, 7, 28, 24)                                # keyboard side
    for k in range(7):
        x = 8 + 2 * k
        c.line(BLACK if k % 2 else (230, 230, 230), x, 8, x + 2, 23, 1.4)   # bellows
    for y in range(9, 24, 3):
        c.rect(WHITE, 24, y, 27, y + 1)                       # keys


def bench(c, top):
    c.rect(BROWN, 3, top, 27, top + 2)                        # backrest
    c.rect(BROWN, 3, top + 5, 27, top + 7)                    # seat
    c.rect(DARK_BROWN, 5, top, 6, top + 11)
    c.rect(DARK_BROWN, 24, top, 25, top + 11)


def benches(c):
    bench(c, 2)
    bench(c, 16)


def sun(c):
    for k in range(12):
        a = math.radians(30 * k)
        c.line(ORANGE, 15 + 8 * math.cos(a), 15 + 8 * math.sin(a), 15 + 14 * math.cos(a), 15 + 14 * math.sin(a), 2)
    c.disc(YELLOW, 15, 15, 8)
    c.disc((255, 240, 120), 13, 13, 3)


TOOLBAR = [  # file name (Wine keeps file names in UTF-8 on disk), drawing
    ("narzisse3.bmp", daffodil), ("musiker.bmp", musician), ("blattstein.bmp", leaf_on_stone),
    ("gitarre.bmp", guitar), ("pizza.bmp", pizza), ("hundies.bmp", dogs), ("torte.bmp", cake),
    ("akkordeon.bmp", accordion), ("b\u00e4nke.bmp", benches), ("sonne1b.bmp", sun),
]


def space_picture(width, height):
    """A starry sky over the bright rim of a planet, with a sun rising behind it."""
    rng = random.Random(2001)
    stars = {}
    for _ in range(420):
        stars[(rng.randrange(width), rng.randrange(height))] = rng.uniform(0.3, 1.0)
    cx, cy, radius = width / 2, height + 820, 960.0
    sun_x, sun_y = width / 2, cy - radius - 6

    def paint(x, y):
        d = math.hypot(x - cx, y - cy) - radius            # distance above the planet's surface
        sun = math.hypot(x - sun_x, y - sun_y)
        glow = 255 * math.exp(-sun / 28) + 120 * math.exp(-sun / 90)
        if d < 0:                                           # the planet: dark, lit along its rim
            rim = math.exp(d / 10)
            r, g, b = 10 + 70 * rim, 14 + 110 * rim, 30 + 160 * rim
        else:
            air = math.exp(-d / 14)                         # the thin blue shell of air
            r, g, b = 4 + 60 * air, 6 + 120 * air, 18 + 220 * air
            star = stars.get((round(x), round(y)))
            if star and d > 20:
                r, g, b = r + 235 * star, g + 235 * star, b + 220 * star
        r, g, b = r + glow, g + glow * 0.95, b + glow * 0.8
        return tuple(min(255, max(0, int(v))) for v in (r, g, b))
    return paint


def pictures():
    """Every picture file at every scale: (name relative to the program folder, bytes)."""
    for percent in SCALES:
        side = scaled_side(32, percent)
        yield scaled_name("zitronenfalter.ico", percent), ico_file(side, at_scale(butterfly, 32, side))
        side = scaled_side(30, percent)
        for name, draw in TOOLBAR:
            canvas = Canvas(side, GROUND)
            draw(canvas)
            yield "pix/" + scaled_name(name, percent), bmp_file(side, canvas.painter())
        width, height = scaled_side(440, percent), scaled_side(380, percent)
        sky = at_scale(space_picture(440, 380), 440, width)
        yield scaled_name("2001-A-Space-Odyssey-1.jpg", percent), jpeg_file(width, height, sky)


def main(folders):
    for folder in folders:
        os.makedirs(os.path.join(folder, "pix"), exist_ok=True)
    for name, data in pictures():
        for folder in folders:
            path = os.path.join(os.fsencode(folder), name.encode("utf-8"))
            with open(path, "wb") as f:
                f.write(data)
    return 0


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1:]))

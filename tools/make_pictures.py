#!/usr/bin/env python3
"""Draws Orrery's pictures: bitmap 144 (150 x 150, 16 colours, BMP) and
icon 128 (32 x 32 and 16 x 16 PNG): a small orrery of a sun, orbits, an
earth and a crescent moon on a night sky. Writes into orrery/res/."""
import math
import os
import random
import sys

from picture_files import write_bmp, write_png

PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, GREY, SILVER, YELLOW, OLIVE, BLUE, GREEN, WHITE, CYAN, TEAL = 0, 4, 8, 7, 11, 3, 12, 10, 15, 14, 6


def draw(size):
    s = size / 150.0
    img = [[NAVY] * size for _ in range(size)]
    rnd = random.Random(144)
    for _ in range(int(90 * s * s) + 4):
        x, y = rnd.randrange(size), rnd.randrange(size)
        img[y][x] = rnd.choice([WHITE, SILVER, SILVER, CYAN])

    def disc(cx, cy, r, colour, edge=None):
        for y in range(max(0, int(cy - r - 1)), min(size, int(cy + r + 2))):
            for x in range(max(0, int(cx - r - 1)), min(size, int(cx + r + 2))):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if d <= r:
                    img[y][x] = edge if edge is not None and d > r - 1.2 * max(s, 0.5) else colour

    def ring(cx, cy, rx, ry, colour):
        steps = int(8 * rx) + 16
        for i in range(steps):
            a = 2 * math.pi * i / steps
            x, y = int(cx + rx * math.cos(a)), int(cy + ry * math.sin(a))
            if 0 <= x < size and 0 <= y < size:
                img[y][x] = colour

    c = size / 2
    ring(c, c, 62 * s, 26 * s, GREY)
    ring(c, c, 40 * s, 17 * s, SILVER)
    # Sun with rays.
    for i in range(12):
        a = 2 * math.pi * i / 12
        for t in range(int(18 * s), int(25 * s) + 1):
            x, y = int(c + t * math.cos(a)), int(c + t * math.sin(a))
            if 0 <= x < size and 0 <= y < size:
                img[y][x] = YELLOW
    disc(c, c, 16 * s, YELLOW, OLIVE)
    # Earth on the inner orbit, the Moon beside it on the outer.
    ex, ey = c + 40 * s * math.cos(2.4), c + 17 * s * math.sin(2.4)
    disc(ex, ey, 8 * s, BLUE, TEAL)
    disc(ex - 2 * s, ey - 2 * s, 3 * s, GREEN)
    mx, my = c + 62 * s * math.cos(-0.6), c + 26 * s * math.sin(-0.6)
    disc(mx, my, 9 * s, WHITE)
    disc(mx + 4 * s, my - 2 * s, 8 * s, NAVY)
    return img


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "orrery", "res")
    out = sys.argv[1] if len(sys.argv) > 1 else root
    write_bmp(os.path.join(out, "bitmap144.bmp"), draw(150), PALETTE)
    write_png(os.path.join(out, "icon128.png"), draw(32), PALETTE)
    write_png(os.path.join(out, "icon128_16.png"), draw(16), PALETTE)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Draws Adagio's pictures: bitmap 218 (100 x 140, 16 colours, BMP), the
About box's picture, and icon 217 (32 x 32 and 16 x 16 PNG), the window
icon: a written page with a quill on a dark blue ground. Writes into
adagio/res/."""
import math
import os
import sys

from picture_files import write_bmp, write_png

PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (255, 255, 0), (255, 255, 224),
    (0, 0, 255), (96, 64, 32), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, NAVY, SILVER, GREY, YELLOW, CREAM, BROWN, WHITE, OLIVE = 0, 1, 4, 7, 8, 10, 11, 13, 15, 3


def draw(w, h):
    sx, sy = w / 100.0, h / 140.0
    img = [[NAVY] * w for _ in range(h)]

    def rect(x0, y0, x1, y1, colour):
        for y in range(max(0, int(y0)), min(h, int(y1))):
            for x in range(max(0, int(x0)), min(w, int(x1))):
                img[y][x] = colour

    # The page, with a shadow and a folded corner.
    px0, py0, px1, py1 = 14 * sx, 12 * sy, 82 * sx, 126 * sy
    rect(px0 + 3 * sx, py0 + 3 * sy, px1 + 3 * sx, py1 + 3 * sy, BLACK)
    rect(px0, py0, px1, py1, CREAM)
    fold = 12 * min(sx, sy)
    for y in range(int(py0), int(py0 + fold)):
        for x in range(int(px1 - fold), int(px1)):
            if x - (px1 - fold) > y - py0:
                img[y][x] = NAVY
            elif abs((x - (px1 - fold)) - (y - py0)) < 1.2:
                img[y][x] = GREY
    # Lines of writing: a title, then verses.
    if h >= 60:
        rect(px0 + 8 * sx, py0 + 10 * sy, px1 - 20 * sx, py0 + 10 * sy + 3, MAROON)
        y = py0 + 24 * sy
        lengths = [0.9, 0.75, 0.85, 0.5, 0.0, 0.8, 0.9, 0.7, 0.4, 0.0, 0.85, 0.6]
        for frac in lengths:
            if frac:
                rect(px0 + 8 * sx, y, px0 + 8 * sx + (px1 - px0 - 16 * sx) * frac, y + 2, GREY)
            y += 7 * sy
    else:
        for i in range(3 if h > 20 else 2):
            y = py0 + (6 + 5 * i) * sy * 140 / 100
            rect(px0 + 3 * sx, y, px1 - 4 * sx, y + 1, GREY)
    # The quill: a slanted feather from the lower right up to the top.
    x0, y0, x1, y1 = 58 * sx, 112 * sy, 94 * sx, 10 * sy
    length = math.hypot(x1 - x0, y1 - y0)
    ux, uy = (x1 - x0) / length, (y1 - y0) / length
    for y in range(h):
        for x in range(w):
            t = (x - x0) * ux + (y - y0) * uy
            d = abs(-(x - x0) * uy + (y - y0) * ux)
            if t < 0 or t > length:
                continue
            vane = math.sin(math.pi * min(1.0, t / length * 1.25)) * 9 * min(sx, sy)
            if t > length * 0.2 and d <= vane:
                img[y][x] = WHITE if d < vane - 1.0 * max(min(sx, sy), 0.5) else SILVER
            if d <= max(0.6, 0.8 * min(sx, sy)) and t <= length * 0.98:
                img[y][x] = BROWN if t < length * 0.2 else SILVER
    # Ink at the nib.
    rect(x0 - 2 * sx, y0, x0 + 2 * sx, y0 + 2 * sy + 1, BLACK)
    return img


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "adagio", "res")
    out = sys.argv[1] if len(sys.argv) > 1 else root
    write_bmp(os.path.join(out, "bitmap218.bmp"), draw(100, 140), PALETTE)
    write_png(os.path.join(out, "icon217.png"), draw(32, 32), PALETTE)
    write_png(os.path.join(out, "icon217_16.png"), draw(16, 16), PALETTE)


if __name__ == "__main__":
    main()

"""Writes 16-colour pictures, given as rows of palette indexes, as a
4-bit BMP or an RGB PNG, with nothing but the standard library."""
import struct
import zlib


def write_bmp(path, img, palette_rgb):
    h, w = len(img), len(img[0])
    row = ((w * 4 + 31) // 32) * 4
    pixels = bytearray()
    for y in range(h - 1, -1, -1):
        line = bytearray()
        for x in range(0, w, 2):
            hi = img[y][x]
            lo = img[y][x + 1] if x + 1 < w else 0
            line.append((hi << 4) | lo)
        line.extend(b"\0" * (row - len(line)))
        pixels.extend(line)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette_rgb)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(pixels), 2835, 2835, 16, 16)
    with open(path, "wb") as f:
        f.write(header + info + palette + pixels)


def write_png(path, img, palette_rgb):
    h, w = len(img), len(img[0])
    raw = b"".join(b"\0" + bytes(sum((palette_rgb[p] for p in line), ())) for line in img)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))

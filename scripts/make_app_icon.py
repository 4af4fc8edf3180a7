#!/usr/bin/env python3
"""Writes the program's icon, Tarnwell.ico, in the product theme.

A dark rounded tile with an amber frame and a small keyboard of keycaps in
the theme's cyan and amber. Sizes 16, 32 and 48 are 32-bit bitmaps (every
loader reads them); 256 is stored as PNG, as the format allows.

Usage: make_app_icon.py OUTPUT.ico [MORE_COPIES.ico ...]
"""

import io
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pngtools  # noqa: E402

TILE = 0x1E1E1E
FRAME = 0xFDB637
CAP = 0x49FFE6
CAP_DIM = 0x2F6F68
SPACE = 0xFDB637


def draw(size):
    c = pngtools.Canvas(size, size)
    s = size / 48.0
    c.shape(pngtools.in_round_rect(0.5 * s, 0.5 * s, 47 * s, 47 * s, 9 * s), FRAME)
    c.shape(pngtools.in_round_rect(2.5 * s, 2.5 * s, 43 * s, 43 * s, 7.5 * s), TILE)
    # Three rows of keys and a space bar.
    rows = [(12, 5, 0), (19, 5, 2), (26, 4, 4)]
    for top, count, indent in rows:
        width = (36 - indent) / count
        for i in range(count):
            colour = CAP if (i + top) % 3 else CAP_DIM
            c.shape(pngtools.in_round_rect((6 + indent / 2 + i * width + 0.6) * s, top * s,
                                           (width - 1.2) * s, 5.4 * s, 1.2 * s), colour)
    c.shape(pngtools.in_round_rect(14 * s, 33.5 * s, 20 * s, 5.4 * s, 1.2 * s), SPACE)
    return c


def bmp_entry(canvas):
    size = canvas.width
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(canvas.pixels):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(canvas.pixels):
        bits = bytearray(mask_row)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(pixels) + bytes(mask)


def png_entry(canvas):
    path = io.BytesIO()
    raw = bytearray()
    for row in canvas.pixels:
        raw.append(0)
        for pixel in row:
            raw.extend(pixel)
    import zlib
    path.write(b"\x89PNG\r\n\x1a\n")
    path.write(pngtools._chunk(b"IHDR", struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 6, 0, 0, 0)))
    path.write(pngtools._chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
    path.write(pngtools._chunk(b"IEND", b""))
    return path.getvalue()


def make_icon():
    images = [(16, bmp_entry(draw(16))), (32, bmp_entry(draw(32))), (48, bmp_entry(draw(48))),
              (256, png_entry(draw(256)))]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for size, data in images:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset + len(body))
        body += data
    return out + body


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    data = make_icon()
    for path in sys.argv[1:]:
        os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
        with open(path, "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()

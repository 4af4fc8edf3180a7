"""Small RGBA canvas and PNG writer for the build's generated images.

Only the standard library (zlib, struct) is used, so the build machine needs
nothing beyond a Python 3 interpreter.
"""

import math
import struct
import zlib

# Supersampling grid per pixel for the coverage of round shapes.
_SAMPLES = 4


class Canvas:
    """A width x height RGBA image, all pixels transparent black at first."""

    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.pixels = [[(0, 0, 0, 0)] * width for _ in range(height)]

    def set(self, x, y, rgb, alpha=255):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = ((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF, alpha)

    def fill(self, left, top, width, height, rgb, alpha=255):
        for y in range(top, top + height):
            for x in range(left, left + width):
                self.set(x, y, rgb, alpha)

    def blend(self, x, y, rgb, alpha):
        """Paints rgb over the pixel with the given alpha (0..255, float ok)."""
        if not (0 <= x < self.width and 0 <= y < self.height) or alpha <= 0:
            return
        r, g, b, a = self.pixels[y][x]
        src = alpha / 255.0
        dst = a / 255.0
        out = src + dst * (1.0 - src)
        if out <= 0:
            return
        channels = []
        for shift, old in ((16, r), (8, g), (0, b)):
            new = (rgb >> shift) & 0xFF
            channels.append(int(round((new * src + old * dst * (1.0 - src)) / out)))
        self.pixels[y][x] = (channels[0], channels[1], channels[2], int(round(out * 255)))

    def shape(self, inside, rgb, alpha=255):
        """Blends rgb wherever inside(px, py) holds, anti-aliased by coverage."""
        step = 1.0 / _SAMPLES
        for y in range(self.height):
            for x in range(self.width):
                hits = 0
                for sy in range(_SAMPLES):
                    for sx in range(_SAMPLES):
                        if inside(x + (sx + 0.5) * step, y + (sy + 0.5) * step):
                            hits += 1
                if hits:
                    self.blend(x, y, rgb, alpha * hits / (_SAMPLES * _SAMPLES))

    def write(self, path):
        raw = bytearray()
        for row in self.pixels:
            raw.append(0)  # filter: none
            for pixel in row:
                raw.extend(pixel)
        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n")
            out.write(_chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0)))
            out.write(_chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
            out.write(_chunk(b"IEND", b""))


def _chunk(kind, data):
    crc = zlib.crc32(kind + data) & 0xFFFFFFFF
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", crc)


def in_round_rect(left, top, width, height, radius):
    """Point test for a rectangle with round corners (radius may be 0)."""
    right = left + width
    bottom = top + height
    radius = max(0.0, min(radius, width / 2.0, height / 2.0))

    def inside(px, py):
        if px < left or px >= right or py < top or py >= bottom:
            return False
        cx = min(max(px, left + radius), right - radius)
        cy = min(max(py, top + radius), bottom - radius)
        return (px - cx) ** 2 + (py - cy) ** 2 <= radius * radius + 1e-9
    return inside


def in_ring(outer, inner):
    """Points inside `outer` but not inside `inner`."""
    return lambda px, py: outer(px, py) and not inner(px, py)


def in_polygon(points):
    """Even-odd point test for a closed polygon given as (x, y) pairs."""
    def inside(px, py):
        result = False
        count = len(points)
        for i in range(count):
            x1, y1 = points[i]
            x2, y2 = points[(i + 1) % count]
            if (y1 > py) != (y2 > py):
                cross = x1 + (py - y1) * (x2 - x1) / (y2 - y1)
                if px < cross:
                    result = not result
        return result
    return inside


def in_thick_line(x1, y1, x2, y2, half_width):
    """Points within half_width of the segment (x1, y1)-(x2, y2)."""
    dx = x2 - x1
    dy = y2 - y1
    length2 = dx * dx + dy * dy

    def inside(px, py):
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - x1) * dx + (py - y1) * dy) / length2))
        qx = x1 + t * dx
        qy = y1 + t * dy
        return math.hypot(px - qx, py - qy) <= half_width
    return inside

#!/usr/bin/env python3
"""Writes the two scroll-bar images that vrel carries as resources.

  vrel_scroll_h.png  22 x 20: the horizontal thumb, four rows of 5 pixels,
                     each a bar with round ends in 0xFDE000 at alpha 255, 204,
                     153, 102 from the top row down (rows 1-3 are states 0-2).
  vrel_scroll_v.png  12 x 72: three columns of 4 pixels with round 6-pixel end
                     caps: a hollow outline in 0x898888, solid bars in
                     0x6F6F6F and 0x595959.

Usage: make_scroll_images.py OUTPUT_FOLDER
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pngtools  # noqa: E402

THUMB_COLOR = 0xFDE000
THUMB_ALPHAS = (255, 204, 153, 102)
THUMB_WIDTH, THUMB_ROW = 22, 5

BAR_COLORS = (0x898888, 0x6F6F6F, 0x595959)
BAR_WIDTH, BAR_HEIGHT = 4, 72
# The bar draws its strip as two fixed 6-pixel ends and a stretched middle,
# so each end cap fills exactly one fixed end.
BAR_CAP = 6


def in_capped_column(left, top, width, height, cap):
    """A column whose two ends are half-ellipses cap pixels tall."""
    right, bottom = left + width, top + height
    half = width / 2.0
    centre = left + half
    cap = min(cap, height / 2.0)

    def inside(px, py):
        if px < left or px >= right or py < top or py >= bottom:
            return False
        if py < top + cap:
            cy = top + cap
        elif py > bottom - cap:
            cy = bottom - cap
        else:
            return True
        if half <= 0 or cap <= 0:
            return False
        return ((px - centre) / half) ** 2 + ((py - cy) / cap) ** 2 <= 1.0 + 1e-9
    return inside


def horizontal_thumbs():
    canvas = pngtools.Canvas(THUMB_WIDTH, THUMB_ROW * len(THUMB_ALPHAS))
    for row, alpha in enumerate(THUMB_ALPHAS):
        bar = pngtools.in_round_rect(0, row * THUMB_ROW, THUMB_WIDTH, THUMB_ROW, THUMB_ROW / 2.0)
        canvas.shape(bar, THUMB_COLOR, alpha)
    return canvas


def vertical_bars():
    canvas = pngtools.Canvas(BAR_WIDTH * len(BAR_COLORS), BAR_HEIGHT)
    for column, color in enumerate(BAR_COLORS):
        left = column * BAR_WIDTH
        outer = in_capped_column(left, 0, BAR_WIDTH, BAR_HEIGHT, BAR_CAP)
        if column == 0:
            inner = in_capped_column(left + 1, 1, BAR_WIDTH - 2, BAR_HEIGHT - 2, BAR_CAP - 1)
            canvas.shape(pngtools.in_ring(outer, inner), color)
        else:
            canvas.shape(outer, color)
    return canvas


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    folder = argv[1]
    os.makedirs(folder, exist_ok=True)
    horizontal_thumbs().write(os.path.join(folder, "vrel_scroll_h.png"))
    vertical_bars().write(os.path.join(folder, "vrel_scroll_v.png"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

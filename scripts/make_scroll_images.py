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


def horizontal_thumbs():
    canvas = pngtools.Canvas(THUMB_WIDTH, THUMB_ROW * len(THUMB_ALPHAS))
    for row, alpha in enumerate(THUMB_ALPHAS):
        bar = pngtools.in_round_rect(0, row * THUMB_ROW, THUMB_WIDTH, THUMB_ROW, THUMB_ROW / 2.0)
        canvas.shape(bar, THUMB_COLOR, alpha)
    return canvas


def vertical_bars():
    canvas = pngtools.Canvas(BAR_WIDTH * len(BAR_COLORS), BAR_HEIGHT)
    radius = BAR_WIDTH / 2.0
    for column, color in enumerate(BAR_COLORS):
        left = column * BAR_WIDTH
        outer = pngtools.in_round_rect(left, 0, BAR_WIDTH, BAR_HEIGHT, radius)
        if column == 0:
            inner = pngtools.in_round_rect(left + 1, 1, BAR_WIDTH - 2, BAR_HEIGHT - 2, radius - 1)
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

"""Skin images of the row lists: the row highlight shared by the macro list
and the event list, the more button, the event-type icons, the profile
list's edit icon and the light-mode tiles.

Frames of the event-type icons come in pairs, normal then selected: a plain
mark (types without an icon of their own), a key, a mouse and a clock.
"""

import math

import make_skins
import pngtools

skin = make_skins.skin

TEXT = make_skins.TEXT
HOVER = make_skins.HOVER
SELECT = make_skins.SELECT
DISABLED = make_skins.DISABLED
# Row highlight: a dark teal band with an accent along its left edge.
ROW_FILL = 0x1F3B38
ICON_NORMAL = 0x9FB4C8
DARK_GLYPH = 0x1E2B2A

SKINS = [
    skin("img_list_bkg.png", 2, (300, 36), "list_row"),
    skin("btn_more.png", 4, (20, 20), "more_dots"),
    skin("icon/icon_list.png", 8, (20, 20), "event_icon"),
    skin("icon/icon_profile_edit.png", 2, (16, 16), "pencil"),
]


def draw_list_row(canvas, left, top, w, h, state, entry):
    # Frame 0 is never drawn by the lists; it stays clear.
    if state == 0:
        return
    canvas.fill(left, top, w, h, ROW_FILL, 235)
    canvas.fill(left, top, 3, h, SELECT)
    canvas.fill(left, top + h - 1, w, 1, 0x2F4A47)


def draw_more_dots(canvas, left, top, w, h, state, entry):
    color = (TEXT, HOVER, SELECT, DISABLED)[state % 4]
    r = min(w, h) * 0.11
    cy = top + h / 2.0
    for k in (-1, 0, 1):
        cx = left + w / 2.0 + k * w * 0.28
        canvas.shape(pngtools.in_round_rect(cx - r, cy - r, 2 * r, 2 * r, r), color)


def draw_event_icon(canvas, left, top, w, h, state, entry):
    color = SELECT if state % 2 else ICON_NORMAL
    kind = state // 2
    cx, cy = left + w / 2.0, top + h / 2.0
    if kind == 0:
        canvas.shape(pngtools.in_round_rect(cx - 3, cy - 3, 6, 6, 1.5), color)
    elif kind == 1:
        # A key cap with a short stroke for its legend.
        outer = pngtools.in_round_rect(left + 2, top + 3, w - 4, h - 6, 3)
        inner = pngtools.in_round_rect(left + 3.5, top + 4.5, w - 7, h - 9, 2)
        canvas.shape(pngtools.in_ring(outer, inner), color)
        canvas.shape(pngtools.in_thick_line(cx - 3, cy + 2, cx + 3, cy + 2, 0.8), color)
    elif kind == 2:
        # A mouse seen from above: the body and the line between its buttons.
        outer = pngtools.in_round_rect(cx - 5, top + 2, 10, h - 4, 5)
        inner = pngtools.in_round_rect(cx - 3.5, top + 3.5, 7, h - 7, 3.5)
        canvas.shape(pngtools.in_ring(outer, inner), color)
        canvas.shape(pngtools.in_thick_line(cx, top + 3, cx, cy - 1, 0.7), color)
    else:
        # A clock at ten past the hour.
        r = min(w, h) / 2.0 - 2
        outer = pngtools.in_round_rect(cx - r, cy - r, 2 * r, 2 * r, r)
        inner = pngtools.in_round_rect(cx - r + 1.5, cy - r + 1.5, 2 * r - 3, 2 * r - 3, r - 1.5)
        canvas.shape(pngtools.in_ring(outer, inner), color)
        canvas.shape(pngtools.in_thick_line(cx, cy, cx, cy - r + 3.5, 0.8), color)
        angle = math.radians(30)
        canvas.shape(pngtools.in_thick_line(cx, cy, cx + math.cos(angle) * (r - 4), cy - math.sin(angle) * (r - 4), 0.8),
                     color)


def draw_pencil(canvas, left, top, w, h, state, entry):
    # Drawn over the select colour of a highlighted profile: a dark pencil,
    # on a soft dark disc while the pointer is on it.
    if state == 1:
        canvas.shape(pngtools.in_round_rect(left, top, w, h, w / 2.0), DARK_GLYPH, 60)
    x1, y1 = left + w * 0.25, top + h * 0.75
    x2, y2 = left + w * 0.72, top + h * 0.28
    canvas.shape(pngtools.in_thick_line(x1 + 1, y1 - 1, x2, y2, 1.6), DARK_GLYPH)
    canvas.shape(pngtools.in_polygon([(x1 - 0.5, y1 + 0.5), (x1 + 2.2, y1 - 0.2), (x1 + 0.2, y1 - 2.2)]), DARK_GLYPH)


def draw_apply_button(canvas, left, top, w, h, state, entry):
    # Also the light-mode tiles, whose selected tile (frame 2) carries dark
    # text: that frame is lit, the others are the ordinary button.
    if state != 2:
        make_skins.draw_button(canvas, left, top, w, h, state, entry)
        return
    radius = min(w, h) / 5.0
    canvas.shape(pngtools.in_round_rect(left, top, w, h, radius), 0xD9982A)
    canvas.shape(pngtools.in_round_rect(left + 1, top + 1, w - 2, h - 2, max(0.0, radius - 1)), HOVER)


KINDS = {
    "apply_button": draw_apply_button,
    "list_row": draw_list_row,
    "more_dots": draw_more_dots,
    "event_icon": draw_event_icon,
    "pencil": draw_pencil,
}

"""Skin images of the text-entry family: the combo boxes with their drop-down
and the icon of the logon edit."""

import make_skins
from make_skins import skin, pngtools

# The combo's frame is stretched as a nine-grid with edges 6, 6, 40, 6: the
# arrow lives in the right 40 pixels, which are never stretched across.
COMBO_W, COMBO_H = 80, 30
ARROW_ZONE = 40

SKINS = [
    skin("img_combobox.png", 4, (COMBO_W, COMBO_H), "combo_frame", margin=6),
    skin("img_combobox_bkg.png", 1, (40, 40), "combo_drop_back", margin=6),
    skin("combobox_device_dropdown.png", 1, (12, 8), "combo_device_arrow"),
    skin("icon/icon_logon_user.png", 1, (24, 24), "logon_user"),
]


def arrow_colour(state):
    return (make_skins.TEXT, make_skins.HOVER, make_skins.HOVER, make_skins.DISABLED)[state % 4]


def draw_down_arrow(canvas, cx, cy, half_w, half_h, colour):
    points = [(cx - half_w, cy - half_h), (cx + half_w, cy - half_h), (cx, cy + half_h)]
    canvas.shape(pngtools.in_polygon(points), colour)


def draw_combo_frame(canvas, left, top, w, h, state, entry):
    fill, rim = make_skins.state_look(state)
    radius = 4.0
    canvas.shape(pngtools.in_round_rect(left, top, w, h, radius), rim)
    canvas.shape(pngtools.in_round_rect(left + 1, top + 1, w - 2, h - 2, radius - 1), fill)
    # A thin divider and the arrow in the unstretched right part.
    divider_x = left + w - ARROW_ZONE + 8
    canvas.fill(divider_x, top + 7, 1, h - 14, rim)
    draw_down_arrow(canvas, left + w - ARROW_ZONE / 2.0 + 4, top + h / 2.0, 5.0, 3.0, arrow_colour(state))


def draw_combo_drop_back(canvas, left, top, w, h, state, entry):
    canvas.shape(pngtools.in_round_rect(left, top, w, h, 5.0), make_skins.HOVER)
    canvas.shape(pngtools.in_round_rect(left + 1, top + 1, w - 2, h - 2, 4.0), 0x1C1C1C)


def draw_combo_device_arrow(canvas, left, top, w, h, state, entry):
    draw_down_arrow(canvas, left + w / 2.0, top + h / 2.0, w / 2.0, h / 2.0, make_skins.TEXT)


def draw_logon_user(canvas, left, top, w, h, state, entry):
    colour = 0x898989
    head_r = w * 0.2
    cx, cy = left + w / 2.0, top + h * 0.32
    canvas.shape(lambda px, py: (px - cx) ** 2 + (py - cy) ** 2 <= head_r ** 2, colour)
    shoulders = pngtools.in_round_rect(left + w * 0.15, top + h * 0.6, w * 0.7, h * 0.38, w * 0.18)
    canvas.shape(shoulders, colour)


KINDS = {
    "combo_frame": draw_combo_frame,
    "combo_drop_back": draw_combo_drop_back,
    "combo_device_arrow": draw_combo_device_arrow,
    "logon_user": draw_logon_user,
}

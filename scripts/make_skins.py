#!/usr/bin/env python3
"""Writes the skin images of a theme: each a strip of equal frames side by side.

  make_skins.py --theme product OUTPUT_FOLDER   the dark product theme
  make_skins.py --theme test OUTPUT_FOLDER      the colour-coded test theme
  make_skins.py --theme T --list                the files the theme has, one a line

The images are listed in SKINS below, one entry per file. A control family
may instead keep its images in a module of its own in scripts/skins/: each
module there defines SKINS (entries made with make_skins.skin) and KINDS (kind
name -> draw function), and may define SAME_IN_BOTH_THEMES; they are added to
the tables here in the order of their file names. Frame k of a strip is the control's state k (0 normal,
1 hover, 2 pressed, 3 disabled, 4-7 the checked variants).

The test theme draws every frame the same way whatever the kind, so that a
test can tell by one pixel which frame and which nine-grid piece was drawn:
  - the frame's inside is FRAME_FILLS[k],
  - a band of `margin` pixels along its four edges is edge_color(k),
  - its four margin x margin corners are CORNER_COLORS (top-left, top-right,
    bottom-left, bottom-right), the same in every frame.
tests/framework/TestTheme.h repeats these colours for the tests. Kinds in
SAME_IN_BOTH_THEMES (images whose content a control reads, such as the colour
wheel) are drawn as in the product theme instead.
"""

import argparse
import math
import os
import sys
from collections import namedtuple

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import giftools  # noqa: E402
import pngtools  # noqa: E402

# ---------------------------------------------------------------- the table

# name: file below the theme folder; frames: frames across; size: (w, h) of
# one frame; kind: how the product theme draws it; rows: frames down (strips
# of rows x frames); margin: nine-grid margin (default a quarter of the
# shorter side); test_only: written into the test theme alone.
Skin = namedtuple("Skin", "name frames size kind rows margin test_only")


def skin(name, frames, size, kind, rows=1, margin=None, test_only=False):
    return Skin(name, frames, size, kind, rows, margin, test_only)


SKINS = [
    # Scroll bars read from files (the resource images are the usual source).
    skin("img_scroll_v.png", 3, (4, 72), "scroll_bar"),
    skin("img_scroll_h.png", 3, (22, 5), "scroll_thumb", rows=4),
    # Balloon.
    skin("img_tip_bk.png", 1, (60, 40), "panel", margin=8),
    skin("img_tip_arrow_left.png", 1, (8, 14), "arrow_left"),
    skin("img_tip_arrow_right.png", 1, (8, 14), "arrow_right"),
    skin("img_tip_arrow_top.png", 1, (14, 8), "arrow_up"),
    # Loading window: the close button, the logo and the animation (a GIF:
    # its frames are the strip's frames).
    skin("img_sys_close.png", 4, (30, 30), "close"),
    skin("logo/logo_loading.png", 1, (120, 32), "logo", margin=4),
    skin("loading/loading.gif", 8, (232, 58), "loading_dots", margin=6),
    # Spin box arrows (4 states each).
    skin("img_spin_up.png", 4, (12, 9), "spin_up"),
    skin("img_spin_down.png", 4, (12, 9), "spin_down"),
    # Push buttons: nine-grid skins (corner 8) and whole-frame images.
    skin("btn_apply.png", 4, (40, 30), "apply_button", margin=8),
    skin("img_recorditem_up.png", 4, (24, 24), "button_up", margin=8),
    skin("img_recorditem_down.png", 4, (24, 24), "button_down", margin=8),
    skin("sysbtn_close.png", 4, (30, 30), "close"),
    skin("sysbtn_min.png", 4, (30, 30), "minimize"),
    skin("btn_max.png", 4, (30, 30), "maximize"),
    skin("sysbtn_setting.png", 4, (30, 30), "setting"),
    skin("btn_returnhome.png", 4, (206, 41), "home_button"),
    skin("img_return.png", 4, (80, 50), "button_back"),
    skin("icon_btn_moreprofile.png", 1, (16, 16), "icon_plus"),
    skin("icon_btn_defaultprofile.png", 1, (16, 16), "icon_reset"),
    skin("icon/icon_rec.png", 1, (12, 12), "icon_record"),
    # Check, radio and switch buttons: states 0-3, then 4-7 checked.
    skin("btn_checkbox.png", 8, (18, 18), "checkbox"),
    skin("btn_radiobox.png", 8, (18, 18), "radio"),
    skin("img_direction.png", 8, (40, 20), "direction", margin=5),
    skin("img_switch_on.png", 4, (46, 24), "switch_on"),
    skin("img_switch_off.png", 4, (46, 24), "switch_off"),
    # Edit field (normal, hover, editing, disabled; nine-grid corner 4).
    skin("img_edit.png", 4, (40, 24), "button", margin=4),
    # Colour controls: the colour wheel (the same real wheel in both themes)
    # and the saturation thumb of the colour field.
    skin("img_palette.png", 1, (160, 160), "hue_wheel"),
    skin("img_palette_thumb.png", 4, (10, 12), "palette_thumb"),
    # Images the framework tests draw; their sizes must not change.
    skin("test_strip4.png", 4, (12, 10), "button", margin=2, test_only=True),
    skin("test_grid.png", 1, (30, 24), "panel", margin=6, test_only=True),
    # Images the slider, tab and picture tests draw; their sizes must not change.
    skin("test_tile.png", 1, (30, 20), "panel", margin=5, test_only=True),
    skin("test_tab_icon.png", 3, (16, 12), "button", margin=3, test_only=True),
    skin("test_photo.png", 3, (40, 40), "button", margin=12, test_only=True),
    skin("test_anim.gif", 2, (12, 8), "panel", margin=2, test_only=True),
]

# Frame delay of generated GIFs, in hundredths of a second.
GIF_DELAY_CS = 4

# ------------------------------------------------------------ product theme

NORMAL = 0x232323   # the library's normal colour
HOVER = 0xFDB637    # hover and pressed
SELECT = 0x49FFE6   # selection and checked states
RIM = 0x3C3C3C
DISABLED = 0x5A5A5A
TEXT = 0xE6E6E6

# (fill, rim) per state; 4-7 are the checked variants of 0-3.
STATE_LOOKS = [
    (NORMAL, RIM),
    (0x2E2E2E, HOVER),
    (0x1A1A1A, HOVER),
    (0x1E1E1E, 0x2A2A2A),
    (0x1F3B38, SELECT),
    (0x24504B, SELECT),
    (0x17302D, HOVER),
    (0x1E2625, 0x2F4A47),
]


def state_look(state):
    return STATE_LOOKS[state % len(STATE_LOOKS)]


def draw_button(canvas, left, top, w, h, state, entry):
    fill, rim = state_look(state)
    radius = min(w, h) / 5.0
    canvas.shape(pngtools.in_round_rect(left, top, w, h, radius), rim)
    canvas.shape(pngtools.in_round_rect(left + 1, top + 1, w - 2, h - 2, max(0.0, radius - 1)), fill)


def draw_panel(canvas, left, top, w, h, state, entry):
    radius = min(entry.margin or 4, min(w, h) / 2.0) / 2.0
    canvas.shape(pngtools.in_round_rect(left, top, w, h, radius), RIM, 240)
    canvas.shape(pngtools.in_round_rect(left + 1, top + 1, w - 2, h - 2, max(0.0, radius - 1)), NORMAL, 240)


def draw_arrow(direction):
    def draw(canvas, left, top, w, h, state, entry):
        points = {
            "left": [(left + w, top), (left, top + h / 2.0), (left + w, top + h)],
            "right": [(left, top), (left + w, top + h / 2.0), (left, top + h)],
            "up": [(left, top + h), (left + w / 2.0, top), (left + w, top + h)],
            "down": [(left, top), (left + w / 2.0, top + h), (left + w, top)],
        }[direction]
        canvas.shape(pngtools.in_polygon(points), NORMAL, 240)
    return draw


def draw_close(canvas, left, top, w, h, state, entry):
    color = (TEXT, HOVER, HOVER, DISABLED)[state % 4]
    inset = min(w, h) * 0.3
    half = max(0.75, min(w, h) / 20.0)
    canvas.shape(pngtools.in_thick_line(left + inset, top + inset, left + w - inset, top + h - inset, half), color)
    canvas.shape(pngtools.in_thick_line(left + w - inset, top + inset, left + inset, top + h - inset, half), color)


def draw_logo(canvas, left, top, w, h, state, entry):
    canvas.shape(pngtools.in_round_rect(left, top, w, h, h / 4.0), HOVER)
    canvas.shape(pngtools.in_round_rect(left + 3, top + 3, w - 6, h - 6, h / 6.0), NORMAL)
    bar = h // 4
    canvas.fill(left + w // 4, top + (h - bar) // 2, w // 2, bar, SELECT)


def draw_loading_dots(canvas, left, top, w, h, state, entry):
    # A row of dots; the one of this frame lit. Drawn without soft edges so
    # that the GIF's palette stays small.
    dots = entry.frames
    radius = min(h / 6.0, w / (dots * 3.0))
    gap = w / float(dots)
    for dot in range(dots):
        cx = left + gap * (dot + 0.5)
        cy = top + h / 2.0
        color = HOVER if dot == state % dots else RIM
        r2 = radius * radius
        for y in range(int(cy - radius) - 1, int(cy + radius) + 2):
            for x in range(int(cx - radius) - 1, int(cx + radius) + 2):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r2:
                    canvas.set(x, y, color)


def draw_spin_arrow(direction):
    """A small triangle whose colour follows the button state."""
    def draw(canvas, left, top, w, h, state, entry):
        color = (TEXT, HOVER, HOVER, DISABLED)[state % 4]
        inset_x, inset_y = w * 0.2, h * 0.25
        if direction == "up":
            points = [(left + inset_x, top + h - inset_y), (left + w / 2.0, top + inset_y),
                      (left + w - inset_x, top + h - inset_y)]
        else:
            points = [(left + inset_x, top + inset_y), (left + w / 2.0, top + h - inset_y),
                      (left + w - inset_x, top + inset_y)]
        canvas.shape(pngtools.in_polygon(points), color)
    return draw


def glyph_color(state):
    return (TEXT, HOVER, HOVER, DISABLED)[state % 4]


def draw_button_arrow(direction):
    def draw(canvas, left, top, w, h, state, entry):
        draw_button(canvas, left, top, w, h, state, entry)
        cx, cy, r = left + w / 2.0, top + h / 2.0, min(w, h) * 0.22
        points = {
            "up": [(cx - r, cy + r / 2), (cx, cy - r / 2), (cx + r, cy + r / 2)],
            "down": [(cx - r, cy - r / 2), (cx, cy + r / 2), (cx + r, cy - r / 2)],
            "back": [(left + h * 0.55, cy - r), (left + h * 0.3, cy), (left + h * 0.55, cy + r)],
        }[direction]
        canvas.shape(pngtools.in_polygon(points), glyph_color(state))
    return draw


def draw_minimize(canvas, left, top, w, h, state, entry):
    inset = min(w, h) * 0.3
    half = max(0.75, min(w, h) / 20.0)
    y = top + h / 2.0
    canvas.shape(pngtools.in_thick_line(left + inset, y, left + w - inset, y, half), glyph_color(state))


def draw_maximize(canvas, left, top, w, h, state, entry):
    inset = min(w, h) * 0.3
    side = min(w, h) - 2 * inset
    outer = pngtools.in_round_rect(left + inset, top + inset, side, side, 0)
    inner = pngtools.in_round_rect(left + inset + 1.5, top + inset + 1.5, side - 3, side - 3, 0)
    canvas.shape(pngtools.in_ring(outer, inner), glyph_color(state))


def draw_setting(canvas, left, top, w, h, state, entry):
    cx, cy = left + w / 2.0, top + h / 2.0
    r = min(w, h) * 0.28
    color = glyph_color(state)
    for k in range(4):
        angle = k * math.pi / 4
        dx, dy = math.cos(angle) * r * 1.25, math.sin(angle) * r * 1.25
        canvas.shape(pngtools.in_thick_line(cx - dx, cy - dy, cx + dx, cy + dy, r * 0.28), color)
    canvas.shape(pngtools.in_round_rect(cx - r, cy - r, 2 * r, 2 * r, r), color)
    hole = r * 0.45
    canvas.shape(pngtools.in_round_rect(cx - hole, cy - hole, 2 * hole, 2 * hole, hole), NORMAL)


def draw_icon_plus(canvas, left, top, w, h, state, entry):
    cx, cy, r = left + w / 2.0, top + h / 2.0, min(w, h) * 0.4
    canvas.shape(pngtools.in_thick_line(cx - r, cy, cx + r, cy, 1.0), TEXT)
    canvas.shape(pngtools.in_thick_line(cx, cy - r, cx, cy + r, 1.0), TEXT)


def draw_icon_reset(canvas, left, top, w, h, state, entry):
    cx, cy, r = left + w / 2.0, top + h / 2.0, min(w, h) * 0.4
    outer = pngtools.in_round_rect(cx - r, cy - r, 2 * r, 2 * r, r)
    inner = pngtools.in_round_rect(cx - r + 1.5, cy - r + 1.5, 2 * r - 3, 2 * r - 3, r - 1.5)
    canvas.shape(pngtools.in_ring(outer, inner), TEXT)
    canvas.shape(pngtools.in_polygon([(cx + r - 3, cy - 1), (cx + r + 2, cy - 1), (cx + r - 0.5, cy + 3)]), TEXT)


def draw_icon_record(canvas, left, top, w, h, state, entry):
    canvas.shape(pngtools.in_round_rect(left + 1, top + 1, w - 2, h - 2, (w - 2) / 2.0), 0xE53935)


def draw_checkbox(canvas, left, top, w, h, state, entry):
    fill, rim = state_look(state)
    canvas.shape(pngtools.in_round_rect(left + 1, top + 1, w - 2, h - 2, 3), rim)
    canvas.shape(pngtools.in_round_rect(left + 2, top + 2, w - 4, h - 4, 2), fill)
    if state >= 4:
        mark = SELECT if state % 4 != 3 else DISABLED
        canvas.shape(pngtools.in_thick_line(left + w * 0.27, top + h * 0.52, left + w * 0.45, top + h * 0.7, 1.2), mark)
        canvas.shape(pngtools.in_thick_line(left + w * 0.45, top + h * 0.7, left + w * 0.75, top + h * 0.32, 1.2), mark)


def draw_radio(canvas, left, top, w, h, state, entry):
    fill, rim = state_look(state)
    r = min(w, h) / 2.0 - 1
    cx, cy = left + w / 2.0, top + h / 2.0
    canvas.shape(pngtools.in_round_rect(cx - r, cy - r, 2 * r, 2 * r, r), rim)
    canvas.shape(pngtools.in_round_rect(cx - r + 1, cy - r + 1, 2 * r - 2, 2 * r - 2, r - 1), fill)
    if state >= 4:
        dot = r * 0.45
        canvas.shape(pngtools.in_round_rect(cx - dot, cy - dot, 2 * dot, 2 * dot, dot),
                     SELECT if state % 4 != 3 else DISABLED)


def draw_direction(canvas, left, top, w, h, state, entry):
    # A pill whose fill suits the title colour of each state: dark titles on
    # the light normal and checked-hover looks, white ones on the others.
    fills = (0xCFCFCF, HOVER, 0xD9982A, 0x6A6A6A, 0x17897B, SELECT, SELECT, 0x4A5A58)
    fill = fills[state % len(fills)]
    canvas.shape(pngtools.in_round_rect(left, top, w, h, h / 2.0), fill)


def draw_switch(on):
    def draw(canvas, left, top, w, h, state, entry):
        look = state % 4
        track = (SELECT if on else RIM) if look != 3 else 0x2A2A2A
        rim = HOVER if look in (1, 2) else track
        canvas.shape(pngtools.in_round_rect(left, top, w, h, h / 2.0), rim)
        canvas.shape(pngtools.in_round_rect(left + 1, top + 1, w - 2, h - 2, h / 2.0 - 1), track)
        knob = h - 6
        kx = left + w - 3 - knob if on else left + 3
        canvas.shape(pngtools.in_round_rect(kx, top + 3, knob, knob, knob / 2.0),
                     TEXT if look != 3 else DISABLED)
    return draw


def draw_scroll_bar(canvas, left, top, w, h, state, entry):
    color = (0x898888, 0x6F6F6F, 0x595959)[state % 3]
    canvas.shape(pngtools.in_round_rect(left, top, w, h, w / 2.0), color)


def draw_scroll_thumb(canvas, left, top, w, h, state, entry):
    # Row index = state + 1 (row 0 is never drawn); fainter with each row.
    row = state // entry.frames
    alpha = (255, 204, 153, 102)[row % 4]
    canvas.shape(pngtools.in_round_rect(left, top, w, h, h / 2.0), 0xFDE000, alpha)


def hsv_to_rgb(hue, saturation, value):
    """hue in turns (0..1), saturation and value 0..1; returns 0xRRGGBB."""
    sector = (hue % 1.0) * 6.0
    index = int(sector) % 6
    fraction = sector - int(sector)
    p = value * (1.0 - saturation)
    q = value * (1.0 - saturation * fraction)
    t = value * (1.0 - saturation * (1.0 - fraction))
    r, g, b = ((value, t, p), (q, value, p), (p, value, t), (p, q, value), (t, p, value), (value, p, q))[index]
    return (int(round(r * 255)) << 16) | (int(round(g * 255)) << 8) | int(round(b * 255))


def draw_hue_wheel(canvas, left, top, w, h, state, entry):
    """Hue around the circle (red at the right, counter-clockwise), white at
    the centre and fully saturated at the rim; transparent outside, with an
    anti-aliased edge."""
    cx, cy = left + w / 2.0, top + h / 2.0
    radius = min(w, h) / 2.0
    step = 1.0 / 4
    for y in range(top, top + h):
        for x in range(left, left + w):
            dx, dy = x + 0.5 - cx, cy - (y + 0.5)
            distance = math.hypot(dx, dy)
            if distance > radius + 1.0:
                continue
            hue = math.atan2(dy, dx) / (2.0 * math.pi)
            color = hsv_to_rgb(hue, min(distance / radius, 1.0), 1.0)
            if distance < radius - 1.0:
                canvas.set(x, y, color)
                continue
            inside = 0
            for sy in range(4):
                for sx in range(4):
                    px = x + (sx + 0.5) * step - cx
                    py = cy - (y + (sy + 0.5) * step)
                    inside += 1 if math.hypot(px, py) <= radius else 0
            if inside:
                canvas.set(x, y, color, int(round(255 * inside / 16.0)))


def draw_palette_thumb(canvas, left, top, w, h, state, entry):
    """A small triangle pointing left at the saturation bar."""
    color = (TEXT, HOVER, HOVER, DISABLED)[state % 4]
    points = [(left + w, top + 1), (left + 1, top + h / 2.0), (left + w, top + h - 1)]
    canvas.shape(pngtools.in_polygon(points), color)


# Kinds drawn the same in the test theme: images whose content a control
# reads (the colour wheel's colours), not just a frame it stretches.
SAME_IN_BOTH_THEMES = {"hue_wheel"}

PRODUCT_KINDS = {
    "button": draw_button,
    "hue_wheel": draw_hue_wheel,
    "palette_thumb": draw_palette_thumb,
    "panel": draw_panel,
    "arrow_left": draw_arrow("left"),
    "arrow_right": draw_arrow("right"),
    "arrow_up": draw_arrow("up"),
    "arrow_down": draw_arrow("down"),
    "close": draw_close,
    "logo": draw_logo,
    "loading_dots": draw_loading_dots,
    "scroll_bar": draw_scroll_bar,
    "spin_up": draw_spin_arrow("up"),
    "spin_down": draw_spin_arrow("down"),
    "scroll_thumb": draw_scroll_thumb,
    "button_up": draw_button_arrow("up"),
    "button_down": draw_button_arrow("down"),
    "button_back": draw_button_arrow("back"),
    "minimize": draw_minimize,
    "maximize": draw_maximize,
    "setting": draw_setting,
    "icon_plus": draw_icon_plus,
    "icon_reset": draw_icon_reset,
    "icon_record": draw_icon_record,
    "checkbox": draw_checkbox,
    "radio": draw_radio,
    "direction": draw_direction,
    "switch_on": draw_switch(True),
    "switch_off": draw_switch(False),
}



def load_family_modules():
    """Adds the tables of every module in scripts/skins/ to the ones above."""
    import importlib.util
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "skins")
    if not os.path.isdir(folder):
        return
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".py") or name.startswith("_"):
            continue
        loader_info = importlib.util.spec_from_file_location("skins_" + name[:-3], os.path.join(folder, name))
        module = importlib.util.module_from_spec(loader_info)
        loader_info.loader.exec_module(module)
        SKINS.extend(getattr(module, "SKINS", []))
        for kind, draw in getattr(module, "KINDS", {}).items():
            if kind in PRODUCT_KINDS and PRODUCT_KINDS[kind] is not draw:
                raise SystemExit("skins/%s: kind %s is defined twice" % (name, kind))
            PRODUCT_KINDS[kind] = draw
        SAME_IN_BOTH_THEMES.update(getattr(module, "SAME_IN_BOTH_THEMES", set()))


# --------------------------------------------------------------- test theme

FRAME_FILLS = [0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0xFF8000, 0x8000FF]
CORNER_COLORS = (0xFFFFFF, 0xC0C0C0, 0x606060, 0x202020)


def frame_fill(index):
    if index < len(FRAME_FILLS):
        return FRAME_FILLS[index]
    return ((index * 53) & 0xFF) << 16 | ((index * 101) & 0xFF) << 8 | ((index * 197) & 0xFF)


def edge_color(index):
    """Half the intensity of the frame's fill."""
    fill = frame_fill(index)
    return (fill >> 1) & 0x7F7F7F


def margin_of(entry):
    if entry.margin is not None:
        return entry.margin
    w, h = entry.size
    return max(1, min(w, h) // 4)


def draw_test_frame(canvas, left, top, w, h, index, entry):
    m = margin_of(entry)
    canvas.fill(left, top, w, h, edge_color(index))
    canvas.fill(left + m, top + m, w - 2 * m, h - 2 * m, frame_fill(index))
    corners = ((left, top), (left + w - m, top), (left, top + h - m), (left + w - m, top + h - m))
    for (x, y), color in zip(corners, CORNER_COLORS):
        canvas.fill(x, y, m, m, color)


# --------------------------------------------------------------------- main

def render(entry, theme):
    w, h = entry.size
    canvas = pngtools.Canvas(w * entry.frames, h * entry.rows)
    for row in range(entry.rows):
        for column in range(entry.frames):
            index = row * entry.frames + column
            left, top = column * w, row * h
            if theme == "test" and entry.kind not in SAME_IN_BOTH_THEMES:
                draw_test_frame(canvas, left, top, w, h, index, entry)
            else:
                PRODUCT_KINDS[entry.kind](canvas, left, top, w, h, index, entry)
    return canvas


def main(argv):
    parser = argparse.ArgumentParser(description="Writes a theme's skin images.")
    parser.add_argument("--theme", choices=("product", "test"), required=True)
    parser.add_argument("--list", action="store_true", help="print the theme's files and write nothing")
    parser.add_argument("folder", nargs="?")
    args = parser.parse_args(argv[1:])
    load_family_modules()
    if not args.list and not args.folder:
        parser.error("an output folder is needed")

    names = [entry.name for entry in SKINS]
    if len(names) != len(set(names)):
        parser.error("an image is listed twice: %s" % sorted({n for n in names if names.count(n) > 1}))
    for entry in SKINS:
        if entry.kind not in PRODUCT_KINDS:
            parser.error("%s: unknown kind %s" % (entry.name, entry.kind))
        if entry.test_only and args.theme != "test":
            continue
        relative = entry.name.replace("\\", "/")
        if args.list:
            print(relative)
            continue
        path = os.path.join(args.folder, *relative.split("/"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        canvas = render(entry, args.theme)
        if relative.endswith(".gif"):
            giftools.write_gif(path, canvas, entry.frames, entry.size[0], entry.size[1], GIF_DELAY_CS)
        else:
            canvas.write(path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

"""Skin images of the main window's shell and pages: the window and panel
backgrounds, the logo, the tab icons, combo boxes, slider strips, list rows,
the macro event icons, the message box and update window backgrounds."""

import math
import os
import sys

import make_skins
import pngtools

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import _keyfont as keyfont  # noqa: E402
from make_skins import skin, NORMAL, HOVER, SELECT, RIM, DISABLED, TEXT

BACKDROP_TOP = 0x1C1D1F
BACKDROP_BOTTOM = 0x0D0E0F
PANEL = 0x1E1F21
PANEL_RIM = 0x34363A

SKINS = [
    # Window and panel backgrounds.
    skin("main_bkg.png", 1, (690, 400), "page_backdrop"),
    skin("img_area_bkg.png", 1, (120, 120), "page_panel", margin=30),
    skin("img_area_caption.png", 1, (60, 40), "page_panel", margin=10),
    skin("img_area_content.png", 1, (60, 60), "page_panel", margin=10),
    skin("img_tab_area1.png", 1, (480, 40), "tab_area", margin=10),
    skin("bk_prompt.png", 1, (120, 120), "dialog_panel", margin=30),
    skin("img_upgrade_bkg.png", 1, (80, 66), "dialog_panel", margin=10),
    # Caption logo.
    skin("logo/logo.png", 1, (140, 32), "logo", margin=4),
    # Tab icons: normal, selected.
    skin("icon/tab_key.png", 2, (20, 20), "tab_key"),
    skin("icon/tab_light.png", 2, (20, 20), "tab_light"),
    skin("icon/tab_macro.png", 2, (20, 20), "tab_macro"),
    skin("icon/tab_config.png", 2, (20, 20), "tab_config"),
    # Combo boxes (normal, hover, open, disabled) and the device combo.
    # Slider strips (normal, hover, pressed, disabled).
    skin("img_light_brightness.png", 4, (60, 26), "slider_strip", margin=6),
    skin("img_light_speed.png", 4, (60, 26), "slider_strip", margin=6),
    skin("img_light_music.png", 4, (60, 26), "slider_strip", margin=6),
    # List rows (normal, selected) and the row's more button.
    skin("img_button.png", 4, (40, 30), "button", margin=8),
    # Macro icons: the event types of the event list, the stop-recording icon,
    # the profile row's edit icon.
    skin("icon/icon_stop_rec.png", 1, (12, 12), "icon_stop"),
]


def mix(a, b, t):
    """Colour between a and b (t 0..1)."""
    out = 0
    for shift in (16, 8, 0):
        ca, cb = (a >> shift) & 0xFF, (b >> shift) & 0xFF
        out |= int(round(ca + (cb - ca) * t)) << shift
    return out


def draw_backdrop(canvas, left, top, w, h, state, entry):
    # A dark vertical gradient with a faint cool glow behind the caption area.
    cx, cy = left + w / 2.0, top + h * 0.35
    for y in range(h):
        row = mix(BACKDROP_TOP, BACKDROP_BOTTOM, y / float(max(1, h - 1)))
        for x in range(w):
            d = math.hypot((left + x - cx) / (w * 0.6), (top + y - cy) / (h * 0.6))
            glow = max(0.0, 1.0 - d) * 0.10
            canvas.set(left + x, top + y, mix(row, 0x1E3A38, glow))


def draw_page_panel(canvas, left, top, w, h, state, entry):
    radius = (entry.margin or 10) / 2.5
    canvas.shape(pngtools.in_round_rect(left, top, w, h, radius), PANEL_RIM, 230)
    canvas.shape(pngtools.in_round_rect(left + 1, top + 1, w - 2, h - 2, radius - 1), PANEL, 235)


def draw_dialog_panel(canvas, left, top, w, h, state, entry):
    radius = min(12.0, (entry.margin or 10) / 2.5)
    canvas.shape(pngtools.in_round_rect(left, top, w, h, radius), 0x45484C)
    canvas.shape(pngtools.in_round_rect(left + 1, top + 1, w - 2, h - 2, radius - 1), 0x202124)
    # An accent line under the title.
    canvas.fill(left + (entry.margin or 10), top + 2, max(1, w - 2 * (entry.margin or 10)), 2, SELECT)


def draw_tab_area(canvas, left, top, w, h, state, entry):
    canvas.shape(pngtools.in_round_rect(left, top, w, h, h / 2.0), 0x222325, 230)
    canvas.fill(left + h // 2, top + h - 2, w - h, 1, PANEL_RIM)


def icon_color(state):
    return SELECT if state % 2 else TEXT


def draw_tab_key(canvas, left, top, w, h, state, entry):
    c = icon_color(state)
    outer = pngtools.in_round_rect(left + 2, top + 3, w - 4, h - 6, 3)
    inner = pngtools.in_round_rect(left + 3.5, top + 4.5, w - 7, h - 9, 2)
    canvas.shape(pngtools.in_ring(outer, inner), c)
    for row in range(2):
        for col in range(3):
            canvas.fill(left + 5 + col * 4, top + 7 + row * 3, 2, 2, c)
    canvas.fill(left + 7, top + 13, 6, 1, c)


def draw_tab_light(canvas, left, top, w, h, state, entry):
    c = icon_color(state)
    cx, cy, r = left + w / 2.0, top + h * 0.42, w * 0.28
    canvas.shape(pngtools.in_round_rect(cx - r, cy - r, 2 * r, 2 * r, r), c)
    canvas.fill(int(cx - 2), int(cy + r), 5, 3, c)
    for k in range(5):
        a = math.pi + k * math.pi / 4
        x1, y1 = cx + math.cos(a) * (r + 2), cy + math.sin(a) * (r + 2)
        x2, y2 = cx + math.cos(a) * (r + 4.5), cy + math.sin(a) * (r + 4.5)
        canvas.shape(pngtools.in_thick_line(x1, y1, x2, y2, 0.7), c)


def draw_tab_macro(canvas, left, top, w, h, state, entry):
    c = icon_color(state)
    canvas.shape(pngtools.in_thick_line(left + 4, top + h - 4, left + 4, top + 4, 1.0), c)
    canvas.shape(pngtools.in_thick_line(left + 4, top + 4, left + w / 2.0, top + h / 2.0, 1.0), c)
    canvas.shape(pngtools.in_thick_line(left + w / 2.0, top + h / 2.0, left + w - 4, top + 4, 1.0), c)
    canvas.shape(pngtools.in_thick_line(left + w - 4, top + 4, left + w - 4, top + h - 4, 1.0), c)


def draw_tab_config(canvas, left, top, w, h, state, entry):
    c = icon_color(state)
    cx, cy = left + w / 2.0, top + h / 2.0
    r = w * 0.3
    for k in range(4):
        a = k * math.pi / 4
        dx, dy = math.cos(a) * r * 1.3, math.sin(a) * r * 1.3
        canvas.shape(pngtools.in_thick_line(cx - dx, cy - dy, cx + dx, cy + dy, 1.4), c)
    canvas.shape(pngtools.in_round_rect(cx - r, cy - r, 2 * r, 2 * r, r), c)
    hole = r * 0.45
    canvas.shape(pngtools.in_round_rect(cx - hole, cy - hole, 2 * hole, 2 * hole, hole), NORMAL)


def draw_combo(canvas, left, top, w, h, state, entry):
    fill, rim = make_skins.state_look(state)
    canvas.shape(pngtools.in_round_rect(left, top, w, h, 4), rim)
    canvas.shape(pngtools.in_round_rect(left + 1, top + 1, w - 2, h - 2, 3), fill)
    ax, ay = left + w - 14, top + h / 2.0
    color = make_skins.glyph_color(state)
    canvas.shape(pngtools.in_thick_line(ax - 4, ay - 2, ax, ay + 2, 0.9), color)
    canvas.shape(pngtools.in_thick_line(ax, ay + 2, ax + 4, ay - 2, 0.9), color)


def draw_slider_strip(canvas, left, top, w, h, state, entry):
    track = (0x3A3C40, 0x45474B, 0x45474B, 0x2A2B2D)[state % 4]
    bar = h // 3
    y = top + (h - bar) // 2
    canvas.shape(pngtools.in_round_rect(left, y, w, bar, bar / 2.0), track)


def draw_list_row(canvas, left, top, w, h, state, entry):
    if state % 2:
        canvas.shape(pngtools.in_round_rect(left, top, w, h, 4), 0x24504B)
        canvas.fill(left, top + 4, 3, h - 8, SELECT)
    else:
        canvas.shape(pngtools.in_round_rect(left, top, w, h, 4), 0x2A2C2E, 200)
        canvas.fill(left + 4, top + h - 1, w - 8, 1, 0x38393C)


def draw_button_more(canvas, left, top, w, h, state, entry):
    c = make_skins.glyph_color(state)
    if state % 4 in (1, 2):
        canvas.shape(pngtools.in_round_rect(left + 1, top + 1, w - 2, h - 2, 4), 0x3A3C40)
    for k in (-1, 0, 1):
        cx, cy = left + w / 2.0 + k * 5, top + h / 2.0
        canvas.shape(pngtools.in_round_rect(cx - 1.5, cy - 1.5, 3, 3, 1.5), c)


def draw_event_icons(canvas, left, top, w, h, state, entry):
    cx, cy = left + w / 2.0, top + h / 2.0
    kind = state % 8
    if kind in (0, 5, 6, 7):  # delay: a clock
        c = HOVER
        outer = pngtools.in_round_rect(left + 2, top + 2, w - 4, h - 4, (w - 4) / 2.0)
        inner = pngtools.in_round_rect(left + 3.5, top + 3.5, w - 7, h - 7, (w - 7) / 2.0)
        canvas.shape(pngtools.in_ring(outer, inner), c)
        canvas.shape(pngtools.in_thick_line(cx, cy, cx, top + 5, 0.7), c)
        canvas.shape(pngtools.in_thick_line(cx, cy, cx + 3, cy, 0.7), c)
        return
    down = kind in (1, 3)
    mouse = kind in (3, 4)
    c = SELECT if down else TEXT
    if mouse:  # a mouse body
        outer = pngtools.in_round_rect(left + 4, top + 1, w - 8, h - 2, 4)
        inner = pngtools.in_round_rect(left + 5.5, top + 2.5, w - 11, h - 5, 3)
        canvas.shape(pngtools.in_ring(outer, inner), c)
        canvas.fill(int(cx), top + 2, 1, 5, c)
        return
    # A key with an arrow: down for press, up for release.
    tip, tail = (top + h - 3, top + 3) if down else (top + 3, top + h - 3)
    canvas.shape(pngtools.in_thick_line(cx, tail, cx, tip, 0.9), c)
    d = -3 if down else 3
    canvas.shape(pngtools.in_polygon([(cx - 4, tip + d), (cx, tip), (cx + 4, tip + d)]), c)


def draw_icon_stop(canvas, left, top, w, h, state, entry):
    canvas.shape(pngtools.in_round_rect(left + 1, top + 1, w - 2, h - 2, 2), 0xE53935)


def draw_icon_pencil(canvas, left, top, w, h, state, entry):
    c = HOVER if state % 2 else TEXT
    canvas.shape(pngtools.in_thick_line(left + 4, top + h - 4, left + w - 4, top + 4, 1.4), c)
    canvas.shape(pngtools.in_polygon([(left + 2, top + h - 2), (left + 3, top + h - 6), (left + 6, top + h - 3)]), c)


def draw_home_button(canvas, left, top, w, h, state, entry):
    # The way home carries the product's mark, as nothing else in the caption
    # bar names the program: the back arrow, the logo's square and the name.
    make_skins.draw_button(canvas, left, top, w, h, state, entry)
    cy = top + h / 2.0
    r = h * 0.22
    canvas.shape(pngtools.in_polygon([(left + h * 0.55, cy - r), (left + h * 0.3, cy), (left + h * 0.55, cy + r)]),
                 make_skins.glyph_color(state))
    mark = h - 16
    mx, my = left + int(h * 0.8), top + 8
    canvas.shape(pngtools.in_round_rect(mx, my, mark, mark, mark / 4.0), HOVER)
    canvas.shape(pngtools.in_round_rect(mx + 3, my + 3, mark - 6, mark - 6, mark / 6.0), NORMAL)
    bar = max(2, mark // 4)
    canvas.fill(mx + mark // 4, my + (mark - bar) // 2, mark // 2, bar, SELECT)
    text_left = mx + mark + 10
    keyfont.draw_text(canvas, "TARNWELL", text_left, top, left + w - 8 - text_left, h, TEXT, 2)


KINDS = {
    "home_button": draw_home_button,
    "page_backdrop": draw_backdrop,
    "page_panel": draw_page_panel,
    "dialog_panel": draw_dialog_panel,
    "tab_area": draw_tab_area,
    "tab_key": draw_tab_key,
    "tab_light": draw_tab_light,
    "tab_macro": draw_tab_macro,
    "tab_config": draw_tab_config,
    "combo": draw_combo,
    "slider_strip": draw_slider_strip,
    "button_more": draw_button_more,
    "event_icons": draw_event_icons,
    "icon_stop": draw_icon_stop,
    "icon_pencil": draw_icon_pencil,
}

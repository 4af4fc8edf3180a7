"""Skin images of the peripheral widgets: the device pictures of the device
tile and strip, the DPI card, the battery, the group arrows of the grouped
function picker, the special-function icons and the function-type icons of
the function lists and the extended menu, and that menu's background."""

import math

import make_skins
import pngtools
from make_skins import skin

TEXT = make_skins.TEXT
NORMAL = make_skins.NORMAL
RIM = make_skins.RIM
HOVER = make_skins.HOVER
SELECT = make_skins.SELECT
DISABLED = make_skins.DISABLED

BODY = 0x17191C
KEYCAP = 0x2B2F35
KEYCAP_RIM = 0x3F454D
BATTERY_FILL = 0x3DD68C

# Special functions of the grouped picker: file stem -> glyph.
FUNCTION_ICONS = [
    ("icon_pc", "pc"), ("icon_cal", "calculator"), ("icon_email", "email"),
    ("icon_multimedia", "note"), ("icon_playpause", "playpause"), ("icon_stop", "stop"),
    ("icon_pre", "previous"), ("icon_next", "next"), ("icon_vol_up", "volume_up"),
    ("icon_vol_down", "volume_down"), ("icon_vol_mute", "volume_mute"), ("icon_home", "home"),
    ("icon_web_refresh", "refresh"), ("icon_web_stop", "web_stop"), ("icon_web_backward", "back"),
    ("icon_web_foreward", "forward"), ("icon_favorites", "star"), ("icon_web_search", "search"),
]

# Function types shown by the type list and the extended menu.
TYPE_ICONS = [
    ("icon_functype_key", "key"), ("icon_functype_media", "note"), ("icon_functype_macro", "macro"),
    ("icon_functype_light", "sun"), ("icon_functype_system", "gear"), ("icon_functype_disable", "disable"),
]

SKINS = [
    # The home page's device tile and the device strip's pictures (normal, lit).
    skin("keyboard/img_keyboard.png", 1, (620, 220), "keyboard_picture"),
    skin("device/img_device_keyboard.png", 1, (170, 70), "device_keyboard"),
    skin("device/img_device_keyboard_sel.png", 1, (170, 70), "device_keyboard_lit"),
    skin("device/img_device_keypad.png", 1, (70, 90), "device_keypad"),
    skin("device/img_device_keypad_sel.png", 1, (70, 90), "device_keypad_lit"),
    # DPI stage card: unchecked and checked frames, nine-grid corner 4.
    skin("img_dpi_card.png", 2, (40, 40), "dpi_card", margin=4),
    # Battery: body, the fill (drawn in part) and the charging icon.
    skin("battery/img_battery_body.png", 1, (64, 28), "battery_body"),
    skin("battery/img_battery_level.png", 1, (64, 28), "battery_level"),
    skin("battery/img_battery_charging.png", 1, (14, 22), "battery_charging"),
    # Group header arrows: open (normal, hover), closed (normal, hover).
    skin("img_keyfunc_arrow.png", 4, (16, 16), "group_arrow"),
    # The extended menu's background, nine-grid corner 10.
    skin("img_menuex_bk.png", 1, (40, 40), "menu_panel", margin=10),
]
SKINS += [skin("icon/%s.png" % stem, 1, (20, 20), "glyph_" + glyph) for stem, glyph in FUNCTION_ICONS]
SKINS += [skin("icon/%s.png" % stem, 1, (32, 32), "glyph_" + glyph) for stem, glyph in TYPE_ICONS]


# ------------------------------------------------------------------ helpers

def bshape(canvas, box, inside, rgb, alpha=255):
    """canvas.shape limited to box = (left, top, right, bottom): the big
    pictures would take far too long sampled over the whole canvas."""
    left, top, right, bottom = [int(math.floor(v)) for v in box[:2]] + [int(math.ceil(v)) for v in box[2:]]
    step = 0.25
    for y in range(max(0, top - 1), min(canvas.height, bottom + 1)):
        for x in range(max(0, left - 1), min(canvas.width, right + 1)):
            hits = 0
            for sy in range(4):
                for sx in range(4):
                    if inside(x + (sx + 0.5) * step, y + (sy + 0.5) * step):
                        hits += 1
            if hits:
                canvas.blend(x, y, rgb, alpha * hits / 16.0)


def round_rect(canvas, x, y, w, h, r, rgb, alpha=255):
    bshape(canvas, (x, y, x + w, y + h), pngtools.in_round_rect(x, y, w, h, r), rgb, alpha)


def line(canvas, x1, y1, x2, y2, half, rgb):
    box = (min(x1, x2) - half - 1, min(y1, y2) - half - 1, max(x1, x2) + half + 1, max(y1, y2) + half + 1)
    bshape(canvas, box, pngtools.in_thick_line(x1, y1, x2, y2, half), rgb)


def polygon(canvas, points, rgb):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    bshape(canvas, (min(xs), min(ys), max(xs), max(ys)), pngtools.in_polygon(points), rgb)


def ring(canvas, cx, cy, r, width, rgb):
    outer = pngtools.in_round_rect(cx - r, cy - r, 2 * r, 2 * r, r)
    inner = pngtools.in_round_rect(cx - r + width, cy - r + width, 2 * (r - width), 2 * (r - width), r - width)
    bshape(canvas, (cx - r, cy - r, cx + r, cy + r), pngtools.in_ring(outer, inner), rgb)


def arc(canvas, cx, cy, r, width, gap, rgb):
    """A ring with the angles in gap (radians, y down) left open."""
    def inside(px, py):
        d = math.hypot(px - cx, py - cy)
        angle = math.atan2(py - cy, px - cx)
        return r - width <= d <= r and not (gap[0] <= angle <= gap[1])
    bshape(canvas, (cx - r, cy - r, cx + r, cy + r), inside, rgb)


def disc(canvas, cx, cy, r, rgb):
    round_rect(canvas, cx - r, cy - r, 2 * r, 2 * r, r, rgb)


# --------------------------------------------------------- device pictures

def keyboard(canvas, left, top, w, h, lit, rows=6, columns=None):
    """A keyboard seen from above: a dark body, rows of key caps, a light bar."""
    pad = max(3.0, w * 0.03)
    round_rect(canvas, left, top, w, h, min(w, h) * 0.08, RIM)
    round_rect(canvas, left + 1.5, top + 1.5, w - 3, h - 3, min(w, h) * 0.08 - 1, BODY)
    columns = columns or 15
    gap = max(1.0, w / 160.0)
    key_w = (w - 2 * pad - (columns - 1) * gap) / columns
    key_h = (h - 2 * pad - (rows - 1) * gap - h * 0.06) / rows
    accent = SELECT if lit else 0x6C7480
    for row in range(rows):
        y = top + pad + row * (key_h + gap)
        x = left + pad
        # The last row: modifiers and a long space bar.
        widths = [1] * columns if row < rows - 1 else [1.25, 1.25, 1.25, 6.25 + 0.0, 1.25, 1.25, 1.25, 1.0]
        scale = (w - 2 * pad - (len(widths) - 1) * gap) / (sum(widths) * key_w) if row == rows - 1 else 1.0
        for k, units in enumerate(widths):
            kw = units * key_w * scale
            if x + kw > left + w - pad + 0.5:
                break
            fill = KEYCAP
            if row == 0 and k == 0:
                fill = 0x3A2F1A
            round_rect(canvas, x, y, kw, key_h, min(kw, key_h) * 0.18, KEYCAP_RIM)
            round_rect(canvas, x + 1, y + 1, kw - 2, key_h - 2.5, min(kw, key_h) * 0.15, fill)
            x += kw + gap
    # The light bar along the bottom edge.
    bar_y = top + h - pad - h * 0.035
    round_rect(canvas, left + pad, bar_y, w - 2 * pad, h * 0.03, h * 0.015, accent, 220)


def draw_keyboard_picture(canvas, left, top, w, h, state, entry):
    keyboard(canvas, left, top, w, h, True)


def draw_device_keyboard(lit):
    def draw(canvas, left, top, w, h, state, entry):
        keyboard(canvas, left, top, w, h, lit, rows=5, columns=14)
    return draw


def draw_device_keypad(lit):
    def draw(canvas, left, top, w, h, state, entry):
        keyboard(canvas, left, top, w, h, lit, rows=5, columns=4)
    return draw


# ------------------------------------------------------- DPI card, battery

def draw_dpi_card(canvas, left, top, w, h, state, entry):
    rim = SELECT if state == 1 else RIM
    fill = 0x1F2B2A if state == 1 else NORMAL
    round_rect(canvas, left, top, w, h, 4, rim)
    round_rect(canvas, left + 1, top + 1, w - 2, h - 2, 3, fill)


def battery_inner(left, top, w, h):
    """The fill area inside the body: inset 4 from the shell."""
    return left + 4, top + 4, w - 12, h - 8


def draw_battery_body(canvas, left, top, w, h, state, entry):
    nub = 5
    round_rect(canvas, left + 1, top + 1, w - nub - 2, h - 2, 4, TEXT)
    round_rect(canvas, left + 3, top + 3, w - nub - 6, h - 6, 2.5, 0x202326)
    round_rect(canvas, left + w - nub - 1, top + h * 0.32, nub, h * 0.36, 1.5, TEXT)


def draw_battery_level(canvas, left, top, w, h, state, entry):
    x, y, iw, ih = battery_inner(left, top, w, h)
    round_rect(canvas, x, y, iw, ih, 1.5, BATTERY_FILL, 230)


def draw_battery_charging(canvas, left, top, w, h, state, entry):
    points = [(left + w * 0.62, top), (left + w * 0.1, top + h * 0.56), (left + w * 0.46, top + h * 0.56),
              (left + w * 0.34, top + h), (left + w * 0.9, top + h * 0.42), (left + w * 0.54, top + h * 0.42)]
    polygon(canvas, points, HOVER)


def draw_group_arrow(canvas, left, top, w, h, state, entry):
    color = TEXT if state % 2 == 0 else HOVER
    cx, cy = left + w / 2.0, top + h / 2.0
    r = w * 0.28
    if state < 2:   # open: pointing down
        points = [(cx - r, cy - r / 2), (cx, cy + r / 2), (cx + r, cy - r / 2)]
    else:           # closed: pointing right
        points = [(cx - r / 2, cy - r), (cx + r / 2, cy), (cx - r / 2, cy + r)]
    line(canvas, points[0][0], points[0][1], points[1][0], points[1][1], 1.0, color)
    line(canvas, points[1][0], points[1][1], points[2][0], points[2][1], 1.0, color)


def draw_menu_panel(canvas, left, top, w, h, state, entry):
    round_rect(canvas, left, top, w, h, 8, SELECT)
    round_rect(canvas, left + 1, top + 1, w - 2, h - 2, 7, 0x262626)


# ----------------------------------------------------------------- glyphs

def speaker(canvas, s, x0, y0, color):
    polygon(canvas, [(x0 + 2 * s, y0 + 7 * s), (x0 + 5 * s, y0 + 7 * s), (x0 + 9 * s, y0 + 3.5 * s),
                     (x0 + 9 * s, y0 + 16.5 * s), (x0 + 5 * s, y0 + 13 * s), (x0 + 2 * s, y0 + 13 * s)], color)


def glyph(name):
    """A 20-unit line drawing scaled to the frame; light strokes, one accent."""
    def draw(canvas, left, top, w, h, state, entry):
        s = min(w, h) / 20.0
        x0, y0 = left + (w - 20 * s) / 2.0, top + (h - 20 * s) / 2.0
        c = TEXT
        a = SELECT
        t = max(0.8, 0.9 * s)

        def P(x, y):
            return (x0 + x * s, y0 + y * s)

        def L(xa, ya, xb, yb, color=c, width=t):
            (ax, ay), (bx, by) = P(xa, ya), P(xb, yb)
            line(canvas, ax, ay, bx, by, width, color)

        def R(x, y, rw, rh, r, color=c):
            px, py = P(x, y)
            round_rect(canvas, px, py, rw * s, rh * s, r * s, color)

        def poly(points, color=c):
            polygon(canvas, [P(x, y) for x, y in points], color)

        if name == "pc":
            R(2, 3, 16, 11, 1.5)
            R(3.5, 4.5, 13, 8, 0.5, 0x1C3A46)
            L(10, 14, 10, 16.5)
            L(6, 17, 14, 17)
        elif name == "calculator":
            R(4, 2, 12, 16, 2)
            R(5.5, 3.5, 9, 4, 0.5, 0x1C3A46)
            for row in range(3):
                for col in range(3):
                    R(5.6 + col * 3.1, 9 + row * 2.9, 2.2, 2, 0.4, NORMAL if (row, col) != (2, 2) else a)
        elif name == "email":
            R(2, 5, 16, 11, 1.5)
            R(3, 6, 14, 9, 0.8, NORMAL)
            L(3.5, 6.5, 10, 11.5, a)
            L(10, 11.5, 16.5, 6.5, a)
        elif name == "note":
            L(12, 4, 12, 14.5)
            L(12, 4, 16.5, 6)
            disc(canvas, *P(9.5, 14.5), r=2.7 * s, rgb=c)
        elif name == "playpause":
            poly([(3, 5), (10, 10), (3, 15)])
            R(12, 5, 2, 10, 0.5, a)
            R(15.5, 5, 2, 10, 0.5, a)
        elif name == "stop":
            R(5, 5, 10, 10, 1.5)
        elif name in ("previous", "next"):
            pts = [[(10, 5), (3, 10), (10, 15)], [(17, 5), (10, 10), (17, 15)]]
            if name == "next":
                pts = [[(20 - x, y) for x, y in p] for p in pts]
            for p in pts:
                poly(p)
        elif name in ("volume_up", "volume_down", "volume_mute"):
            speaker(canvas, s, x0, y0, c)
            if name == "volume_up":
                L(12, 10, 18, 10, a)
                L(15, 7, 15, 13, a)
            elif name == "volume_down":
                L(12, 10, 18, 10, a)
            else:
                L(12, 7, 18, 13, 0xE5534B)
                L(18, 7, 12, 13, 0xE5534B)
        elif name == "home":
            poly([(10, 2.5), (18, 9.5), (2, 9.5)])
            R(4.5, 9, 11, 8.5, 0.5)
            R(8.5, 12, 3, 5.5, 0.3, a)
        elif name == "refresh":
            arc(canvas, *P(10, 10), r=6.5 * s, width=1.8 * s, gap=(-1.75, -1.0), rgb=c)
            poly([(10, 0.8), (14.5, 3.5), (10, 6.2)], a)
        elif name == "web_stop":
            ring(canvas, *P(10, 10), r=7.5 * s, width=1.6 * s, rgb=c)
            L(7, 7, 13, 13, 0xE5534B)
            L(13, 7, 7, 13, 0xE5534B)
        elif name in ("back", "forward"):
            sign = -1 if name == "back" else 1
            L(10 - 6 * sign, 10, 10 + 6 * sign, 10)
            poly([(10 + 7.5 * sign, 10), (10 + 2 * sign, 5), (10 + 2 * sign, 15)])
        elif name == "star":
            pts = []
            for k in range(10):
                angle = -math.pi / 2 + k * math.pi / 5
                r = 8 if k % 2 == 0 else 3.4
                pts.append((10 + r * math.cos(angle), 10.5 + r * math.sin(angle)))
            poly(pts, HOVER)
        elif name == "search":
            ring(canvas, *P(8.5, 8.5), r=5.5 * s, width=1.8 * s, rgb=c)
            L(12.5, 12.5, 17, 17, a, 1.4 * s)
        elif name == "key":
            R(2, 3, 16, 14, 3, KEYCAP_RIM)
            R(3, 4, 14, 11, 2.5, KEYCAP)
            L(7, 7, 7, 12, a)
            L(7, 12, 13, 12, a)
        elif name == "macro":
            for k, length in enumerate((14, 9, 12)):
                R(3, 4 + k * 5, length, 2.6, 1.3, c if k != 1 else a)
            disc(canvas, *P(16.5, 14.5), r=2.2 * s, rgb=0xE5534B)
        elif name == "sun":
            disc(canvas, *P(10, 10), r=3.8 * s, rgb=HOVER)
            for k in range(8):
                angle = k * math.pi / 4
                L(10 + 5.6 * math.cos(angle), 10 + 5.6 * math.sin(angle),
                  10 + 8.2 * math.cos(angle), 10 + 8.2 * math.sin(angle), HOVER)
        elif name == "gear":
            for k in range(4):
                angle = k * math.pi / 4
                dx, dy = 7.5 * math.cos(angle), 7.5 * math.sin(angle)
                L(10 - dx, 10 - dy, 10 + dx, 10 + dy, c, 1.6 * s)
            disc(canvas, *P(10, 10), r=5.2 * s, rgb=c)
            disc(canvas, *P(10, 10), r=2.2 * s, rgb=NORMAL)
        elif name == "disable":
            ring(canvas, *P(10, 10), r=7.5 * s, width=1.7 * s, rgb=0xE5534B)
            L(5, 15, 15, 5, 0xE5534B, 1.0 * s)
        else:
            raise ValueError("unknown glyph " + name)
    return draw


KINDS = {
    "keyboard_picture": draw_keyboard_picture,
    "device_keyboard": draw_device_keyboard(False),
    "device_keyboard_lit": draw_device_keyboard(True),
    "device_keypad": draw_device_keypad(False),
    "device_keypad_lit": draw_device_keypad(True),
    "dpi_card": draw_dpi_card,
    "battery_body": draw_battery_body,
    "battery_level": draw_battery_level,
    "battery_charging": draw_battery_charging,
    "group_arrow": draw_group_arrow,
    "menu_panel": draw_menu_panel,
}
for _stem, _glyph in FUNCTION_ICONS + TYPE_ICONS:
    KINDS["glyph_" + _glyph] = glyph(_glyph)

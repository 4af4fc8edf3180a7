"""Skin images of the keyboard widgets: the key pictures of the key pickers
(character/key_0x%x.png, one per key code, two frames: the label for a
plain cell and for a lit one, on a transparent ground so that the cell's
own shape shows behind), the keyboard images of the layouts in
scripts/keyboard_layouts.py (keyboard/<layout>.png) and the background strip
of the keyboard picture (keyboard/kb_bkg.png).

The key pictures' labels and sizes come from the key pickers' own tables in
ui/keyboard/KeyPickerTables.cpp, so that every cell of either picker has a
picture that fits it.
"""

import os
import re
import sys

import make_skins
import pngtools

_HERE = os.path.dirname(os.path.abspath(__file__))
_SCRIPTS = os.path.dirname(_HERE)
sys.path.insert(0, _SCRIPTS)
sys.path.insert(0, _HERE)
import _keyfont as keyfont  # noqa: E402
import keyboard_layouts  # noqa: E402

skin = make_skins.skin

PICKER_TABLES = os.path.join(os.path.dirname(_SCRIPTS), "ui", "keyboard", "KeyPickerTables.cpp")
PICTURE_NAME = "character/key_0x%x.png"
# Room kept free around a label inside the smallest cell of its key.
PICTURE_INSET = 6

LABEL = 0xE6E6E6       # label on a plain cell
LABEL_LIT = 0x333333   # label on a lit (0x49FFE6) cell
BODY = 0x161718
BODY_RIM = 0x3A3B3D
CAP = 0x2A2B2D
CAP_TOP = 0x323336
CAP_RIM = 0x4A4B4E
FN_RIM = 0xFF2425


def _unescape(literal):
    return re.sub(r"\\x([0-9a-fA-F]{4})|\\(.)",
                  lambda m: chr(int(m.group(1), 16)) if m.group(1) else m.group(2), literal)


def picker_cells():
    """code -> (label of the first table that has it, smallest width, smallest height)."""
    pattern = re.compile(r'\{L"((?:[^"\\]|\\.)*)",\s*(\d+),\s*(-?\d+),\s*(-?\d+),\s*(\d+),\s*(\d+)\}')
    cells = {}
    with open(PICKER_TABLES, encoding="utf-8") as source:
        for match in pattern.finditer(source.read()):
            label = _unescape(match.group(1))
            code, width, height = int(match.group(2)), int(match.group(5)), int(match.group(6))
            if code in cells:
                first, w, h = cells[code]
                cells[code] = (first, min(w, width), min(h, height))
            else:
                cells[code] = (label, width, height)
    return cells


_CELLS = picker_cells()


def _label_of(entry):
    code = int(re.search(r"key_0x([0-9a-f]+)", entry.name).group(1), 16)
    return _CELLS[code][0]


def draw_key_picture(canvas, left, top, w, h, state, entry):
    keyfont.draw_text(canvas, _label_of(entry), left, top, w, h, LABEL_LIT if state % 2 else LABEL)


def fill_round_rect(canvas, left, top, width, height, radius, rgb, alpha=255):
    """A filled rectangle with round corners, anti-aliased at the corners,
    touching only the pixels it covers."""
    inside = pngtools.in_round_rect(left, top, width, height, radius)
    r = int(radius) + 1
    for y in range(int(top), int(top + height + 0.999)):
        for x in range(int(left), int(left + width + 0.999)):
            in_corner_x = x < left + r or x >= left + width - r
            in_corner_y = y < top + r or y >= top + height - r
            if not (in_corner_x and in_corner_y) and left <= x and x + 1 <= left + width and \
                    top <= y and y + 1 <= top + height:
                canvas.blend(x, y, rgb, alpha)
                continue
            hits = sum(1 for sy in range(4) for sx in range(4)
                       if inside(x + (sx + 0.5) / 4.0, y + (sy + 0.5) / 4.0))
            if hits:
                canvas.blend(x, y, rgb, alpha * hits / 16.0)


def draw_key_cap(canvas, key, left, top):
    rim = FN_RIM if key.code == 175 else CAP_RIM
    fill_round_rect(canvas, left, top, key.width, key.height, 5, rim)
    fill_round_rect(canvas, left + 1, top + 1, key.width - 2, key.height - 2, 4, CAP)
    fill_round_rect(canvas, left + 3, top + 2, key.width - 6, key.height - 7, 3, CAP_TOP)
    # Legends sit in the cap's upper part, as printed on the keys.
    # Short legends large, words small, so that one kind of legend keeps one size.
    scale = 2 if len(key.name) <= 3 and keyfont.text_width(key.name, 2) <= key.width - 6 else 1
    keyfont.draw_text(canvas, key.name, left + 3, top + 2, key.width - 6, key.height - 7, LABEL, scale)


def draw_keyboard_image(canvas, left, top, w, h, state, entry):
    keys = keyboard_layouts.LAYOUTS[os.path.splitext(os.path.basename(entry.name))[0]]
    margin = keyboard_layouts.IMAGE_MARGIN
    fill_round_rect(canvas, left, top, w, h, 12, BODY_RIM)
    fill_round_rect(canvas, left + 2, top + 2, w - 4, h - 4, 10, BODY)
    for key in keys:
        draw_key_cap(canvas, key, left + margin + key.left, top + margin + key.top)


def draw_picture_background(canvas, left, top, w, h, state, entry):
    # Transparent but for a faint rim, so the page shows through the picture.
    fill_round_rect(canvas, left, top, w, h, 8, BODY_RIM, 90)
    fill_round_rect(canvas, left + 1, top + 1, w - 2, h - 2, 7, 0x101010, 60)


def _picture_entries():
    entries = []
    for code, (label, width, height) in sorted(_CELLS.items()):
        size = (width - PICTURE_INSET, height - PICTURE_INSET)
        entries.append(skin(PICTURE_NAME % code, 2, size, "key_picture"))
    return entries


SKINS = _picture_entries() + [
    skin("keyboard/%s.png" % name, 1, keyboard_layouts.image_size(keys), "keyboard_image", margin=12)
    for name, keys in sorted(keyboard_layouts.LAYOUTS.items())
] + [
    skin("keyboard/kb_bkg.png", 4, (64, 40), "keyboard_background", margin=8),
]

KINDS = {
    "key_picture": draw_key_picture,
    "keyboard_image": draw_keyboard_image,
    "keyboard_background": draw_picture_background,
}

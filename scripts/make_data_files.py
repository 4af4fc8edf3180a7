#!/usr/bin/env python3
"""The program's run-time data files, written from the tables below and the
key tables of scripts/keyboard_layouts.py.

  make_data_files.py --write            writes bin/config.xml and bin/layouts/
  make_data_files.py --check            fails when those files differ from the tables
  make_data_files.py --pictures FOLDER  draws the device pictures into FOLDER
  make_data_files.py --list-pictures    the device pictures' file names, one a line

The device pictures are drawn by the build into the run-time folder, like
the skin images; they are not kept in the repository.
"""

import argparse
import os
import sys

_SCRIPTS = os.path.dirname(os.path.abspath(__file__))
_ROOT = os.path.dirname(_SCRIPTS)
sys.path.insert(0, _SCRIPTS)
import keyboard_layouts  # noqa: E402
import pngtools  # noqa: E402

# ------------------------------------------------------------------ catalogue

SOFTWARE = {
    "name": "Tarnwell",
    "version": "1.0.0",
    "website": "https://www.tarnwell.example/",
    "store": "https://store.tarnwell.example/",
    "upgrade": "https://update.tarnwell.example/",
    "copyright": "Tarnwell",
}
LANGUAGES = [1033, 1045]
DEFAULT_LANGUAGE = 1033

# The keyboard model and its modes: (value, desc, vid, pid, product name,
# interface pattern). The keypad works beside the keyboard under its own ids
# and product string, so it is a mode of its own.
KEYBOARDS = [
    {
        "name": "TK104",
        "device_type": 101,
        "device_info": "TK104",
        "layout": "kb_104",
        "pictures": ("tk104_on.png", "tk104_off.png"),
        "modes": [
            (1, "wired", 0x3151, 0x4010, "", "MI_02"),
            (2, "receiver", 0x3151, 0x4012, "", "MI_02"),
            (3, "keypad", 0x3151, 0x4011, "PLMO3-RX", "MI_00"),
        ],
    },
]

# ------------------------------------------------------------------- layouts

# Where the keyboard image stands on the keys and lighting pages (window
# client coordinates): centred in the 1380-wide window, clear of the buttons
# on the right and of the lower panel.
LAYOUT_PLACE = (197, 90)
LAYOUT_BACKGROUND = 0x1B1B1B  # COLORREF of the page
LIGHT = {"rgb_keyboard": 1, "brightness_max": 5, "speed_max": 4, "default_mode": 1, "default_brightness": 5,
         "default_speed": 2}


def attr(value):
    text = str(value)
    for plain, entity in (("&", "&amp;"), ("<", "&lt;"), (">", "&gt;"), ('"', "&quot;")):
        text = text.replace(plain, entity)
    return '"%s"' % text


def element(indent, name, attrs, close=True):
    inner = " ".join("%s=%s" % (key, attr(value)) for key, value in attrs)
    return "%s<%s %s%s>" % ("  " * indent, name, inner, "/" if close else "")


def config_text():
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<config>", "  <device.info>"]
    for keyboard in KEYBOARDS:
        lines.append(element(2, "keyboard", [
            ("name", keyboard["name"]), ("device_type", keyboard["device_type"]),
            ("device_info", keyboard["device_info"]), ("img_connected", keyboard["pictures"][0]),
            ("img_disconnected", keyboard["pictures"][1])], close=False))
        for value, desc, vid, pid, product, pattern in keyboard["modes"]:
            lines.append(element(3, "mode", [("value", value), ("desc", desc), ("vid", "%04x" % vid),
                                             ("pid", "%04x" % pid), ("product_name", product),
                                             ("hid_interface", pattern)]))
        lines.append("    </keyboard>")
    lines.append("  </device.info>")
    lines.append(element(1, "language.info", [("default_lan", DEFAULT_LANGUAGE)], close=False))
    lines += [element(2, "lan", [("value", lan)]) for lan in LANGUAGES]
    lines.append("  </language.info>")
    lines.append(element(1, "software", [("name", SOFTWARE["name"]), ("version", SOFTWARE["version"])], close=False))
    for name in ("website", "store", "upgrade"):
        lines.append(element(2, name, [("url", SOFTWARE[name])]))
    lines.append(element(2, "copyright", [("info", SOFTWARE["copyright"])]))
    lines += ["  </software>", "</config>", ""]
    return "\r\n".join(lines)


def layout_text(layout):
    keys = keyboard_layouts.LAYOUTS[layout]
    cells = keyboard_layouts.CELLS[layout]
    width, height = keyboard_layouts.layout_size(keys)
    rows = max(cell.row for cell in cells) + 1
    columns = max(cell.column for cell in cells) + 1
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<device.info>",
             element(1, "light", list(LIGHT.items())),
             element(1, "Keyboard", [("bk_color", "%06x" % LAYOUT_BACKGROUND), ("xpos", LAYOUT_PLACE[0]),
                                     ("ypos", LAYOUT_PLACE[1]), ("width", width), ("height", height),
                                     ("image", layout + ".png"), ("row_count", rows), ("col_count", columns)],
                     close=False),
             "    <KeyItems>"]
    for light_index, (key, cell) in enumerate(zip(keys, cells)):
        lines.append(element(3, "key", [
            ("code", "%x" % key.code), ("key_index", cell.position), ("rect_left", key.left),
            ("rect_top", key.top), ("rect_width", key.width), ("rect_height", key.height),
            ("row_col", "%d,%d" % (cell.row, cell.column)), ("light_index", light_index), ("name", key.name),
            ("desc", key.name), ("icon", "")]))
    lines += ["    </KeyItems>", "  </Keyboard>", "</device.info>", ""]
    return "\r\n".join(lines)


def data_files():
    """Relative path in bin/ -> text."""
    files = {"config.xml": config_text()}
    for keyboard in KEYBOARDS:
        files["layouts/%s.xml" % keyboard["device_info"]] = layout_text(keyboard["layout"])
    return files


# ------------------------------------------------------------ device pictures

PICTURE_SIZE = (320, 120)
BODY = 0x161718
RIM_ON = 0x49FFE6
RIM_OFF = 0x4A4B4E
KEY_ON = 0x2F6F68
KEY_OFF = 0x2A2B2D


def picture_names():
    names = []
    for keyboard in KEYBOARDS:
        names += list(keyboard["pictures"])
    return names


def draw_picture(layout, connected):
    """The keyboard seen from above in small: its keys as blocks, lit when
    connected, grey when not."""
    width, height = PICTURE_SIZE
    canvas = pngtools.Canvas(width, height)
    keys = keyboard_layouts.LAYOUTS[layout]
    layout_width, layout_height = keyboard_layouts.layout_size(keys)
    margin = 10
    scale = min((width - 2 * margin) / layout_width, (height - 2 * margin) / layout_height)
    left = (width - layout_width * scale) / 2
    top = (height - layout_height * scale) / 2
    canvas.shape(pngtools.in_round_rect(left - 6, top - 6, layout_width * scale + 12, layout_height * scale + 12, 6),
                 RIM_ON if connected else RIM_OFF)
    canvas.shape(pngtools.in_round_rect(left - 4, top - 4, layout_width * scale + 8, layout_height * scale + 8, 5),
                 BODY)
    for key in keys:
        x0 = int(round(left + key.left * scale))
        y0 = int(round(top + key.top * scale))
        x1 = int(round(left + (key.left + key.width) * scale))
        y1 = int(round(top + (key.top + key.height) * scale))
        canvas.fill(x0, y0, max(x1 - x0, 1), max(y1 - y0, 1), KEY_ON if connected else KEY_OFF)
    return canvas


def write_pictures(folder):
    os.makedirs(folder, exist_ok=True)
    for keyboard in KEYBOARDS:
        for name, connected in zip(keyboard["pictures"], (True, False)):
            draw_picture(keyboard["layout"], connected).write(os.path.join(folder, name))


# ---------------------------------------------------------------------- main

def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    group = parser.add_mutually_exclusive_group(required=True)
    group.add_argument("--write", action="store_true")
    group.add_argument("--check", action="store_true")
    group.add_argument("--pictures", metavar="FOLDER")
    group.add_argument("--list-pictures", action="store_true")
    parser.add_argument("--bin", default=os.path.join(_ROOT, "bin"), help="the run-time folder of the data files")
    args = parser.parse_args(argv[1:])

    if args.list_pictures:
        print("\n".join(picture_names()))
        return 0
    if args.pictures:
        write_pictures(args.pictures)
        return 0
    stale = []
    for relative, text in sorted(data_files().items()):
        path = os.path.join(args.bin, *relative.split("/"))
        data = text.encode("utf-8")
        if args.write:
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as out:
                out.write(data)
            continue
        try:
            with open(path, "rb") as existing:
                if existing.read() == data:
                    continue
        except OSError:
            pass
        stale.append(relative)
    if stale:
        print("out of date (run make_data_files.py --write): " + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

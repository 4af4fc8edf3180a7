"""Key tables of the keyboard shapes the program draws, as data.

One table per keyboard shape, one row a key: (name, key code, left, top,
width, height) in the picture's layout coordinates. The skin generator draws
each shape's keyboard image from its table, the test fixture generator turns
the table into a header for the tests, and the program's layout files are
written from the same rows, so that a key lies at the same place in all of
them.

Key codes are HID keyboard usage ids, 175 for Fn.
"""

from collections import namedtuple

Key = namedtuple("Key", "name code left top width height")

# One key unit in layout pixels, and the gap between neighbouring keys.
UNIT = 44
GAP = 4
# The picture's control is larger than the layout by this much on every
# side; the keyboard image covers the whole control.
IMAGE_MARGIN = 15

# Rows of (name, code, column in units, width in units[, height in units]).
# Row tops are in units as well: the function row stands a quarter unit
# above the rest.
_ROWS_104 = [
    (0.0, [("Esc", 41, 0, 1), ("F1", 58, 2, 1), ("F2", 59, 3, 1), ("F3", 60, 4, 1), ("F4", 61, 5, 1),
           ("F5", 62, 6.5, 1), ("F6", 63, 7.5, 1), ("F7", 64, 8.5, 1), ("F8", 65, 9.5, 1),
           ("F9", 66, 11, 1), ("F10", 67, 12, 1), ("F11", 68, 13, 1), ("F12", 69, 14, 1),
           ("PrtSc", 70, 15.25, 1), ("ScrLk", 71, 16.25, 1), ("Pause", 72, 17.25, 1)]),
    (1.25, [("`", 53, 0, 1), ("1", 30, 1, 1), ("2", 31, 2, 1), ("3", 32, 3, 1), ("4", 33, 4, 1),
            ("5", 34, 5, 1), ("6", 35, 6, 1), ("7", 36, 7, 1), ("8", 37, 8, 1), ("9", 38, 9, 1),
            ("0", 39, 10, 1), ("-", 45, 11, 1), ("=", 46, 12, 1), ("Backspace", 42, 13, 2),
            ("Ins", 73, 15.25, 1), ("Home", 74, 16.25, 1), ("PgUp", 75, 17.25, 1),
            ("Num", 83, 18.5, 1), ("/", 84, 19.5, 1), ("*", 85, 20.5, 1), ("-", 86, 21.5, 1)]),
    (2.25, [("Tab", 43, 0, 1.5), ("Q", 20, 1.5, 1), ("W", 26, 2.5, 1), ("E", 8, 3.5, 1), ("R", 21, 4.5, 1),
            ("T", 23, 5.5, 1), ("Y", 28, 6.5, 1), ("U", 24, 7.5, 1), ("I", 12, 8.5, 1), ("O", 18, 9.5, 1),
            ("P", 19, 10.5, 1), ("[", 47, 11.5, 1), ("]", 48, 12.5, 1), ("\\", 49, 13.5, 1.5),
            ("Del", 76, 15.25, 1), ("End", 77, 16.25, 1), ("PgDn", 78, 17.25, 1),
            ("7", 95, 18.5, 1), ("8", 96, 19.5, 1), ("9", 97, 20.5, 1), ("+", 87, 21.5, 1, 2)]),
    (3.25, [("Caps", 57, 0, 1.75), ("A", 4, 1.75, 1), ("S", 22, 2.75, 1), ("D", 7, 3.75, 1), ("F", 9, 4.75, 1),
            ("G", 10, 5.75, 1), ("H", 11, 6.75, 1), ("J", 13, 7.75, 1), ("K", 14, 8.75, 1), ("L", 15, 9.75, 1),
            (";", 51, 10.75, 1), ("'", 52, 11.75, 1), ("Enter", 40, 12.75, 2.25),
            ("4", 92, 18.5, 1), ("5", 93, 19.5, 1), ("6", 94, 20.5, 1)]),
    (4.25, [("Shift", 225, 0, 2.25), ("Z", 29, 2.25, 1), ("X", 27, 3.25, 1), ("C", 6, 4.25, 1), ("V", 25, 5.25, 1),
            ("B", 5, 6.25, 1), ("N", 17, 7.25, 1), ("M", 16, 8.25, 1), (",", 54, 9.25, 1), (".", 55, 10.25, 1),
            ("/", 56, 11.25, 1), ("Shift", 229, 12.25, 2.75), ("\u2191", 82, 16.25, 1),
            ("1", 89, 18.5, 1), ("2", 90, 19.5, 1), ("3", 91, 20.5, 1), ("Enter", 88, 21.5, 1, 2)]),
    (5.25, [("Ctrl", 224, 0, 1.25), ("Win", 227, 1.25, 1.25), ("Alt", 226, 2.5, 1.25), ("Space", 44, 3.75, 6.25),
            ("Alt", 230, 10, 1.25), ("Fn", 175, 11.25, 1.25), ("Menu", 101, 12.5, 1.25), ("Ctrl", 228, 13.75, 1.25),
            ("\u2190", 80, 15.25, 1), ("\u2193", 81, 16.25, 1), ("\u2192", 79, 17.25, 1),
            ("0", 98, 18.5, 2), (".", 99, 20.5, 1)]),
]


def _build(rows):
    keys = []
    for top, entries in rows:
        for entry in entries:
            name, code, column, width = entry[:4]
            height = entry[4] if len(entry) > 4 else 1
            keys.append(Key(name, code, int(round(column * UNIT)), int(round(top * UNIT)),
                            int(round(width * UNIT)) - GAP, int(round(height * UNIT)) - GAP))
    return keys


# The full-size keyboard: main block, navigation keys and keypad; Fn takes
# the place of the right Windows key.
KEYBOARD_104 = _build(_ROWS_104)

# Each key's place in the device's key map is its row times this plus its
# order in the row; no row of a shape has more keys.
POSITIONS_PER_ROW = 21

Cell = namedtuple("Cell", "position row column")


def _cells(rows):
    """(position, row, column) of every key in table order. The music grid's
    column is the whole units from the left edge, so keys above one another
    share a column."""
    cells = []
    for row, (_, entries) in enumerate(rows):
        if len(entries) > POSITIONS_PER_ROW:
            raise ValueError("row %d has more keys than positions" % row)
        for order, entry in enumerate(entries):
            cells.append(Cell(row * POSITIONS_PER_ROW + order, row, int(entry[2])))
    return cells


KEYBOARD_104_CELLS = _cells(_ROWS_104)


def layout_size(keys):
    """Width and height of the layout: the right and bottom edges of its keys."""
    return (max(k.left + k.width for k in keys), max(k.top + k.height for k in keys))


def image_size(keys):
    width, height = layout_size(keys)
    return (width + 2 * IMAGE_MARGIN, height + 2 * IMAGE_MARGIN)


# Every shape by the name its image and fixture carry.
LAYOUTS = {"kb_104": KEYBOARD_104}
CELLS = {"kb_104": KEYBOARD_104_CELLS}

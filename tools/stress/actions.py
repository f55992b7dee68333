"""What a user does to the program's windows, as a seeded random stream.

Clicks aim at the controls of whichever windows are open: each known window has a table of
regions (client coordinates of its design: buttons, rows, keys, grid) with weights, and a share
of clicks lands anywhere in the window so that controls added later are hit as well. Windows the
tables do not know (message boxes, new dialogs) get clicks anywhere, weighted toward their
bottom edge where the buttons usually are."""

# (left, top, width, height, weight, label)
MAIN = [
    (29, 24, 48, 24, 2.0, "settings button"),
    (77, 24, 48, 24, 0.6, "help button"),
    (224, 24, 536, 24, 0.3, "message label"),
    (361, 448, 575, 21, 0.3, "advert label"),
    (32, 448, 168, 24, 0.2, "ownership label"),
    (863, 0, 27, 18, 0.3, "minimise button"),
    (890, 0, 44, 18, 0.04, "close button"),
    (430, 80, 350, 200, 1.0, "find panel"),
] + [
    (784 + 72 * col, 56 + 24 * row, 72, 24, 8.0 / 32, f"category button {1 + row + 16 * col}")
    for col in range(2) for row in range(16)
] + [
    (40 + 372 * col, 76 + 24 * row, 120, 20, 12.0 / 30, f"unit row {1 + row + 15 * col}")
    for col in range(2) for row in range(15)
]

OPTIONS = [
    (42, 392, 72, 24, 1.5, "OK"),
    (114, 391, 72, 24, 1.5, "Cancel"),
    (186, 391, 72, 24, 2.0, "Apply"),
    (243, 0, 44, 18, 0.4, "close button"),
    (24, 32, 254, 22, 3.0, "page tabs"),
    (24, 54, 254, 313, 8.0, "page contents"),
]

UNIT_MANAGER = [
    (56, 56, 296, 368, 8.0, "grid"),
    (384, 40, 80, 24, 2.0, "add unit"),
    (528, 40, 80, 24, 2.0, "delete unit"),
    (384, 72, 80, 24, 1.5, "move up"),
    (528, 72, 80, 24, 1.5, "move down"),
    (451, 128, 80, 24, 1.5, "apply"),
    (344, 192, 288, 216, 5.0, "category buttons"),
    (592, 0, 44, 18, 0.4, "close button"),
]

_KEYS = [(8, 8), (37, 8), (66, 8), (92, 8), (119, 8), (150, 8), (185, 9), (215, 8),
         (8, 45), (37, 45), (66, 45), (92, 60), (119, 45), (150, 45), (185, 60), (215, 45),
         (8, 80), (37, 80), (66, 80), (119, 80), (150, 80), (215, 80),
         (8, 112), (37, 112), (66, 112), (92, 112), (119, 112), (150, 112), (185, 112), (215, 112)]
CALCULATOR = [
    (350 + x, 54 + y, 25, 25, 12.0 / len(_KEYS), f"key at {x},{y}") for x, y in _KEYS
] + [
    (45, 75, 297, 56, 3.0, "expression box"),
    (45, 163, 225, 24, 0.5, "result box"),
    (101, 136, 80, 24, 1.0, "copy"),
    (185, 136, 53, 24, 1.0, "clear"),
    (281, 163, 50, 24, 1.5, "save to"),
    (584, 0, 44, 18, 0.5, "close button"),
]

ABOUT = [
    (280, 168, 72, 24, 3.0, "OK"),
    (320, 0, 44, 18, 1.0, "close button"),
    (24, 152, 224, 16, 0.3, "homepage label"),
]

MAIN_TITLE = "Velmora"
TABLES = {
    "Options": OPTIONS,
    "Unit-Manager": UNIT_MANAGER,
    "Instant Calculator": CALCULATOR,
    "About": ABOUT,
}


def table_for(title):
    if title.startswith(MAIN_TITLE):
        return MAIN
    for key, table in TABLES.items():
        if title.startswith(key):
            return table
    return None


def pick_point(rng, win):
    """A point in the window (screen coordinates) and what it aims at."""
    table = table_for(win.title)
    if win.popup:
        # Menus and drop-down lists: rows of equal height; the middle of a row.
        return (win.x + rng.randint(8, max(8, win.w - 8)),
                win.y + rng.randint(3, max(3, win.h - 3)), "pop-up item")
    if table is None or rng.random() < 0.25:
        if table is None and rng.random() < 0.5:
            return (win.x + rng.randint(0, win.w - 1),
                    win.y + rng.randint(max(0, win.h - 50), win.h - 1), "lower edge")
        return (win.x + rng.randint(0, win.w - 1), win.y + rng.randint(0, win.h - 1), "anywhere")
    weights = [row[4] for row in table]
    left, top, width, height, _, label = rng.choices(table, weights)[0]
    px = min(win.w - 1, left + rng.randint(2, max(2, width - 3)))
    py = min(win.h - 1, top + rng.randint(2, max(2, height - 3)))
    return win.x + px, win.y + py, label


FULL_WIDTH_DIGITS = "０１２３４５６７８９"
SNIPPETS = [
    "1", "12", "0.5", "-3", "+7", "1e3", "2.5e-4", "1E+308", "9e999", "-0", "007", "3.", ".25",
    "1,000", "1.000,5", "12345678901234567890", "0.000000001", "abc", "x", "米", "千米", "温度",
    "nan", "inf", "-", "+", ".", "e", "--1", "1-2", "2*3", "sin(30)", "(1+2)^3", "ln(0)", "1/0",
    "log(-1)", "PI", "e(1)", "１２", "３．５", "－４", " 5 ", "\t", "name,2", "名称", "a,b", "[x]",
    "=", ";", "%s%n", "\\", "'\"",
]


def random_text(rng):
    kind = rng.random()
    if kind < 0.35:
        return "".join(rng.choice("0123456789") for _ in range(rng.randint(1, 8)))
    if kind < 0.5:
        return rng.choice("+-") + "".join(rng.choice("0123456789.") for _ in range(rng.randint(1, 6)))
    if kind < 0.6:
        return "".join(rng.choice(FULL_WIDTH_DIGITS) for _ in range(rng.randint(1, 4)))
    if kind < 0.7:
        return "".join(rng.choice("abcxyzEe .,-+()") for _ in range(rng.randint(1, 6)))
    return rng.choice(SNIPPETS)


def paste_text(rng):
    kind = rng.random()
    if kind < 0.3:
        return "".join(rng.choice("0123456789") for _ in range(rng.randint(20, 400)))
    if kind < 0.45:
        return "米,1\n千米,0.001\n" * rng.randint(1, 30)
    if kind < 0.6:
        return "".join(chr(rng.randint(0x20, 0x2FFF)) for _ in range(rng.randint(1, 60)))
    return random_text(rng)


KEYS = [
    ("BackSpace", 4), ("Delete", 3), ("Left", 2), ("Right", 2), ("Up", 2), ("Down", 2),
    ("Home", 1), ("End", 1), ("Tab", 3), ("shift+Tab", 1.5), ("Return", 3), ("Escape", 3),
    ("space", 1), ("ctrl+f", 2), ("ctrl+c", 1.5), ("ctrl+v", 1.5), ("ctrl+a", 1.5),
    ("ctrl+Page_Up", 1.5), ("ctrl+Page_Down", 1.5), ("ctrl+z", 0.5), ("ctrl+x", 0.5),
    ("F1", 0.2), ("alt+F4", 0.15), ("Menu", 0.3), ("shift+F10", 0.3), ("Page_Down", 0.5),
]

"""The drawings of the program's shared icons and the shapes they share
with the toolbar images."""
from art_canvas import (Canvas, CLEAR, K, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER,
                        GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE)


def window(c, x0, y0, x1, y1, title=NAVY, client=WHITE):
    # The title band is filled under the outline, so at any scale it meets
    # the outline without a gap.
    c.fill(x0, y0, x1, y1, client)
    c.fill(x0, y0, x1, y0 + 2, title)
    c.frame(x0, y0, x1, y1, K)


def page(c, x0=2, y0=0, x1=13, y1=15):
    c.box(x0, y0, x1, y1, WHITE)
    c.fill(x1 - 3, y0, x1, y0 + 3, CLEAR)
    c.line(x1 - 3, y0, x1 - 3, y0 + 3, K)
    c.line(x1 - 3, y0 + 3, x1, y0 + 3, K)
    c.line(x1 - 3, y0, x1, y0 + 3, K)


def computer(c, x, y, small=False):
    if small:
        c.box(x, y, x + 5, y + 4, AQUA)
        c.fill(x + 2, y + 5, x + 3, y + 5, GRAY)
        c.fill(x + 1, y + 6, x + 4, y + 6, K)
        return
    c.box(x, y, x + 12, y + 9, TEAL)
    c.fill(x + 2, y + 2, x + 10, y + 7, AQUA)
    c.fill(x + 5, y + 10, x + 7, y + 11, GRAY)
    c.box(x + 1, y + 12, x + 11, y + 14, SILVER)


def folder(c, open_):
    c.box(1, 3, 6, 5, YELLOW)
    c.box(1, 4, 14, 13, YELLOW, OLIVE)
    if open_:
        c.fill(2, 7, 15, 13, CLEAR)
        for i, y in enumerate(range(7, 14)):
            c.line(4 - i // 3, y, 15 - i // 3, y, YELLOW)
        c.line(4, 7, 15, 7, OLIVE)
        c.line(4, 7, 2, 13, OLIVE)
        c.line(15, 7, 13, 13, OLIVE)
        c.line(2, 13, 13, 13, OLIVE)


def list_box(c, x0, y0, x1, y1, lines, highlight=None, separator=None):
    c.box(x0, y0, x1, y1, WHITE)
    y = y0 + 2
    for i in range(lines):
        if i == highlight:
            c.fill(x0 + 1, y - 1, x1 - 1, y + 1, NAVY)
            c.line(x0 + 2, y, x1 - 3, y, WHITE)
        elif i == separator:
            c.line(x0 + 1, y, x1 - 1, y, GRAY)
        else:
            c.line(x0 + 2, y, x1 - 3, y, K)
        y += 3


GLYPHS = {
    "P": ["###.", "#..#", "#..#", "###.", "#...", "#...", "#..."],
    "i": ["#", ".", "#", "#", "#", "#"],
    "a": [".##.", "...#", ".###", "#..#", ".###"],
    "b": ["#...", "#...", "###.", "#..#", "#..#", "###."],
    "c": [".##", "#..", "#..", "#..", ".##"],
    "1": [".#", "##", ".#", ".#", ".#", ".#"],
    "0": [".#.", "#.#", "#.#", "#.#", "#.#", ".#."],
    "?": [".###.", "#...#", "....#", "...#.", "..#..", "..#..", ".....", "..#.."],
    "!": ["#", "#", "#", "#", ".", "#"],
}


def glyph(c, ch, x, y, colour):
    c.art(x, y, GLYPHS[ch], {"#": colour})


def draw(name, c=None):
    """One of the shared icons, on a 16x16 canvas unless given another."""
    c = c or Canvas()
    if name == "p_diamond":
        for y in range(16):
            half = 7 - abs(y - 7) if y < 15 else -1
            if half >= 0:
                c.fill(7 - half, y, 8 + half, y, YELLOW)
                c.put(7 - half, y, OLIVE)
                c.put(8 + half, y, OLIVE)
        glyph(c, "P", 6, 4, NAVY)
        glyph(c, "P", 7, 4, NAVY)
    elif name == "window":
        window(c, 1, 2, 14, 13)
    elif name == "child_window":
        window(c, 0, 0, 11, 10)
        window(c, 5, 6, 15, 15, TEAL)
    elif name == "hidden_window":
        c.frame(1, 2, 14, 13, GRAY, dash=True)
    elif name == "hidden_child":
        window(c, 0, 0, 13, 12)
        c.frame(4, 6, 15, 15, GRAY, dash=True)
    elif name == "menu_item":
        list_box(c, 2, 1, 13, 14, 4, highlight=1)
    elif name == "submenu":
        list_box(c, 0, 0, 9, 11, 3)
        list_box(c, 6, 5, 15, 15, 3, highlight=0)
    elif name == "separator":
        list_box(c, 2, 1, 13, 14, 4, separator=2)
    elif name == "computer":
        computer(c, 1, 0)
    elif name == "process_tree":
        computer(c, 5, 0, small=True)
        computer(c, 0, 9, small=True)
        computer(c, 10, 9, small=True)
        c.line(7, 7, 7, 8, K)
        c.line(3, 8, 12, 8, K)
    elif name == "titled_window":
        window(c, 0, 1, 15, 14, BLUE)
        c.fill(12, 2, 13, 3, SILVER)
        c.fill(9, 2, 10, 3, SILVER)
    elif name == "component_doc":
        page(c)
        c.box(5, 7, 10, 12, FUCHSIA, PURPLE)
        c.line(6, 6, 11, 6, PURPLE)
        c.line(11, 6, 11, 11, PURPLE)
    elif name == "question_doc":
        page(c)
        glyph(c, "?", 5, 5, BLUE)
    elif name == "open_folder":
        folder(c, True)
    elif name == "closed_folder":
        folder(c, False)
    elif name == "keys":
        for (x, y, col) in ((1, 1, YELLOW), (5, 6, SILVER)):
            c.disc(x + 2, y + 2, 2, col)
            c.put(x + 2, y + 2, CLEAR)
            c.line(x + 4, y + 4, x + 10, y + 10, OLIVE if col == YELLOW else GRAY)
            c.put(x + 8, y + 10, K)
            c.put(x + 10, y + 8, K)
    elif name == "picture":
        c.box(0, 2, 15, 13, AQUA)
        c.disc(11, 5, 1.5, YELLOW)
        for x in range(1, 15):
            top = 12 - min(abs(x - 5), 6) if x < 10 else 12 - min(abs(x - 12), 3)
            c.line(x, max(top, 6), x, 12, GREEN)
    elif name == "cursor":
        c.art(1, 1, ["#####", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#####"],
              {"#": K, ".": YELLOW})
        c.art(7, 4, ["#.......", "##......", "#o#.....", "#oo#....", "#ooo#...", "#oooo#..",
                     "#ooooo#.", "#ooo###.", "#o#o#...", "##.#o#..", "....##.."],
              {"#": K, "o": WHITE})
    elif name == "dialog":
        window(c, 0, 1, 15, 14)
        c.box(2, 5, 8, 7, WHITE, GRAY)
        c.box(10, 5, 13, 7, SILVER)
        c.box(10, 10, 13, 12, SILVER)
        c.put(3, 10, K), c.put(4, 10, K), c.box(2, 9, 4, 11, WHITE)
    elif name == "grid_page":
        c.box(1, 1, 14, 14, WHITE)
        for v in range(4, 14, 3):
            c.line(v, 2, v, 13, SILVER)
            c.line(2, v, 13, v, SILVER)
        c.fill(5, 5, 6, 6, BLUE), c.fill(8, 8, 9, 9, RED)
    elif name == "stacked_bars":
        for i, (w, col) in enumerate(((13, NAVY), (9, TEAL), (11, BLUE), (6, PURPLE))):
            c.box(1, 1 + i * 4, 1 + w, 3 + i * 4, col)
    elif name == "abc":
        glyph(c, "a", 0, 7, K)
        glyph(c, "b", 5, 6, K)
        glyph(c, "c", 10, 7, K)
    elif name == "version":
        c.box(0, 2, 15, 13, YELLOW, OLIVE)
        glyph(c, "1", 3, 5, K)
        c.put(7, 10, K)
        glyph(c, "0", 9, 5, K)
    elif name == "two_buttons":
        for x in (0, 8):
            c.box(x, 4, x + 7, 11, SILVER)
            c.line(x + 1, 5, x + 6, 5, WHITE)
            c.line(x + 1, 5, x + 1, 10, WHITE)
            c.line(x + 1, 10, x + 6, 10, GRAY)
            c.line(x + 6, 5, x + 6, 10, GRAY)
    elif name == "question":
        c.art(3, 1, [".####.", "##..##", "##..##", "...##.", "..##..", "..##..",
                     "......", "..##..", "..##.."], {"#": BLUE})
        c.art(4, 1, [".####.", "##..##", "##..##", "...##.", "..##..", "..##..",
                     "......", "..##..", "..##.."], {"#": BLUE})
    elif name == "info":
        c.disc(7.5, 7.5, 7.2, BLUE)
        c.art(7, 3, ["##", "..", "##", "##", "##", "##", "##", "##"], {"#": WHITE})
    elif name == "double_arrow":
        for x0 in (1, 8):
            for i in range(7):
                c.line(x0 + i, 1 + i, x0 + i, 14 - i, GREEN if i else LIME)
    elif name == "plus":
        c.fill(6, 1, 9, 14, RED)
        c.fill(1, 6, 14, 9, RED)
    elif name == "cross":
        for d in range(-1, 2):
            c.line(2 + d, 2, 13 + d, 13, RED)
            c.line(13 + d, 2, 2 + d, 13, RED)
    elif name == "warning":
        for y in range(1, 15):
            half = (y - 1) // 2
            c.fill(7 - half, y, 8 + half, y, YELLOW)
            c.put(7 - half, y, OLIVE)
            c.put(8 + half, y, OLIVE)
        c.line(1, 14, 14, 14, OLIVE)
        glyph(c, "!", 7, 5, K)
        glyph(c, "!", 8, 5, K)
    else:
        raise KeyError(name)
    return c


# Index order of the shared image list: (resource ID, drawing).
ICONS = [
    (1001, "p_diamond"), (1003, "window"), (1004, "child_window"),
    (1005, "hidden_window"), (1006, "hidden_child"), (1007, "menu_item"),
    (1008, "submenu"), (1009, "separator"), (1002, "computer"),
    (1013, "process_tree"), (1011, "titled_window"), (1010, "component_doc"),
    (1012, "question_doc"), (1014, "open_folder"), (1015, "closed_folder"),
    (1016, "keys"), (1017, "picture"), (1025, "cursor"), (1018, "dialog"),
    (1019, "grid_page"), (1021, "stacked_bars"), (1022, "abc"),
    (1023, "version"), (1020, "two_buttons"), (1024, "question"),
    (30057, "info"), (30059, "double_arrow"), (30058, "plus"),
    (30061, "cross"), (30060, "warning"),
]

"""The toolbar button images and the About box's animation frames.

Every button is drawn on a 16x15 design grid; draw_button(name, scale)
draws it at 16x15 (scale 1), 24x22 (1.5) or 32x30 (2). Where a 16x15 image
is hand-drawn pixel art, the larger sizes draw the same shape as geometry.
"""
import math

from art_canvas import (Canvas, CLEAR, K, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER,
                        GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE)  # noqa: F401
from art_icons import computer, draw, folder, list_box, page, window

# The frame's toolbar (resource 128), buttons in order; separators take no
# image.
MAIN_TOOLBAR = ["target", "window_list", "computer", "process_tree", "highlight", "messages", "toggle_enable",
                "toggle_visible", "maximize", "minimize", "restore", "close", "about"]

# The dialogs' toolbars: (resource ID name, number, items), each item a
# (command ID name, drawing) or None for a separator.
DIALOG_TOOLBARS = [
    ("IDR_WINDOW_LIST_TOOLBAR", 2002, [
        ("IDCANCEL", "close_dialog"), None,
        ("IDC_CAPTURE", "target"), None,
        ("IDC_CHILD_WINDOWS", "child_windows"), ("IDC_MODULES", "modules"),
        ("IDC_THREADS", "threads"), ("IDC_MESSAGES", "messages"), None,
        ("IDC_TOGGLE_ENABLED", "toggle_enable"), ("IDC_TOGGLE_VISIBLE", "toggle_visible"), None,
        ("IDC_MAXIMIZE", "maximize"), ("IDC_MINIMIZE", "minimize"), ("IDC_RESTORE", "restore"),
        ("IDC_CLOSE_WINDOW", "close"), None,
        ("IDC_SHOW_HIDDEN", "show_hidden"), ("IDC_SHOW_UNNAMED", "show_unnamed"),
        ("IDC_SHOW_SECONDARY", "show_secondary"),
    ]),
    ("IDR_PROCESSES_TOOLBAR", 2003, [
        ("IDCANCEL", "close_dialog"), None,
        ("IDC_CHILD_WINDOWS", "child_windows"), ("IDC_MODULES", "modules"),
        ("IDC_THREADS", "threads"), ("IDC_RESOURCES", "resources"), None,
        ("IDC_KILL_PROCESS", "kill_process"),
    ]),
    ("IDR_CHILD_WINDOWS_TOOLBAR", 2006, [
        ("IDCANCEL", "close_dialog"), None,
        ("IDC_CAPTURE", "target"), ("IDC_MESSAGES", "messages"), None,
        ("IDC_TOGGLE_ENABLED", "toggle_enable"), ("IDC_TOGGLE_VISIBLE", "toggle_visible"), None,
        ("IDC_MAXIMIZE", "maximize"), ("IDC_MINIMIZE", "minimize"), ("IDC_RESTORE", "restore"),
        ("IDC_CLOSE_WINDOW", "close"),
    ]),
    ("IDR_STRING_PAGE_TOOLBAR", 2016, [
        ("IDC_SAVE_AS_RESOURCE", "save_resource"), ("IDC_SAVE_AS_TEXT", "save_text"),
    ]),
    ("IDR_BITMAP_PAGE_TOOLBAR", 2017, [
        ("IDC_SAVE_AS_BITMAP", "save_bitmap"), None,
        ("IDC_SAVE_AS_RESOURCE", "save_resource"), ("IDC_TEST_DIALOG", "test_dialog"),
    ]),
    ("IDR_MENU_PAGE_TOOLBAR", 30037, [
        ("IDC_SAVE_AS_RESOURCE", "save_resource"), ("IDC_SHOW_MENU", "show_menu"),
    ]),
]

SCALES = {1: "", 1.5: "_150", 2: "_200"}


def outlined(c, points, inside, edge=K):
    c.polygon(points, inside)
    c.polyline(points + points[:1], edge, width=0.5)


def eye(c, cx, cy):
    c.ellipse(cx, cy, 5.6, 2.8, K)
    c.ellipse(cx, cy, 4.9, 2.1, WHITE)
    c.disc(cx, cy, 1.7, BLUE)
    c.disc(cx, cy, 0.7, K)


def floppy(c):
    """A disk in the top left, 12x12 units: what every "save" button shows."""
    c.box(0, 0, 11, 11, NAVY)
    c.fill(3, 0, 8, 3, SILVER)
    c.fill(6, 1, 7, 2, NAVY)
    c.box(2, 6, 9, 11, WHITE)
    c.line(3, 8, 8, 8, GRAY, width=0.5)


def badge_page(c):
    """A small page at the bottom right, over whatever is under it."""
    c.box(8, 5, 15, 14, WHITE)
    c.fill(13, 5, 15, 7, CLEAR)
    c.line(13, 5, 15, 7, K)
    c.line(13, 5, 13, 7, K)
    c.line(13, 7, 15, 7, K)


def rotated_bar(c, x0, y0, x1, y1, half_width, inside, edge=K):
    """A filled bar from (x0, y0) to (x1, y1), half_width units either side."""
    dx, dy = x1 - x0, y1 - y0
    length = math.hypot(dx, dy)
    nx, ny = -dy / length * half_width, dx / length * half_width
    outlined(c, [(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)], inside, edge)


def hammer(c):
    """A hammer leaning right: handle from the bottom left, head top right."""
    rotated_bar(c, 3, 15, 11, 7, 0.9, OLIVE)
    # The head lies across the handle's end.
    rotated_bar(c, 8.5, 4.5, 13.5, 9.5, 1.6, GRAY)
    c.line(9.5, 5.0, 13.0, 8.5, SILVER, width=0.5)


def screwdriver(c):
    """A screwdriver leaning left: handle at the bottom right, tip top left."""
    rotated_bar(c, 3.5, 3.5, 9, 9, 0.5, SILVER)
    c.line(3, 3, 4, 4, K, width=0.8)
    rotated_bar(c, 9, 9, 14.5, 14.5, 1.5, RED, MAROON)
    c.line(10.5, 10.2, 13.8, 13.5, YELLOW, width=0.5)


def about_frame(n, scale):
    """Frame n (0-3) of the About box's animation: a window, then the
    window with a hammer, with a hammer and a screwdriver, with a
    screwdriver."""
    c = Canvas(16, 16, scale=scale)
    window(c, 0, 0, 13, 11)
    c.line(2, 5, 8, 5, GRAY, width=0.5)
    c.line(2, 7, 6, 7, GRAY, width=0.5)
    if n in (2, 3):
        screwdriver(c)
    if n in (1, 2):
        hammer(c)
    return c


def draw_button(name, scale=1):
    c = Canvas(16, 15, scale=scale)
    if name == "target":
        c.disc(7.5, 7, 6.5, RED)
        c.disc(7.5, 7, 4.5, WHITE)
        c.disc(7.5, 7, 2.5, RED)
        c.line(7, 0, 7, 14, K)
        c.line(0, 7, 15, 7, K)
    elif name == "window_list":
        window(c, 0, 0, 10, 8)
        window(c, 5, 6, 15, 14, TEAL)
    elif name in ("computer", "process_tree"):
        draw(name, c)
    elif name == "toggle_enable":
        window(c, 0, 1, 15, 13)
        c.box(3, 6, 12, 10, SILVER)
        c.line(5, 8, 10, 8, GRAY)
    elif name == "toggle_visible":
        c.frame(0, 1, 15, 13, GRAY, dash=True)
        if c.s == 1:
            c.art(2, 4, ["...#####...", ".##.....##.", "#...###...#", ".##.....##.", "...#####..."], {"#": K})
            c.fill(7, 6, 9, 6, BLUE)
        else:
            eye(c, 7.5, 6.5)
    elif name == "maximize":
        window(c, 0, 0, 15, 14)
        c.frame(3, 5, 12, 12, K)
        c.line(3, 6, 12, 6, K)
    elif name == "minimize":
        window(c, 0, 0, 15, 14)
        c.fill(4, 10, 11, 11, K)
    elif name == "restore":
        window(c, 0, 0, 15, 14)
        c.frame(3, 7, 9, 12, K)
        c.frame(6, 4, 12, 9, K)
    elif name == "close":
        window(c, 0, 0, 15, 14)
        c.line(4, 5, 11, 12, RED)
        c.line(5, 5, 12, 12, RED)
        c.line(11, 5, 4, 12, RED)
        c.line(12, 5, 5, 12, RED)
    elif name == "about":
        c.disc(7.5, 7, 6.8, BLUE)
        if c.s == 1:
            c.art(7, 2, ["##", "..", "##", "##", "##", "##", "##", "##"], {"#": WHITE})
        else:
            c.disc(7.5, 2.6, 1.0, WHITE)
            c.fill(7, 4.5, 8, 9.5, WHITE)
    elif name == "close_dialog":
        # An open door with an arrow leading out.
        c.box(1, 0, 8, 14, K, GRAY)
        outlined(c, [(1, 0), (5, 2), (5, 14.5), (1, 14)], OLIVE)
        c.put(4, 8, YELLOW)
        c.fill(7, 6, 11, 8, GREEN)
        outlined(c, [(10.5, 3), (15, 7), (10.5, 11)], LIME, GREEN)
        c.fill(7, 6, 10, 8, LIME)
    elif name == "highlight":
        # A window inside the red outline that shows it on screen.
        window(c, 3, 3, 12, 11)
        c.frame(0, 0, 15, 14, RED)
        c.frame(1, 1, 14, 13, RED)
    elif name == "messages":
        # A window with the lines of its log.
        window(c, 0, 0, 15, 14)
        for i, colour in enumerate((NAVY, RED, GREEN, NAVY)):
            c.fill(3, 5 + 2 * i, 12 - 3 * (i % 2), 5 + 2 * i, colour)
    elif name == "child_windows":
        window(c, 0, 0, 15, 14)
        window(c, 2, 4, 8, 10, TEAL)
        window(c, 7, 7, 13, 13, TEAL)
    elif name == "modules":
        page(c, 2, 0, 13, 14)
        c.box(5, 6, 10, 11, FUCHSIA, PURPLE)
        c.line(6, 5, 11, 5, PURPLE)
        c.line(11, 5, 11, 10, PURPLE)
    elif name == "threads":
        for i, colour in enumerate((NAVY, RED, GREEN)):
            points = [(x / 2, 3 + 4 * i + 1.6 * math.sin((x / 2 + 2 * i) * math.pi / 4)) for x in range(0, 31)]
            c.polyline(points, colour, width=1.3)
    elif name == "resources":
        folder(c, False)
        c.box(7, 6, 15, 13, AQUA)
        c.disc(12.5, 8, 1.2, YELLOW)
        c.polygon([(8, 12.5), (10.5, 9), (13, 12.5)], GREEN)
    elif name == "kill_process":
        computer(c, 0, 0)
        c.line(8, 7, 15, 14, RED, width=2)
        c.line(15, 7, 8, 14, RED, width=2)
    elif name == "show_hidden":
        # A hidden window behind an ordinary one: hidden windows are listed too.
        c.frame(0, 0, 10, 9, GRAY, dash=True)
        c.fill(1, 1, 9, 2, SILVER)
        window(c, 5, 5, 15, 14)
    elif name == "show_unnamed":
        # A window with an empty title.
        window(c, 0, 0, 15, 14, SILVER)
        c.polyline([(5, 6.5), (5.5, 5), (7.5, 4.2), (9.5, 5), (10, 6.5), (9, 8), (7.5, 9), (7.5, 10.5)],
                   BLUE, width=1.5)
        c.disc(7.5, 12.3, 0.9, BLUE)
        if c.s == 1:
            c.fill(7, 12, 8, 12, BLUE)
    elif name == "show_secondary":
        # An owner and the smaller window it owns, linked.
        window(c, 0, 0, 10, 9)
        window(c, 7, 7, 15, 14, PURPLE)
        c.line(3, 10, 3, 12, GRAY)
        c.line(3, 12, 6, 12, GRAY)
    elif name == "save_resource":
        floppy(c)
        badge_page(c)
        c.box(9, 9, 13, 13, FUCHSIA, PURPLE)
    elif name == "save_text":
        floppy(c)
        badge_page(c)
        for y in (8, 10, 12):
            c.line(9, y, 13 if y != 12 else 11, y, K, width=0.7)
    elif name == "save_bitmap":
        floppy(c)
        c.box(7, 6, 15, 14, AQUA)
        c.disc(12.5, 8.5, 1.2, YELLOW)
        c.polygon([(7.5, 13.5), (10.5, 9.5), (13.5, 13.5)], GREEN)
    elif name == "test_dialog":
        window(c, 0, 0, 13, 12)
        c.box(2, 5, 7, 6, WHITE, GRAY)
        c.box(9, 5, 11, 6, SILVER)
        c.box(9, 8, 11, 9, SILVER)
        outlined(c, [(8, 6.5), (15, 10.5), (8, 14.5)], LIME, GREEN)
    elif name == "show_menu":
        c.box(0, 0, 15, 3, SILVER)
        c.fill(2, 1, 4, 2, GRAY)
        c.fill(6, 1, 10, 2, NAVY)
        list_box(c, 5, 3, 15, 14, 3, highlight=1)
    else:
        raise KeyError(name)
    return c


def rc_text():
    """res/toolbars.rc: each dialog toolbar's button list, its bitmaps at the
    three sizes, the frame toolbar's larger bitmaps and the About frames."""
    out = ["// Written by tools/make-icons.py from its tables; run it again rather than",
           "// editing. Each toolbar: version 1, 16x15 images, the item count, then one",
           "// command ID per item (0 = separator), and the BITMAP of the same ID with",
           "// one image per button; the larger drawings serve screens at 150% and 200%.",
           ""]
    for name, number, items in DIALOG_TOOLBARS:
        ids = [item[0] if item else "0" for item in items]
        out.append(f"{name} RT_TOOLBAR_BUTTONS")
        out.append("BEGIN")
        out.append(f"  1, 16, 15, {len(items)},")
        for i in range(0, len(ids), 6):
            chunk = ", ".join(ids[i:i + 6])
            out.append(f"  {chunk}{',' if i + 6 < len(ids) else ''}")
        out.append("END")
        out.append(f'{name} BITMAP "res/toolbars/{number}.bmp"')
        out.append(f'QM_TOOLBAR_BITMAP_150({name}) BITMAP "res/toolbars/{number}_150.bmp"')
        out.append(f'QM_TOOLBAR_BITMAP_200({name}) BITMAP "res/toolbars/{number}_200.bmp"')
        out.append("")
    out.append("// The frame's toolbar at 150% and 200% (its 16x15 strip is res/toolbar.bmp).")
    out.append('QM_TOOLBAR_BITMAP_150(IDB_MAINFRAME_TOOLBAR) BITMAP "res/toolbars/128_150.bmp"')
    out.append('QM_TOOLBAR_BITMAP_200(IDB_MAINFRAME_TOOLBAR) BITMAP "res/toolbars/128_200.bmp"')
    out.append("")
    out.append("// The About box's animation, 16x16 and 32x32.")
    for i, (rid, file) in enumerate(ABOUT_FRAMES):
        out.append(f'IDI_ABOUT_FRAME{i + 1} ICON "res/icons/{file}"')
    return "\n".join(out) + "\n"


ABOUT_FRAMES = [(30038, "30038_about_window.ico"), (30039, "30039_about_hammer.ico"),
                (30041, "30041_about_tools.ico"), (30042, "30042_about_screwdriver.ico")]

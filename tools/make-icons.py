#!/usr/bin/env python3
"""Draws the program's icons and toolbar images and writes res/toolbars.rc.

Writes res/icons/*.ico (the 30 shared 16x16 icons, the program icon at
16x16 and 32x32, the About box's four frames at 16x16 and 32x32),
res/toolbar.bmp (the frame's 16x15 buttons), res/toolbars/*.bmp (every
toolbar's buttons at 16x15, 24x22 and 32x30; clear pixels are the light
grey that the toolbar makes transparent) and res/toolbars.rc. Standard
library only; run it again after changing a drawing and commit the files it
writes. The drawings live in art_icons.py and art_buttons.py.
"""
import os

from art_buttons import (ABOUT_FRAMES, DIALOG_TOOLBARS, MAIN_TOOLBAR, SCALES, about_frame,
                         draw_button, rc_text)
from art_canvas import RED, write_ico, write_strip_bmp, Canvas
from art_icons import ICONS, draw, glyph


def scaled(c, factor):
    big = Canvas(c.w * factor, c.h * factor)
    for y in range(big.h):
        for x in range(big.w):
            big.px[y][x] = c.px[y // factor][x // factor]
    return big


def main():
    res = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")
    icons = os.path.join(res, "icons")
    strips = os.path.join(res, "toolbars")
    os.makedirs(icons, exist_ok=True)
    os.makedirs(strips, exist_ok=True)
    for rid, name in ICONS:
        write_ico(os.path.join(icons, f"{rid}_{name}.ico"), [draw(name)])
    app = draw("titled_window")
    glyph(app, "P", 5, 6, RED)
    glyph(app, "P", 6, 6, RED)
    write_ico(os.path.join(icons, "quillmar.ico"), [app, scaled(app, 2)])
    for i, (_, file) in enumerate(ABOUT_FRAMES):
        write_ico(os.path.join(icons, file), [about_frame(i, 1), about_frame(i, 2)])

    for scale, suffix in SCALES.items():
        images = [draw_button(n, scale) for n in MAIN_TOOLBAR]
        path = os.path.join(res, "toolbar.bmp") if scale == 1 else os.path.join(strips, f"128{suffix}.bmp")
        write_strip_bmp(path, images)
        for _, number, items in DIALOG_TOOLBARS:
            images = [draw_button(item[1], scale) for item in items if item]
            write_strip_bmp(os.path.join(strips, f"{number}{suffix}.bmp"), images)
    with open(os.path.join(res, "toolbars.rc"), "w", newline="\n") as f:
        f.write(rc_text())


if __name__ == "__main__":
    main()

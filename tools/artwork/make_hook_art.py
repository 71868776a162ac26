#!/usr/bin/env python3
"""Draws the cursors and icons of the hook library and writes them into hook/res/.

    python3 tools/artwork/make_hook_art.py [--out DIR] [--preview DIR [--scale N]]

--out defaults to hook/res of this source tree. With --preview, a PNG of every
image, scaled up (8x unless told), goes into that folder for a person to look at;
transparent pixels show as a checkerboard there. The output is deterministic: a
second run leaves every file byte-identical.
"""

import argparse
import os
import sys

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import iconfile  # noqa: E402
from iconfile import Image, CURSOR, ICON, MONO_BLACK, MONO_WHITE  # noqa: E402
from iconfile import BLACK, WHITE, GREY, SILVER, NAVY  # noqa: E402
from shapes import UP, DOWN, LEFT, RIGHT  # noqa: E402
from shapes import arrowhead, border, diamond, disc, outline, rect, thick_line  # noqa: E402

SIZE = 32
CENTRE = 15  # the scroll figures are centred on pixel (15, 15), the cursors' hot spot

DIRECTIONS = {
    "vh": (UP, DOWN, LEFT, RIGHT),
    "ver": (UP, DOWN),
    "hor": (LEFT, RIGHT),
    "up": (UP,),
    "dn": (DOWN,),
    "lf": (LEFT,),
    "ri": (RIGHT,),
}


def scroll_figure(directions, tip_distance=12, length=5, cx=CENTRE, cy=CENTRE):
    """A small diamond at (cx, cy) with arrowheads pointing away from it."""
    shape = diamond(cx, cy, 2)
    for d in directions:
        tx = cx + {LEFT: -tip_distance, RIGHT: tip_distance}.get(d, 0)
        ty = cy + {UP: -tip_distance, DOWN: tip_distance}.get(d, 0)
        shape |= arrowhead(tx, ty, d, length)
    return shape


def outlined(shape, bpp, fill=None, ring=None):
    """An image of shape filled black (or fill), with a white (or ring) outline."""
    im = Image(SIZE, SIZE, bpp)
    black, white = (MONO_BLACK, MONO_WHITE) if bpp == 1 else (BLACK, WHITE)
    im.paint(outline(shape), white if ring is None else ring)
    im.paint(shape, black if fill is None else fill)
    return im


def mark_icon(directions):
    """A white disc with a black rim, a grey diamond and grey arrowheads."""
    im = Image(SIZE, SIZE, 4)
    face = disc(CENTRE, CENTRE, 15.4)
    rim = border(face)
    rim |= border(face - rim)  # two pixels thick
    im.paint(face, WHITE)
    im.paint(rim, BLACK)
    im.paint(scroll_figure(directions, tip_distance=10, length=4), GREY)
    return im


def big_arrow_cursor(direction, cx, cy):
    """A large triangle in direction beside a small diamond at the hot spot (cx, cy)."""
    base, length = 5, 11  # base row 5 pixels from the diamond's centre
    dx = {LEFT: -1, RIGHT: 1}.get(direction, 0)
    dy = {UP: -1, DOWN: 1}.get(direction, 0)
    tip = base + length - 1
    shape = diamond(cx, cy, 2) | arrowhead(cx + dx * tip, cy + dy * tip, direction, length)
    return outlined(shape, 1)


def hand_cursor():
    """A hand pointing up, the tip of the index finger at (12, 1), with arrowheads beside it."""
    im = Image(SIZE, SIZE, 4)
    index = rect(11, 2, 13, 16)
    fingers = rect(15, 8, 16, 16) | rect(18, 9, 19, 16) | rect(21, 11, 22, 16)
    palm = rect(11, 15, 22, 24)
    thumb = thick_line(7, 13, 10, 18, 1.5)
    wrist = rect(12, 25, 21, 28)
    hand = index | fingers | palm | thumb | wrist
    im.paint(hand, WHITE)
    im.paint(outline(hand), BLACK)
    # A little shade down the right of each finger and of the palm.
    shade = {(13, y) for y in range(4, 16)} | {(16, y) for y in range(10, 16)}
    shade |= {(19, y) for y in range(11, 16)} | {(22, y) for y in range(13, 25)}
    im.paint(shade & hand, SILVER)
    im.paint(rect(12, 27, 21, 28), NAVY)  # the cuff
    arrows = arrowhead(1, 21, LEFT, 4) | arrowhead(30, 21, RIGHT, 4)
    im.paint(outline(arrows), WHITE)
    im.paint(arrows, BLACK)
    return im


def artwork():
    """Every file we ship: (file name, ICON or CURSOR, image, hot spot or None)."""
    items = []
    for key, dirs in DIRECTIONS.items():
        items.append(("%s_scroll.cur" % key, CURSOR, outlined(scroll_figure(dirs), 1), (15, 15)))
    items.append(("hor_scroll1.cur", CURSOR, hand_cursor(), (12, 1)))
    items.append(("scroll.cur", CURSOR,
                  outlined(arrowhead(17, 2, UP, 10) | arrowhead(17, 26, DOWN, 10), 1), (17, 14)))
    for name, direction, hot in (("scroll_up.cur", UP, (17, 20)),
                                 ("scroll_down.cur", DOWN, (16, 9)),
                                 ("scroll_left.cur", LEFT, (22, 15)),
                                 ("scroll_right.cur", RIGHT, (10, 15))):
        items.append((name, CURSOR, big_arrow_cursor(direction, *hot), hot))
    for key in ("vh", "ver", "hor"):
        items.append(("%s_mark.ico" % key, ICON, mark_icon(DIRECTIONS[key]), None))
    for key, dirs in DIRECTIONS.items():
        items.append(("%s_scroll.ico" % key, ICON, outlined(scroll_figure(dirs), 4), None))
    return items


def contact_sheet(images, columns=7, gap=2):
    """All images side by side on one 16-colour canvas, for the previews."""
    rows = (len(images) + columns - 1) // columns
    sheet = Image(columns * (SIZE + gap), rows * (SIZE + gap), 4)
    for n, im in enumerate(images):
        ox, oy = (n % columns) * (SIZE + gap), (n // columns) * (SIZE + gap)
        for y, row in enumerate(im.pixels):
            for x, p in enumerate(row):
                if p is not None:
                    if im.bpp == 1:
                        p = WHITE if p == MONO_WHITE else BLACK
                    sheet.pixels[oy + y][ox + x] = p
    return sheet


def main(argv=None):
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "..", "hook", "res"),
                        help="folder for the .cur and .ico files (default: hook/res)")
    parser.add_argument("--preview", metavar="DIR", help="also write PNG previews here")
    parser.add_argument("--scale", type=int, default=8, help="preview scale (default 8)")
    args = parser.parse_args(argv)

    os.makedirs(args.out, exist_ok=True)
    if args.preview:
        os.makedirs(args.preview, exist_ok=True)
    items = artwork()
    changed = 0
    for name, kind, image, hot in items:
        data = iconfile.icon_file_bytes([image], kind, [hot] if kind == CURSOR else None)
        changed += iconfile.write_file(os.path.join(args.out, name), data)
        if args.preview:
            png = iconfile.png_bytes(image, args.scale, grid=True)
            iconfile.write_file(os.path.join(args.preview, name.replace(".", "_") + ".png"), png)
    if args.preview:
        sheet = contact_sheet([image for _, _, image, _ in items])
        iconfile.write_file(os.path.join(args.preview, "all.png"),
                            iconfile.png_bytes(sheet, max(1, args.scale // 2), grid=True))
    print("%d files, %d changed, in %s" % (len(items), changed, os.path.normpath(args.out)))
    return 0


if __name__ == "__main__":
    sys.exit(main())

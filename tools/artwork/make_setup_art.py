#!/usr/bin/env python3
"""Draws the bitmaps and the icon of the installer and writes them into setup/res/.

    python3 tools/artwork/make_setup_art.py [--out DIR] [--preview DIR [--scale N]]

--out defaults to setup/res of this source tree. With --preview, a PNG of every
picture, scaled up (3x unless told), goes into that folder for a person to look at;
the title and the banner are shown a second time with their magenta key replaced by
the dark blue of the background they are drawn on. The output is deterministic: a
second run leaves every file byte-identical.

    title.bmp    bitmap 306, 323 x 50, 16 colours: "Setup", white with a black shadow
    banner.bmp   bitmap 307, 490 x 43, 16 colours: the product line, white, grey shadow
    side.bmp     bitmap 304, 118 x 234, 16 colours: computer, disks and globe on teal
    serial.bmp   bitmap 113, 70 x 55, 256 colours: 9-pin D-sub connector
    ps2.bmp      bitmap 112, 70 x 55, 256 colours: 6-pin mini-DIN connector
    setup.ico    icon 200, 32 x 32, 16 colours: a computer with a disk
"""

import argparse
import math
import os
import sys

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import iconfile  # noqa: E402
import pixelfont  # noqa: E402
from iconfile import Image, VGA16  # noqa: E402
from iconfile import BLACK, MAROON, GREEN, NAVY, TEAL, SILVER  # noqa: E402
from iconfile import GREY, RED, LIME, BLUE, FUCHSIA, AQUA, WHITE  # noqa: E402
from shapes import disc, outline, rect  # noqa: E402

KEY = FUCHSIA  # magenta RGB(255, 0, 255): the transparent key of the title and banner
TITLE_TEXT = "Setup"
BANNER_TEXT = "Velmo Wheel Mouse for Windows 95/98"

# 4 x 4 ordered dither thresholds, 0 to 15.
BAYER4 = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def dither(x, y, level):
    """True where a pixel at (x, y) takes the lighter colour, level running 0.0 to 1.0."""
    return level * 16 > BAYER4[y % 4][x % 4] + 0.5


# --------------------------------------------------------------------------- shapes

def polygon(points):
    """Pixels whose centres lie inside the polygon (even-odd rule)."""
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    pts = set()
    n = len(points)
    for y in range(int(math.floor(min(ys))), int(math.ceil(max(ys))) + 1):
        for x in range(int(math.floor(min(xs))), int(math.ceil(max(xs))) + 1):
            inside = False
            for i in range(n):
                (x0, y0), (x1, y1) = points[i], points[(i + 1) % n]
                if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
                    inside = not inside
            if inside:
                pts.add((x, y))
    return pts


def rounded_rect(x0, y0, x1, y1, r):
    """The rectangle x0..x1 by y0..y1 with its corners rounded off by radius r."""
    pts = set()
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            dx = max(x0 + r - x, 0, x - (x1 - r))
            dy = max(y0 + r - y, 0, y - (y1 - r))
            if dx * dx + dy * dy <= r * r + r * 0.8:
                pts.add((x, y))
    return pts


def shifted(shape, dx, dy):
    return {(x + dx, y + dy) for x, y in shape}


def bevel(shape, width=1):
    """(lit, shaded): the pixels of shape along its top-left and its bottom-right edge."""
    lit, shaded = set(), set()
    for k in range(1, width + 1):
        lit |= shape - shifted(shape, k, k)
        shaded |= shape - shifted(shape, -k, -k)
    return lit - shaded, shaded


def paint_raised(im, shape, face, light, dark, edge=BLACK):
    """A shape with a face colour, a lit top-left edge, a dark inner bottom-right edge
    and a one-pixel edge colour along its bottom and right outline."""
    lit, shaded = bevel(shape)
    im.paint(shape, face)
    im.paint(lit, light)
    im.paint(shaded, edge)
    im.paint(bevel(shape - shaded)[1] - lit, dark)


def paint_sunken(im, shape, face, light=WHITE, dark=GREY):
    """A shape pressed in: dark along its top-left edge, light along its bottom-right."""
    lit, shaded = bevel(shape)
    im.paint(shape, face)
    im.paint(lit, dark)
    im.paint(shaded, light)


def paint_local(im, cx, cy, angle, half, colour_at):
    """Paints a figure given in its own coordinates, turned by angle (degrees) about
    (cx, cy): colour_at(u, v) gives the colour at offset (u, v) from the centre of the
    figure, or None outside it; half bounds |u| and |v|."""
    a = math.radians(angle)
    ca, sa = math.cos(a), math.sin(a)
    reach = int(half * 1.5) + 2
    for y in range(int(cy) - reach, int(cy) + reach + 1):
        for x in range(int(cx) - reach, int(cx) + reach + 1):
            dx, dy = x - cx, y - cy
            u, v = dx * ca + dy * sa, -dx * sa + dy * ca
            if abs(u) <= half + 1 and abs(v) <= half + 1:
                c = colour_at(u, v)
                if c is not None:
                    im.paint([(x, y)], c)


# --------------------------------------------------------------------------- lettering

def lettering(width, height, text, unit, radius, slant, shadow, shadow_offset, left=None):
    """Keyed lettering: white text with a shadow on the magenta key colour.

    The text is centred vertically in the picture, on its cap height and descenders
    together; left gives the left margin, or the text is centred across the picture.
    """
    shape = pixelfont.text_shape(text, unit, radius, slant)
    xs = [p[0] for p in shape]
    ys = [p[1] for p in shape]
    w = max(xs) - min(xs) + 1 + shadow_offset
    h = max(ys) - min(ys) + 1 + shadow_offset
    if w > width or h > height:
        raise ValueError("%r does not fit in %d x %d (needs %d x %d)" % (text, width, height, w, h))
    dx = (left if left is not None else (width - w) // 2) - min(xs)
    dy = (height - h) // 2 - min(ys)
    shape = shifted(shape, dx, dy)
    im = Image(width, height, 4)
    im.paint(rect(0, 0, width - 1, height - 1), KEY)
    im.paint(shifted(shape, shadow_offset, shadow_offset), shadow)
    im.paint(shape, WHITE)
    return im


def title_bitmap():
    """Bitmap 306: the title at the top left of the background."""
    return lettering(323, 50, TITLE_TEXT, unit=5, radius=2.9, slant=0.18,
                     shadow=BLACK, shadow_offset=3, left=4)


def banner_bitmap():
    """Bitmap 307: the product line at the bottom left of the background."""
    return lettering(490, 43, BANNER_TEXT, unit=2.6, radius=1.45, slant=0.12,
                     shadow=GREY, shadow_offset=2, left=4)


# --------------------------------------------------------------------------- side picture

def globe(im, cx, cy, r, turn):
    """A lit globe of blue seas and green land with a graticule, turned by turn radians."""
    lx, ly, lz = -0.55, -0.6, 0.58
    n = math.sqrt(lx * lx + ly * ly + lz * lz)
    lx, ly, lz = lx / n, ly / n, lz / n
    step = math.pi / 6  # graticule: meridians and parallels every 30 degrees

    def sphere(x, y):
        """(lat, lon, nz, light) at pixel (x, y), or None off the globe."""
        nx, ny = (x - cx) / r, (y - cy) / r
        nz2 = 1.0 - nx * nx - ny * ny
        if nz2 < 0:
            return None
        nz = math.sqrt(nz2)
        return (math.asin(-ny), math.atan2(nx, nz) + turn, nz,
                max(0.0, nx * lx + ny * ly + nz * lz))

    def cell(s):
        return (math.floor(s[0] / step + 0.5), math.floor(s[1] / step))

    ball = disc(cx, cy, r)
    for x, y in ball:
        s = sphere(x, y)
        if s is None:
            continue
        lat, lon, nz, light = s
        land = (math.sin(2 * lon + 0.4) * math.cos(2.5 * lat - 0.3)
                + 0.8 * math.sin(3 * lon - 1.3 + 2 * lat)
                + 0.5 * math.cos(5 * lon + 1.1) * math.sin(4 * lat + 0.5)
                + 0.3 * math.sin(7 * lat + 2 * lon)) > 0.72
        level = min(1.0, 0.12 + light * 1.1)
        bright, dark = (LIME, GREEN) if land else (BLUE, NAVY)
        colour = bright if dither(x, y, level) else dark
        # A graticule line runs where the cell changes towards the right or downwards
        # neighbour, which keeps the lines one pixel wide and unbroken.
        here = cell(s)
        for nb in ((x + 1, y), (x, y + 1)):
            t = sphere(*nb)
            if t is not None and nz > 0.12 and cell(t) != here:
                colour = AQUA if light > 0.5 else TEAL
        im.paint([(x, y)], colour)
    im.paint(outline(ball, diagonal=True) - ball, NAVY)


def monitor(im, x0, y0, x1, y1):
    """A monitor with a setup screen: blue desktop and a small dialog with a bar."""
    case = rounded_rect(x0, y0, x1, y1, 3)
    paint_raised(im, case, SILVER, WHITE, GREY)
    im.paint(outline(case, diagonal=True) & rect(x0 - 1, y0 - 1, x1 + 1, y1 + 1), BLACK)
    sx0, sy0, sx1, sy1 = x0 + 7, y0 + 6, x1 - 7, y1 - 14
    paint_sunken(im, rect(sx0 - 1, sy0 - 1, sx1 + 1, sy1 + 1), BLACK)
    # The desktop: blue, darkening towards the bottom as the setup background does.
    for y in range(sy0, sy1 + 1):
        level = 1.0 - (y - sy0) / (sy1 - sy0 + 1) * 0.9
        for x in range(sx0, sx1 + 1):
            im.paint([(x, y)], BLUE if dither(x, y, level) else NAVY)
    # A dialog in the middle of the screen, with its title bar and a progress bar.
    dx0, dy0, dx1, dy1 = sx0 + 9, sy0 + 10, sx1 - 9, sy1 - 8
    paint_raised(im, rect(dx0, dy0, dx1, dy1), SILVER, WHITE, GREY)
    im.paint(rect(dx0 + 1, dy0 + 1, dx1 - 2, dy0 + 4), NAVY)
    im.paint(rect(dx1 - 5, dy0 + 2, dx1 - 3, dy0 + 3), SILVER)
    im.paint(rect(dx0 + 4, dy0 + 8, dx1 - 12, dy0 + 8), GREY)
    im.paint(rect(dx0 + 4, dy0 + 11, dx1 - 7, dy0 + 11), GREY)
    paint_sunken(im, rect(dx0 + 4, dy1 - 7, dx1 - 4, dy1 - 3), WHITE)
    im.paint(rect(dx0 + 5, dy1 - 6, dx0 + 5 + (dx1 - dx0 - 10) * 2 // 3, dy1 - 4), BLUE)
    # Controls under the screen: a power light and two knobs.
    by = y1 - 7
    im.paint(rect(x1 - 12, by, x1 - 10, by + 1), LIME)
    for kx in (x0 + 9, x0 + 14):
        paint_raised(im, rect(kx, by, kx + 2, by + 2), SILVER, WHITE, GREY)
    # A stand under the case.
    mid = (x0 + x1) // 2
    neck = rect(mid - 8, y1 + 1, mid + 8, y1 + 3)
    foot = rounded_rect(mid - 20, y1 + 3, mid + 20, y1 + 6, 1)
    paint_raised(im, foot | neck, SILVER, WHITE, GREY)


def desktop_case(im, x0, y0, x1, y1):
    """A flat desktop case with two drive slots and its lights."""
    box = rect(x0, y0, x1, y1)
    paint_raised(im, box, SILVER, WHITE, GREY)
    im.paint(rect(x0 - 1, y0, x0 - 1, y1), BLACK)
    im.paint(rect(x0, y0 - 1, x1, y0 - 1), BLACK)
    # Drive bays on the right: a floppy slot with its button, and a second, empty bay.
    for n, top in enumerate((y0 + 5, y0 + 14)):
        bay = rect(x1 - 44, top, x1 - 6, top + 6)
        paint_sunken(im, bay, SILVER)
        if n == 0:
            im.paint(rect(x1 - 38, top + 3, x1 - 16, top + 3), BLACK)
            paint_raised(im, rect(x1 - 12, top + 2, x1 - 9, top + 4), SILVER, WHITE, GREY)
        else:
            im.paint(rect(x1 - 10, top + 2, x1 - 9, top + 2), LIME)
    # Lights and the power switch on the left, vent lines beside them.
    im.paint(rect(x0 + 6, y0 + 6, x0 + 8, y0 + 7), LIME)
    im.paint(rect(x0 + 6, y0 + 11, x0 + 8, y0 + 12), RED)
    paint_raised(im, rect(x0 + 5, y0 + 17, x0 + 11, y0 + 22), SILVER, WHITE, GREY)
    for k in range(5):
        im.paint(rect(x0 + 16 + 4 * k, y0 + 6, x0 + 17 + 4 * k, y0 + 21), GREY)
        im.paint(rect(x0 + 18 + 4 * k, y0 + 6, x0 + 18 + 4 * k, y0 + 21), WHITE)


def floppy(body, label_lines=2):
    """A 3.5-inch disk 28 pixels square, as a colour_at function for paint_local."""
    half = 14

    def colour_at(u, v):
        if abs(u) > half or abs(v) > half:
            return None
        if u > half - 3 and v < -half + 3 and (u - (half - 3)) + (-half + 3 - v) > 2.5:
            return None  # the bevelled corner
        # Metal shutter at the top, with its window.
        if -6 <= u <= 5 and v <= -half + 10:
            if 0 <= u <= 3 and -half + 2 <= v <= -half + 8:
                return BLACK
            return SILVER if u < 4.5 else GREY
        # The label in the lower part, with lines written on it.
        if -10 <= u <= 10 and -1 <= v <= half - 1:
            for k in range(label_lines):
                if abs(v - (3 + 4 * k)) < 0.5 and -7 <= u <= 6 - 3 * k:
                    return BLUE
            return WHITE
        if abs(u) > half - 1 or abs(v) > half - 1:
            return BLACK
        return body

    return colour_at, half


def side_bitmap():
    """Bitmap 304: a globe, a computer and three disks on a teal ground."""
    im = Image(118, 234, 4)
    im.paint(rect(0, 0, 117, 233), TEAL)
    # A darker floor under the computer and the disks.
    for y in range(176, 234):
        level = (y - 176) / 58.0
        for x in range(118):
            if not dither(x, y, 1.0 - level * 0.55):
                im.paint([(x, y)], NAVY)
    globe(im, 59, 47, 36, turn=4.0)
    desktop_case(im, 11, 164, 106, 192)
    monitor(im, 19, 92, 98, 156)
    for cx, cy, angle, colour in ((30, 212, -14, BLACK), (88, 211, 13, MAROON), (59, 215, 2, NAVY)):
        fn, half = floppy(colour)
        paint_local(im, cx, cy, angle, half, fn)
    return im


# --------------------------------------------------------------------------- connectors

# Palette of the 256-colour pictures: the 16 VGA colours, a grey ramp of 64 steps and
# a gold ramp of 32 steps; the remaining entries are black.
GREY_RAMP = 16
GOLD_RAMP = 80
CONNECTOR_PALETTE = list(VGA16)
CONNECTOR_PALETTE += [(4 * i, 4 * i, 4 * i) for i in range(64)]
CONNECTOR_PALETTE += [(int(70 + 185 * t), int(45 + 180 * t), int(5 + 120 * t))
                      for t in (i / 31.0 for i in range(32))]
CONNECTOR_PALETTE += [(0, 0, 0)] * (256 - len(CONNECTOR_PALETTE))


def grey(level):
    """Palette index of a grey, level 0.0 (black) to 1.0 (near white)."""
    return GREY_RAMP + max(0, min(63, int(round(level * 63))))


def gold(level):
    return GOLD_RAMP + max(0, min(31, int(round(level * 31))))


LIGHT = (-0.6, -0.8)  # light from the top left


def shade_metal(im, shape, cx, cy, base, contrast):
    """Fills shape with grey lit as a surface sloping away from (cx, cy)."""
    for x, y in shape:
        dx, dy = x - cx, y - cy
        d = math.hypot(dx, dy) or 1.0
        im.paint([(x, y)], grey(base + contrast * (dx * LIGHT[0] + dy * LIGHT[1]) / d))


def pin(im, x, y, r=2.05):
    """A round gold contact seen end on."""
    for px, py in disc(x, y, r):
        t = ((px - x) * LIGHT[0] + (py - y) * LIGHT[1]) / r
        im.paint([(px, py)], gold(0.55 + 0.45 * t))


def connector_ground():
    im = Image(70, 55, 8, CONNECTOR_PALETTE)
    im.paint(rect(0, 0, 69, 54), SILVER)
    return im


def serial_bitmap():
    """Bitmap 113: a 9-pin D-sub connector seen face on, with its two screw locks."""
    im = connector_ground()
    plate = rounded_rect(3, 12, 66, 41, 3)
    im.paint(shifted(plate, 2, 2) - plate, grey(0.45))          # shadow on the page
    for x, y in plate:
        im.paint([(x, y)], grey(0.86 - (y - 12) * 0.012))
    lit, shaded = bevel(plate)
    im.paint(lit, grey(0.98))
    im.paint(shaded, grey(0.30))
    im.paint(outline(plate) - shifted(plate, 2, 2), grey(0.40))
    # Hexagonal screw locks with their threaded holes.
    for sx in (10.5, 58.5):
        hexagon = polygon([(sx + 5.6 * math.cos(math.radians(a)), 26.5 + 5.6 * math.sin(math.radians(a)))
                           for a in range(0, 360, 60)])
        shade_metal(im, hexagon, sx, 26.5, 0.62, 0.30)
        im.paint(outline(hexagon) & shifted(hexagon, 1, 1), grey(0.25))
        im.paint(disc(sx, 26.5, 2.2), grey(0.08))
        im.paint(disc(sx - 0.6, 25.9, 0.9), grey(0.35))
    # The D-shaped shell: a metal rim around the dark insulator.
    def d_shape(inset):
        top, bottom = 16 + inset, 37 - inset
        return polygon([(15 + inset, top), (54 - inset, top),
                        (49 - inset * 0.75, bottom), (20 + inset * 0.75, bottom)])
    rim = d_shape(0)
    rim = {p for p in rim if p in rounded_rect(14, 15, 55, 38, 3)}
    shade_metal(im, rim, 34.5, 26.5, 0.70, 0.28)
    im.paint(outline(rim) & shifted(rim, 1, 1), grey(0.20))
    inner = d_shape(2.5)
    for x, y in inner:
        im.paint([(x, y)], grey(0.10 + (y - 18) * 0.006))
    im.paint(bevel(inner)[0], grey(0.02))
    for n in range(5):
        pin(im, 22.5 + 6 * n, 22.5)
    for n in range(4):
        pin(im, 25.5 + 6 * n, 30.5)
    return im


def ps2_bitmap():
    """Bitmap 112: a 6-pin mini-DIN plug seen face on: round shield, pins and key."""
    im = connector_ground()
    cx, cy = 34.5, 27
    shield = disc(cx, cy, 23.5)
    im.paint(shifted(shield, 2, 2) - shield, grey(0.45))        # shadow on the page
    shade_metal(im, shield, cx, cy, 0.70, 0.30)
    # The shield is a tube: a brighter lip, then the inner wall in shadow.
    wall = disc(cx, cy, 20.5)
    for x, y in wall:
        dx, dy = x - cx, y - cy
        d = math.hypot(dx, dy) or 1.0
        im.paint([(x, y)], grey(0.45 - 0.25 * (dx * LIGHT[0] + dy * LIGHT[1]) / d))
    im.paint(outline(shield) & shifted(shield, 1, 1), grey(0.25))
    # Three spring tabs pressed into the shield.
    for a in (-90, 30, 150):
        tx = cx + 22 * math.cos(math.radians(a))
        ty = cy + 22 * math.sin(math.radians(a))
        tab = disc(tx, ty, 1.6)
        im.paint(tab, grey(0.35))
        im.paint(shifted(disc(tx, ty, 0.8), -1, -1) & tab, grey(0.95))
    # The insulator with its six pins and the square plastic key.
    body = disc(cx, cy, 18.5)
    for x, y in body:
        im.paint([(x, y)], grey(0.07 + 0.05 * (y - cy + 18) / 37))
    for px, py in ((28.5, 17.5), (40.5, 17.5), (23.5, 26.5), (45.5, 26.5), (27.5, 35.5), (41.5, 35.5)):
        pin(im, px, py, 2.6)
    key = rect(31, 30, 38, 37)
    im.paint(key, grey(0.22))
    lit, shaded = bevel(key)
    im.paint(lit, grey(0.40))
    im.paint(shaded, grey(0.04))
    # The notch of the shield at the top, which lines the plug up with its socket.
    im.paint(rect(33, 6, 36, 8), grey(0.07))
    return im


# --------------------------------------------------------------------------- icon

def setup_icon():
    """Icon 200: a monitor with a 3.5-inch disk before it, on a transparent ground."""
    im = Image(32, 32, 4)
    # Monitor: black outline, silver case lit from the top left, sunken teal screen
    # with a small dialog and its progress bar.
    im.paint(rect(1, 1, 24, 19), BLACK)
    im.paint(rect(2, 2, 23, 18), SILVER)
    im.paint(rect(2, 2, 23, 2) | rect(2, 2, 2, 18), WHITE)
    im.paint(rect(3, 18, 23, 18) | rect(23, 3, 23, 18), GREY)
    im.paint(rect(4, 4, 21, 16), WHITE)
    im.paint(rect(4, 4, 21, 4) | rect(4, 4, 4, 16), GREY)
    im.paint(rect(5, 5, 20, 15), TEAL)
    im.paint(rect(7, 7, 16, 12), SILVER)
    im.paint(rect(7, 7, 16, 7), NAVY)
    im.paint(rect(8, 10, 12, 10), BLUE)
    im.paint(rect(16, 8, 16, 12) | rect(8, 12, 16, 12), GREY)
    im.paint(rect(19, 17, 20, 17), LIME)
    # Stand: a neck and a foot.
    im.paint(rect(9, 20, 16, 22) | rect(5, 22, 20, 25), BLACK)
    im.paint(rect(10, 20, 15, 22) | rect(6, 23, 19, 24), SILVER)
    im.paint(rect(6, 23, 19, 23), WHITE)
    im.paint(rect(15, 20, 15, 22), GREY)
    # The disk, before the monitor's lower right corner.
    disk = rect(16, 15, 31, 30) - {(31, 15), (30, 15), (31, 16)}
    im.paint(disk, BLACK)
    im.paint(rect(17, 16, 30, 29) - {(30, 16)}, NAVY)
    im.paint(rect(20, 16, 27, 21), SILVER)
    im.paint(rect(27, 16, 27, 21), GREY)
    im.paint(rect(24, 17, 25, 20), BLACK)
    im.paint(rect(19, 24, 28, 29), WHITE)
    im.paint(rect(20, 26, 27, 26) | rect(20, 28, 25, 28), BLUE)
    return im


# --------------------------------------------------------------------------- output

def artwork():
    """Every file we ship: (file name, image, kind "bmp" or "ico")."""
    return [
        ("title.bmp", title_bitmap(), "bmp"),
        ("banner.bmp", banner_bitmap(), "bmp"),
        ("side.bmp", side_bitmap(), "bmp"),
        ("serial.bmp", serial_bitmap(), "bmp"),
        ("ps2.bmp", ps2_bitmap(), "bmp"),
        ("setup.ico", setup_icon(), "ico"),
    ]


def on_background(image):
    """A copy of a keyed picture whose key colour shows as the background's dark blue."""
    copy = Image(image.width, image.height, image.bpp, image.palette)
    copy.palette[KEY] = (0, 0, 160)
    copy.pixels = image.pixels
    return copy


def main(argv=None):
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "..", "setup", "res"),
                        help="folder for the .bmp and .ico files (default: setup/res)")
    parser.add_argument("--preview", metavar="DIR", help="also write PNG previews here")
    parser.add_argument("--scale", type=int, default=3, help="preview scale (default 3)")
    args = parser.parse_args(argv)

    os.makedirs(args.out, exist_ok=True)
    if args.preview:
        os.makedirs(args.preview, exist_ok=True)
    items = artwork()
    changed = 0
    for name, image, kind in items:
        if kind == "bmp":
            data = iconfile.bmp_file_bytes(image)
        else:
            data = iconfile.icon_file_bytes([image], iconfile.ICON)
        changed += iconfile.write_file(os.path.join(args.out, name), data)
        if args.preview:
            stem = name.replace(".", "_")
            scale = args.scale * (4 if kind == "ico" else 1)
            iconfile.write_file(os.path.join(args.preview, stem + ".png"),
                                iconfile.png_bytes(image, scale, grid=True))
            if name in ("title.bmp", "banner.bmp"):
                iconfile.write_file(os.path.join(args.preview, stem + "_on_blue.png"),
                                    iconfile.png_bytes(on_background(image), args.scale))
    print("%d files, %d changed, in %s" % (len(items), changed, os.path.normpath(args.out)))
    return 0


if __name__ == "__main__":
    sys.exit(main())

"""A small proportional pixel font and a renderer that scales it up with round strokes.

Every glyph is a grid of dots on a cell 7 rows high from the cap line to the
baseline, with two more rows below for descenders. text_shape() puts a round dot
of a chosen radius on every set dot, scaled by a unit of so many pixels, and joins
neighbouring dots with strokes of the same radius, so that the letters come out as
smooth, even strokes rather than blocks. Diagonal neighbours are joined only where
no orthogonal path links them already, which keeps the inner corners open.
"""

from shapes import disc, thick_line

CAP_ROWS = 7      # rows 0 to 6: cap height; the baseline is under row 6
CELL_ROWS = 9     # rows 7 and 8 take the descenders
SPACING = 1       # empty columns between two glyphs

# Each glyph: its rows from the cap line down, "#" for a dot. Rows left out at the
# bottom are empty. The width of a glyph is the length of its rows.
_GLYPHS = {
    "A": ".###. #...# #...# ##### #...# #...# #...#",
    "B": "####. #...# #...# ####. #...# #...# ####.",
    "C": ".###. #...# #.... #.... #.... #...# .###.",
    "D": "####. #...# #...# #...# #...# #...# ####.",
    "E": "##### #.... #.... ####. #.... #.... #####",
    "F": "##### #.... #.... ####. #.... #.... #....",
    "G": ".###. #...# #.... #.### #...# #...# .###.",
    "H": "#...# #...# #...# ##### #...# #...# #...#",
    "I": "### .#. .#. .#. .#. .#. ###",
    "J": "..### ...#. ...#. ...#. ...#. #..#. .##..",
    "K": "#...# #..#. #.#.. ##... #.#.. #..#. #...#",
    "L": "#.... #.... #.... #.... #.... #.... #####",
    "M": "#...# ##.## #.#.# #.#.# #...# #...# #...#",
    "N": "#...# #...# ##..# #.#.# #..## #...# #...#",
    "O": ".###. #...# #...# #...# #...# #...# .###.",
    "P": "####. #...# #...# ####. #.... #.... #....",
    "Q": ".###. #...# #...# #...# #.#.# #..#. .##.#",
    "R": "####. #...# #...# ####. #.#.. #..#. #...#",
    "S": ".#### #.... #.... .###. ....# ....# ####.",
    "T": "##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#..",
    "U": "#...# #...# #...# #...# #...# #...# .###.",
    "V": "#...# #...# #...# #...# #...# .#.#. ..#..",
    "W": "#...# #...# #...# #.#.# #.#.# #.#.# .#.#.",
    "X": "#...# #...# .#.#. ..#.. .#.#. #...# #...#",
    "Y": "#...# #...# .#.#. ..#.. ..#.. ..#.. ..#..",
    "Z": "##### ....# ...#. ..#.. .#... #.... #####",
    "a": "..... ..... .###. ....# .#### #...# .####",
    "b": "#.... #.... #.##. ##..# #...# #...# ####.",
    "c": "..... ..... .###. #.... #.... #...# .###.",
    "d": "....# ....# .##.# #..## #...# #...# .####",
    "e": "..... ..... .###. #...# ##### #.... .###.",
    "f": "..## .#.. .#.. ###. .#.. .#.. .#..",
    "g": "..... ..... .#### #...# #...# #...# .#### ....# .###.",
    "h": "#.... #.... #.##. ##..# #...# #...# #...#",
    "i": "# . # # # # #",
    "j": "..# ... ..# ..# ..# ..# ..# #.# .#.",
    "k": "#... #... #..# #.#. ##.. #.#. #..#",
    "l": "# # # # # # #",
    "m": "..... ..... ##.#. #.#.# #.#.# #.#.# #.#.#",
    "n": "..... ..... #.##. ##..# #...# #...# #...#",
    "o": "..... ..... .###. #...# #...# #...# .###.",
    "p": "..... ..... ####. #...# #...# #...# ####. #.... #....",
    "q": "..... ..... .#### #...# #...# #...# .#### ....# ....#",
    "r": ".... .... #.## ##.. #... #... #...",
    "s": "..... ..... .#### #.... .###. ....# ####.",
    "t": ".#.. .#.. #### .#.. .#.. .#.. ..##",
    "u": "..... ..... #...# #...# #...# #..## .##.#",
    "v": "..... ..... #...# #...# #...# .#.#. ..#..",
    "w": "..... ..... #...# #...# #.#.# #.#.# .#.#.",
    "x": "..... ..... #...# .#.#. ..#.. .#.#. #...#",
    "y": "..... ..... #...# #...# #...# #...# .#### ....# .###.",
    "z": "..... ..... ##### ...#. ..#.. .#... #####",
    "0": ".###. #...# #..## #.#.# ##..# #...# .###.",
    "1": ".#. ##. .#. .#. .#. .#. ###",
    "2": ".###. #...# ....# ...#. ..#.. .#... #####",
    "3": "##### ...#. ..#.. ...#. ....# #...# .###.",
    "4": "...#. ..##. .#.#. #..#. ##### ...#. ...#.",
    "5": "##### #.... ####. ....# ....# #...# .###.",
    "6": "..##. .#... #.... ####. #...# #...# .###.",
    "7": "##### ....# ...#. ..#.. .#... .#... .#...",
    "8": ".###. #...# #...# .###. #...# #...# .###.",
    "9": ".###. #...# #...# .#### ....# ...#. .##..",
    " ": "... ... ... ... ... ... ...",
    "/": "....# ....# ...#. ..#.. .#... #.... #....",
    ".": ". . . . . . #",
    ",": ".. .. .. .. .. .. .# #. ..",
    ":": ". . # . . # .",
    "!": "# # # # # . #",
    "'": "# # . . . . .",
    "-": "... ... ... ### ... ... ...",
    "(": ".# #. #. #. #. #. .#",
    ")": "#. .# .# .# .# .# #.",
}


def _parse(rows_text):
    rows = rows_text.split()
    width = len(rows[0])
    if any(len(r) != width for r in rows) or len(rows) not in (CAP_ROWS, CELL_ROWS):
        raise ValueError("malformed glyph %r" % rows_text)
    dots = {(x, y) for y, row in enumerate(rows) for x, c in enumerate(row) if c == "#"}
    return width, dots


GLYPHS = {ch: _parse(rows) for ch, rows in _GLYPHS.items()}


def text_dots(text):
    """The dots of a line of text in font cells: (set of (column, row), total columns)."""
    dots = set()
    pen = 0
    for n, ch in enumerate(text):
        if ch not in GLYPHS:
            raise ValueError("the font has no glyph for %r" % ch)
        width, glyph = GLYPHS[ch]
        dots |= {(pen + x, y) for x, y in glyph}
        pen += width + (SPACING if n + 1 < len(text) else 0)
    return dots, pen


def text_shape(text, unit, radius, slant=0.0, origin=(0.0, 0.0)):
    """The pixels of text drawn with round strokes.

    unit is the distance in pixels between neighbouring dots, radius the half width
    of a stroke. slant leans the letters to the right by that many pixels per pixel
    of height above the baseline. The centre of the dot in column 0, row 0 lies at
    origin (before the slant).
    """
    dots, _ = text_dots(text)
    ox, oy = origin

    def centre(p):
        x, y = p
        return (ox + x * unit + (CAP_ROWS - 1 - y) * unit * slant, oy + y * unit)

    pts = set()
    for p in dots:
        x, y = p
        cx, cy = centre(p)
        pts |= disc(cx, cy, radius)
        for dx, dy in ((1, 0), (0, 1)):
            q = (x + dx, y + dy)
            if q in dots:
                pts |= thick_line(cx, cy, *centre(q), radius)
        for dx in (1, -1):
            q = (x + dx, y + 1)
            if q in dots and (x + dx, y) not in dots and (x, y + 1) not in dots:
                pts |= thick_line(cx, cy, *centre(q), radius)
    return pts

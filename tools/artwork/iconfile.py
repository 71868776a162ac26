"""Writers for the Windows image files our resources are built from.

An Image is a grid of palette indices, with None for a transparent pixel. The
writers turn it into an icon or cursor file (one DIB per image: XOR bitmap plus a
1-bpp AND mask), into a plain .bmp file (no transparency) or into a PNG preview.
Everything is pure standard library and fully deterministic, so generated files
are byte-identical from run to run.
"""

import struct
import zlib

# The standard 16-colour VGA palette, in the order Windows uses for 4-bpp DIBs.
VGA16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)

# Palette of a monochrome image: index 0 black, index 1 white.
MONO = [(0x00, 0x00, 0x00), (0xFF, 0xFF, 0xFF)]
MONO_BLACK, MONO_WHITE = 0, 1


class Image:
    """A palette image; pixels[y][x] is an index into palette or None (transparent)."""

    def __init__(self, width, height, bpp, palette=None):
        if bpp not in (1, 4, 8):
            raise ValueError("only 1-bpp, 4-bpp and 8-bpp images are supported")
        if bpp == 8 and palette is None:
            raise ValueError("an 8-bpp image needs a palette of its own")
        self.width = width
        self.height = height
        self.bpp = bpp
        self.palette = list(palette if palette is not None else (MONO if bpp == 1 else VGA16))
        if len(self.palette) != 1 << bpp:
            raise ValueError("palette must have exactly %d entries" % (1 << bpp))
        self.pixels = [[None] * width for _ in range(height)]

    def paint(self, points, index):
        """Sets every in-bounds point of an iterable of (x, y) to a palette index."""
        if index is not None and not 0 <= index < len(self.palette):
            raise ValueError("palette index %r out of range" % (index,))
        for x, y in points:
            if 0 <= x < self.width and 0 <= y < self.height:
                self.pixels[y][x] = index


def _pack_row(values, bpp):
    """Packs one row of small integers MSB first, padded to a 4-byte boundary."""
    out = bytearray()
    per_byte = 8 // bpp
    for start in range(0, len(values), per_byte):
        byte = 0
        chunk = values[start:start + per_byte]
        for i, v in enumerate(chunk):
            byte |= v << (8 - bpp * (i + 1))
        out.append(byte)
    out.extend(b"\0" * (-len(out) % 4))
    return bytes(out)


def dib(image):
    """The DIB of an icon or cursor image: header, colour table, XOR bitmap, AND mask."""
    xor_rows = []
    and_rows = []
    for row in reversed(image.pixels):  # DIB rows run bottom-up
        xor_rows.append(_pack_row([0 if p is None else p for p in row], image.bpp))
        and_rows.append(_pack_row([1 if p is None else 0 for p in row], 1))
    bits = b"".join(xor_rows) + b"".join(and_rows)
    header = struct.pack(
        "<IiiHHIIiiII",
        40,                 # biSize
        image.width,
        image.height * 2,   # XOR and AND bitmaps stacked
        1,                  # biPlanes
        image.bpp,
        0,                  # BI_RGB
        len(bits),          # biSizeImage
        0, 0,               # resolution
        0, 0)               # biClrUsed, biClrImportant: the full table
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in image.palette)
    return header + table + bits


ICON, CURSOR = 1, 2


def icon_file_bytes(images, kind=ICON, hotspots=None):
    """An .ico (kind ICON) or .cur (kind CURSOR, one (x, y) hot spot per image) file."""
    if kind == CURSOR and (hotspots is None or len(hotspots) != len(images)):
        raise ValueError("a cursor needs one hot spot per image")
    dibs = [dib(im) for im in images]
    offset = 6 + 16 * len(images)
    out = bytearray(struct.pack("<HHH", 0, kind, len(images)))
    for i, (im, data) in enumerate(zip(images, dibs)):
        if not (1 <= im.width <= 256 and 1 <= im.height <= 256):
            raise ValueError("icon images are at most 256 x 256")
        if kind == CURSOR:
            x, y = hotspots[i]
            if not (0 <= x < im.width and 0 <= y < im.height):
                raise ValueError("hot spot %r lies outside the image" % ((x, y),))
            field1, field2 = x, y
        else:
            field1, field2 = 1, im.bpp  # planes, bit count
        colours = 1 << im.bpp if im.bpp < 8 else 0
        out += struct.pack("<BBBBHHII", im.width & 0xFF, im.height & 0xFF, colours, 0,
                           field1, field2, len(data), offset)
        offset += len(data)
    for data in dibs:
        out += data
    return bytes(out)


def bmp_file_bytes(image):
    """A .bmp file: file header, BITMAPINFOHEADER, the full colour table, rows bottom-up."""
    if any(p is None for row in image.pixels for p in row):
        raise ValueError("a bitmap has no transparent pixels")
    bits = b"".join(_pack_row(row, image.bpp) for row in reversed(image.pixels))
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in image.palette)
    info = struct.pack(
        "<IiiHHIIiiII",
        40,                 # biSize
        image.width,
        image.height,       # positive: bottom-up
        1,                  # biPlanes
        image.bpp,
        0,                  # BI_RGB
        len(bits),          # biSizeImage
        0, 0,               # resolution
        0, 0)               # biClrUsed, biClrImportant: the full table
    offset = 14 + len(info) + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    return header + info + table + bits


def png_bytes(image, scale=1, grid=False):
    """An RGBA PNG of the image, each pixel drawn as a scale x scale block.

    Transparent pixels stay transparent; with grid, they become a light checkerboard
    (one square per source pixel) so that the outline of a shape is easy to judge.
    """
    w, h = image.width * scale, image.height * scale
    raw = bytearray()
    for y in range(h):
        raw.append(0)  # filter: none
        for x in range(w):
            p = image.pixels[y // scale][x // scale]
            if p is not None:
                r, g, b = image.palette[p]
                raw += bytes((r, g, b, 255))
            elif grid:
                shade = 0xE8 if ((x // scale) + (y // scale)) % 2 else 0xB8
                raw += bytes((shade, shade, 0xD8, 255))
            else:
                raw += b"\0\0\0\0"

    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data
                + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))

    ihdr = struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def write_file(path, data):
    """Writes data to path; leaves the file alone (and its time stamp) if already equal."""
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return False
    except FileNotFoundError:
        pass
    with open(path, "wb") as f:
        f.write(data)
    return True

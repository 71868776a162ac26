"""Pixel shapes for our artwork, as sets of (x, y) points.

Shapes are plain sets, so they combine with |, & and -. Coordinates are pixel
centres; y grows downwards as on the screen.
"""

UP, DOWN, LEFT, RIGHT = "up", "down", "left", "right"
_STEP = {UP: (0, -1), DOWN: (0, 1), LEFT: (-1, 0), RIGHT: (1, 0)}


def rect(x0, y0, x1, y1):
    """All points with x0 <= x <= x1 and y0 <= y <= y1."""
    return {(x, y) for x in range(x0, x1 + 1) for y in range(y0, y1 + 1)}


def diamond(cx, cy, r):
    """Points within city-block distance r of (cx, cy)."""
    return {(cx + dx, cy + dy)
            for dx in range(-r, r + 1) for dy in range(-r, r + 1) if abs(dx) + abs(dy) <= r}


def disc(cx, cy, r):
    """Points whose centre lies within r of (cx, cy); cx, cy may be half-integers."""
    pts = set()
    for y in range(int(cy - r) - 1, int(cy + r) + 2):
        for x in range(int(cx - r) - 1, int(cx + r) + 2):
            if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                pts.add((x, y))
    return pts


def arrowhead(tip_x, tip_y, direction, length):
    """A 45-degree triangle pointing in direction with its tip at (tip_x, tip_y).

    It has length rows (the tip row included), widening by one pixel on each side
    per row, so its base is 2 * length - 1 pixels wide.
    """
    sx, sy = _STEP[direction]
    pts = set()
    for i in range(length):
        # Row i lies i steps back from the tip; it spans -i..i across the direction.
        bx, by = tip_x - sx * i, tip_y - sy * i
        for j in range(-i, i + 1):
            pts.add((bx + j * abs(sy), by + j * abs(sx)))
    return pts


def thick_line(x0, y0, x1, y1, radius):
    """Points within radius of the segment (x0, y0)-(x1, y1): a capsule."""
    pts = set()
    dx, dy = x1 - x0, y1 - y0
    seg2 = dx * dx + dy * dy
    for y in range(int(min(y0, y1) - radius) - 1, int(max(y0, y1) + radius) + 2):
        for x in range(int(min(x0, x1) - radius) - 1, int(max(x0, x1) + radius) + 2):
            t = 0.0 if seg2 == 0 else max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / seg2))
            px, py = x0 + t * dx, y0 + t * dy
            if (x - px) ** 2 + (y - py) ** 2 <= radius * radius:
                pts.add((x, y))
    return pts


def outline(shape, diagonal=False):
    """The one-pixel ring just outside shape (4-connected, or 8-connected with diagonal)."""
    steps = [(1, 0), (-1, 0), (0, 1), (0, -1)]
    if diagonal:
        steps += [(1, 1), (1, -1), (-1, 1), (-1, -1)]
    return {(x + dx, y + dy) for x, y in shape for dx, dy in steps} - shape


def border(shape):
    """The points of shape that have a 4-neighbour outside it."""
    return {p for p in shape if outline({p}) - shape}


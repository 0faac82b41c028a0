"""The drawing surface of the program's icons and toolbar images.

Drawings are written once in a 16-unit design grid. At scale 1 a unit is a
pixel and the primitives set exactly the pixels a hand-drawn 16x16 image
would. At the larger scales (1.5 and 2 for screens at 150% and 200%) the
same calls draw at the target size: filled areas end on the scaled unit
boundaries, outlines stay one pixel wide, and discs, ellipses, lines and
polygons are rasterised at the target resolution, so a large image gains
detail instead of repeating pixels.
"""
import math
import struct

# The standard 16-colour palette, as (r, g, b).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
K, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)
CLEAR = None


class Canvas:
    def __init__(self, w=16, h=16, fill=CLEAR, scale=1):
        self.s = scale
        self.w, self.h = self.edge(w), self.edge(h)
        self.px = [[fill] * self.w for _ in range(self.h)]

    # ---- unit <-> pixel ----

    def edge(self, v):
        """The pixel boundary of unit boundary v (floor: 15 units at 1.5 is 22)."""
        return int(math.floor(v * self.s + 1e-9))

    def span(self, a0, a1):
        """The pixels covered by units a0..a1 inclusive."""
        return self.edge(a0), self.edge(a1 + 1) - 1

    def centre(self, a):
        """The pixel coordinate of the centre of unit a."""
        return (a + 0.5) * self.s - 0.5

    def unit(self, p):
        """The unit coordinate of the centre of pixel p."""
        return (p + 0.5) / self.s - 0.5

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    # ---- primitives in units ----

    def put(self, x, y, c):
        self.fill(x, y, x, y, c)

    def fill(self, x0, y0, x1, y1, c):
        px0, px1 = self.span(x0, x1)
        py0, py1 = self.span(y0, y1)
        for y in range(py0, py1 + 1):
            for x in range(px0, px1 + 1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c, dash=False):
        """A one-pixel outline round units x0..x1, y0..y1."""
        px0, px1 = self.span(x0, x1)
        py0, py1 = self.span(y0, y1)
        step = max(1, int(self.s))  # dash length in pixels
        for x in range(px0, px1 + 1):
            if not dash or ((x - px0) // step) % 2 == 0:
                self.set(x, py0, c)
                self.set(x, py1, c)
        for y in range(py0, py1 + 1):
            if not dash or ((y - py0) // step) % 2 == 0:
                self.set(px0, y, c)
                self.set(px1, y, c)

    def box(self, x0, y0, x1, y1, inside, edge=K):
        self.fill(x0, y0, x1, y1, inside)
        self.frame(x0, y0, x1, y1, edge)

    def line(self, x0, y0, x1, y1, c, width=1.0):
        """A stroke between unit centres, `width` units wide (at least a pixel)."""
        if self.s == 1 and width <= 1:
            n = max(round(abs(x1 - x0)), round(abs(y1 - y0)), 1)
            for i in range(n + 1):
                self.set(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)
            return
        ax, ay, bx, by = self.centre(x0), self.centre(y0), self.centre(x1), self.centre(y1)
        half = max(1.0, width * self.s * 0.75) / 2
        dx, dy = bx - ax, by - ay
        length2 = dx * dx + dy * dy
        for y in range(int(min(ay, by) - half - 1), int(max(ay, by) + half + 2)):
            for x in range(int(min(ax, bx) - half - 1), int(max(ax, bx) + half + 2)):
                t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
                if math.hypot(x - (ax + t * dx), y - (ay + t * dy)) <= half + 1e-9:
                    self.set(x, y, c)

    def polyline(self, points, c, width=1.0):
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            self.line(x0, y0, x1, y1, c, width)

    def disc(self, cx, cy, r, c):
        self.ellipse(cx, cy, r, r, c)

    def ellipse(self, cx, cy, rx, ry, c):
        for y in range(self.h):
            for x in range(self.w):
                u, v = self.unit(x), self.unit(y)
                if ((u - cx) / rx) ** 2 + ((v - cy) / ry) ** 2 <= 1 + 1e-9:
                    self.set(x, y, c)

    def polygon(self, points, c):
        """Fills the pixels whose centres lie inside the polygon (unit centres)."""
        for y in range(self.h):
            v = self.unit(y)
            for x in range(self.w):
                u = self.unit(x)
                inside = False
                for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
                    if (y0 > v) != (y1 > v) and u < x0 + (v - y0) * (x1 - x0) / (y1 - y0):
                        inside = not inside
                if inside:
                    self.set(x, y, c)

    def art(self, x0, y0, rows, colours):
        """Stamps pixel art, one unit per character naming a colour in
        `colours`: for the hand-drawn 16x16 images only."""
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch in colours:
                    self.put(x0 + dx, y0 + dy, colours[ch])


# ---- files ----

def dib4(c):
    """BITMAPINFOHEADER, palette, XOR and AND planes of one icon image."""
    xor_stride = ((c.w * 4 + 31) // 32) * 4
    and_stride = ((c.w + 31) // 32) * 4
    xor, mask = bytearray(), bytearray()
    for y in reversed(range(c.h)):
        row = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x in range(c.w):
            p = c.px[y][x]
            idx = 0 if p is None else p
            row[x // 2] |= idx << (4 if x % 2 == 0 else 0)
            if p is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += row
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, c.w, c.h * 2, 1, 4, 0,
                         len(xor) + len(mask), 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    return header + palette + xor + mask


def write_ico(path, canvases):
    images = [dib4(c) for c in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, data in zip(canvases, images):
        out += struct.pack("<BBBBHHII", c.w % 256, c.h % 256, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


def write_strip_bmp(path, images):
    """Toolbar images side by side in one 24-bit bitmap, clear pixels in the
    light grey that the toolbar makes transparent."""
    iw, h = images[0].w, images[0].h
    w = iw * len(images)
    stride = ((w * 3 + 3) // 4) * 4
    pixels = bytearray()
    for y in reversed(range(h)):
        row = bytearray()
        for img in images:
            for x in range(iw):
                p = img.px[y][x]
                r, g, b = PALETTE[SILVER if p is None else p]
                row += bytes((b, g, r))
        pixels += row + bytes(stride - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + pixels)

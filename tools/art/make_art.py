#!/usr/bin/env python3
"""Draw the pixel-art icons and bitmaps of Ordavin and Velmora.

Pure Python 3 (standard library only).  Run from the repository root:

    python3 tools/art/make_art.py

Every picture is drawn from simple shapes, so the output is the same byte
for byte on every run.  Icons are drawn in a 32x32 "design space" at 4x
super-sampling and scaled down, which gives smooth edges at 16 and 32 px.
"""

import colorsys
import math
import os
import struct

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))


# ---- Canvas --------------------------------------------------------------

class Canvas:
    """RGBA canvas with super-sampling and a logical view transform.

    Output pixel (u, v) = (ox + x * s, oy + y * s) for logical (x, y).
    A colour is an (r, g, b) or (r, g, b, a) tuple, None (clear to
    transparent) or a callable shader(u, v) -> colour taking output
    coordinates.
    """

    def __init__(self, w, h, ss=1):
        self.w, self.h, self.ss = w, h, ss
        self.dw, self.dh = w * ss, h * ss
        self.p = [[0.0, 0.0, 0.0, 0.0] for _ in range(self.dw * self.dh)]
        self.view(0.0, 0.0, 1.0)

    def view(self, ox, oy, s):
        self.ox, self.oy, self.s = ox, oy, s

    @property
    def px(self):
        """Size of one output pixel in logical units."""
        return 1.0 / self.s

    def out(self, x, y):
        return self.ox + x * self.s, self.oy + y * self.s

    def _paint(self, x0, y0, x1, y1, inside, col):
        (u0, v0), (u1, v1) = self.out(x0, y0), self.out(x1, y1)
        ss = self.ss
        dx0, dx1 = max(0, int(math.floor(u0 * ss))), min(self.dw, int(math.ceil(u1 * ss)))
        dy0, dy1 = max(0, int(math.floor(v0 * ss))), min(self.dh, int(math.ceil(v1 * ss)))
        for dy in range(dy0, dy1):
            v = (dy + 0.5) / ss
            ly = (v - self.oy) / self.s
            for dx in range(dx0, dx1):
                u = (dx + 0.5) / ss
                if inside((u - self.ox) / self.s, ly):
                    self._put(dy * self.dw + dx, col, u, v)

    def _put(self, i, col, u, v):
        if callable(col):
            col = col(u, v)
        if col is None:
            self.p[i] = [0.0, 0.0, 0.0, 0.0]
            return
        a = (col[3] if len(col) > 3 else 255) / 255.0
        d = self.p[i]
        k = 1.0 - a
        self.p[i] = [col[0] * a + d[0] * k, col[1] * a + d[1] * k,
                     col[2] * a + d[2] * k, a + d[3] * k]

    def rect(self, x0, y0, x1, y1, col):
        self._paint(x0, y0, x1, y1, lambda x, y: True, col)

    def disc(self, cx, cy, r, col, w=None):
        """Filled circle, or a ring of width w inside radius r."""
        ro, ri = r * r, (r - w) ** 2 if w else -1.0
        self._paint(cx - r, cy - r, cx + r, cy + r,
                    lambda x, y: ri < (x - cx) ** 2 + (y - cy) ** 2 <= ro, col)

    def line(self, x0, y0, x1, y1, w, col):
        """Thick segment with round caps."""
        h = w / 2.0
        ex, ey = x1 - x0, y1 - y0
        ll = ex * ex + ey * ey or 1e-9

        def inside(x, y):
            t = max(0.0, min(1.0, ((x - x0) * ex + (y - y0) * ey) / ll))
            return (x - x0 - t * ex) ** 2 + (y - y0 - t * ey) ** 2 <= h * h
        self._paint(min(x0, x1) - h, min(y0, y1) - h, max(x0, x1) + h, max(y0, y1) + h,
                    inside, col)

    def polyline(self, pts, w, col):
        for a, b in zip(pts, pts[1:]):
            self.line(a[0], a[1], b[0], b[1], w, col)

    def poly(self, pts, col, edge=None, ew=None):
        """Filled polygon (even-odd), optionally with an outer edge line."""
        if edge is not None:
            self.polyline(pts + pts[:1], 2 * (ew or self.px), edge)
        n = len(pts)

        def inside(x, y):
            c = False
            for i in range(n):
                (ax, ay), (bx, by) = pts[i], pts[i - 1]
                if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                    c = not c
            return c
        xs, ys = [q[0] for q in pts], [q[1] for q in pts]
        self._paint(min(xs), min(ys), max(xs), max(ys), inside, col)

    def pixels(self):
        """Down-sampled output as a row-major list of (r, g, b, a) ints."""
        ss, n = self.ss, float(self.ss * self.ss)
        res = []
        for y in range(self.h):
            for x in range(self.w):
                acc = [0.0, 0.0, 0.0, 0.0]
                for j in range(ss):
                    row = (y * ss + j) * self.dw + x * ss
                    for q in self.p[row:row + ss]:
                        for k in range(4):
                            acc[k] += q[k]
                a = acc[3] / n
                if a <= 0.0:
                    res.append((0, 0, 0, 0))
                    continue
                res.append(tuple(min(255, int(acc[k] / n / a + 0.5)) for k in range(3))
                           + (min(255, int(a * 255 + 0.5)),))
        return res


def mix(c1, c2, t):
    return tuple(a + (b - a) * t for a, b in zip(c1, c2))


def darker(c, f=0.55):
    return tuple(v * f for v in c[:3])


# ---- File writers --------------------------------------------------------

def write_bmp(path, w, h, pix):
    """24-bit bottom-up BMP with a BITMAPINFOHEADER."""
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for r, g, b, _a in pix[y * w:(y + 1) * w]:
            row += bytes((b, g, r))
        data += row + b"\0" * (stride - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    _save(path, head + info + bytes(data))


def ico_image(size, pix):
    """32-bit DIB as stored in an ICO: colour rows then 1-bit AND mask."""
    xor, mask = bytearray(), bytearray()
    mstride = ((size + 31) // 32) * 4
    for y in range(size - 1, -1, -1):
        bits = bytearray(mstride)
        for x, (r, g, b, a) in enumerate(pix[y * size:(y + 1) * size]):
            xor += bytes((b, g, r, a))
            if a < 128:
                bits[x >> 3] |= 0x80 >> (x & 7)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0,
                       len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + bytes(mask)


def write_ico(path, images):
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    dirs, blobs = b"", b""
    for size, pix in images:
        blob = ico_image(size, pix)
        dirs += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32,
                            len(blob), offset)
        offset += len(blob)
        blobs += blob
    _save(path, head + dirs + blobs)


def write_cur(path, rows, hot=(0, 0)):
    """Monochrome 32x32 cursor: '#' black, '.' white, anything else clear."""
    size = 32
    xor, mask = bytearray(), bytearray()
    for y in range(size - 1, -1, -1):
        row = rows[y] if y < len(rows) else ""
        xbits, abits = bytearray(4), bytearray(4)
        for x in range(size):
            ch = row[x] if x < len(row) else " "
            bit = 0x80 >> (x & 7)
            if ch == ".":
                xbits[x >> 3] |= bit
            elif ch != "#":
                abits[x >> 3] |= bit
        xor += xbits
        mask += abits
    info = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 1, 0,
                       len(xor) + len(mask), 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    blob = info + palette + bytes(xor) + bytes(mask)
    head = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", size, size, 2, 0, hot[0], hot[1], len(blob), 6 + 16)
    _save(path, head + entry + blob)


def _save(path, data):
    full = os.path.join(ROOT, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "wb") as f:
        f.write(data)
    print("wrote %-30s %6d bytes" % (path, len(data)))


def render_icon(draw):
    images = []
    for size in (16, 32):
        c = Canvas(size, size, ss=4)
        c.view(0.0, 0.0, size / 32.0)
        draw(c)
        images.append((size, c.pixels()))
    return images


# ---- Building blocks (32 x 32 design space) ------------------------------

EDGE = (60, 62, 72)
GREEN = (40, 170, 60)
RED = (215, 35, 35)


def cd(c, cx, cy, r, hole=None):
    """Silver compact disc with a rainbow sheen and a centre hole."""
    o = c.px
    c.disc(cx, cy, r, (95, 100, 115))
    ucx, ucy = c.out(cx, cy)
    ur = r * c.s

    def sheen(u, v):
        du, dv = u - ucx, v - ucy
        d = math.hypot(du, dv) / ur
        ang = math.atan2(dv, du)
        rainbow = [255 * q for q in colorsys.hsv_to_rgb((ang / math.pi + 0.15) % 1.0, 0.6, 1.0)]
        light = 0.5 + 0.5 * math.cos(2 * (ang + math.pi / 4))
        base = mix((178, 182, 194), (238, 240, 246), light)
        return mix(base, rainbow, 0.55 * max(0.0, 1.0 - abs(d - 0.68) / 0.25))
    c.disc(cx, cy, r - o, sheen)
    c.disc(cx, cy, r * 0.36, (145, 148, 160))
    c.disc(cx, cy, r * 0.36 - o, (232, 236, 244))
    c.disc(cx, cy, r * 0.16 + o, (145, 148, 160))
    c.disc(cx, cy, r * 0.16, hole)


def book(c, cover=(45, 80, 165), ribbon=None):
    """Open book with two curved pages, text lines and a cover."""
    o = c.px
    top = [(16, 9), (12, 6.5), (7, 5.5), (2, 6.5)]
    bottom = [(2, 24.5), (7, 23.5), (12, 24.5), (16, 27)]

    def mirror(pts):
        return [(32 - x, y) for x, y in pts]

    shell = [(16, 10), (0.5, 7.5), (0.5, 27), (6, 26.3), (11, 27), (16, 29.5)]
    c.poly(shell + mirror(shell[::-1]), cover, darker(cover), o)
    uspine = c.out(16, 0)[0]

    def paper(u, v):
        t = min(1.0, abs(u - uspine) / (14 * c.s))
        return mix((200, 200, 190), (255, 255, 250), t ** 0.6)

    for side in (lambda p: p, mirror):
        under = [(x + (16 - x) * -0.06, y + 1.3 * (16 - x) / 14) for x, y in top + bottom]
        c.poly(side(under), (205, 205, 198), (120, 120, 120), o * 0.7)
        c.poly(side(top + bottom), paper, (110, 110, 115), o * 0.7)

    def top_y(x):
        for (ax, ay), (bx, by) in zip(top, top[1:]):
            if bx <= x <= ax:
                return ay + (by - ay) * (ax - x) / (ax - bx)
        return top[-1][1]

    for k in range(5):
        off = 4.0 + 3.2 * k
        pts = [(x, top_y(x) + off) for x in (14, 12, 9.5, 7, 4)]
        c.polyline(pts, max(0.8, o * 0.5), (120, 132, 160))
        c.polyline(mirror(pts), max(0.8, o * 0.5), (120, 132, 160))
    c.line(16, 9.5, 16, 27, o * 0.8, (140, 140, 140))
    if ribbon:
        c.poly([(15, 10), (17.5, 10), (17.5, 31.5), (16.25, 29.8), (15, 31.5)],
               ribbon, darker(ribbon), o * 0.5)


def hdd(c, x0, y0, x1, y1, d=4):
    """Hard-disk box drawn in a simple 3D view."""
    o = c.px
    c.poly([(x0, y0 + d), (x0 + d, y0), (x1, y0), (x1, y1 - d), (x1 - d, y1), (x0, y1)],
           (175, 178, 188), EDGE, o)
    c.poly([(x0, y0 + d), (x0 + d, y0), (x1, y0), (x1 - d, y0 + d)], (222, 224, 230))
    c.poly([(x1 - d, y0 + d), (x1, y0), (x1, y1 - d), (x1 - d, y1)], (125, 128, 140))
    c.line(x0, y0 + d, x1 - d, y0 + d, o * 0.8, EDGE)
    c.line(x1 - d, y0 + d, x1 - d, y1, o * 0.8, EDGE)
    my = (y0 + d + y1) / 2.0
    c.line(x0 + 3, my, x1 - d - 8, my, 1.5 * o, (90, 92, 105))
    c.disc(x1 - d - 4, my, 1.6 * o, (20, 110, 30))
    c.disc(x1 - d - 4, my, 1.0 * o, (90, 240, 90))


def arrow_down(c, cx, ytop, ybot, shaft, head, hlen, col=GREEN):
    c.poly([(cx - shaft, ytop), (cx + shaft, ytop), (cx + shaft, ybot - hlen),
            (cx + head, ybot - hlen), (cx, ybot), (cx - head, ybot - hlen),
            (cx - shaft, ybot - hlen)], col, darker(col, 0.45), c.px)


def no_entry(c, cx, cy, r):
    c.disc(cx, cy, r, (120, 0, 0))
    c.disc(cx, cy, r - c.px, RED)
    h = max(r * 0.2, c.px)
    c.rect(cx - r * 0.62, cy - h, cx + r * 0.62, cy + h, (255, 255, 255))


def plug(c):
    """RJ45 network plug pointing down with a curved cable."""
    o = c.px
    cable = [(1, 5), (5, 4.2), (10, 5), (14, 7), (16, 9)]
    c.polyline(cable, 4 + 2 * o, (20, 50, 110))
    c.polyline(cable, 4, (60, 120, 210))
    c.poly([(12, 7), (20, 7), (21, 12), (11, 12)], (60, 120, 210), (20, 50, 110), o)
    c.poly([(8, 12), (24, 12), (24, 28), (8, 28)], (205, 215, 228), EDGE, o)
    c.rect(8, 12, 24, 14, (235, 240, 248))
    c.poly([(13, 14), (19, 14), (18, 20), (14, 20)], (160, 172, 190), (110, 120, 140), o * 0.6)
    for i in range(6):
        x = 10 + i * 2.4
        c.rect(x, 22.5, x + 1.2, 27, (215, 170, 40))


# ---- Icons ---------------------------------------------------------------

def icon_app(c):
    hdd(c, 1, 18, 31, 31)
    cd(c, 11, 11, 10)
    arrow_down(c, 25, 2, 19, 2.2, 5.5, 6)


def icon_install(c):
    cd(c, 13, 13, 12.5)
    arrow_down(c, 23, 12, 31, 3, 7.5, 8)


def icon_cd_hint(c):
    cd(c, 14, 14, 13.5)
    c.disc(24, 24, 7.8, (20, 60, 140))
    c.disc(24, 24, 7.8 - c.px, (45, 110, 215))
    c.disc(24, 20.2, 1.5, (255, 255, 255))
    c.rect(22.8, 22.5, 25.2, 28.5, (255, 255, 255))


def icon_remove(c):
    hdd(c, 1, 5, 31, 22)
    for w, col in ((5 + 2 * c.px, (110, 0, 0)), (5, RED)):
        c.line(16, 14, 28, 26, w, col)
        c.line(28, 14, 16, 26, w, col)


def icon_network_missing(c):
    plug(c)
    no_entry(c, 24.5, 24.5, 7.5)


def icon_velmora(c):
    o = c.px
    c.line(20, 20, 29.5, 29.5, 5 + 2 * o, (40, 25, 15))
    c.line(20, 20, 29.5, 29.5, 5, (120, 75, 40))
    c.disc(13, 13, 11, (225, 240, 255))
    tick = [(7, 13.5), (11, 17.5), (19, 8)]
    c.polyline(tick, 3.5 + 2 * o, (15, 80, 25))
    c.polyline(tick, 3.5, GREEN)
    c.disc(9.5, 8.5, 2.5, (255, 255, 255, 140))
    c.disc(13, 13, 12, (55, 58, 70), 2.5 * o)


# ---- Bitmaps -------------------------------------------------------------

FONT = {  # 5x7 glyphs, '#' = lit
    "Z": ["#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    "r": [".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."],
    "v": [".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "l": [".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "i": ["..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###."],
}


def bits(rows):
    """(column, row) of every '#' in a list of strings."""
    return [(i, j) for j, row in enumerate(rows) for i, ch in enumerate(row) if ch == "#"]


def text(c, s, x, y, scale, col):
    for ch in s:
        for i, j in bits(FONT[ch]):
            gx, gy = x + i * scale, y + j * scale
            c.rect(gx, gy, gx + scale, gy + scale, col)
        x += 6 * scale


def banner():
    w, h = 417, 77
    c = Canvas(w, h, ss=2)

    def sky(u, v):
        t = u / w * 0.8 + v / h * 0.2
        return mix((12, 28, 90), (95, 155, 225), t)
    c.rect(0, 0, w, h, sky)
    c.view(12, -15, 3.0)
    book(c)
    c.view(0, 0, 1.0)
    text(c, "Zorvalia", 131, 26, 4, (0, 20, 60, 140))
    text(c, "Zorvalia", 129, 24, 4, (255, 255, 255))
    cd(c, 372, 38.5, 34, sky)
    return w, h, c.pixels()


TICK = ["......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#...."]


def check_box(c, x0, y0, n, ticked):
    """Crisp n x n check box (canvas without super-sampling)."""
    c.rect(x0, y0, x0 + n, y0 + n, (64, 64, 64))
    c.rect(x0 + 1, y0 + 1, x0 + n - 1, y0 + n - 1, (255, 255, 255))
    if ticked:
        tx = x0 + 1 + (n - 2 - 7) // 2
        ty = y0 + 1 + (n - 2 - 7) // 2
        for i, j in bits(TICK):
            c.rect(tx + i, ty + j, tx + i + 1, ty + j + 1, (0, 100, 20))


def state_images():
    """Two 18x16 state images; pure black is the transparent mask colour."""
    c = Canvas(36, 16)
    c.rect(0, 0, 36, 16, (0, 0, 0))
    check_box(c, 2, 2, 13, False)
    check_box(c, 20, 2, 13, True)
    return 36, 16, c.pixels()


def legend():
    c = Canvas(14, 12)
    c.rect(0, 0, 14, 12, (192, 192, 192))
    check_box(c, 2, 1, 11, True)
    return 14, 12, c.pixels()


FACE = (192, 192, 192)   # the dialog face the bitmaps are drawn on


def notes_book():
    """15x15: an open red book, a title of the series."""
    c = Canvas(15, 15, ss=4)
    c.rect(0, 0, 15, 15, FACE)
    red = (200, 30, 30)
    c.poly([(0.5, 3), (7.5, 4.5), (14.5, 3), (14.5, 13.5), (7.5, 14.5), (0.5, 13.5)], red, darker(red), 0.5)
    for side in (1, -1):
        x = lambda v: 7.5 - side * v
        c.poly([(x(0), 4), (x(2.5), 2), (x(6), 1.5), (x(6), 11.5), (x(2.5), 12), (x(0), 13)],
               (252, 250, 240), (110, 110, 115), 0.4)
        for k in range(4):
            y = 4.2 + 2 * k
            c.line(x(1.5), y + 0.3, x(4.8), y - 0.4, 0.6, (120, 132, 160))
    return 15, 15, c.pixels()


def folder(c, x0, y0, x1, y1):
    """Yellow folder with a tab, seen from the front."""
    o = c.px
    tab = (x0 + (x1 - x0) * 0.45, y0 + (y1 - y0) * 0.2)
    c.poly([(x0, y0), (tab[0] - 1, y0), (tab[0], tab[1]), (x1, tab[1]), (x1, y1), (x0, y1)],
           (225, 175, 40), (120, 85, 10), o)
    c.poly([(x0, tab[1] + 2), (x1, tab[1] + 2), (x1, y1), (x0, y1)], (250, 210, 80), (120, 85, 10), o)


def notes_cd_to_disk():
    """18x103: a CD at the top, a long arrow down, a folder at the bottom."""
    w, h = 18, 103
    c = Canvas(w, h, ss=4)
    c.rect(0, 0, w, h, FACE)
    cd(c, 9, 9, 8.5, FACE)
    arrow_down(c, 9, 20, 86, 1.6, 5, 7)
    folder(c, 1, 88, 17, 102)
    return w, h, c.pixels()


def notes_series():
    """251x17: a small arrow, then the series name."""
    w, h = 251, 17
    c = Canvas(w, h, ss=4)
    c.rect(0, 0, w, h, FACE)
    c.poly([(1, 6.5), (7, 6.5), (7, 3), (13, 8.5), (7, 14), (7, 10.5), (1, 10.5)],
           RED, darker(RED, 0.45), c.px)
    text(c, "Zorvalia", 19, 2, 2, (0, 20, 60, 90))
    text(c, "Zorvalia", 18, 1, 2, (20, 50, 140))
    return w, h, c.pixels()


# The link hand: the tip of the pointing finger is the hot spot (0, 0).
HAND = [
    "####",
    "#..#",
    "#..#",
    "#..#",
    "#..#",
    "#..#",
    "#..####",
    "#..#..####",
    "#..#..#..####",
    "#..#..#..#..#",
    "#..#..#..#..#",
    "#..#..#..#..#",
    "#...........#",
    "#...........#",
    "#...........#",
    "#...........#",
    "#..........#",
    "#..........#",
    "##........#",
    " #........#",
    " ##########",
    " #........#",
    " ##########",
]


ICONS = [
    ("ordavin/res/app.ico", icon_app),
    ("ordavin/res/install.ico", icon_install),
    ("ordavin/res/book_open.ico", book),
    ("ordavin/res/no_entry.ico", lambda c: no_entry(c, 16, 16, 15)),
    ("ordavin/res/cd.ico", lambda c: cd(c, 16, 16, 15.5)),
    ("ordavin/res/cd_hint.ico", icon_cd_hint),
    ("ordavin/res/remove.ico", icon_remove),
    ("ordavin/res/book_start.ico", lambda c: book(c, (165, 45, 40), (245, 195, 40))),
    ("ordavin/res/network.ico", plug),
    ("ordavin/res/network_missing.ico", icon_network_missing),
    ("velmora/res/velmora.ico", icon_velmora),
]

BITMAPS = [
    ("ordavin/res/banner.bmp", banner),
    ("ordavin/res/state.bmp", state_images),
    ("ordavin/res/legend.bmp", legend),
    ("ordavin/res/notes_book.bmp", notes_book),
    ("ordavin/res/notes_cd_to_disk.bmp", notes_cd_to_disk),
    ("ordavin/res/notes_series.bmp", notes_series),
]


def main():
    for path, draw in ICONS:
        write_ico(path, render_icon(draw))
    for path, make in BITMAPS:
        w, h, pix = make()
        write_bmp(path, w, h, pix)
    write_cur("ordavin/res/link_hand.cur", HAND)


if __name__ == "__main__":
    main()

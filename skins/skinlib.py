"""A small anti-aliased raster for drawing the skins: shapes are signed distance functions, painted
with per-pixel coverage and blended source-over in straight alpha. Written for the standard
library only (zlib for the PNG files)."""

import math
import struct
import zlib


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(min(len(a), len(b))))


# --- signed distance functions (negative inside) ----------------------------------------------

def rounded_box(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def d(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        out = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return out + min(max(qx, qy), 0.0) - r
    return d, (x0 - 1, y0 - 1, x1 + 1, y1 + 1)


def circle(cx, cy, r):
    return (lambda x, y: math.hypot(x - cx, y - cy) - r), (cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1)


def ellipse(cx, cy, rx, ry):
    # An approximation that is exact enough for anti-aliasing edges.
    def d(x, y):
        nx, ny = (x - cx) / rx, (y - cy) / ry
        k = math.hypot(nx, ny)
        if k == 0:
            return -min(rx, ry)
        g = math.hypot(nx / rx, ny / ry)
        return (k - 1) * k / g
    return d, (cx - rx - 1, cy - ry - 1, cx + rx + 1, cy + ry + 1)


def segment(ax, ay, bx, by, w):
    def d(x, y):
        px, py, vx, vy = x - ax, y - ay, bx - ax, by - ay
        h = clamp((px * vx + py * vy) / (vx * vx + vy * vy or 1))
        return math.hypot(px - vx * h, py - vy * h) - w / 2
    return d, (min(ax, bx) - w - 1, min(ay, by) - w - 1, max(ax, bx) + w + 1, max(ay, by) + w + 1)


def polygon(points):
    n = len(points)

    def d(x, y):
        best = float("inf")
        sign = 1.0
        j = n - 1
        for i in range(n):
            xi, yi = points[i]
            xj, yj = points[j]
            ex, ey = xj - xi, yj - yi
            wx, wy = x - xi, y - yi
            h = clamp((wx * ex + wy * ey) / (ex * ex + ey * ey))
            best = min(best, (wx - ex * h) ** 2 + (wy - ey * h) ** 2)
            c1, c2, c3 = y >= yi, y < yj, ex * wy > ey * wx
            if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
                sign = -sign
            j = i
        return sign * math.sqrt(best)
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return d, (min(xs) - 1, min(ys) - 1, max(xs) + 1, max(ys) + 1)


def ring(shape, width):
    d, box = shape
    return (lambda x, y: abs(d(x, y)) - width / 2), tuple(
        v + s * width for v, s in zip(box, (-1, -1, 1, 1)))


def inset(shape, amount):
    d, box = shape
    return (lambda x, y: d(x, y) + amount), box


# --- the image --------------------------------------------------------------------------------

class Image:
    """Pixels of `scale` times the size in skin pixels: every shape, position and paint is given in
    skin pixels, so one drawing makes the image at 1x and at 2x (for displays scaled to 200 %)."""

    # The scale of new images; make_skins draws each skin once at every scale.
    default_scale = 1

    def __init__(self, width, height, colour=(0, 0, 0, 0), scale=None):
        self.scale = scale or Image.default_scale
        self.w, self.h = width * self.scale, height * self.scale
        r, g, b, a = colour if len(colour) == 4 else (*colour, 1.0)
        n = self.w * self.h
        self.r, self.g, self.b, self.a = [r] * n, [g] * n, [b] * n, [a] * n

    def blend(self, i, colour, cover):
        r, g, b = colour[0], colour[1], colour[2]
        sa = (colour[3] if len(colour) == 4 else 1.0) * cover
        if sa <= 0:
            return
        da = self.a[i]
        oa = sa + da * (1 - sa)
        if oa <= 0:
            return
        k = da * (1 - sa)
        self.r[i] = (r * sa + self.r[i] * k) / oa
        self.g[i] = (g * sa + self.g[i] * k) / oa
        self.b[i] = (b * sa + self.b[i] * k) / oa
        self.a[i] = oa

    def _box(self, box):
        x0, y0, x1, y1 = (v * self.scale for v in box)
        return (max(int(math.floor(x0)), 0), max(int(math.floor(y0)), 0),
                min(int(math.ceil(x1)) + 1, self.w), min(int(math.ceil(y1)) + 1, self.h))

    def fill(self, shape, paint, opacity=1.0):
        """Fills a shape; `paint` is a colour or a function (x, y) -> colour."""
        d, box = shape
        x0, y0, x1, y1 = self._box(box)
        fn = paint if callable(paint) else (lambda x, y: paint)
        s = self.scale
        for y in range(y0, y1):
            row = y * self.w
            sy = (y + 0.5) / s
            for x in range(x0, x1):
                sx = (x + 0.5) / s
                # The distance is in skin pixels; the edge is one pixel of this image wide.
                cover = clamp(0.5 - d(sx, sy) * s)
                if cover > 0:
                    self.blend(row + x, fn(sx, sy), cover * opacity)

    def glow(self, shape, colour, radius, strength=1.0):
        """A soft light around (and inside) a shape, fading over `radius` pixels."""
        d, box = shape
        x0, y0, x1, y1 = self._box((box[0] - radius * 3, box[1] - radius * 3,
                                    box[2] + radius * 3, box[3] + radius * 3))
        s = self.scale
        for y in range(y0, y1):
            row = y * self.w
            for x in range(x0, x1):
                dist = max(d((x + 0.5) / s, (y + 0.5) / s), 0.0)
                cover = strength * math.exp(-dist / radius)
                if cover > 0.004:
                    self.blend(row + x, colour, min(cover, 1.0))

    def draw(self, other, left, top):
        """Draws an image of the same scale with its corner at skin position (left, top)."""
        left, top = left * self.scale, top * self.scale
        for y in range(other.h):
            ty = top + y
            if not 0 <= ty < self.h:
                continue
            for x in range(other.w):
                tx = left + x
                if 0 <= tx < self.w:
                    j = y * other.w + x
                    self.blend(ty * self.w + tx, (other.r[j], other.g[j], other.b[j], other.a[j]), 1.0)

    def png(self, alpha=True):
        rows = bytearray()
        for y in range(self.h):
            rows.append(0)
            for i in range(y * self.w, (y + 1) * self.w):
                px = [int(round(clamp(c) * 255)) for c in (self.r[i], self.g[i], self.b[i])]
                if alpha:
                    px.append(int(round(clamp(self.a[i]) * 255)))
                rows.extend(px)
        return encode_png(self.w, self.h, bytes(rows), 6 if alpha else 2)


def encode_png(width, height, filtered_rows, colour_type):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    header = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(filtered_rows, 9)) + chunk(b"IEND", b""))


def encode_ico(pngs):
    """An icon file whose entries are PNG images (sizes up to 256), as Windows reads them."""
    out = struct.pack("<HHH", 0, 1, len(pngs))
    offset = 6 + 16 * len(pngs)
    body = b""
    for size, data in pngs:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset + len(body))
        body += data
    return out + body


def hex_colour(value, alpha=1.0):
    return ((value >> 16 & 255) / 255, (value >> 8 & 255) / 255, (value & 255) / 255, alpha)

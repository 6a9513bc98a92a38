#!/usr/bin/env python3
"""Draws Moondial's bitmaps: the two dials, the lips, the blank pointer and
the program icon.

All art is generated here from simple vector shapes so it can be rebuilt
byte for byte on any machine with a plain Python 3:

    python3 resources/draw_art.py                    # writes into resources/
    python3 resources/draw_art.py --preview /tmp/art # also PNG previews

Shapes are laid out in logical pixels and drawn once per display scale in
SCALES, so a 150% or 200% screen gets the same picture with more detail
rather than an enlargement: NAME.EXT at 1x, NAME@1.5x.EXT and NAME@2x.EXT.
"""

import argparse
import math
import os
import struct
import zlib

OUT_DIR = os.path.dirname(os.path.abspath(__file__))

BLACK = (0.0, 0.0, 0.0)
# The hands are drawn on a surface of exactly this grey, so the dial under
# them has to match it to the last bit.
DIAL_GREY = (192.0, 192.0, 192.0)


# --------------------------------------------------------------------------
# Small maths helpers

def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def scale(c, k):
    return tuple(x * k for x in c)


def add(a, b):
    return tuple(x + y for x, y in zip(a, b))


def smoothstep(e0, e1, x):
    t = clamp((x - e0) / (e1 - e0))
    return t * t * (3.0 - 2.0 * t)


def normalize(v):
    n = math.sqrt(sum(x * x for x in v))
    return tuple(x / n for x in v)


def dot(a, b):
    return sum(x * y for x, y in zip(a, b))


def gradient(stops, t):
    """Piecewise linear colour ramp; stops are (position, colour) pairs."""
    t = clamp(t, stops[0][0], stops[-1][0])
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / (p1 - p0) if p1 > p0 else 0.0)
    return stops[-1][1]


# --------------------------------------------------------------------------
# Shapes as signed distance fields (pixels, negative inside).  Every field
# is exact or an underestimate, which is what lets the rasteriser skip
# supersampling away from edges.

INF = float("inf")


class Shape:
    bbox = (-INF, -INF, INF, INF)

    def sdf(self, x, y):
        raise NotImplementedError

    def __or__(self, other):
        return Union(self, other)

    def __and__(self, other):
        return Intersection(self, other)

    def __sub__(self, other):
        return Difference(self, other)


class Circle(Shape):
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r = cx, cy, r
        self.bbox = (cx - r, cy - r, cx + r, cy + r)

    def sdf(self, x, y):
        return math.hypot(x - self.cx, y - self.cy) - self.r


class Ring(Shape):
    def __init__(self, cx, cy, r_in, r_out):
        self.cx, self.cy = cx, cy
        self.mid, self.half = (r_in + r_out) / 2.0, (r_out - r_in) / 2.0
        self.bbox = (cx - r_out, cy - r_out, cx + r_out, cy + r_out)

    def sdf(self, x, y):
        return abs(math.hypot(x - self.cx, y - self.cy) - self.mid) - self.half


class HalfPlane(Shape):
    """Everything on the side of the line through (px, py) that the normal
    (nx, ny) points to.  Unbounded: only useful intersected with a shape."""

    def __init__(self, px, py, nx, ny):
        n = math.hypot(nx, ny)
        self.px, self.py, self.nx, self.ny = px, py, nx / n, ny / n

    def sdf(self, x, y):
        return -((x - self.px) * self.nx + (y - self.py) * self.ny)


class Polygon(Shape):
    """Closed polygon, even-odd fill."""

    def __init__(self, points):
        self.pts = list(points)
        xs = [p[0] for p in self.pts]
        ys = [p[1] for p in self.pts]
        self.bbox = (min(xs), min(ys), max(xs), max(ys))

    def sdf(self, x, y):
        best = INF
        inside = False
        x1, y1 = self.pts[-1]
        for x2, y2 in self.pts:
            ex, ey = x2 - x1, y2 - y1
            wx, wy = x - x1, y - y1
            ll = ex * ex + ey * ey
            t = clamp((wx * ex + wy * ey) / ll) if ll else 0.0
            bx, by = wx - ex * t, wy - ey * t
            d = bx * bx + by * by
            if d < best:
                best = d
            if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * ex / ey:
                inside = not inside
            x1, y1 = x2, y2
        d = math.sqrt(best)
        return -d if inside else d


class Stroke(Shape):
    """Polylines drawn with a round pen of the given width."""

    def __init__(self, polylines, width):
        self.hw = width / 2.0
        self.segs = []
        for line in polylines:
            for (x1, y1), (x2, y2) in zip(line, line[1:]):
                self.segs.append((x1, y1, x2 - x1, y2 - y1))
            if len(line) == 1:
                self.segs.append((line[0][0], line[0][1], 0.0, 0.0))
        pts = [p for line in polylines for p in line]
        self.bbox = (min(p[0] for p in pts) - self.hw,
                     min(p[1] for p in pts) - self.hw,
                     max(p[0] for p in pts) + self.hw,
                     max(p[1] for p in pts) + self.hw)

    def sdf(self, x, y):
        best = INF
        for x1, y1, ex, ey in self.segs:
            wx, wy = x - x1, y - y1
            ll = ex * ex + ey * ey
            t = clamp((wx * ex + wy * ey) / ll) if ll else 0.0
            bx, by = wx - ex * t, wy - ey * t
            d = bx * bx + by * by
            if d < best:
                best = d
        return math.sqrt(best) - self.hw


class Offset(Shape):
    """Shape grown (d > 0) or shrunk (d < 0) by d pixels."""

    def __init__(self, shape, d):
        self.shape, self.d = shape, d
        b = shape.bbox
        self.bbox = (b[0] - d, b[1] - d, b[2] + d, b[3] + d)

    def sdf(self, x, y):
        return self.shape.sdf(x, y) - self.d


class Union(Shape):
    def __init__(self, *shapes):
        self.shapes = shapes
        bs = [s.bbox for s in shapes]
        self.bbox = (min(b[0] for b in bs), min(b[1] for b in bs),
                     max(b[2] for b in bs), max(b[3] for b in bs))

    def sdf(self, x, y):
        return min(s.sdf(x, y) for s in self.shapes)


class Intersection(Shape):
    def __init__(self, *shapes):
        self.shapes = shapes
        bs = [s.bbox for s in shapes]
        self.bbox = (max(b[0] for b in bs), max(b[1] for b in bs),
                     min(b[2] for b in bs), min(b[3] for b in bs))

    def sdf(self, x, y):
        return max(s.sdf(x, y) for s in self.shapes)


class Difference(Shape):
    def __init__(self, a, b):
        self.a, self.b = a, b
        self.bbox = a.bbox

    def sdf(self, x, y):
        return max(self.a.sdf(x, y), -self.b.sdf(x, y))


def arc(cx, cy, rx, ry, a0, a1, steps=None):
    """Points on an elliptic arc; angles in degrees, screen coordinates
    (0 = right, 90 = down), drawn from a0 to a1."""
    if steps is None:
        steps = max(4, int(abs(a1 - a0) / 10))
    return [(cx + rx * math.cos(math.radians(a0 + (a1 - a0) * i / steps)),
             cy + ry * math.sin(math.radians(a0 + (a1 - a0) * i / steps)))
            for i in range(steps + 1)]


def ellipse(cx, cy, rx, ry, tilt=0.0, steps=64):
    """Ellipse as a polygon; tilt in radians turns the rx axis."""
    ct, st = math.cos(tilt), math.sin(tilt)
    pts = []
    for i in range(steps):
        a = 2.0 * math.pi * i / steps
        ex, ey = rx * math.cos(a), ry * math.sin(a)
        pts.append((cx + ex * ct - ey * st, cy + ex * st + ey * ct))
    return Polygon(pts)


def bezier(p0, p1, p2, p3, steps=16):
    pts = []
    for i in range(steps + 1):
        t = i / steps
        u = 1.0 - t
        pts.append((u * u * u * p0[0] + 3 * u * u * t * p1[0]
                    + 3 * u * t * t * p2[0] + t * t * t * p3[0],
                    u * u * u * p0[1] + 3 * u * u * t * p1[1]
                    + 3 * u * t * t * p2[1] + t * t * t * p3[1]))
    return pts


# --------------------------------------------------------------------------
# Raster canvas: premultiplied RGBA floats, 4x4 supersampling on edges.

SS = 4
SUB = [(k + 0.5) / SS - 0.5 for k in range(SS)]
# Farthest sample from the pixel centre is 0.53 px away; beyond that the
# centre distance alone decides coverage.
EDGE = 0.6

# Display scales the art is drawn for, with the suffix of their file names.
SCALES = ((1.0, ""), (1.5, "@1.5x"), (2.0, "@2x"))


def device(n, s):
    """Device pixels of n logical ones at scale s; halves round to even,
    as the program rounds."""
    return int(round(n * s))


def coverage(shape, x, y, s=1.0):
    """Part of the device pixel centred on logical (x, y) inside shape, at
    s device pixels per logical one.  At s = 1 every step is exact, so the
    1x art keeps its bytes."""
    d = shape.sdf(x, y) * s
    if d >= EDGE:
        return 0.0
    if d <= -EDGE:
        return 1.0
    hits = 0
    for oy in SUB:
        for ox in SUB:
            if shape.sdf(x + ox / s, y + oy / s) < 0.0:
                hits += 1
    return hits / (SS * SS)


class Canvas:
    """w x h device pixels; shapes and paints work in logical pixels, s
    device pixels to each."""

    def __init__(self, w, h, bg=BLACK, alpha=1.0, s=1.0):
        self.w, self.h, self.s = w, h, s
        n = w * h
        self.px = [[bg[0] * alpha, bg[1] * alpha, bg[2] * alpha, alpha]
                   for _ in range(n)]

    def fill(self, shape, paint):
        """Composite shape over the canvas.  paint is an RGB tuple or a
        function (x, y) -> RGB evaluated at pixel centres."""
        s = self.s
        x0, y0, x1, y1 = shape.bbox
        i0 = max(0, int(math.floor(x0 * s - 1)))
        j0 = max(0, int(math.floor(y0 * s - 1)))
        i1 = min(self.w, int(math.ceil(x1 * s + 1)))
        j1 = min(self.h, int(math.ceil(y1 * s + 1)))
        flat = not callable(paint)
        for j in range(j0, j1):
            y = (j + 0.5) / s
            row = j * self.w
            for i in range(i0, i1):
                x = (i + 0.5) / s
                c = coverage(shape, x, y, s)
                if c <= 0.0:
                    continue
                col = paint if flat else paint(x, y)
                p = self.px[row + i]
                k = 1.0 - c
                # With full coverage this is an exact copy of the paint,
                # which keeps flat areas bit-exact.
                p[0] = col[0] * c + p[0] * k
                p[1] = col[1] * c + p[1] * k
                p[2] = col[2] * c + p[2] * k
                p[3] = c + p[3] * k

    def rgb(self):
        """Opaque 8-bit pixels, rows top to bottom."""
        return [tuple(int(round(clamp(v, 0.0, 255.0))) for v in p[:3])
                for p in self.px]

    def rgba(self):
        """8-bit RGBA with straight (not premultiplied) alpha."""
        out = []
        for r, g, b, a in self.px:
            if a <= 0.0:
                out.append((0, 0, 0, 0))
                continue
            out.append(tuple(int(round(clamp(v / a, 0.0, 255.0)))
                             for v in (r, g, b)) + (int(round(a * 255)),))
        return out


def scaled_box(box, s):
    """Inclusive device pixel box touched by what the inclusive 1x box
    covers, at scale s."""
    i0, j0, i1, j1 = box
    return (int(math.floor(i0 * s)), int(math.floor(j0 * s)),
            int(math.ceil((i1 + 1) * s)) - 1, int(math.ceil((j1 + 1) * s)) - 1)


def check_plain(pixels, w, box, colour=(192, 192, 192)):
    """Fails loudly if anything was drawn on the area reserved for hands."""
    i0, j0, i1, j1 = box
    for j in range(j0, j1 + 1):
        for i in range(i0, i1 + 1):
            if pixels[j * w + i] != colour:
                raise SystemExit("pixel %d,%d is %r, not plain dial grey"
                                 % (i, j, pixels[j * w + i]))


# --------------------------------------------------------------------------
# Numerals: a stroke font in a box one unit high.  Widths leave room for
# the pen, which is added by the renderer.

def _six():
    return [arc(0.28, 0.70, 0.27, 0.29, 0, 360, 36),
            bezier((0.47, 0.05), (0.24, -0.05), (0.01, 0.15), (0.01, 0.70))]


def _rot(lines, w=0.56):
    return [[(w - x, 1.0 - y) for x, y in line] for line in lines]


GLYPHS = {
    "0": (0.56, [arc(0.28, 0.5, 0.28, 0.5, 0, 360, 40)]),
    "1": (0.30, [[(0.02, 0.20), (0.26, 0.0), (0.26, 1.0)]]),
    "2": (0.56, [arc(0.28, 0.27, 0.26, 0.26, 165, 400, 24)
                 + [(0.01, 1.0), (0.56, 1.0)]]),
    "3": (0.56, [arc(0.27, 0.25, 0.24, 0.23, 195, 445, 24),
                 arc(0.27, 0.735, 0.285, 0.255, 275, 520, 24)]),
    "4": (0.56, [[(0.42, 1.0), (0.42, 0.0), (0.0, 0.68), (0.56, 0.68)]]),
    "5": (0.56, [[(0.51, 0.0), (0.09, 0.0), (0.05, 0.47)],
                 arc(0.27, 0.69, 0.28, 0.30, 222, 500, 28)]),
    "6": (0.56, _six()),
    "7": (0.56, [[(0.0, 0.0), (0.56, 0.0)],
                 bezier((0.56, 0.0), (0.36, 0.30), (0.22, 0.62), (0.19, 1.0), 10)]),
    "8": (0.56, [arc(0.28, 0.245, 0.22, 0.225, 0, 360, 32),
                 arc(0.28, 0.725, 0.27, 0.255, 0, 360, 36)]),
    "9": (0.56, _rot(_six())),
}


def numeral_shape(text, cx, cy, height, pen, gap=0.2):
    """Stroke shape for text centred on (cx, cy)."""
    width = sum(GLYPHS[ch][0] for ch in text) + gap * (len(text) - 1)
    x = -width / 2.0
    lines = []
    for ch in text:
        w, strokes = GLYPHS[ch]
        for line in strokes:
            lines.append([(cx + (x + px) * height, cy + (py - 0.5) * height)
                          for px, py in line])
        x += w + gap
    return Stroke(lines, pen)


def draw_numerals(canvas, cx, cy, radius, height, pen, colour):
    for hour in range(1, 13):
        a = math.radians(hour * 30)
        canvas.fill(numeral_shape(str(hour), cx + radius * math.sin(a),
                                  cy - radius * math.cos(a), height, pen),
                    colour)


def draw_ticks(canvas, cx, cy, r0, r1, pen, colour, skip_hours=True):
    for m in range(60):
        if skip_hours and m % 5 == 0:
            continue
        a = math.radians(m * 6)
        s, c = math.sin(a), -math.cos(a)
        canvas.fill(Stroke([[(cx + r0 * s, cy + r0 * c),
                             (cx + r1 * s, cy + r1 * c)]], pen), colour)


# --------------------------------------------------------------------------
# Lighting

VIEW = (0.0, 0.0, 1.0)


def torus_normal(x, y, cx, cy, r_in, r_out, bulge=0.92):
    """Normal of a ring with a rounded cross-section."""
    dx, dy = x - cx, y - cy
    r = math.hypot(dx, dy) or 1.0
    k = clamp((2.0 * (r - r_in) / (r_out - r_in) - 1.0) * bulge, -0.98, 0.98)
    return (k * dx / r, k * dy / r, math.sqrt(1.0 - k * k))


def sphere_normal(x, y, cx, cy, r):
    nx, ny = (x - cx) / r, (y - cy) / r
    q = nx * nx + ny * ny
    if q > 0.97:
        f = math.sqrt(0.97 / q)
        nx, ny, q = nx * f, ny * f, 0.97
    return (nx, ny, math.sqrt(1.0 - q))


def shade(n, albedo, light, ambient=0.25, diffuse=0.85, gloss=0.5, shine=30,
          shine_colour=(255.0, 255.0, 255.0)):
    """Diffuse light plus a glossy highlight."""
    d = max(0.0, dot(n, light))
    h = normalize(add(light, VIEW))
    s = max(0.0, dot(n, h)) ** shine * gloss
    return add(scale(albedo, ambient + diffuse * d), scale(shine_colour, s))


def chrome(n, tint=(1.0, 1.0, 1.0), light=None):
    """Polished metal: reflect a studio sky over a dark floor."""
    nz = n[2]
    ry = 2.0 * nz * n[1]
    rz = 2.0 * nz * nz - 1.0
    # Treat reflections pointing back at the viewer like the horizon.
    up = -ry + 0.25 * rz
    env = gradient([(-1.0, (70, 66, 62)), (-0.35, (118, 112, 106)),
                    (-0.05, (52, 50, 54)), (0.10, (150, 156, 170)),
                    (0.45, (214, 220, 232)), (1.0, (250, 252, 255))], up)
    col = (env[0] * tint[0], env[1] * tint[1], env[2] * tint[2])
    if light is not None:
        h = normalize(add(light, VIEW))
        s = max(0.0, dot(n, h)) ** 60 * 0.9
        col = add(col, (255 * s, 255 * s, 255 * s))
    return col


# --------------------------------------------------------------------------
# Wall clock dial, 143 x 143, 24-bit

CLOCK_SIZE = 143
# Pixels touched by the hand surface, which spans x 35.7..111.7 and
# y 35..112; inclusive bounds.
CLOCK_BOX = (35, 35, 111, 111)


def draw_clock(s=1.0):
    size = device(CLOCK_SIZE, s)
    c = Canvas(size, size, s=s)
    cx = cy = CLOCK_SIZE / 2.0           # middle of pixel (71, 71)
    r_out, r_in = 71.0, 62.5
    light = normalize((-0.45, -0.6, 0.66))
    blue = (40.0, 88.0, 210.0)

    c.fill(Circle(cx, cy, r_in + 0.5), DIAL_GREY)

    def rim(x, y):
        n = torus_normal(x, y, cx, cy, r_in, r_out)
        col = shade(n, blue, light, ambient=0.35, diffuse=0.8, gloss=0.55,
                    shine=24, shine_colour=(225.0, 235.0, 255.0))
        # Darken the lip where rim meets dial so the edge reads as a step.
        r = math.hypot(x - cx, y - cy)
        return scale(col, 0.55 + 0.45 * smoothstep(r_in, r_in + 1.6, r))

    c.fill(Ring(cx, cy, r_in, r_out), rim)

    # The numeral radius is the smallest that keeps 5 and 7 below the hand
    # surface; the ticks fit between the numerals and the rim.
    draw_ticks(c, cx, cy, 59.6, 61.6, 0.9, (70.0, 70.0, 78.0))
    draw_numerals(c, cx, cy, 54.0, 9.0, 1.45, BLACK)
    return c.rgb()


# --------------------------------------------------------------------------
# Alarm clock, 163 x 163, 8-bit

ALARM_SIZE = 163
# Hand surface spans x 45.7..112.7, y 60..123.
ALARM_BOX = (45, 60, 112, 122)


def draw_alarm(s=1.0):
    size = device(ALARM_SIZE, s)
    c = Canvas(size, size, s=s)
    cx, cy = 79.5, 91.5                  # about the middle of the hand surface
    r_case, r_dial = 62.0, 53.5
    light = normalize((-0.45, -0.65, 0.62))
    brass = (1.0, 0.80, 0.46)

    def steel_ball(bx, by, br, tint=(0.92, 0.94, 1.0)):
        return lambda x, y: chrome(sphere_normal(x, y, bx, by, br), tint, light)

    def rod(x0, y0, x1, y1, width, tint=(0.9, 0.92, 0.96)):
        """Cylinder between two points, shaded across its width."""
        ex, ey = x1 - x0, y1 - y0
        ll = math.hypot(ex, ey)
        px, py = -ey / ll, ex / ll

        def paint(x, y):
            k = clamp(((x - x0) * px + (y - y0) * py) / (width / 2.0), -0.97, 0.97)
            n = (k * px, k * py, math.sqrt(1.0 - k * k))
            return chrome(n, tint, light)
        c.fill(Stroke([[(x0, y0), (x1, y1)]], width), paint)

    # Feet, behind the case.
    for side in (-1, 1):
        fx, fy = cx + side * 38.0, 155.0
        rod(cx + side * 28.0, 140.0, fx, fy - 1.0, 6.0)
        c.fill(Circle(fx, fy, 5.5), steel_ball(fx, fy, 5.5))

    # Hammer: a rod rising from the case with a ball striker between bells.
    rod(cx, 34.0, cx, 17.0, 3.0)
    c.fill(Circle(cx, 14.5, 5.0), steel_ball(cx, 14.5, 5.0, brass))

    # Bells, tilted out, each on a short post.
    for side in (-1, 1):
        a = math.radians(side * 42.0)
        ax, ay = math.sin(a), -math.cos(a)
        bx, by = cx + 67.0 * ax, cy + 67.0 * ay
        rb = 21.0
        rod(cx + 56.0 * ax, cy + 56.0 * ay, bx, by, 4.0)
        dome = Circle(bx, by, rb) & HalfPlane(bx, by, ax, ay)
        c.fill(dome, lambda x, y, bx=bx, by=by:
               chrome(sphere_normal(x, y, bx, by, rb + 1.0), brass, light))
        # Mouth of the bell, seen a little from the front: a dark opening
        # with a bright rolled rim.
        tilt = math.atan2(ax, -ay)
        c.fill(ellipse(bx, by, rb + 0.6, 4.8, tilt), lambda x, y, by=by: mix(
            (250.0, 214.0, 140.0), (150.0, 104.0, 40.0),
            clamp(0.5 + (y - by) * 0.04)))
        c.fill(ellipse(bx - 0.9 * ax, by - 0.9 * ay, rb - 1.8, 2.8, tilt),
               (58.0, 40.0, 18.0))
        c.fill(Circle(bx + 2.0 * ax, by + 2.0 * ay, 2.6),
               steel_ball(bx + 2.0 * ax, by + 2.0 * ay, 2.6))

    # Case: a polished ring with a rounded profile.
    def case(x, y):
        n = torus_normal(x, y, cx, cy, r_dial, r_case, 0.95)
        col = chrome(n, (0.94, 0.96, 1.0), light)
        r = math.hypot(x - cx, y - cy)
        return scale(col, 0.45 + 0.55 * smoothstep(r_dial, r_dial + 1.8, r))

    c.fill(Circle(cx, cy, r_dial + 0.5), DIAL_GREY)
    c.fill(Ring(cx, cy, r_dial, r_case), case)

    # 10 is the tightest fit: this radius keeps it just left of the hand
    # surface while 12 and the ticks still clear the case.
    draw_ticks(c, cx, cy, 50.6, 52.2, 0.8, (70.0, 70.0, 78.0))
    draw_numerals(c, cx, cy, 45.5, 7.2, 1.25, BLACK)
    return c.rgb()


# --------------------------------------------------------------------------
# Lips, 222 x 136.  Shapes here are bands between curves that depend on x
# only, so the coverage test is a few comparisons per sample and shading is
# done once per region per pixel.

LIPS_W, LIPS_H = 222, 136
MOUTH_X, MOUTH_Y, MOUTH_HALF = 111.0, 68.0, 100.0

# Tooth edges, in pixels out from the middle; narrowing with the curve of
# the jaw.
TOOTH_EDGES = [0.0, 11.5, 20.5, 28.0, 34.5, 40.0, 45.0, 49.5, 53.5, 57.0,
               60.5, 64.0, 67.5, 71.0, 74.5, 78.0, 81.5, 85.0, 88.5, 92.0,
               95.5, 99.0, 102.5]
TOOTH_DROP = [0.0, -0.9, 0.0, -0.6, -0.8, -1.0, -1.2, -1.4, -1.6, -1.8, -2.0]


def tooth_at(dx):
    """(index, -1..1 across the tooth, pixels to the nearest gap)."""
    dx = abs(dx)
    for k in range(len(TOOTH_EDGES) - 1):
        e0, e1 = TOOTH_EDGES[k], TOOTH_EDGES[k + 1]
        if dx < e1:
            u = 2.0 * (dx - e0) / (e1 - e0) - 1.0
            edge = min(dx - e0, e1 - dx) if k else e1 - dx
            return k, u, edge
    return len(TOOTH_EDGES), 0.0, 0.0


def mouth_curves(x):
    """Upper lip top, upper lip bottom, lower lip top, lower lip bottom and
    the biting edge of the upper teeth at column x; None outside the mouth."""
    s = (x - MOUTH_X) / MOUTH_HALF
    a = abs(s)
    if a >= 1.0:
        return None
    y0 = MOUTH_Y
    q = 1.0 - a * a
    top = (y0 - 43.0 * (1.0 - a ** 1.7) ** 1.15
           + 6.5 * math.exp(-(a / 0.085) ** 2))          # cupid's bow
    mu = y0 - 8.5 * q ** 1.4 + 2.2 * math.exp(-(a / 0.11) ** 2)
    ml = y0 + 7.5 * q ** 1.4
    bot = y0 + 46.0 * (1.0 - a ** 2.3) ** 0.62
    k, u, _ = tooth_at(x - MOUTH_X)
    drop = TOOTH_DROP[k] if k < len(TOOTH_DROP) else -2.0
    if k == 2:                                           # pointed canine
        drop = -1.8 * abs(u) + 0.4
    else:
        drop -= 1.6 * u ** 4                             # rounded corners
    tb = y0 + 3.5 - 7.0 * a * a + drop
    return top, mu, ml, bot, tb


LIP_LIGHT = normalize((-0.25, -0.6, 0.78))
LIP_HALF = normalize(add(LIP_LIGHT, VIEW))


def lip_colour(x, t, upper):
    """Shade a lip as a rolled cylinder; t runs 0..1 from its top edge to
    its bottom edge, so the top faces up and the bottom turns away down."""
    s = (x - MOUTH_X) / MOUTH_HALF
    t = clamp(t)
    ny = (2.0 * t - 1.0) * 0.92
    # Fine vertical creases, strongest mid-lip.
    crease = (0.018 * math.sin(x * 1.3 + 2.0 * math.sin(x * 0.11))
              + 0.012 * math.sin(x * 2.1 + 1.7 * math.sin(x * 0.07 + 1.0))) \
        * math.sin(math.pi * t)
    nx = 0.55 * s * abs(s) + crease
    n = normalize((nx, ny, math.sqrt(max(0.05, 1.0 - ny * ny))))
    d = max(0.0, dot(n, LIP_LIGHT))
    sh = max(0.0, dot(n, LIP_HALF))
    if upper:
        albedo = (176.0, 18.0, 36.0)
        gloss = sh ** 45 * 0.40
    else:
        albedo = (200.0, 22.0, 42.0)
        gloss = sh ** 30 * 0.75
    corner = 1.0 - 0.45 * smoothstep(0.75, 1.0, abs(s))
    col = scale(albedo, (0.22 + 0.95 * d) * corner)
    return add(col, (255.0 * gloss, 225.0 * gloss, 225.0 * gloss))


def teeth_colour(x, y, mu, tb):
    dx = x - MOUTH_X
    a = abs(dx) / MOUTH_HALF
    _, u, edge = tooth_at(dx)
    base = (244.0, 240.0, 228.0)
    f = 0.90 + 0.10 * (1.0 - u * u)
    f *= 0.55 + 0.45 * smoothstep(0.0, 1.3, edge)         # gaps between teeth
    f *= 0.62 + 0.38 * smoothstep(0.0, 3.0, y - mu)       # shadow of the lip
    f *= 1.0 - 0.9 * smoothstep(0.10, 0.46, a)            # depth into the mouth
    col = scale(base, f)
    # Biting edges are a little translucent.
    return mix(col, scale((196.0, 200.0, 212.0), f), smoothstep(tb - 1.8, tb, y) * 0.5)


def mouth_colour(x):
    a = abs(x - MOUTH_X) / MOUTH_HALF
    return scale((52.0, 8.0, 14.0), 1.0 - 0.7 * a)


def draw_lips(s=1.0):
    w, h = device(LIPS_W, s), device(LIPS_H, s)
    sub_cols = [mouth_curves((i + (k + 0.5) / SS) / s)
                for i in range(w) for k in range(SS)]
    sub_rows = [(k + 0.5) / SS for k in range(SS)]
    pixels = []
    for j in range(h):
        for i in range(w):
            counts = [0, 0, 0, 0, 0]
            for k in range(SS):
                cv = sub_cols[i * SS + k]
                if cv is None:
                    counts[0] += SS
                    continue
                top, mu, ml, bot, tb = cv
                for oy in sub_rows:
                    y = (j + oy) / s
                    if y < top or y > bot:
                        counts[0] += 1
                    elif y < mu:
                        counts[1] += 1
                    elif y > ml:
                        counts[2] += 1
                    elif y < tb:
                        counts[3] += 1
                    else:
                        counts[4] += 1
            if counts[0] == SS * SS:
                pixels.append(BLACK)
                continue
            x, y = (i + 0.5) / s, (j + 0.5) / s
            cv = mouth_curves(clamp(x, MOUTH_X - MOUTH_HALF + 0.01,
                                    MOUTH_X + MOUTH_HALF - 0.01))
            top, mu, ml, bot, tb = cv
            col = (0.0, 0.0, 0.0)
            total = float(SS * SS)
            if counts[1]:
                col = add(col, scale(lip_colour(x, (y - top) / max(0.5, mu - top), True),
                                     counts[1] / total))
            if counts[2]:
                col = add(col, scale(lip_colour(x, (y - ml) / max(0.5, bot - ml), False),
                                     counts[2] / total))
            if counts[3]:
                col = add(col, scale(teeth_colour(x, y, mu, tb), counts[3] / total))
            if counts[4]:
                col = add(col, scale(mouth_colour(x), counts[4] / total))
            pixels.append(col)
    return pixels


def to_bytes(pixels):
    return [tuple(int(round(clamp(v, 0.0, 255.0))) for v in p) for p in pixels]


def half_size(pixels, w, h):
    out = []
    for j in range(h // 2):
        for i in range(w // 2):
            acc = [0.0, 0.0, 0.0]
            for dj in (0, 1):
                for di in (0, 1):
                    p = pixels[(2 * j + dj) * w + 2 * i + di]
                    acc = [acc[0] + p[0], acc[1] + p[1], acc[2] + p[2]]
            out.append(tuple(v / 4.0 for v in acc))
    return out


# --------------------------------------------------------------------------
# Icon: a crescent moon holding a small clock face.

def draw_icon(size):
    k = size / 32.0
    c = Canvas(size, size, alpha=0.0)
    gold_hi, gold_lo = (255.0, 226.0, 120.0), (226.0, 150.0, 30.0)
    # The face sits in the hollow of the crescent with a small gap, so the
    # moon's inner edge still reads as a curve around it.
    fx, fy, fr = 19.5 * k, 12.5 * k, 10.0 * k
    moon = Circle(12.0 * k, 19.5 * k, 12.0 * k) - Circle(fx, fy, fr + 1.6 * k)

    def moon_paint(x, y):
        t = clamp((x - y) / (40.0 * k) + 0.5)
        return mix(gold_hi, gold_lo, t)

    rim_w = max(1.6, 2.0 * k)
    # An amber edge keeps the moon visible on pale desktops.
    c.fill(moon, (176.0, 104.0, 22.0))
    c.fill(Offset(moon, -max(0.8, 0.9 * k)), moon_paint)
    # Keep a thin dark outline round the face so it separates from the moon
    # at small sizes.
    c.fill(Circle(fx, fy, fr + 0.8 * k), (24.0, 34.0, 70.0))
    c.fill(Circle(fx, fy, fr), (40.0, 84.0, 200.0))
    c.fill(Circle(fx, fy, fr - rim_w), lambda x, y: mix(
        (252.0, 252.0, 246.0), (214.0, 218.0, 228.0),
        clamp((y - fy) / fr * 0.5 + 0.5)))
    ink = (26.0, 30.0, 48.0)
    if size >= 24:
        for m in range(0, 12, 3):
            a = math.radians(m * 30)
            s, co = math.sin(a), -math.cos(a)
            r0, r1 = fr - rim_w - 2.2 * k, fr - rim_w - 0.9 * k
            c.fill(Stroke([[(fx + r0 * s, fy + r0 * co), (fx + r1 * s, fy + r1 * co)]],
                          1.2 * k), ink)
    pen = max(1.15, 1.5 * k)
    c.fill(Stroke([[(fx, fy), (fx - 3.6 * k, fy - 2.6 * k)]], pen), ink)
    c.fill(Stroke([[(fx, fy), (fx + 1.6 * k, fy - 6.2 * k)]], pen * 0.85), ink)
    return c.rgba()


# --------------------------------------------------------------------------
# Colour quantisation: median cut with fixed colours reserved up front.

def median_cut(hist, n):
    boxes = [sorted(hist.items())]
    while len(boxes) < n:
        best, best_i, best_axis = -1, -1, 0
        for bi, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for axis in range(3):
                lo = min(c[axis] for c, _ in box)
                hi = max(c[axis] for c, _ in box)
                pop = sum(cnt for _, cnt in box)
                score = (hi - lo) * math.sqrt(pop)
                if score > best:
                    best, best_i, best_axis = score, bi, axis
        if best_i < 0 or best <= 0:
            break
        box = sorted(boxes[best_i], key=lambda e: (e[0][best_axis], e[0]))
        half = sum(cnt for _, cnt in box) / 2.0
        acc, cut = 0, 1
        for idx, (_, cnt) in enumerate(box):
            acc += cnt
            if acc >= half:
                cut = min(max(idx + 1, 1), len(box) - 1)
                break
        boxes[best_i:best_i + 1] = [box[:cut], box[cut:]]
    pal = []
    for box in boxes:
        tot = sum(cnt for _, cnt in box)
        pal.append(tuple(int(round(sum(c[a] * cnt for c, cnt in box) / tot))
                         for a in range(3)))
    return pal


def quantise(pixels, reserved):
    hist = {}
    for p in pixels:
        if p not in reserved:
            hist[p] = hist.get(p, 0) + 1
    palette = list(reserved) + median_cut(hist, 256 - len(reserved))
    palette += [(0, 0, 0)] * (256 - len(palette))
    lookup = {}
    for i, col in enumerate(palette[:len(reserved)]):
        lookup[col] = i
    indices = []
    for p in pixels:
        idx = lookup.get(p)
        if idx is None:
            idx = min(range(len(palette)), key=lambda i: (
                (palette[i][0] - p[0]) ** 2 * 3 + (palette[i][1] - p[1]) ** 2 * 4
                + (palette[i][2] - p[2]) ** 2 * 2, i))
            lookup[p] = idx
        indices.append(idx)
    return palette, indices


# --------------------------------------------------------------------------
# File writers

def png_chunk(tag, body):
    return (struct.pack(">I", len(body)) + tag + body
            + struct.pack(">I", zlib.crc32(tag + body) & 0xFFFFFFFF))


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else b if pb <= pc else c


def png_filter(rows, bpp):
    """Each row behind the filter that leaves it smallest (the sum of its
    bytes taken as signed), as libpng chooses."""
    out = bytearray()
    prior = bytes(len(rows[0]))
    for row in rows:
        left = bytes(bpp) + row[:-bpp]
        upper_left = bytes(bpp) + prior[:-bpp]
        candidates = [
            row,
            bytes((x - a) & 255 for x, a in zip(row, left)),
            bytes((x - b) & 255 for x, b in zip(row, prior)),
            bytes((x - (a + b) // 2) & 255 for x, a, b in zip(row, left, prior)),
            bytes((x - paeth(a, b, c)) & 255
                  for x, a, b, c in zip(row, left, prior, upper_left)),
        ]
        kind = min(range(5), key=lambda k: sum(v if v < 128 else 256 - v
                                               for v in candidates[k]))
        out += bytes((kind,)) + candidates[kind]
        prior = row
    return bytes(out)


def png_file(ihdr, extra, raw):
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr) + extra
            + png_chunk(b"IDAT", zlib.compress(raw, 9)) + png_chunk(b"IEND", b""))


def write_png24(path, pixels, w, h):
    """The art as the program keeps it: RGB, no colour space or gamma, so
    every decoder gives back exactly these pixels."""
    rows = [b"".join(bytes(p) for p in pixels[j * w:(j + 1) * w]) for j in range(h)]
    ihdr = struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(png_file(ihdr, b"", png_filter(rows, 3)))


def write_png8(path, palette, indices, w, h):
    plte = png_chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    raw = b"".join(b"\0" + bytes(indices[j * w:(j + 1) * w]) for j in range(h))
    ihdr = struct.pack(">IIBBBBB", w, h, 8, 3, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(png_file(ihdr, plte, raw))


def read_png(data):
    """(width, height, colour type, pixel at (i, j) as RGB) of a PNG that
    write_png24 or write_png8 wrote."""
    w, h, depth, kind = struct.unpack_from(">IIBB", data, 16)
    at, idat, palette = 8, b"", None
    while at < len(data):
        size, = struct.unpack_from(">I", data, at)
        tag, body = data[at + 4:at + 8], data[at + 8:at + 8 + size]
        if tag == b"PLTE":
            palette = [tuple(body[k:k + 3]) for k in range(0, len(body), 3)]
        elif tag == b"IDAT":
            idat += body
        at += 12 + size
    if depth != 8 or kind not in (2, 3):
        raise ValueError("not an 8-bit RGB or palette PNG")
    bpp = 3 if kind == 2 else 1
    raw, stride, rows = zlib.decompress(idat), w * bpp, []
    prior = bytes(stride)
    for j in range(h):
        kind_of_row = raw[j * (stride + 1)]
        line = bytearray(raw[j * (stride + 1) + 1:(j + 1) * (stride + 1)])
        for x in range(stride):
            a = line[x - bpp] if x >= bpp else 0
            b = prior[x]
            c = prior[x - bpp] if x >= bpp else 0
            line[x] = (line[x] + (0, a, b, (a + b) // 2, paeth(a, b, c))[kind_of_row]) & 255
        rows.append(bytes(line))
        prior = line

    def pixel(i, j):
        if bpp == 3:
            return tuple(rows[j][3 * i:3 * i + 3])
        return palette[rows[j][i]]
    return w, h, kind, pixel


def lzw_encode(indices, min_size=8):
    clear, end = 1 << min_size, (1 << min_size) + 1
    out = bytearray()
    acc = nbits = 0

    def emit(code, size):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    table, size, next_code = {}, min_size + 1, end + 1
    emit(clear, size)
    prefix = indices[0]
    for k in indices[1:]:
        key = (prefix, k)
        if key in table:
            prefix = table[key]
            continue
        emit(prefix, size)
        if next_code < 4096:
            table[key] = next_code
            next_code += 1
            # The decoder lags one code behind, so widen once it will have
            # filled the current code space.
            if next_code > (1 << size) and size < 12:
                size += 1
        else:
            emit(clear, size)
            table, size, next_code = {}, min_size + 1, end + 1
        prefix = k
    emit(prefix, size)
    emit(end, size)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def write_gif(path, palette, indices, w, h):
    data = lzw_encode(indices)
    blocks = b"".join(bytes((len(data[i:i + 255]),)) + data[i:i + 255]
                      for i in range(0, len(data), 255))
    with open(path, "wb") as f:
        f.write(b"GIF89a" + struct.pack("<HHBBB", w, h, 0xF7, 0, 0))
        f.write(b"".join(bytes(c) for c in palette))
        f.write(b"\x2c" + struct.pack("<HHHHB", 0, 0, w, h, 0))
        f.write(b"\x08" + blocks + b"\x00\x3b")


def ico_image(rgba, w, h):
    """BMP-encoded icon entry: BGRA rows bottom-up, then the AND mask."""
    xor = bytearray()
    mask = bytearray()
    mstride = ((w + 31) // 32) * 4
    for j in range(h - 1, -1, -1):
        bits = bytearray(mstride)
        for i in range(w):
            r, g, b, a = rgba[j * w + i]
            xor += bytes((b, g, r, a))
            if a < 128:
                bits[i >> 3] |= 0x80 >> (i & 7)
        mask += bits
    hdr = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0,
                      len(xor) + len(mask), 0, 0, 0, 0)
    return hdr + bytes(xor) + bytes(mask)


def write_ico(path, images):
    blobs = [ico_image(rgba, w, h) for w, h, rgba in images]
    offset = 6 + 16 * len(images)
    out = struct.pack("<HHH", 0, 1, len(images))
    for (w, h, _), blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32,
                           len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(blobs))


def write_blank_cursor(path, size=16):
    """A cursor that draws nothing: AND mask all ones, XOR mask all zeros."""
    stride = 4
    xor = b"\0" * (stride * size)
    mask = b"\xff" * (stride * size)
    hdr = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0,
                      len(xor) + len(mask), 0, 0, 2, 0)
    blob = hdr + b"\0\0\0\0" + b"\xff\xff\xff\0" + xor + mask
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 2, 1))
        f.write(struct.pack("<BBBBHHII", size, size, 2, 0, 0, 0, len(blob), 22))
        f.write(blob)


def write_png(path, pixels, w, h, zoom=1):
    """Preview writer; pixels are RGB or RGBA tuples."""
    chans = len(pixels[0])
    raw = bytearray()
    for j in range(h):
        row = bytearray()
        for p in pixels[j * w:(j + 1) * w]:
            row += bytes(p) * zoom
        for _ in range(zoom):
            raw += b"\0" + row
    ihdr = struct.pack(">IIBBBBB", w * zoom, h * zoom, 8, 6 if chans == 4 else 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(png_file(ihdr, b"", bytes(raw)))


# --------------------------------------------------------------------------

def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--preview", metavar="DIR",
                    help="also write PNG previews (1:1, and 4x for 1x) into DIR")
    args = ap.parse_args()

    previews = []

    def out(name, suffix, ext):
        return os.path.join(OUT_DIR, name + suffix + "." + ext)

    for s, suffix in SCALES:
        size = device(CLOCK_SIZE, s)
        clock = draw_clock(s)
        check_plain(clock, size, scaled_box(CLOCK_BOX, s))
        write_png24(out("clock", suffix, "png"), clock, size, size)
        previews.append(("clock" + suffix, clock, size, size))

        size = device(ALARM_SIZE, s)
        alarm = draw_alarm(s)
        palette, indices = quantise(alarm, [(0, 0, 0), (192, 192, 192)])
        alarm = [palette[i] for i in indices]
        check_plain(alarm, size, scaled_box(ALARM_BOX, s))
        write_png8(out("alarmclock", suffix, "png"), palette, indices, size, size)
        previews.append(("alarmclock" + suffix, alarm, size, size))

        w, h = device(LIPS_W, s), device(LIPS_H, s)
        lips_f = draw_lips(s)
        lips = to_bytes(lips_f)
        write_png24(out("lips", suffix, "png"), lips, w, h)
        previews.append(("lips" + suffix, lips, w, h))

        # The small lips are the big ones averaged 2 x 2; where the big
        # picture has an odd size its last column or row is left out.
        sw, sh = device(LIPS_W // 2, s), device(LIPS_H // 2, s)
        assert (sw, sh) == (w // 2, h // 2)
        small = to_bytes(half_size(lips_f, w, h))
        palette, indices = quantise(small, [(0, 0, 0)])
        write_gif(out("lips_small", suffix, "gif"), palette, indices, sw, sh)
        previews.append(("lips_small" + suffix, [palette[i] for i in indices], sw, sh))

    write_blank_cursor(os.path.join(OUT_DIR, "pointer.cur"))

    # 64 is the large icon at 200%; 40 the large one at 125% and the small
    # one at 250%.
    icons = [(n, n, draw_icon(n)) for n in (32, 16, 64, 40)]
    write_ico(os.path.join(OUT_DIR, "moondial.ico"), icons)
    for w, h, rgba in icons:
        previews.append(("icon%d" % w, rgba, w, h))

    if args.preview:
        write_previews(args.preview, previews)


def write_previews(folder, previews):
    """1:1 PNGs of every picture, and 4x enlargements of the 1x ones to
    see their pixels."""
    os.makedirs(folder, exist_ok=True)
    for name, pixels, w, h in previews:
        write_png(os.path.join(folder, name + ".png"), pixels, w, h)
        if "@" not in name:
            write_png(os.path.join(folder, name + "_x4.png"), pixels, w, h, 4)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Draws the pictures of Moondial's setup dialog and About box: the name
banners, the button faces, the globe icon, the maker's logo and the program
icon as PNGs for Linux desktops.

Built on the shapes, canvas and writers of draw_art.py, so it needs nothing
but a plain Python 3 and gives the same bytes on every run:

    python3 resources/draw_dialog_art.py                    # into resources/
    python3 resources/draw_dialog_art.py --preview /tmp/art # also PNG previews

Like draw_art.py it draws each picture at every scale in SCALES.
"""

import argparse
import copy
import math
import os
import struct
import sys

# Import the sibling draw_art.py without leaving a bytecode cache beside it.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from draw_art import (  # noqa: E402
    BLACK, INF, OUT_DIR, SCALES, Canvas, Circle, Difference, Offset, Polygon,
    Shape, Stroke, add, clamp, device, dot, draw_icon, ellipse, mix, normalize,
    scale, shade, smoothstep, sphere_normal, torus_normal, write_png24,
    write_png, write_previews)


# --------------------------------------------------------------------------
# Extra shapes

class Rect(Shape):
    def __init__(self, x0, y0, x1, y1):
        self.bbox = (x0, y0, x1, y1)
        self.cx, self.cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
        self.hx, self.hy = (x1 - x0) / 2.0, (y1 - y0) / 2.0

    def sdf(self, x, y):
        qx = abs(x - self.cx) - self.hx
        qy = abs(y - self.cy) - self.hy
        out = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return out + min(max(qx, qy), 0.0)


class RoundRect(Rect):
    def __init__(self, x0, y0, x1, y1, r):
        Rect.__init__(self, x0, y0, x1, y1)
        self.r = r

    def sdf(self, x, y):
        qx = abs(x - self.cx) - self.hx + self.r
        qy = abs(y - self.cy) - self.hy + self.r
        out = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return out + min(max(qx, qy), 0.0) - self.r


def bbox_gap(b, x, y):
    """Distance from a point to a box: a lower bound for any shape in it."""
    dx = max(b[0] - x, 0.0, x - b[2])
    dy = max(b[1] - y, 0.0, y - b[3])
    return math.hypot(dx, dy)


class Group(Shape):
    """Union that skips parts whose box is farther than the best distance
    so far; letters are made of many pieces and this keeps them fast."""

    def __init__(self, shapes):
        self.shapes = list(shapes)
        bs = [s.bbox for s in self.shapes]
        self.bbox = (min(b[0] for b in bs), min(b[1] for b in bs),
                     max(b[2] for b in bs), max(b[3] for b in bs))

    def sdf(self, x, y):
        gaps = sorted((bbox_gap(s.bbox, x, y), i)
                      for i, s in enumerate(self.shapes))
        best = INF
        for gap, i in gaps:
            if gap >= best:
                break
            d = self.shapes[i].sdf(x, y)
            if d < best:
                best = d
        return best


class Clip(Shape):
    """Intersection whose box is the clip box, for pieces cut to size."""

    def __init__(self, shape, box):
        self.shape, self.box = shape, Rect(*box)
        self.bbox = box

    def sdf(self, x, y):
        return max(self.shape.sdf(x, y), self.box.sdf(x, y))


def slant(xt, xb, yt, yb, hw):
    """Diagonal stem with level ends: hw is half its horizontal width."""
    return Polygon([(xt - hw, yt), (xt + hw, yt), (xb + hw, yb), (xb - hw, yb)])


def bar(x0, y0, x1, y1, width):
    """Straight stroke with square ends."""
    ex, ey = x1 - x0, y1 - y0
    ll = math.hypot(ex, ey)
    px, py = -ey / ll * width / 2.0, ex / ll * width / 2.0
    return Polygon([(x0 + px, y0 + py), (x1 + px, y1 + py),
                    (x1 - px, y1 - py), (x0 - px, y0 - py)])


def bowl(x0, y0, x1, y1, w, t):
    """Elliptic ring filling a box; w thick at the sides, t at top and
    bottom, the way a drawn o is thinner where the pen runs flat."""
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    rx, ry = (x1 - x0) / 2.0, (y1 - y0) / 2.0
    steps = 96 if rx > 12 else 48
    return Difference(ellipse(cx, cy, rx, ry, steps=steps),
                      ellipse(cx, cy, rx - w, ry - t, steps=steps))


# --------------------------------------------------------------------------
# Letters: a geometric sans built from stems, bowls and diagonals, placed
# in pixels so small sizes can keep their stems on whole pixels.

class Face:
    def __init__(self, cap, xh, stem, thin, wide=1.0, track=0.0, snap=True,
                 round_dot=False):
        self.cap, self.xh, self.w, self.t = cap, xh, stem, thin
        self.wide, self.track, self.snap = wide, track, snap
        self.round_dot = round_dot
        # Round letters dip a little past the lines so they look as tall
        # as the flat ones.
        self.over = 0.0 if snap else cap * 0.012
        # Device pixels per logical pixel: snapping is to whole device
        # pixels.
        self.grid = 1.0

    def at(self, s):
        """This face drawn at s device pixels per logical one.  Metrics
        that are whole pixels at 1x stay whole device pixels, so the stems
        of a snapped face stay sharp at any scale; halves round up, as a
        lighter stem shows more than a heavier one."""
        f = copy.copy(self)
        f.grid = s
        if self.snap:
            for name in ("cap", "xh", "w", "t"):
                v = getattr(self, name)
                if v == int(v):
                    setattr(f, name, math.floor(v * s + 0.5) / s)
        return f

    def round(self, v):
        return float(round(v * self.grid)) / self.grid

    def floor(self, v):
        return math.floor(v * self.grid) / self.grid

    def size(self, k):
        v = k * self.wide
        return self.round(v) if self.snap else v


# Side kinds set the spacing: round and diagonal sides sit closer.
SIDE = {"s": 1.0, "r": 0.55, "d": 0.25}


def glyph(ch, x, base, f):
    """Shapes of one letter with its left edge at x; returns (parts, body
    width, left side kind, right side kind)."""
    C, X, w, t, o = f.cap, f.xh, f.w, f.t, f.over
    top, xt = base - C, base - X
    parts = []

    def stem(x0, y0, y1=base):
        parts.append(Rect(x0, y0, x0 + w, y1))

    def ring(x0, x1, y0, y1):
        parts.append(bowl(x0, y0 - o, x1, y1 + o, w, t))

    def half_ring(x0, x1, y0, y1, upper):
        cy = (y0 + y1) / 2.0
        ring_shape = bowl(x0, y0 - o, x1, y1 + o, w, t)
        # Run half a pixel past the middle so the stem below overlaps it.
        box = (x0, y0 - o, x1, cy + 0.5) if upper else (x0, cy - 0.5, x1, y1 + o)
        parts.append(Clip(ring_shape, box))

    def tittle(cx):
        gap = max(f.round(1.0), f.round((C - X) * 0.2)) if f.snap else (C - X) * 0.22
        y1 = xt - gap
        if f.round_dot:
            r = w * 0.6
            y0 = max(top, y1 - 2 * r)
            parts.append(Circle(cx, (y0 + y1) / 2.0, (y1 - y0) / 2.0))
        else:
            parts.append(Rect(cx - w / 2.0, y1 - w, cx + w / 2.0, y1))

    if ch == "M":
        W = f.size(C * 0.92)
        d = w * 1.05
        mid = x + W / 2.0
        stem(x, top)
        stem(x + W - w, top)
        parts.append(slant(x + d / 2.0, mid, top, base, d / 2.0))
        parts.append(slant(x + W - d / 2.0, mid, top, base, d / 2.0))
        return parts, W, "s", "s"
    if ch == "A":
        W = f.size(C * 0.86)
        d = w * 1.15
        mid = x + W / 2.0
        parts.append(slant(mid, x + d / 2.0, top, base, d / 2.0))
        parts.append(slant(mid, x + W - d / 2.0, top, base, d / 2.0))
        yb = base - (f.round(C * 0.3) if f.snap else C * 0.3)
        hull = Polygon([(mid - d / 2.0, top), (mid + d / 2.0, top),
                        (x + W, base), (x, base)])
        parts.append(Clip(hull, (x, yb - t, x + W, yb)))
        return parts, W, "d", "d"
    if ch == "E":
        W = f.size(C * 0.56)
        stem(x, top)
        mid = base - C / 2.0
        if f.snap:
            mid = f.floor(mid + t / 2.0) - t / 2.0
        parts += [Rect(x, top, x + W, top + t),
                  Rect(x, mid - t / 2.0, x + W * 0.9, mid + t / 2.0),
                  Rect(x, base - t, x + W, base)]
        return parts, W, "s", "s"
    if ch == "I":
        stem(x, top)
        return parts, w, "s", "s"
    if ch == "L":
        W = f.size(C * 0.54)
        stem(x, top)
        parts.append(Rect(x, base - t, x + W, base))
        return parts, W, "s", "s"
    if ch == "N":
        W = f.size(C * 0.78)
        d = w * 1.1
        stem(x, top)
        stem(x + W - w, top)
        parts.append(slant(x + d / 2.0, x + W - d / 2.0, top, base, d / 2.0))
        return parts, W, "s", "s"
    if ch == "K":
        W = f.size(C * 0.70)
        d = w * 1.1
        stem(x, top)
        join = base - C * 0.40
        arm = slant(x + W - d / 2.0, x + w * 0.5, top, join + C * 0.06, d / 2.0)
        parts.append(Clip(arm, (x, top, x + W, base)))
        leg_x = x + w + (W - w) * 0.22
        parts.append(Clip(slant(leg_x, x + W - d / 2.0, base - C * 0.56, base,
                                d / 2.0), (x, top, x + W, base)))
        return parts, W, "s", "d"
    if ch in "OQ":
        W = f.size(C * 1.0)
        ring(x, x + W, top, base)
        if ch == "Q":
            parts.append(bar(x + W * 0.56, base - C * 0.26, x + W * 0.98,
                             base + C * 0.06, w * 0.95))
        return parts, W, "r", "r"
    if ch == "U":
        W = f.size(C * 0.76)
        cy = base - W / 2.0
        stem(x, top, cy)
        stem(x + W - w, top, cy)
        half_ring(x, x + W, base - W, base, False)
        return parts, W, "s", "s"
    if ch == "o":
        W = f.size(X * 1.1)
        ring(x, x + W, xt, base)
        return parts, W, "r", "r"
    if ch in "abd":
        W = f.size(X * 1.1)
        ring(x, x + W, xt, base)
        if ch == "b":
            stem(x, top)
            return parts, W, "s", "r"
        stem(x + W - w, top if ch == "d" else xt - o)
        return parts, W, "r", "s"
    if ch in "nu":
        W = f.size(X * 0.98)
        if ch == "n":
            stem(x, xt)
            stem(x + W - w, xt + W / 2.0)
            half_ring(x, x + W, xt, xt + W, True)
        else:
            stem(x + W - w, xt)
            stem(x, xt, base - W / 2.0)
            half_ring(x, x + W, base - W, base, False)
        return parts, W, "s", "s"
    if ch == "i":
        stem(x, xt)
        tittle(x + w / 2.0)
        return parts, w, "s", "s"
    if ch == "l":
        stem(x, top)
        return parts, w, "s", "s"
    if ch == "t":
        arm = f.size(X * 0.22)
        W = w + 2 * arm
        rise = (C - X) * 0.55
        stem(x + arm, base - X - (f.round(rise) if f.snap else rise))
        parts.append(Rect(x, xt, x + W, xt + t))
        return parts, W, "d", "d"
    if ch == "x":
        W = f.size(X * 0.92)
        d = w * 1.15
        parts.append(slant(x + d / 2.0, x + W - d / 2.0, xt, base, d / 2.0))
        parts.append(slant(x + W - d / 2.0, x + d / 2.0, xt, base, d / 2.0))
        return parts, W, "d", "d"
    raise KeyError(ch)


def layout(text, f, base):
    """Letters of text from x = 0: list of (parts, left, right), and the
    total width from the first ink to the last."""
    letters = []
    x = 0.0
    prev = None
    for ch in text:
        # Measure once to learn the side kinds, then place for real.
        _, _, left, right = glyph(ch, 0.0, base, f)
        if prev is not None:
            x += f.track * (SIDE[prev] + SIDE[left]) / 2.0
            if f.snap:
                x = f.round(x)
        parts, W, _, _ = glyph(ch, x, base, f)
        letters.append((parts, x, x + W))
        x += W
        prev = right
    return letters, x


def place(text, f, base, cx):
    """Shapes for text centred on column cx, one Group per letter."""
    if f.snap:
        base = f.round(base)
    letters, width = layout(text, f, base)
    dx = cx - width / 2.0
    if f.snap:
        dx = f.round(dx)
    return [Group(Moved(p, dx) for p in parts) for parts, _, _ in letters], width


class Moved(Shape):
    def __init__(self, shape, dx, dy=0.0):
        self.shape, self.dx, self.dy = shape, dx, dy
        b = shape.bbox
        self.bbox = (b[0] + dx, b[1] + dy, b[2] + dx, b[3] + dy)

    def sdf(self, x, y):
        return self.shape.sdf(x - self.dx, y - self.dy)


# --------------------------------------------------------------------------
# Small print: a hand-made pixel font, 7 rows to the cap line and 2 below
# the baseline for descenders.

PIXEL_FONT = {
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    "Q": ["01110", "10001", "10001", "10001", "10101", "10010", "01101"],
    "0": ["01110", "10001", "10011", "10101", "11001", "10001", "01110"],
    "2": ["01110", "10001", "00001", "00110", "01000", "10000", "11111"],
    "6": ["00110", "01000", "10000", "11110", "10001", "10001", "01110"],
    "a": ["", "", "01110", "00001", "01111", "10001", "01111"],
    "d": ["00001", "00001", "01101", "10011", "10001", "10001", "01111"],
    "e": ["", "", "01110", "10001", "11111", "10000", "01110"],
    "g": ["", "", "01111", "10001", "10001", "10011", "01101", "00001", "01110"],
    "h": ["10000", "10000", "10110", "11001", "10001", "10001", "10001"],
    "i": ["1", "", "1", "1", "1", "1", "1"],
    "l": ["10", "10", "10", "10", "10", "10", "01"],
    "n": ["", "", "10110", "11001", "10001", "10001", "10001"],
    "o": ["", "", "01110", "10001", "10001", "10001", "01110"],
    "p": ["", "", "11110", "10001", "10001", "10001", "11110", "10000", "10000"],
    "r": ["", "", "1011", "1100", "1000", "1000", "1000"],
    "s": ["", "", "01111", "10000", "01110", "00001", "11110"],
    "t": ["010", "010", "111", "010", "010", "010", "001"],
    "u": ["", "", "10001", "10001", "10001", "10011", "01101"],
    "v": ["", "", "10001", "10001", "10001", "01010", "00100"],
    "y": ["", "", "10001", "10001", "10001", "10011", "01101", "00001", "01110"],
    "(": ["001", "010", "100", "100", "100", "010", "001"],
    ")": ["100", "010", "001", "001", "001", "010", "100"],
    ".": ["", "", "", "", "", "", "1"],
    " ": ["000"],
}


def pixel_text_width(text):
    widths = [max(len(r) for r in PIXEL_FONT[ch]) for ch in text]
    return sum(widths) + len(text) - 1


def draw_pixel_text(pixels, w, text, x, top, colour):
    for ch in text:
        rows = PIXEL_FONT[ch]
        cw = max(len(r) for r in rows)
        for j, row in enumerate(rows):
            for i, bit in enumerate(row):
                if bit == "1":
                    pixels[(top + j) * w + x + i] = colour
        x += cw + 1


def pixel_text_shapes(text, x, top):
    """The pixel font as outlines for larger scales, one Group per letter:
    each cell a logical pixel square, and each step where two cells touch
    only at a corner bridged by a bar, so a diagonal becomes a smooth line
    instead of a staircase of bigger squares."""
    shapes = []
    for ch in text:
        rows = PIXEL_FONT[ch]
        cw = max(len(r) for r in rows)

        def on(i, j):
            return 0 <= j < len(rows) and 0 <= i < len(rows[j]) and rows[j][i] == "1"

        parts = []
        for j, row in enumerate(rows):
            for i, bit in enumerate(row):
                if bit != "1":
                    continue
                parts.append(Rect(x + i, top + j, x + i + 1, top + j + 1))
                for di in (-1, 1):
                    if on(i + di, j + 1) and not on(i + di, j) and not on(i, j + 1):
                        parts.append(bar(x + i + 0.5, top + j + 0.5,
                                         x + i + di + 0.5, top + j + 1.5, 1.0))
        if parts:
            shapes.append(Group(parts))
        x += cw + 1
    return shapes


# --------------------------------------------------------------------------
# Embossed name: grey metal letters raised off the black, lit from the top
# left, so each letter shows a bright bevel up and left and a dark one down
# and right around a flat mid-grey face.

EMBOSS_LIGHT = normalize((-1.0, -1.1, 1.0))


class Relief:
    """True distance to the outline of a letter made of overlapping pieces.

    The pieces' own fields only give the depth inside whichever piece is
    deepest, which leaves creases where they join; so the outline is found
    as the zero crossings of the field on a fine grid near the edge, and
    depth is measured to the nearest of those points, n to a logical
    pixel: four to each device pixel keeps the outline as fine at every
    scale."""

    def __init__(self, shape, reach, n=4):
        self.shape, self.reach = shape, reach
        x0, y0, x1, y1 = shape.bbox
        s = 1.0 / n
        cache = {}

        def field(i, j):
            v = cache.get((i, j))
            if v is None:
                v = cache[(i, j)] = shape.sdf(i * s, j * s)
            return v

        self.cells = {}
        for pj in range(int(math.floor(y0)) - 1, int(math.ceil(y1)) + 1):
            for pi in range(int(math.floor(x0)) - 1, int(math.ceil(x1)) + 1):
                # The field never overstates the distance to the edge, so
                # a pixel whose centre is this far from it holds no edge.
                if abs(shape.sdf(pi + 0.5, pj + 0.5)) > 0.75:
                    continue
                for j in range(pj * n, pj * n + n + 1):
                    for i in range(pi * n, pi * n + n + 1):
                        a = field(i, j)
                        for di, dj in ((1, 0), (0, 1)):
                            if i + di > pi * n + n or j + dj > pj * n + n:
                                continue
                            b = field(i + di, j + dj)
                            if (a < 0.0) != (b < 0.0):
                                t = a / (a - b)
                                self._add((i + di * t) * s, (j + dj * t) * s)

    def _add(self, x, y):
        key = (int(math.floor(x)), int(math.floor(y)))
        self.cells.setdefault(key, []).append((x, y))

    def nearest(self, x, y):
        """Distance to the outline and the point on it, or None beyond
        reach."""
        best, point = self.reach * self.reach, None
        r = int(math.ceil(self.reach))
        ci, cj = int(math.floor(x)), int(math.floor(y))
        for j in range(cj - r, cj + r + 1):
            for i in range(ci - r, ci + r + 1):
                for px, py in self.cells.get((i, j), ()):
                    d = (px - x) ** 2 + (py - y) ** 2
                    if d < best:
                        best, point = d, (px, py)
        if point is None:
            return None
        return math.sqrt(best), point


def emboss_paint(shape, bevel, top, base, n=4):
    relief = Relief(shape, bevel + 1.0, n)
    flat = dot((0.0, 0.0, 1.0), EMBOSS_LIGHT)

    def paint(x, y):
        face = mix((178.0, 178.0, 182.0), (124.0, 124.0, 130.0),
                   clamp((y - top) / (base - top)))
        hit = relief.nearest(x, y)
        if hit is None:
            return face
        dist, (px, py) = hit
        inside = shape.sdf(x, y) < 0.0
        depth = dist if inside else -dist
        if depth >= bevel:
            return face
        # Outward direction across the edge.
        ox, oy = ((px - x), (py - y)) if inside else ((x - px), (y - py))
        ol = math.hypot(ox, oy)
        if ol < 1e-6:
            # Right on the outline: fall back on the slope of the field.
            ox = shape.sdf(x + 0.3, y) - shape.sdf(x - 0.3, y)
            oy = shape.sdf(x, y + 0.3) - shape.sdf(x, y - 0.3)
            ol = math.hypot(ox, oy) or 1.0
        # A steep chamfer, eased into the face so it reads as cast metal
        # rather than a cut.
        k = 1.1 * (1.0 - 0.6 * smoothstep(bevel * 0.65, bevel, depth))
        n = normalize((ox / ol * k, oy / ol * k, 1.0))
        lit = dot(n, EMBOSS_LIGHT)
        if lit >= flat:
            t = 1.3 * (lit - flat) / (1.0 - flat)
            return mix(face, (255.0, 255.0, 255.0), min(1.0, t))
        t = 1.2 * (flat - lit) / (flat + 0.35)
        return mix(face, (22.0, 22.0, 28.0), min(1.0, t))
    return paint


def draw_name(canvas, face, base, cx, bevel):
    n = int(round(4 * canvas.s))
    letters, _ = place("Moondial", face.at(canvas.s), base, cx)
    for shape in letters:
        canvas.fill(shape, emboss_paint(shape, bevel, base - face.cap, base, n))


def name_face(cap):
    k = cap / 40.0
    return Face(cap, cap * 0.64, 7.6 * k, 6.6 * k, wide=1.28,
                track=19.0 * k, snap=False, round_dot=True)


BANNER_W = 381
SETUP_H, ABOUT_H = 62, 39
PRINT = "Copyright (C) 2026 Quillon. All rights reserved."
PRINT_GREEN = (0, 192, 0)


def draw_setup_banner(s=1.0):
    c = Canvas(device(BANNER_W, s), device(SETUP_H, s), s=s)
    draw_name(c, name_face(40.0), 43.0, BANNER_W / 2.0, 2.4)
    x = (BANNER_W - pixel_text_width(PRINT)) // 2
    if s == 1.0:
        pixels = c.rgb()
        draw_pixel_text(pixels, BANNER_W, PRINT, x, 50, PRINT_GREEN)
        return pixels
    # Start on a device pixel edge, so cells land on the grid where they
    # can.
    for shape in pixel_text_shapes(PRINT, round(x * s) / s, round(50 * s) / s):
        c.fill(shape, PRINT_GREEN)
    return c.rgb()


def draw_about_banner(s=1.0):
    c = Canvas(device(BANNER_W, s), device(ABOUT_H, s), s=s)
    draw_name(c, name_face(35.0), 37.0, BANNER_W / 2.0, 2.2)
    return c.rgb()


# --------------------------------------------------------------------------
# Buttons

BUTTON_FACE = Face(14.0, 10.0, 3.0, 3.0, track=2.0)
BUTTON_BLUE = (0.0, 0.0, 192.0)
BAR_H = 31
# The About and Exit buttons are 91 pixels wide, their windows clipped to
# a rounded region from (3, 4) to (89, 30) with 15 x 15 corners, and the
# picture is placed at ((91 - w) // 2, 2).
BUTTON_W, BUTTON_REGION, PICTURE_TOP = 91, (3, 4, 89, 30), 2


def pill_box(w):
    """The button's rounded region in the coordinates of a w-wide picture."""
    dx = (BUTTON_W - w) // 2
    x0, y0, x1, y1 = BUTTON_REGION
    return (float(x0 - dx), float(y0 - PICTURE_TOP),
            float(x1 - dx), float(y1 - PICTURE_TOP))


def draw_yellow_bar(w, label, s=1.0):
    """A glossy yellow pill filling exactly what the button window shows,
    with label centred on it; black outside, where the region cuts.  At
    scale s the picture is placed and clipped at s times the logical
    positions, so the pill is drawn in logical pixels like the rest."""
    x0, y0, x1, y1 = pill_box(w)
    c = Canvas(device(w, s), device(BAR_H, s), s=s)
    pill = RoundRect(x0, y0, x1, y1, 7.5)

    def paint(x, y):
        t = (y - y0) / (y1 - y0)
        col = mix((255.0, 242.0, 150.0), (255.0, 224.0, 64.0), smoothstep(0.0, 0.5, t))
        col = mix(col, (222.0, 168.0, 20.0), smoothstep(0.55, 1.0, t))
        # Soft band of gloss over the upper half.
        g = smoothstep(0.08, 0.2, t) * (1.0 - smoothstep(0.32, 0.48, t))
        col = mix(col, (255.0, 252.0, 220.0), 0.45 * g)
        # Darken the rim so the pill keeps its outline on black.
        rim = 1.0 - smoothstep(-1.6, -0.2, pill.sdf(x, y))
        return mix((196.0, 140.0, 10.0), col, 0.35 + 0.65 * rim)

    c.fill(pill, paint)
    face = BUTTON_FACE.at(s)
    base = (y0 + y1) / 2.0 + face.cap / 2.0
    for shape in place(label, face, base, (x0 + x1) / 2.0)[0]:
        c.fill(shape, BUTTON_BLUE)
    return c.rgb()


OK_W, OK_H = 374, 17
OK_FACE = Face(11.0, 8.0, 2.0, 2.0, track=2.0)


def draw_ok_bar(s=1.0):
    c = Canvas(device(OK_W, s), device(OK_H, s), bg=(192.0, 192.0, 192.0), s=s)
    # The bevel runs along the picture's own edges, whole device pixels
    # thick, so it stays crisp where the size is not a whole multiple.
    w, h = c.w / s, c.h / s
    e = round(s) / s
    c.fill(Rect(0, 0, w, e), (255.0, 255.0, 255.0))
    c.fill(Rect(0, 0, e, h), (255.0, 255.0, 255.0))
    c.fill(Rect(0, h - e, w, h), (128.0, 128.0, 128.0))
    c.fill(Rect(w - e, e, w, h), (128.0, 128.0, 128.0))
    face = OK_FACE.at(s)
    base = (h + face.cap) / 2.0
    for shape in place("OK", face, base, w / 2.0)[0]:
        c.fill(shape, BLACK)
    return c.rgb()


# --------------------------------------------------------------------------
# Globe icon: 16 colours with a transparency mask, as old dialogs want.

GLOBE_PALETTE = [
    (0, 0, 0),          # under the mask: must be black to show through
    (14, 28, 72),       # rim
    (20, 52, 128), (30, 80, 176), (44, 110, 212), (70, 140, 232),
    (120, 184, 248),    # ocean, dark to bright
    (20, 90, 40), (38, 134, 52), (80, 180, 70), (150, 214, 110),
    (108, 156, 220),    # grid where the sea is dark
    (170, 206, 250),    # grid over the sea
    (186, 228, 166),    # grid over land
    (236, 246, 255),    # glint
    (255, 255, 255),
]

GLOBE_LIGHT = normalize((-0.55, -0.6, 0.6))
# Seen from a little above the equator so the parallels curve.
GLOBE_TILT = math.radians(22.0)

# Continents as clusters of round patches (longitude, latitude, radius in
# degrees); the edge is roughened by a fixed ripple.
LANDS = [
    (-34, 40, 19), (-22, 20, 16), (-14, -2, 13), (-6, -26, 12),
    (-50, 58, 10),
    (42, 32, 15), (52, 10, 13), (44, -16, 11), (60, -32, 7),
    (10, -52, 6), (90, 48, 18),
]


def land_height(lon, lat):
    best = -INF
    cl = math.cos(math.radians(lat))
    for lo, la, r in LANDS:
        dlon = (lon - lo + 180.0) % 360.0 - 180.0
        d = math.hypot(dlon * cl, lat - la)
        best = max(best, r - d)
    ripple = (3.0 * math.sin(math.radians(lon * 5.0 + lat * 3.0))
              + 2.0 * math.sin(math.radians(lat * 7.0 - lon * 2.0) + 1.3))
    return best + ripple


def globe_point(nx, ny, nz):
    """Longitude and latitude under a point of the visible hemisphere."""
    ct, st = math.cos(GLOBE_TILT), math.sin(GLOBE_TILT)
    # Undo the tilt: the view looks down on the north a little.
    y = ny * ct - nz * st
    z = ny * st + nz * ct
    lat = math.degrees(math.asin(clamp(-y, -1.0, 1.0)))
    lon = math.degrees(math.atan2(nx, z))
    return lon, lat


def draw_globe(size, s=1.0):
    """Straight RGB colours and coverage per pixel of the size x size icon
    drawn at scale s; the grid and pens follow the logical size."""
    d = device(size, s)
    # Just inside the edge, so no lone pixels poke out at the compass points.
    r = d / 2.0 - 0.3
    cx = cy = d / 2.0
    grid = 30.0 if size >= 32 else 45.0
    pen = (0.45 if size >= 32 else 0.3) * s
    n = 6
    out = []
    for j in range(d):
        for i in range(d):
            acc, hits = [0.0, 0.0, 0.0], 0
            for sj in range(n):
                for si in range(n):
                    x = i + (si + 0.5) / n
                    y = j + (sj + 0.5) / n
                    dx, dy = (x - cx) / r, (y - cy) / r
                    q = dx * dx + dy * dy
                    if q >= 1.0:
                        continue
                    hits += 1
                    col = globe_sample(dx, dy, q, r, grid, pen, s)
                    acc = [a + b for a, b in zip(acc, col)]
            if hits:
                out.append((tuple(a / hits for a in acc), hits / float(n * n)))
            else:
                out.append(((0.0, 0.0, 0.0), 0.0))
    return out


def globe_grid(dx, dy, lon, lat, r, grid, pen):
    """Whether a point is on a meridian or parallel.  Lines keep a fixed
    width on screen: the angle off the nearest line is divided by how fast
    that angle changes across the screen there."""
    e = 0.02

    def at(px, py):
        return globe_point(px, py, math.sqrt(max(0.0, 1.0 - px * px - py * py)))

    lon2, lat2 = at(dx + e, dy)
    lon3, lat3 = at(dx, dy + e)
    per_px = 1.0 / (e * r)
    dlon = math.hypot((lon2 - lon + 180.0) % 360.0 - 180.0,
                      (lon3 - lon + 180.0) % 360.0 - 180.0) * per_px
    dlat = math.hypot(lat2 - lat, lat3 - lat) * per_px
    off_lon = abs((lon + grid / 2.0) % grid - grid / 2.0)
    off_lat = abs((lat + grid / 2.0) % grid - grid / 2.0)
    # Meridians stop short of the pole, where they would crowd into a blot.
    return (abs(lat) < 80.0 and off_lon < pen * dlon) or off_lat < pen * dlat


GLOBE_GLINT = normalize(add(GLOBE_LIGHT, (0.0, 0.0, 1.0)))


def globe_sample(dx, dy, q, r, grid, pen, s):
    nz = math.sqrt(1.0 - q)
    lon, lat = globe_point(dx, dy, nz)
    n = (dx, dy, nz)
    light = 0.5 + 0.7 * max(0.0, dot(n, GLOBE_LIGHT))
    if land_height(lon, lat) > 0.0:
        col = scale((56.0, 160.0, 62.0), light)
    else:
        col = scale((36.0, 100.0, 206.0), light)
    if globe_grid(dx, dy, lon, lat, r, grid, pen):
        col = mix(col, (220.0, 236.0, 255.0), 0.45)
    col = mix(col, (255.0, 255.0, 255.0), max(0.0, dot(n, GLOBE_GLINT)) ** 60 * 0.6)
    # Darken the limb so the ball reads round and keeps an outline.
    edge = math.sqrt(q) * r
    return mix(col, (14.0, 28.0, 72.0), smoothstep(r - 1.6 * s, r - 0.4 * s, edge))


def nearest_index(col, palette):
    return min(range(1, len(palette)), key=lambda k: (
        (palette[k][0] - col[0]) ** 2 * 3 + (palette[k][1] - col[1]) ** 2 * 4
        + (palette[k][2] - col[2]) ** 2 * 2, k))


def globe_image(size, s=1.0):
    """Palette indices and transparency (True = see-through)."""
    indices, clear = [], []
    for col, cover in draw_globe(size, s):
        if cover < 0.5:
            indices.append(0)
            clear.append(True)
        else:
            indices.append(nearest_index(col, GLOBE_PALETTE))
            clear.append(False)
    return indices, clear


def ico4_image(palette, indices, clear, w, h):
    """BMP-encoded 16-colour icon entry: header, palette, 4-bit colour rows
    bottom-up, then the 1-bit AND mask."""
    stride = ((w * 4 + 31) // 32) * 4
    mstride = ((w + 31) // 32) * 4
    xor, mask = bytearray(), bytearray()
    for j in range(h - 1, -1, -1):
        row = bytearray(stride)
        bits = bytearray(mstride)
        for i in range(w):
            k = j * w + i
            row[i >> 1] |= indices[k] << (0 if i & 1 else 4)
            if clear[k]:
                bits[i >> 3] |= 0x80 >> (i & 7)
        xor += row
        mask += bits
    hdr = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 4, 0,
                      len(xor) + len(mask), 0, 0, 16, 0)
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return hdr + pal + bytes(xor) + bytes(mask)


def write_ico4(path, palette, images):
    blobs = [ico4_image(palette, idx, clear, w, h) for w, h, idx, clear in images]
    offset = 6 + 16 * len(images)
    out = struct.pack("<HHH", 0, 1, len(images))
    for (w, h, _, _), blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", w, h, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(blobs))


# --------------------------------------------------------------------------
# Maker's logo: a quill crossing a crescent moon in a gold-ringed disc on a
# navy tile, the name beneath.  The tile fills the picture, so it sits on
# any dialog grey.

LOGO_W, LOGO_H = 205, 178
GOLD_HI, GOLD_LO = (255.0, 222.0, 122.0), (206.0, 142.0, 36.0)
LOGO_LIGHT = normalize((-0.45, -0.65, 0.62))


def quill_outline(p, normal, s0, s1, left, right, steps=40):
    """Vane outline either side of the shaft, widest near two thirds up."""
    ls, rs = [], []
    for k in range(steps + 1):
        s = s0 + (s1 - s0) * k / steps
        u = (s - s0) / (s1 - s0)
        wdt = math.sin(math.pi * u ** 0.8) ** 0.7
        x, y = p(s)
        nx, ny = normal(s)
        ls.append((x + nx * left * wdt, y + ny * left * wdt))
        rs.append((x - nx * right * wdt, y - ny * right * wdt))
    return ls + rs[::-1]


def draw_logo(s=1.0):
    c = Canvas(device(LOGO_W, s), device(LOGO_H, s), s=s)
    # The tile and its frame keep to the picture's edges where rounding
    # makes it a fraction off LOGO_W x LOGO_H times the scale.
    w, h = c.w / s, c.h / s
    c.fill(Rect(0, 0, w, h), lambda x, y: mix(
        (30.0, 44.0, 92.0), (12.0, 18.0, 48.0), clamp(y / LOGO_H)))
    frame = RoundRect(5.0, 5.0, w - 5.0, h - 5.0, 10.0)
    c.fill(frame - Offset(frame, -1.2), (170.0, 128.0, 52.0))

    ex, ey, er = LOGO_W / 2.0, 68.0, 55.0
    ring_in = er - 5.0
    c.fill(Circle(ex, ey, ring_in + 0.5), lambda x, y: mix(
        (38.0, 58.0, 118.0), (14.0, 22.0, 58.0),
        clamp(math.hypot(x - ex + 12.0, y - ey + 16.0) / (er * 1.3))))

    for sx, sy, sr in ((128, 44, 1.6), (140, 66, 1.1), (118, 30, 0.9),
                       (72, 34, 1.0), (134, 92, 1.3), (150, 50, 0.8),
                       (96, 104, 0.8)):
        star = Polygon([(sx, sy - 3 * sr), (sx + 0.8 * sr, sy - 0.8 * sr),
                        (sx + 3 * sr, sy), (sx + 0.8 * sr, sy + 0.8 * sr),
                        (sx, sy + 3 * sr), (sx - 0.8 * sr, sy + 0.8 * sr),
                        (sx - 3 * sr, sy), (sx - 0.8 * sr, sy - 0.8 * sr)])
        c.fill(star, (232.0, 236.0, 255.0))

    # Crescent opening to the upper right, where the quill's feather rises.
    mx, my, mr = ex - 10.0, ey + 2.0, 38.0
    moon = Circle(mx, my, mr) - Circle(mx + 17.0, my - 11.0, 33.0)

    def moon_paint(x, y):
        # Gold running darker to the lower right, with a little roundness.
        t = clamp((x - mx + y - my) / (3.0 * mr) + 0.5)
        n = sphere_normal(x, y, mx, my, mr)
        lit = 0.82 + 0.26 * max(0.0, dot(n, LOGO_LIGHT))
        return scale(mix((255.0, 232.0, 150.0), (226.0, 158.0, 40.0), t), lit)
    c.fill(Offset(moon, 1.0), (150.0, 100.0, 30.0))
    c.fill(moon, moon_paint)

    # The quill: a shaft curving from the nib at lower left to the tip at
    # upper right, crossing the moon and breaking the ring.
    p0, p1, p2, p3 = (66.0, 118.0), (90.0, 88.0), (118.0, 50.0), (150.0, 16.0)

    def pos(s):
        u = 1.0 - s
        return (u ** 3 * p0[0] + 3 * u * u * s * p1[0] + 3 * u * s * s * p2[0] + s ** 3 * p3[0],
                u ** 3 * p0[1] + 3 * u * u * s * p1[1] + 3 * u * s * s * p2[1] + s ** 3 * p3[1])

    def tangent(s):
        a, b = pos(max(0.0, s - 0.01)), pos(min(1.0, s + 0.01))
        return normalize((b[0] - a[0], b[1] - a[1]))

    def normal(s):
        tx, ty = tangent(s)
        return (ty, -tx)              # to the upper left of the shaft

    # Ring first so the feather lies over it.
    def ring_paint(x, y):
        n = torus_normal(x, y, ex, ey, ring_in, er)
        return shade(n, (236.0, 180.0, 70.0), LOGO_LIGHT, ambient=0.4,
                     diffuse=0.75, gloss=0.6, shine=26,
                     shine_colour=(255.0, 246.0, 210.0))
    c.fill(Difference(Circle(ex, ey, er), Circle(ex, ey, ring_in)), ring_paint)

    vane = Polygon(quill_outline(pos, normal, 0.30, 1.0, 15.0, 9.0))
    # Splits in the vane, slanting back from the edge towards the nib.
    cuts = []
    for u, side, depth in ((0.52, 1, 9.0), (0.74, 1, 7.0), (0.62, -1, 6.0)):
        x, y = pos(u)
        nx, ny = normal(u)
        tx, ty = tangent(u)
        ox, oy = x + nx * side * 20.0, y + ny * side * 20.0
        inner = side * (14.0 - depth)
        ix, iy = x + nx * inner - tx * 4.0, y + ny * inner - ty * 4.0
        cuts.append(Polygon([(ox + tx * 2.0, oy + ty * 2.0), (ix, iy),
                             (ox - tx * 3.5, oy - ty * 3.5)]))
    feather = vane
    for cut in cuts:
        feather = Difference(feather, cut)

    def feather_paint(x, y):
        # Barbs: faint stripes running out from the shaft towards the tip.
        best_s, best_d = 0.0, INF
        for k in range(41):
            s = k / 40.0
            px, py = pos(s)
            d = (px - x) ** 2 + (py - y) ** 2
            if d < best_d:
                best_s, best_d = s, d
        px, py = pos(best_s)
        nx, ny = normal(best_s)
        side = (x - px) * nx + (y - py) * ny
        along = best_s * 150.0 - abs(side) * 0.9
        stripe = 0.5 + 0.5 * math.sin(along * 1.9)
        shade_k = 0.80 + 0.20 * clamp(1.0 - abs(side) / 15.0)
        if side < 0:
            shade_k *= 0.86            # the far half of the vane turns away
        base = mix((250.0, 246.0, 234.0), (206.0, 200.0, 190.0), 0.35 * stripe)
        return scale(base, shade_k)

    c.fill(Offset(feather, 1.0), (40.0, 40.0, 70.0))
    c.fill(feather, feather_paint)
    shaft = [pos(k / 40.0) for k in range(8, 40)]
    c.fill(Stroke([shaft], 1.4), (170.0, 150.0, 120.0))

    # Bare barrel of the quill and its cut nib, in gold.
    barrel = [pos(k / 40.0) for k in range(2, 13)]
    c.fill(Stroke([barrel], 4.6), (120.0, 80.0, 20.0))
    c.fill(Stroke([barrel], 3.2), lambda x, y: mix(GOLD_HI, GOLD_LO, clamp((y - 96.0) / 24.0)))
    tip = pos(0.0)
    tx, ty = tangent(0.02)
    nx, ny = normal(0.02)
    b0 = pos(0.06)
    nib = Polygon([(tip[0] - tx * 2.0, tip[1] - ty * 2.0),
                   (b0[0] + nx * 2.6, b0[1] + ny * 2.6),
                   (b0[0] - nx * 2.6, b0[1] - ny * 2.6)])
    c.fill(Offset(nib, 0.7), (90.0, 60.0, 16.0))
    c.fill(nib, (236.0, 196.0, 104.0))
    c.fill(Stroke([[pos(0.015), pos(0.05)]], 0.7), (90.0, 60.0, 16.0))

    face = Face(20.0, 14.0, 3.4, 3.2, track=7.0).at(s)
    base = 160.0
    letters, _ = place("QUILLON", face, base, LOGO_W / 2.0)
    for shape in letters:
        c.fill(Moved(shape, 1.0, 1.0), (6.0, 10.0, 28.0))
    for shape in letters:
        c.fill(shape, lambda x, y: mix(GOLD_HI, GOLD_LO, clamp((y - base + 20.0) / 22.0)))
    return c.rgb()


# --------------------------------------------------------------------------
# Program icon for desktops that look for PNGs by size; the same drawing
# as moondial.ico, which scales cleanly.

ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


# --------------------------------------------------------------------------

def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--preview", metavar="DIR",
                    help="also write PNG previews (1:1, and 4x for 1x) into DIR")
    args = ap.parse_args()

    previews = []

    for s, suffix in SCALES:
        def art(name, pixels, w, h):
            w, h = device(w, s), device(h, s)
            write_png24(os.path.join(OUT_DIR, name + suffix + ".png"), pixels, w, h)
            previews.append((name + suffix, pixels, w, h))

        art("setup_banner", draw_setup_banner(s), BANNER_W, SETUP_H)
        art("about_banner", draw_about_banner(s), BANNER_W, ABOUT_H)
        art("about_bar", draw_yellow_bar(87, "About", s), 87, BAR_H)
        art("exit_bar", draw_yellow_bar(85, "Exit", s), 85, BAR_H)
        art("ok_bar", draw_ok_bar(s), OK_W, OK_H)
        art("logo", draw_logo(s), LOGO_W, LOGO_H)

        globes = []
        for size in (32, 16):
            d = device(size, s)
            indices, clear = globe_image(size, s)
            globes.append((d, d, indices, clear))
            previews.append(("globe%d%s" % (size, suffix),
                             [(0, 0, 0, 0) if cl else GLOBE_PALETTE[k] + (255,)
                              for k, cl in zip(indices, clear)], d, d))
        write_ico4(os.path.join(OUT_DIR, "globe" + suffix + ".ico"), GLOBE_PALETTE, globes)

    icon_dir = os.path.join(OUT_DIR, "icons")
    os.makedirs(icon_dir, exist_ok=True)
    for size in ICON_SIZES:
        rgba = draw_icon(size)
        write_png(os.path.join(icon_dir, "moondial-%d.png" % size), rgba, size, size)
        previews.append(("moondial-%d" % size, rgba, size, size))

    if args.preview:
        write_previews(args.preview, previews)


if __name__ == "__main__":
    main()

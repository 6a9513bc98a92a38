#!/usr/bin/env python3
"""Checks the committed art against what the program relies on, without
redrawing it: every picture exists at every scale in SCALES with the 1x
size times the scale and the 1x file's format and colour type, the dials
stay plain grey where the hands are drawn, and the globe is black under its
mask.  Exits non-zero with one line per fault.

    python3 resources/check_art.py
"""

import os
import struct
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from draw_art import (  # noqa: E402
    ALARM_BOX, CLOCK_BOX, DIAL_GREY, OUT_DIR, SCALES, device, read_png, scaled_box)

PICTURES = ["clock.png", "alarmclock.png", "lips.png", "lips_small.gif",
            "setup_banner.png", "about_banner.png", "about_bar.png",
            "exit_bar.png", "ok_bar.png", "logo.png", "globe.ico"]
PLAIN = {"clock.png": CLOCK_BOX, "alarmclock.png": ALARM_BOX}


def read_gif(data):
    w, h, flags = struct.unpack_from("<HHB", data, 6)
    return w, h, flags


def read_ico(data):
    """Per image: (width, height, bits per pixel, palette index at (i, j)
    of a 4-bit image, masked at (i, j))."""
    count, = struct.unpack_from("<H", data, 4)
    images = []
    for k in range(count):
        _, _, _, _, _, bpp, _, at = struct.unpack_from("<BBBBHHII", data, 6 + 16 * k)
        _, w, h2, _, bpp, _, _, _, _, used, _ = struct.unpack_from("<IiiHHIIiiII", data, at)
        h = h2 // 2
        pal = at + 40
        colours = (used or 1 << bpp) if bpp <= 8 else 0
        xor = pal + 4 * colours
        stride = (w * bpp + 31) // 32 * 4
        mask = xor + stride * h
        mstride = (w + 31) // 32 * 4

        def index(i, j, xor=xor, stride=stride, h=h):
            byte = data[xor + (h - 1 - j) * stride + i // 2]
            return byte & 15 if i & 1 else byte >> 4

        def masked(i, j, mask=mask, mstride=mstride, h=h):
            return bool(data[mask + (h - 1 - j) * mstride + i // 8] & (0x80 >> (i % 8)))
        images.append((w, h, bpp, index, masked))
    return images


def scaled_name(name, suffix):
    stem, ext = os.path.splitext(name)
    return stem + suffix + ext


def check(name, s, base, data, faults):
    ext = os.path.splitext(name)[1]
    if ext == ".png":
        bw, bh, bkind, _ = read_png(base)
        w, h, kind, pixel = read_png(data)
        if (w, h, kind) != (device(bw, s), device(bh, s), bkind):
            faults.append("%dx%d colour type %d, not %dx%d colour type %d"
                          % (w, h, kind, device(bw, s), device(bh, s), bkind))
            return
        if name in PLAIN:
            i0, j0, i1, j1 = scaled_box(PLAIN[name], s)
            grey = tuple(int(v) for v in DIAL_GREY)
            bad = [(i, j) for j in range(j0, j1 + 1) for i in range(i0, i1 + 1)
                   if pixel(i, j) != grey]
            if bad:
                faults.append("%d pixels in the hands' box %r are not dial grey, "
                              "the first at %r" % (len(bad), (i0, j0, i1, j1), bad[0]))
    elif ext == ".gif":
        bw, bh, bflags = read_gif(base)
        w, h, flags = read_gif(data)
        if (w, h, flags) != (device(bw, s), device(bh, s), bflags):
            faults.append("%dx%d flags %#x, not %dx%d flags %#x"
                          % (w, h, flags, device(bw, s), device(bh, s), bflags))
    elif ext == ".ico":
        want = [(device(w, s), device(h, s), bpp) for w, h, bpp, _, _ in read_ico(base)]
        images = read_ico(data)
        got = [(w, h, bpp) for w, h, bpp, _, _ in images]
        if got != want:
            faults.append("images %r, not %r" % (got, want))
            return
        for w, h, bpp, index, masked in images:
            if bpp == 4 and any(masked(i, j) and index(i, j) != 0
                                for j in range(h) for i in range(w)):
                faults.append("%dx%d: colour under the mask, which shows through"
                              % (w, h))


def main():
    faults = []
    for name in PICTURES:
        with open(os.path.join(OUT_DIR, name), "rb") as f:
            base = f.read()
        for s, suffix in SCALES:
            path = os.path.join(OUT_DIR, scaled_name(name, suffix))
            if not os.path.exists(path):
                faults.append("%s: missing" % os.path.basename(path))
                continue
            with open(path, "rb") as f:
                data = f.read()
            found = []
            check(name, s, base, data, found)
            faults += ["%s: %s" % (os.path.basename(path), text) for text in found]
    for text in faults:
        print(text)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())

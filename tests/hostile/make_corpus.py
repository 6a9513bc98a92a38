#!/usr/bin/env python3
"""Writes a corpus of hostile picture files for the picture loader: cut, bit-flipped and
otherwise broken bitmaps, GIFs, JPEGs and PNGs, headers claiming huge sizes or hidden where a
careless scan misses them, headers megabytes in, palette and RLE oddities, and files named
with the wrong extension. The same files on every run.

    python3 tests/hostile/make_corpus.py OUT_DIR [COUNT]   (COUNT: at least 2000 by default)
"""

import os
import random
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(os.path.dirname(HERE))
SEEDS = os.path.join(TOP, "tests", "fuzz", "seeds", "picture_header")


def bmp(width, height, bits, pixels, palette=b"", compression=0, clr_used=None, top_down=False):
    info = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, bits,
                       compression, len(pixels), 2835, 2835,
                       len(palette) // 4 if clr_used is None else clr_used, 0)
    offset = 14 + len(info) + len(palette)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return head + info + palette + pixels


def bmp24(width, height, rnd):
    stride = (width * 3 + 3) & ~3
    return bmp(width, height, 24, bytes(rnd.randrange(256) for _ in range(stride * height)))


def bmp8(width, height, rnd):
    stride = (width + 3) & ~3
    palette = bytes(rnd.randrange(256) for _ in range(256 * 4))
    return bmp(width, height, 8, bytes(rnd.randrange(256) for _ in range(stride * height)), palette)


def bmp4(width, height, rnd):
    stride = ((width + 1) // 2 + 3) & ~3
    palette = bytes(rnd.randrange(256) for _ in range(16 * 4))
    return bmp(width, height, 4, bytes(rnd.randrange(256) for _ in range(stride * height)), palette)


def bmp1(width, height, rnd):
    stride = ((width + 7) // 8 + 3) & ~3
    return bmp(width, height, 1, bytes(rnd.randrange(256) for _ in range(stride * height)),
               b"\0\0\0\0\xff\xff\xff\0")


def rle8(width, height, rnd, runs):
    palette = bytes(rnd.randrange(256) for _ in range(256 * 4))
    return bmp(width, height, 8, runs, palette, compression=1)


def rle4(width, height, rnd, runs):
    palette = bytes(rnd.randrange(256) for _ in range(16 * 4))
    return bmp(width, height, 4, runs, palette, compression=2)


def png(width, height, rnd):
    raw = b"".join(b"\0" + bytes(rnd.randrange(256) for _ in range(width * 3)) for _ in range(height))
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def gif(width, height, rnd):
    """A GIF with a 4-colour table and uncompressed-style LZW (clear codes every few pixels)."""
    palette = bytes(rnd.randrange(256) for _ in range(4 * 3))
    head = b"GIF89a" + struct.pack("<HHBBB", width, height, 0x81, 0, 0) + palette
    image = b"\x2c" + struct.pack("<HHHHB", 0, 0, width, height, 0)
    # Codes of 3 bits: clear (4), a pixel, clear... packed into bytes.
    bits, count = 0, 0
    out = bytearray()
    for i in range(width * height + 1):
        for code in ((4, rnd.randrange(4)) if i < width * height else (5,)):
            bits |= code << count
            count += 3
            while count >= 8:
                out.append(bits & 0xff)
                bits >>= 8
                count -= 8
    if count:
        out.append(bits & 0xff)
    blocks = b"".join(bytes([len(out[i:i + 255])]) + bytes(out[i:i + 255]) for i in range(0, len(out), 255))
    return head + image + b"\x02" + blocks + b"\x00;"


def jpeg_sof_offset(data):
    at = 2
    while at + 4 < len(data):
        marker = data[at + 1]
        length = struct.unpack(">H", data[at + 2:at + 4])[0]
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            return at
        at += 2 + length
    return None


def jpeg_frame(data):
    """The frame header's segment: its offset and its bytes, marker and length included."""
    at = jpeg_sof_offset(data)
    length = struct.unpack(">H", data[at + 2:at + 4])[0]
    return at, data[at:at + 2 + length]


def jpeg_stray_bytes(data, stray=b"\0\0"):
    """Bytes between segments before the frame header, which the decoders skip."""
    at, _ = jpeg_frame(data)
    return data[:at] + stray + data[at:]


def jpeg_fill_bytes(data, count):
    """A run of FF fill bytes before the frame header's marker."""
    at, _ = jpeg_frame(data)
    return data[:at] + b"\xff" * count + data[at:]


def jpeg_hidden_frame(data, width, height):
    """The frame header claims width x height behind FF 00, which is no segment, followed by a
    comment holding a 1 x 1 frame header: a scan that reads FF 00 as a segment with a length
    lands on that one, while the decoder skips FF 00 and reads the large one."""
    at, frame = jpeg_frame(data)
    large = frame[:5] + struct.pack(">HH", height, width) + frame[9:]
    fake = frame[:5] + struct.pack(">HH", 1, 1) + frame[9:]
    comment = b"\xff\xfe" + struct.pack(">H", 2 + len(fake)) + fake
    hiding = b"\xff\x00" + struct.pack(">H", 2 + len(large) + 4)
    return data[:at] + hiding + large + comment + data[at + len(frame):]


def gif_constant(width, height, colour=0):
    """The LZW data of an image of one colour (code size 2): runs of the longest code, and a
    clear code before the table fills, so a few kilobytes hold millions of pixels."""
    clear, end = 4, 5
    out = bytearray()
    bits = count = 0
    size, limit, following = 3, 8, 6  # the decoder's code size, its limit and its next code

    def emit(code):
        nonlocal bits, count
        bits |= code << count
        count += size
        while count >= 8:
            out.append(bits & 0xff)
            bits >>= 8
            count -= 8

    emit(clear)
    remaining = width * height
    first = True
    while remaining:
        longest = 1 if first else following - 5  # code c holds c - 4 pixels
        take = min(longest, remaining)
        emit(colour if take == 1 else take + 4)
        remaining -= take
        first = False
        # The decoder counts each code read and widens its codes as its table grows.
        following += 1
        if following > limit and size < 12:
            limit, size = limit << 1, size + 1
        if following >= 4094 and remaining:
            emit(clear)
            size, limit, following, first = 3, 8, 6, True
    emit(end)
    if count:
        out.append(bits & 0xff)
    blocks = b"".join(bytes([len(out[i:i + 255])]) + bytes(out[i:i + 255])
                      for i in range(0, len(out), 255))
    return b"\x02" + blocks + b"\x00"


def gif_frames(screen, frames):
    """A GIF of the given screen size with images of one colour each: (width, height) or
    (width, height, left, top) apiece."""
    head = b"GIF89a" + struct.pack("<HHBBB", screen[0], screen[1], 0x81, 0, 0)
    head += b"\xff\x00\xff" + b"\x00\x00\x00" + b"\x00" * 6
    body = b""
    for frame in frames:
        width, height, left, top = (tuple(frame) + (0, 0))[:4]
        body += b"\x2c" + struct.pack("<HHHHB", left, top, width, height, 0)
        body += gif_constant(width, height)
    return head + body + b";"


def gif_sub_blocks(count, size=1, extensions=1):
    """A GIF whose first image comes after comments of count sub-blocks of size bytes each."""
    picture = gif_frames((8, 8), [(8, 8)])
    comment = b"\x21\xfe" + (bytes([size]) + b"x" * size) * count + b"\x00"
    return picture[:25] + comment * extensions + picture[25:]


def with_size(data, kind, width, height):
    data = bytearray(data)
    if kind == "bmp":
        data[18:26] = struct.pack("<ii", width, height)
    elif kind == "gif":
        data[6:10] = struct.pack("<HH", width & 0xffff, height & 0xffff)
    elif kind == "png":
        data[16:24] = struct.pack(">II", width & 0xffffffff, height & 0xffffffff)
    elif kind == "jpg":
        at = jpeg_sof_offset(data)
        if at is not None:
            data[at + 5:at + 9] = struct.pack(">HH", height & 0xffff, width & 0xffff)
    return bytes(data)


def main():
    out = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 2000
    os.makedirs(out, exist_ok=True)
    rnd = random.Random(2026)
    with open(os.path.join(TOP, "tests", "data", "lips.jpg"), "rb") as f:
        lips_jpg = f.read()
    with open(os.path.join(TOP, "resources", "lips_small.gif"), "rb") as f:
        lips_gif = f.read()
    with open(os.path.join(TOP, "tests", "data", "alarmclock.bmp"), "rb") as f:
        alarm_bmp = f.read()

    def read_seed(name):
        with open(os.path.join(SEEDS, name), "rb") as f:
            return f.read()

    bases = [
        ("jpg", lips_jpg), ("gif", lips_gif), ("bmp", alarm_bmp),
        ("bmp", bmp24(37, 23, rnd)), ("bmp", bmp8(40, 30, rnd)), ("bmp", bmp4(33, 17, rnd)),
        ("bmp", bmp1(65, 9, rnd)), ("gif", gif(21, 13, rnd)), ("png", png(19, 11, rnd)),
        ("bmp", rle8(16, 8, rnd, b"\x05\x01\x00\x00" * 8 + b"\x00\x01")),
        ("bmp", rle4(16, 8, rnd, b"\x06\x12\x00\x00" * 8 + b"\x00\x01")),
        ("jpg", read_seed("progressive.jpg")), ("jpg", read_seed("cmyk.jpg")),
        ("jpg", read_seed("arithmetic.jpg")),
    ]
    files = []

    def add(name, data):
        files.append((name, data))

    # The valid bases themselves, under their own and the wrong extensions.
    for i, (kind, data) in enumerate(bases):
        for ext in ("bmp", "gif", "jpg"):
            add(f"base{i:02}-as.{ext}", data)
    # Headers claiming huge, negative or zero sizes.
    for i, (kind, data) in enumerate(bases):
        for w, h in ((60000, 60000), (65535, 65535), (0x7fffffff, 1), (1, 0x7fffffff), (-1, -1),
                     (0, 0), (100000, 3), (8193, 8193), (6000, 6000)):
            add(f"huge{i:02}-{w & 0xffffffff}x{h & 0xffffffff}.{kind}", with_size(data, kind, w, h))
    # Palette and RLE oddities.
    add("palette-count-huge.bmp", bmp(8, 8, 8, b"\0" * 64, b"\0" * 1024, clr_used=1 << 30))
    add("palette-missing.bmp", bmp(8, 8, 8, b"", b"", clr_used=256))
    add("offset-beyond.bmp", bmp24(4, 4, rnd)[:10] + struct.pack("<I", 1 << 30) + bmp24(4, 4, rnd)[14:])
    for n, runs in enumerate([b"\xff\x01" * 400, b"\x00\x02\xff\xff" * 20, b"\x00\x03\xff" + b"\x00" * 3,
                              b"\x00\x00" * 1000, b"", b"\x00", b"\x00\x02", b"\x04\x05" * 10000]):
        add(f"rle8-{n}.bmp", rle8(16, 8, rnd, runs))
        add(f"rle4-{n}.bmp", rle4(16, 8, rnd, runs))
    # Files of no picture at all.
    add("empty.jpg", b"")
    add("text.jpg", b"Not a picture at all, only a few words of text.\r\n")
    add("zeros.gif", b"\0" * 4096)
    add("tiff-as.jpg", b"II*\0" + b"\0" * 100)
    add("marker-loop.jpg", b"\xff\xd8" + b"\xff\xfe\x00\x02" * 5000)
    # Headers placed where only a scan that reads as the decoders do finds them, and headers so
    # far in that reading a byte at a time took minutes.
    tiny = read_seed("tiny16.jpg")
    add("stray-bytes.jpg", jpeg_stray_bytes(tiny))
    add("stray-bytes-lips.jpg", jpeg_stray_bytes(lips_jpg, b"\0\x12\xff\0\x34"))
    add("hidden-frame.jpg", jpeg_hidden_frame(tiny, 60000, 60000))
    add("hidden-frame-lips.jpg", jpeg_hidden_frame(lips_jpg, 30000, 20000))
    add("fill-5m.jpg", jpeg_fill_bytes(tiny, 5_000_000))
    add("fill-beyond-bound.jpg", jpeg_fill_bytes(tiny, 17_000_000))
    add("zeros-beyond-bound.jpg", jpeg_stray_bytes(tiny, b"\0" * 17_000_000))
    add("gif-sub-blocks-1m.gif", gif_sub_blocks(1_000_000))
    add("gif-sub-blocks-beyond-bound.gif", gif_sub_blocks(70_000, 255))
    # Millions of extension pieces, which a decoder stores one by one.
    add("gif-sub-blocks-2m.gif", gif_sub_blocks(2_000_000))
    add("gif-extensions-1m.gif", gif_sub_blocks(1, extensions=1_000_000))
    # A small first image and a huge second one, which the program never shows.
    add("gif-huge-second-frame.gif", gif_frames((16, 16), [(16, 16), (20000, 20000)]))
    # A screen of no pixels: a decoder makes room for the image's left + width.
    add("gif-offset-image.gif", gif_frames((0, 0), [(1, 1, 60000, 60000)]))
    # Every base cut at many lengths, then bit-flipped, until the count is reached.
    for i, (kind, data) in enumerate(bases):
        for cut in sorted({1, 2, 3, 6, 10, 13, 14, 18, 26, 54, 100, len(data) // 2, len(data) - 1}
                          | {rnd.randrange(1, len(data)) for _ in range(40)}):
            if cut < len(data):
                add(f"cut{i:02}-{cut}.{kind}", data[:cut])
    flips = 0
    while len(files) < count:
        i = flips % len(bases)
        kind, data = bases[i]
        data = bytearray(data)
        for _ in range(rnd.choice((1, 2, 4, 16, 64))):
            at = rnd.randrange(min(len(data), rnd.choice((64, 512, len(data)))))
            data[at] ^= 1 << rnd.randrange(8)
        add(f"flip{i:02}-{flips}.{kind}", bytes(data))
        flips += 1
    for name, data in files:
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
    print(f"{len(files)} files in {out}")


if __name__ == "__main__":
    main()

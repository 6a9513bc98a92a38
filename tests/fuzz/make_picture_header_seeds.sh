#!/usr/bin/env bash
# Writes the seeds of the picture_header fuzz target: small JPEGs of each coding the decoders
# read (baseline, progressive, CMYK, arithmetic), the crafted ones of the hostile corpus (stray
# bytes, a hidden frame, fill bytes, a GIF's sub-blocks and offset image), GIFs whose control
# extension has an empty fixed block, and a bitmap, GIF and PNG. The same files on every run;
# needs cjpeg (libjpeg-turbo-progs) and ImageMagick.
# Usage: tests/fuzz/make_picture_header_seeds.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$here/seeds/picture_header
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

# A 16 x 16 picture of magenta with a darker corner, so each coding has something to code.
python3 - "$work/tiny.ppm" <<'PY'
import sys
pixels = bytearray()
for y in range(16):
    for x in range(16):
        pixels += bytes((128, 0, 128) if x < 4 and y < 4 else (255, 0, 255))
open(sys.argv[1], "wb").write(b"P6\n16 16\n255\n" + pixels)
PY
cjpeg -quality 95 -sample 1x1 -outfile "$out/tiny16.jpg" "$work/tiny.ppm"
cjpeg -quality 95 -progressive -outfile "$out/progressive.jpg" "$work/tiny.ppm"
cjpeg -quality 95 -arithmetic -outfile "$out/arithmetic.jpg" "$work/tiny.ppm"
convert "$work/tiny.ppm" -strip -colorspace CMYK -quality 95 "$out/cmyk.jpg"

python3 - "$here/../hostile" "$out" <<'PY'
import os, struct, sys
sys.path.insert(0, sys.argv[1])
import make_corpus as m
out = sys.argv[2]
tiny = open(os.path.join(out, "tiny16.jpg"), "rb").read()


def empty_control_block(screen_w, screen_h, w, h):
    head = b"GIF89a" + struct.pack("<HHBBB", screen_w, screen_h, 0, 0, 0)
    image = b"," + struct.pack("<HHHHB", 0, 0, w, h, 0) + b"\x02\x02\x44\x01\x00;"
    return head + b"\x21\xf9\x00\x00" + image


seeds = {
    "stray-bytes.jpg": m.jpeg_stray_bytes(tiny),
    "hidden-frame.jpg": m.jpeg_hidden_frame(tiny, 60000, 60000),
    "fill-bytes.jpg": m.jpeg_fill_bytes(tiny, 300),
    "sub-blocks.gif": m.gif_sub_blocks(100),
    "offset-image.gif": m.gif_frames((0, 0), [(1, 1, 60000, 60000)]),
    "two-frames.gif": m.gif_frames((16, 16), [(16, 16), (8, 8, 4, 4)]),
    # A control extension whose fixed block is empty, before a 16 x 16 image; and the same
    # behind a logical screen of 8481 x 8449, which Qt sizes but will not decode.
    "empty-control-block.gif": empty_control_block(16, 16, 16, 16),
    "large-screen.gif": empty_control_block(8481, 8449, 848, 844),
    "tiny24.bmp": m.bmp(2, 2, 24, b"\xff\x00\xff" * 2 + b"\0\0" + b"\xff\x00\xff" * 2 + b"\0\0"),
}
for name, data in seeds.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
PY
cp "$here/seeds/picture_loader/tiny.png" "$out/tiny.png"
ls "$out"

#!/usr/bin/env python3
"""Render the SVG artwork to the PNG and ICO files the program and its packaging use.

Needs rsvg-convert (Debian package librsvg2-bin) and Python 3's standard library. The rendered
files are committed, so building the program does not need this script.

    python3 resources/make_icons.py
"""

import struct
import subprocess
import sys
import zlib
from pathlib import Path

HERE = Path(__file__).resolve().parent

# The image list's order: Exit, List, Delete, Copy, Move, Attribute, Flags, Protokoll, Info;
# then the picture of the target dialog's new-folder button.
TOOLBAR_IMAGES = ["exit", "list", "delete", "copy", "move", "attribute", "flags", "protokoll",
                  "info", "newfolder"]
TOOLBAR_SIZE = 32

# The sizes of the hicolor icon theme that a desktop asks for.
ICON_SIZES = [16, 22, 24, 32, 48, 64, 128, 256]

# Up to this size the icon comes from its drawing on the 16-pixel grid, which stays sharp where
# the full drawing would blur.
SMALL_ICON_MAX = 24

# The program icon resource: (size, bits per pixel), in this order.
ICO_ENTRIES = [(16, 8), (32, 8), (16, 32), (32, 32), (48, 32), (128, 32), (256, 32)]

# Up to this size a 32-bit entry is stored as a bitmap, which every reader understands; the
# larger ones as PNG, which keeps the file small.
ICO_BITMAP_MAX = 48

# An 8-bit entry has no alpha channel, only a mask: pixels at least this opaque are drawn.
MASK_THRESHOLD = 128

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def render(svg, size, target):
    subprocess.run(["rsvg-convert", "--width", str(size), "--height", str(size),
                    "--output", str(target), str(svg)], check=True)


def png_chunks(data):
    if data[:8] != PNG_SIGNATURE:
        raise ValueError("not a PNG file")
    pos = 8
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        yield kind, data[pos + 8:pos + 8 + length]
        pos += 12 + length


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def decode_png(data):
    """Return (width, height, rows) of an 8-bit RGBA, non-interlaced PNG; rows hold RGBA bytes."""
    header, compressed = None, b""
    for kind, body in png_chunks(data):
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            compressed += body
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour != 6 or interlace != 0:
        raise ValueError("expected an 8-bit RGBA PNG without interlacing")
    raw = zlib.decompress(compressed)
    stride = width * 4
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - 4] if i >= 4 else 0
            up = previous[i]
            upper_left = previous[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                line[i] = (line[i] + paeth(left, up, upper_left)) & 0xFF
            elif kind != 0:
                raise ValueError("unknown PNG filter %d" % kind)
        rows.append(bytes(line))
        previous = line
    return width, height, rows


def pixels(rows):
    """The RGBA pixels of decoded rows, top row first, as tuples."""
    return [[tuple(row[i:i + 4]) for i in range(0, len(row), 4)] for row in rows]


def median_cut(colours, limit):
    """Reduce a list of RGB tuples (with repeats, so frequent colours weigh more) to a palette."""
    boxes = [colours]
    while len(boxes) < limit:
        splittable = [b for b in boxes if len(set(b)) > 1]
        if not splittable:
            break
        box = max(splittable, key=lambda b: (max(max(c[k] for c in b) - min(c[k] for c in b)
                                                 for k in range(3)), len(b)))
        boxes.remove(box)
        channel = max(range(3), key=lambda k: max(c[k] for c in box) - min(c[k] for c in box))
        box = sorted(box, key=lambda c: (c[channel], c))
        # Cut between two values of the channel, so that one colour never lands in two boxes.
        value = box[len(box) // 2][channel]
        lower = ([c for c in box if c[channel] < value]
                 or [c for c in box if c[channel] <= value])
        boxes += [lower, box[len(lower):]]
    return sorted(tuple(sum(c[k] for c in b) // len(b) for k in range(3)) for b in boxes)


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((palette[i][k] - colour[k]) ** 2 for k in range(3)))


def mask_rows(image):
    """The AND mask, bottom row first: a set bit leaves the screen pixel as it was."""
    rows = []
    for line in reversed(image):
        bits = bytearray((len(line) + 31) // 32 * 4)
        for x, (_, _, _, a) in enumerate(line):
            if a < MASK_THRESHOLD:
                bits[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(bits))
    return b"".join(rows)


def bitmap_header(size, bits, colours_used):
    # Height counts the colour rows and the mask rows together, as icon bitmaps do.
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, colours_used, 0)


def bitmap_entry_8bit(image):
    size = len(image)
    opaque = [p[:3] for line in image for p in line if p[3] >= MASK_THRESHOLD]
    # Entry 0 stays black: a masked pixel must be black, or the screen under it is inverted.
    palette = [(0, 0, 0)] + (median_cut(opaque, 255) if opaque else [])
    lookup = {c: nearest(palette, c) for c in set(opaque)}
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    table += b"\x00" * (4 * 256 - len(table))
    stride = (size + 3) // 4 * 4
    data = b"".join(bytes(lookup[p[:3]] if p[3] >= MASK_THRESHOLD else 0 for p in line)
                    .ljust(stride, b"\x00") for line in reversed(image))
    return bitmap_header(size, 8, 256) + table + data + mask_rows(image)


def bitmap_entry_32bit(image):
    size = len(image)
    data = b"".join(bytes(v for r, g, b, a in line for v in (b, g, r, a))
                    for line in reversed(image))
    return bitmap_header(size, 32, 0) + data + mask_rows(image)


def build_ico(pngs):
    """An ICO with the entries of ICO_ENTRIES; pngs maps a size to its rendered PNG bytes."""
    images = []
    for size, bits in ICO_ENTRIES:
        png = pngs[size]
        if bits == 32 and size > ICO_BITMAP_MAX:
            images.append((size, 0, bits, png))
            continue
        width, height, rows = decode_png(png)
        if (width, height) != (size, size):
            raise ValueError("rendered %dx%d, expected %d" % (width, height, size))
        image = pixels(rows)
        if bits == 8:
            images.append((size, 0, bits, bitmap_entry_8bit(image)))
        else:
            images.append((size, 0, bits, bitmap_entry_32bit(image)))

    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, colour_count, bits, body in images:
        # A size of 256 does not fit the byte and is written as 0.
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, colour_count, 0, 1, bits,
                                 len(body), offset)
        offset += len(body)
    return directory + b"".join(body for _, _, _, body in images)


def main():
    for name in TOOLBAR_IMAGES:
        render(HERE / "toolbar" / (name + ".svg"), TOOLBAR_SIZE, HERE / "toolbar" / (name + ".png"))

    icons = HERE / "icons"
    pngs = {}
    for size in ICON_SIZES:
        target = icons / ("tilgomat-%d.png" % size)
        source = "tilgomat-small.svg" if size <= SMALL_ICON_MAX else "tilgomat.svg"
        render(icons / source, size, target)
        pngs[size] = target.read_bytes()
    (icons / "tilgomat.ico").write_bytes(build_ico(pngs))
    return 0


if __name__ == "__main__":
    sys.exit(main())

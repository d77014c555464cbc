#!/usr/bin/env python3
"""Renders the updater's icon drawing into a Windows .ico file.

    make_icon.py DRAWING.svg OUTPUT.ico

The drawing is a small SVG of our own that uses only <rect> (x, y, width,
height, optional rx) and <polygon> (points), each with a fill of the form
#rrggbb and an optional fill-opacity, painted in document order over a
transparent background. Every icon size is rendered from the drawing itself,
not scaled down from a larger image, with anti-aliased edges.

The icon holds images of 256, 128, 96, 48, 32, 24 and 16 pixels at 32 bits
per pixel: the 256-pixel image as PNG, the others as bitmaps with an alpha
channel and a transparency mask, as Windows expects them. Only Python's
standard library is used, and the output depends on nothing but the drawing,
so two runs give the same bytes.
"""

import math
import struct
import sys
import xml.etree.ElementTree as ET
import zlib

SIZES = (256, 128, 96, 48, 32, 24, 16)
PNG_FROM = 256  # images this large are stored as PNG
SUBROWS = 16  # sample rows per pixel row; columns are covered exactly
ARC_STEPS = 8  # straight pieces per rounded corner


def parse_color(text):
    if len(text) != 7 or text[0] != "#":
        raise ValueError("fill must be #rrggbb: %r" % text)
    return tuple(int(text[i:i + 2], 16) / 255.0 for i in (1, 3, 5))


def rounded_rect(x, y, w, h, r):
    """The outline of a rectangle whose corners are rounded by radius r."""
    r = min(r, w / 2.0, h / 2.0)
    if r <= 0:
        return [(x, y), (x + w, y), (x + w, y + h), (x, y + h)]
    points = []
    corners = ((x + w - r, y + r, -90), (x + w - r, y + h - r, 0), (x + r, y + h - r, 90), (x + r, y + r, 180))
    for cx, cy, start in corners:
        for step in range(ARC_STEPS + 1):
            angle = math.radians(start + 90.0 * step / ARC_STEPS)
            points.append((cx + r * math.cos(angle), cy + r * math.sin(angle)))
    return points


def read_drawing(path):
    """The drawing's view box size and its shapes: (outline, rgb, opacity)."""
    root = ET.parse(path).getroot()
    box = [float(v) for v in root.get("viewBox").replace(",", " ").split()]
    if box[0] != 0 or box[1] != 0 or box[2] != box[3]:
        raise ValueError("the view box must be a square at 0,0")
    shapes = []
    for element in root.iter():
        tag = element.tag.rsplit("}", 1)[-1]
        if tag == "rect":
            outline = rounded_rect(*(float(element.get(k, "0")) for k in ("x", "y", "width", "height", "rx")))
        elif tag == "polygon":
            numbers = [float(v) for v in element.get("points").replace(",", " ").split()]
            outline = list(zip(numbers[0::2], numbers[1::2]))
        elif tag in ("svg", "title", "desc"):
            continue
        else:
            raise ValueError("unsupported element <%s>" % tag)
        shapes.append((outline, parse_color(element.get("fill")), float(element.get("fill-opacity", "1"))))
    return box[2], shapes


def coverage(outline, size, scale):
    """How much of each pixel the outline covers (even-odd rule), row by row.

    Each pixel row is sampled on SUBROWS lines; along a line the covered
    length of every pixel is added exactly, so vertical edges are as smooth
    as horizontal ones.
    """
    points = [(x * scale, y * scale) for x, y in outline]
    edges = [(points[i], points[(i + 1) % len(points)]) for i in range(len(points))]
    edges = [(a, b) for a, b in edges if a[1] != b[1]]
    rows = []
    for row in range(size):
        steps = [0.0] * (size + 1)  # full pixels, as a running sum
        part = [0.0] * size  # pixels covered in part
        for sub in range(SUBROWS):
            y = row + (sub + 0.5) / SUBROWS
            xs = sorted(a[0] + (y - a[1]) * (b[0] - a[0]) / (b[1] - a[1]) for a, b in edges
                        if min(a[1], b[1]) <= y < max(a[1], b[1]))
            for left, right in zip(xs[0::2], xs[1::2]):
                left, right = max(left, 0.0), min(right, float(size))
                if right <= left:
                    continue
                first, last = int(left), int(right)
                if first == last:
                    part[first] += (right - left) / SUBROWS
                    continue
                part[first] += (first + 1 - left) / SUBROWS
                steps[first + 1] += 1.0 / SUBROWS
                steps[last] -= 1.0 / SUBROWS
                if last < size:
                    part[last] += (right - last) / SUBROWS
        covered, running = [], 0.0
        for x in range(size):
            running += steps[x]
            covered.append(min(1.0, max(0.0, running + part[x])))
        rows.append(covered)
    return rows


def render(view, shapes, size):
    """Straight-alpha RGBA floats, top row first."""
    pixels = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]
    for outline, rgb, opacity in shapes:
        for y, covered in enumerate(coverage(outline, size, size / view)):
            line = pixels[y]
            for x, c in enumerate(covered):
                a = c * opacity
                if a <= 0.0:
                    continue
                r0, g0, b0, a0 = line[x]
                out = a + a0 * (1.0 - a)
                line[x] = tuple((s * a + d * a0 * (1.0 - a)) / out for s, d in zip(rgb, (r0, g0, b0))) + (out,)
    return [[tuple(int(round(v * 255)) for v in p) for p in line] for line in pixels]


def png_image(image):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    size = len(image)
    raw = b"".join(b"\0" + bytes(v for p in line for v in p) for line in image)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8 bits a sample, RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))


def bitmap_image(image):
    """A 32-bit DIB: the header gives twice the height (colour, then mask),
    rows run from the bottom up, the mask marks fully transparent pixels."""
    size = len(image)
    colour = b"".join(bytes((b, g, r, a)) for line in reversed(image) for r, g, b, a in line)
    stride = (size + 31) // 32 * 4
    mask = b""
    for line in reversed(image):
        bits = bytearray(stride)
        for x, p in enumerate(line):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + mask


def icon_file(images):
    """ICONDIR, one 16-byte entry per image, then the images."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = len(out) + 16 * len(images)
    entries, data = b"", b""
    for size, blob in images:
        side = 0 if size >= 256 else size  # 0 stands for 256
        entries += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(blob), offset + len(data))
        data += blob
    return out + entries + data


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: make_icon.py DRAWING.svg OUTPUT.ico\n")
        return 2
    view, shapes = read_drawing(argv[1])
    images = []
    for size in SIZES:
        image = render(view, shapes, size)
        images.append((size, png_image(image) if size >= PNG_FROM else bitmap_image(image)))
    with open(argv[2], "wb") as out:
        out.write(icon_file(images))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

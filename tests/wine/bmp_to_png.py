#!/usr/bin/env python3
"""Converts a 24-bit BMP file, as the test driver writes it, to PNG.

Usage: bmp_to_png.py IN.bmp OUT.png
"""
import struct
import sys
import zlib


def main(source, target):
    data = open(source, "rb").read()
    if data[:2] != b"BM":
        sys.exit(f"{source}: not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits = struct.unpack_from("<H", data, 28)[0]
    if bits != 24:
        sys.exit(f"{source}: {bits} bits per pixel, expected 24")
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        # Rows are stored bottom-up when the height is positive.
        row = offset + ((height - 1 - y) if height > 0 else y) * stride
        pixels = bytearray(data[row : row + width * 3])
        pixels[0::3], pixels[2::3] = pixels[2::3], pixels[0::3]  # BGR to RGB
        rows.append(b"\0" + bytes(pixels))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    header = struct.pack(">IIBBBBB", width, abs(height), 8, 2, 0, 0, 0)
    with open(target, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", header))
        out.write(chunk(b"IDAT", zlib.compress(b"".join(rows), 9)))
        out.write(chunk(b"IEND", b""))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])

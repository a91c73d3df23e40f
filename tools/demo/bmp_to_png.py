#!/usr/bin/env python3
"""Converts an uncompressed 24- or 32-bit BMP into a PNG, with the standard library only.

usage: bmp_to_png.py IN.bmp OUT.png
"""
import struct
import sys
import zlib


def read_bmp(path):
    data = open(path, "rb").read()
    if data[:2] != b"BM":
        sys.exit("%s: not a BMP file" % path)
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    if bits not in (24, 32) or compression not in (0, 3):
        sys.exit("%s: only uncompressed 24- and 32-bit BMP files are supported" % path)
    top_down = height < 0
    height = abs(height)
    stride = (width * bits // 8 + 3) & ~3
    rows = []
    for row in range(height):
        start = offset + row * stride
        pixels = data[start:start + width * bits // 8]
        step = bits // 8
        rgb = bytearray()
        for i in range(0, len(pixels), step):
            rgb += bytes((pixels[i + 2], pixels[i + 1], pixels[i]))
        rows.append(bytes(rgb))
    if not top_down:
        rows.reverse()
    return width, height, rows


def write_png(path, width, height, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    raw = b"".join(b"\x00" + row for row in rows)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    open(path, "wb").write(png)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    write_png(sys.argv[2], *read_bmp(sys.argv[1]))

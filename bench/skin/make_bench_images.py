#!/usr/bin/env python3
"""Writes the skin benchmark's background: a 760 x 480 RGBA picture with grain and a fully
transparent border that compresses to about 1 MB, like a photographic launcher background.

usage: make_bench_images.py OUT.png
"""
import random
import struct
import sys
import zlib


def main(out):
    width, height = 760, 480
    rng = random.Random(7)
    noise = [rng.randrange(256) for _ in range(4096)]
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            inside = 8 < x < width - 8 and 8 < y < height - 8
            rows += bytes(((x // 3 + noise[(x * 7 + y) % 4096] // 4) & 255,
                           (y // 2 + noise[(x + y * 13) % 4096] // 4) & 255,
                           noise[(x * 31 + y * 17) % 4096] & 255,
                           255 if inside else 0))
    chunk = lambda kind, data: struct.pack(">I", len(data)) + kind + data + struct.pack(
        ">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(bytes(rows), 6)) + chunk(b"IEND", b""))
    with open(out, "wb") as fh:
        fh.write(png)
    print("%s: %d bytes" % (out, len(png)))


if __name__ == "__main__":
    main(sys.argv[1])

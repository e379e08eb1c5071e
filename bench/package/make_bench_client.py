#!/usr/bin/env python3
"""Prepares the package benchmark: the sample package with a background of about 1 MB, the
package ZIP, and the raw deflate streams of its two start-up entries for the zlib floor.

usage: make_bench_client.py SAMPLE-CONFIG-DIR OUT-DIR
Writes OUT-DIR/package.zip and OUT-DIR/floor.txt ("SIZE PATH" per raw stream).
"""
import os
import random
import struct
import sys
import zipfile
import zlib


def png_rgba(width, height, pixel):
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            rows += bytes(pixel(x, y))
    chunk = lambda kind, data: struct.pack(">I", len(data)) + kind + data + struct.pack(
        ">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(rows), 6)) + chunk(b"IEND", b""))


def main(config_dir, out):
    os.makedirs(out, exist_ok=True)
    rng = random.Random(7)
    noise = [rng.randrange(256) for _ in range(4096)]
    # A gradient with grain: compresses to roughly 1 MB, like a photographic background.
    background = png_rgba(760, 480, lambda x, y: (
        (x // 3 + noise[(x * 7 + y) % 4096] // 4) & 255,
        (y // 2 + noise[(x + y * 13) % 4096] // 4) & 255,
        (noise[(x * 31 + y * 17) % 4096]) & 255,
        255 if 8 < x < 752 and 8 < y < 472 else 0))
    entries = []
    for name in sorted(os.listdir(config_dir)):
        with open(os.path.join(config_dir, name), "rb") as fh:
            data = fh.read()
        entries.append(("config/" + name, background if name == "main1.png" else data))
    zpath = os.path.join(out, "package.zip")
    with zipfile.ZipFile(zpath, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in entries:
            z.writestr(name, data)
    with zipfile.ZipFile(zpath) as z, open(zpath, "rb") as raw, open(os.path.join(out, "floor.txt"), "w") as floor:
        for name in ("config/cg.txt", "config/main1.png"):
            info = z.getinfo(name)
            raw.seek(info.header_offset + 26)
            name_len, extra_len = struct.unpack("<HH", raw.read(4))
            raw.seek(info.header_offset + 30 + name_len + extra_len)
            path = os.path.join(out, name.replace("/", "_") + ".deflate")
            with open(path, "wb") as fh:
                fh.write(raw.read(info.compress_size))
            floor.write("%d %s\n" % (info.file_size, path))
            print("%s: %d bytes inflated, %d stored" % (name, info.file_size, info.compress_size))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])

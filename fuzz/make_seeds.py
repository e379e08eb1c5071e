#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/: small program
files, archives and configuration texts of our own, each showing one shape the parsers meet.
Run it again after changing it; the files are kept in the repository.

usage: make_seeds.py [OUTDIR]   (default: the corpus folder beside this script)
"""
import io
import os
import struct
import sys
import warnings
import zipfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLE_CONFIG = os.path.join(HERE, "..", "sample", "package", "config", "cg.txt")
SKIN_FIXTURES = os.path.join(HERE, "..", "tests", "fixtures", "skin")

EMPTY_ZIP = b"PK\x05\x06" + bytes(18)


def pe32(sections, appended=b""):
    """A PE32 file: DOS header, "PE" signature, file header, 224-byte optional header and a
    section table; sections are (pointer, size) pairs whose raw data is zeros."""
    lfanew = 64
    dos = bytearray(64)
    dos[0:2] = b"MZ"
    struct.pack_into("<I", dos, 60, lfanew)
    header = b"PE\0\0" + struct.pack("<HHIIIHH", 0x14C, len(sections), 0, 0, 0, 224, 0x102)
    optional = bytearray(224)
    struct.pack_into("<H", optional, 0, 0x10B)
    table = b""
    for i, (pointer, size) in enumerate(sections):
        table += struct.pack("<8sIIIIIIHHI", b".s%d" % i, size, 0x1000 * (i + 1), size, pointer,
                             0, 0, 0, 0, 0x60000020)
    image = bytearray(dos + header + optional + table)
    end = max(p + s for p, s in sections)
    image.extend(bytes(max(0, end - len(image))))
    return bytes(image) + appended


def elf(bits, big_endian, appended=b"", extended=False):
    """An ELF file with one PT_LOAD segment, a PROGBITS and a NOBITS section and a string
    table; with extended=True the section count lives in section 0."""
    e = ">" if big_endian else "<"
    addr = "Q" if bits == 64 else "I"
    ehsize, phentsize, shentsize = (64, 56, 64) if bits == 64 else (52, 32, 40)
    phoff = ehsize
    data_off = phoff + phentsize
    data = b"\x90" * 16
    strtab = b"\0.text\0.bss\0.shstrtab\0"
    strtab_off = data_off + len(data)
    shoff = strtab_off + len(strtab)
    shnum = 4
    ident = b"\x7fELF" + bytes([2 if bits == 64 else 1, 2 if big_endian else 1, 1]) + bytes(9)
    header = ident + struct.pack(e + "HHI" + addr + addr + addr + "IHHHHHH", 2, 0x3E, 1, 0,
                                 phoff, shoff, 0, ehsize, phentsize, 1, shentsize,
                                 0 if extended else shnum, 3)
    if bits == 64:
        phdr = struct.pack(e + "IIQQQQQQ", 1, 5, 0, 0, 0, shoff, shoff, 0x1000)
    else:
        phdr = struct.pack(e + "IIIIIIII", 1, 0, 0, 0, shoff, shoff, 5, 0x1000)

    def shdr(name, kind, offset, size, link=0, info=0):
        if bits == 64:
            return struct.pack(e + "IIQQQQIIQQ", name, kind, 0, 0, offset, size, link, info, 1, 0)
        return struct.pack(e + "IIIIIIIIII", name, kind, 0, 0, offset, size, link, info, 1, 0)

    sections = (shdr(0, 0, 0, shnum if extended else 0)
                + shdr(1, 1, data_off, len(data))
                + shdr(7, 8, shoff, 0x10000)  # NOBITS: occupies no bytes of the file
                + shdr(12, 3, strtab_off, len(strtab)))
    return header + phdr + data + strtab + sections + appended


def zip_bytes(entries, method=zipfile.ZIP_DEFLATED, trailing=b"", comment=b""):
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", method) as z:
        z.comment = comment
        for name, data in entries:
            info = zipfile.ZipInfo(name, (2020, 1, 1, 0, 0, 0))
            if name.endswith("/"):
                info.external_attr = 0o40755 << 16 | 0x10
            z.writestr(info, data, compress_type=method)
    return buffer.getvalue() + trailing


def gbk(text):
    return text.replace("\n", "\r\n").encode("gbk")


MINIMAL = gbk("[global]\ntitle=客户端\nlinkCount=1\n[link1]\nurl=http://127.0.0.1/?a=b\ntype=4\n")
FULL_LISTS = gbk(
    "[global]\nlinkCount=5\npicCount=2\ngameButtonCount=1\nmenuCount=1\nedgeImage1=1\n"
    "edgeImage3=2\n[link5]\nurl=http://h/p?x=1\ntype=1\n[gamePic1]\nx=0\ny=0\nwidth=8\n"
    "height=8\ninterval=2\n[GAMEPIC2]\nwidth=4\n[gamebutton1]\nx=-28\nimage=1\ntype=3\n"
    "title=按钮\ntips=提示\n[menu1]\ntitle=版本\ntype=4\nshortCut=116\n")


def config_seeds():
    with open(SAMPLE_CONFIG, "rb") as f:
        sample = f.read()
    return {
        "sample.txt": sample,
        "minimal.txt": MINIMAL,
        "lists.txt": FULL_LISTS,
        "bom.txt": b"\xef\xbb\xbf" + MINIMAL,
        "cr_only.txt": MINIMAL.replace(b"\r\n", b"\r"),
        "lf_only.txt": MINIMAL.replace(b"\r\n", b"\n"),
        "broken_header.txt": gbk("[global]\nlinkCount=2\n[link1\nurl=lost\n[\nlink2]\nx=1\n"),
        "nul.txt": MINIMAL + b"\0[global]\nlinkCount=0\n",
        "long_gbk.txt": gbk("[global]\nlinkCount=1\ntitle=a" + "测" * 70 + "\n"),
        "numbers.txt": gbk("[global]\nlinkCount=+0003 ;note\nport=99999999999\n"
                           "minGameWidth=\nlogx=-2147483649\ntitleColor=0x10\n"),
        "huge_counts.txt": gbk("[global]\nlinkCount=2147483647\nmenuCount=1000001\n"),
        "names.txt": gbk("Link1\nLINK1\nlink1\n"),
    }


def zip_seeds():
    png = b"\x89PNG\r\n\x1a\n" + bytes(24)
    return {
        "stored.zip": zip_bytes([("config/cg.txt", MINIMAL)], zipfile.ZIP_STORED),
        "deflated.zip": zip_bytes([("config/cg.txt", FULL_LISTS), ("config/main1.png", png)]),
        "duplicates.zip": zip_bytes([("config/cg.txt", b"first"), ("config/cg.txt", b"second")]),
        "directories.zip": zip_bytes([("config/", b""), ("config/cg.txt/", b""),
                                      ("config/main1.png", png)]),
        "trailing.zip": zip_bytes([("config/cg.txt", MINIMAL)], trailing=b"\0" * 64),
        "comment.zip": zip_bytes([("config/style.png", png)], comment=b"signed"),
        "empty.zip": EMPTY_ZIP,
    }


def image_end_seeds():
    package = zip_bytes([("config/cg.txt", MINIMAL)], zipfile.ZIP_STORED)
    return {
        "pe32_package": pe32([(0x200, 0x200), (0x400, 0x80)], package),
        "pe32_bare": pe32([(0x200, 0x100)]),
        "elf64_package": elf(64, False, package),
        "elf32_be_package": elf(32, True, EMPTY_ZIP),
        "elf64_extended_numbering": elf(64, False, EMPTY_ZIP, extended=True),
        "elf64_bare": elf(64, False),
    }


def package_check_seeds():
    # The checker's target reads its choices from the end of the input: which pictures are
    # present and decode, the sprite size and whether there is a configuration at all.
    everything = b"\xff" * 17
    return {
        "sample": open(SAMPLE_CONFIG, "rb").read() + everything,
        "lists": FULL_LISTS + everything,
        "no_pictures": MINIMAL + b"\x00" * 8 + b"\x40\x00\x00\x00" * 2 + b"\x01",
        "no_config": MINIMAL + b"\xff" * 16 + b"\x00",
    }


def png(width, height, color_type, depth, rows, chunks=(), interlace=0):
    """A PNG from raw scanlines (filter byte 0 is added); chunks go between IHDR and IDAT."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    header = struct.pack(">IIBBBBB", width, height, depth, color_type, 0, 0, interlace)
    raw = b"".join(b"\0" + row for row in rows)
    body = b"".join(chunk(kind, data) for kind, data in chunks)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + body +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def skin_png_seeds():
    seeds = {}
    for name in sorted(os.listdir(SKIN_FIXTURES)):
        if name.endswith(".png"):
            with open(os.path.join(SKIN_FIXTURES, name), "rb") as f:
                seeds[name] = f.read()
    # A panel with a transparent frame, as launcher backgrounds have.
    panel = [bytes(b for x in range(24) for b in ((0, 0, 0, 0) if x in (0, 23) or y in (0, 15)
                                                  else (x * 9, y * 15, 200, 255)))
             for y in range(16)]
    seeds["panel_rgba.png"] = png(24, 16, 6, 8, panel)
    # Interlaced: the scanlines of the passes of a 3x3 picture that have pixels (1, 1, 2,
    # 1 + 1 and 3 pixels).
    px = b"\x10\x20\x30\xff"
    seeds["interlaced.png"] = png(3, 3, 6, 8, [px, px, px * 2, px, px, px * 3], interlace=1)
    seeds["gray_alpha16.png"] = png(3, 2, 4, 16, [bytes(range(12)), bytes(range(12, 24))])
    seeds["pal2_trns.png"] = png(5, 2, 3, 2, [b"\x1b\x00", b"\xe4\x40"],
                                 [(b"PLTE", bytes(range(12))), (b"tRNS", b"\x00\x80")])
    seeds["one_pixel.png"] = png(1, 1, 2, 8, [b"\x00\xff\x00"])
    seeds["zero_size.png"] = png(0, 0, 6, 8, [])
    seeds["huge_header.png"] = png(32767, 32767, 0, 1, [b"\0"])
    # A chunk before the picture data that claims almost 2 GiB and holds a few bytes.
    seeds["huge_chunk.png"] = (png(3, 2, 2, 8, [bytes(9)] * 2)[:33] +
                               struct.pack(">I", 0x7FFF0000) + b"sPLT" + bytes(16))
    return seeds


def version_seeds():
    # The configured version, a 0xFF byte, then the body of the version file.
    return {
        "newer_crlf": b"1.30\xff1.31\r\n1.0\r\n",
        "minor_smaller": b"1.30\xff1.4",
        "major_only": b"1.30\xff2",
        "third_piece": b"1.30\xff1.30.7\n",
        "dots_and_signs": b" +1..-2\xff..00001...000002 junk",
        "text": b"1.0\xffversion 2.0\r\n",
        "nul": b"1.0\xff\x002.0",
        "long_line": b"1.0\xff" + b"9" * 200 + b".1",
        "overflow": b"1.0\xff99999999999.1",
        "empty": b"1.0\xff",
    }


def bridge_args(*args):
    """Arguments in the fuzz target's encoding: ("s", text), ("n", number), ("i", small
    number), ("I", machine int), ("U", machine unsigned), ("b", bool), ("u"ndefined), ("null"),
    ("o"bject)."""
    out = b""
    for kind, *value in args:
        if kind == "s":
            text = value[0].encode("utf-8") if isinstance(value[0], str) else value[0]
            out += b"\x04" + struct.pack("<H", len(text)) + text
        elif kind == "n":
            out += b"\x03" + struct.pack("<d", value[0])
        elif kind == "i":
            out += b"\x06" + struct.pack("<b", value[0])
        elif kind == "I":
            out += b"\x08" + struct.pack("<i", value[0])
        elif kind == "U":
            out += b"\x09" + struct.pack("<I", value[0])
        elif kind == "b":
            out += b"\x02" + bytes([value[0]])
        else:
            out += {"u": b"\x00", "null": b"\x01", "o": b"\x05"}[kind]
    return out


def script_bridge_seeds():
    return {
        "end": bridge_args(("s", "1")),
        "restart": bridge_args(("s", " +2"), ("u",)),
        "title": bridge_args(("s", "6"), ("s", "Server 3 \u2028<b>"), ("s", "x")),
        "title_long": bridge_args(("s", "6"), ("s", "\u6d4b" * 100), ("i", 0)),
        "recharge": bridge_args(("s", "4"), ("s", "http://pay.test/?a=1;b=2"), ("o",)),
        "recharge_not_web": bridge_args(("s", "4"), ("s", "file:///etc/passwd"), ("null",)),
        "recharge_nul": bridge_args(("s", "4"), ("s", b"https://pay.test/\0javascript:x"),
                                    ("b", 1)),
        "number_code": bridge_args(("i", 1), ("n", 4.0), ("n", 1e300)),
        "machine_ints": bridge_args(("I", 6), ("s", "t"), ("U", 4), ("U", 4294967295)),
        "pieces": bridge_args(("s", "2,,10,20,,a,b,c,d,e,f,g,h")),
        "identifier": bridge_args(("s", "ClientCallJs"), ("s", "$x_1"), ("s", "return")),
    }


def external_message_seeds():
    return {
        "title": b'[["JsCallClient","s6","s\\u6807\\u9898","u"]]',
        "kinds": b'[["JsCallClient","n-2.5","nNaN","b1","z","o","s\\ud83d\\ude00"],["Other"]]',
        "escapes": b'[["JsCallClient","s\\"\\\\\\/\\b\\f\\n\\r\\t\\ud800x"]]',
        "unknown": b'[["alert","s1"],["JsCallClient","x"]]',
        "empty": b"[]",
    }


# A key and two signatures of b"fuzz" made by the minisign tool (prehashed and legacy -l).
MINISIGN_KEY = (b"untrusted comment: minisign public key 142923CE1D94200\n"
                b"RWQAQtnhPJJCAayKrjVCQr//0E3xDk0OfcXiKnA5bFTSPtWYfFJsuMyY\n")
MINISIGN_PREHASHED = (
    b"untrusted comment: signature from minisign secret key\n"
    b"RUQAQtnhPJJCAWJY1MuOrUWYdOgMqoVCZw8aVaGXIS6ZbfqTozLGY8/uQR9Exmg+v6FHzk7RGF3beiBMkBOtsGakJ4H0FylDmgA=\n"
    b"trusted comment: timestamp:1700000000\tfile:msg\thashed\n"
    b"Ah5d7TauHqEAj+hjxAzQufKeRb2WPZMUNOsjed6hHe26F16LV3eelPNWVwWPLJ0kwGh8l9wFcrv8TogfsrO5Bw==\n")
MINISIGN_LEGACY = (
    b"untrusted comment: signature from minisign secret key\n"
    b"RWQAQtnhPJJCAWAfML8JHwYS5LOJo6PwFfO9Hi2fUThqRWEh9kxe5WUqwXb2YbDRTpmUgTRAkNcX/Bu7L2bASV7jiEPYWHGltA4=\n"
    b"trusted comment: legacy\n"
    b"uVFEnjeybONdeAqrFNMaRT0Fd+9uff9VIg39g+jghTfUuvinHhYUSOdv0qY91IsjhakmO7TiJxbCFWujxglACg==\n")


def minisign_seeds():
    # The public key file, a 0xFF byte, then the signature file.
    return {
        "prehashed": MINISIGN_KEY + b"\xff" + MINISIGN_PREHASHED,
        "legacy": MINISIGN_KEY + b"\xff" + MINISIGN_LEGACY,
        "crlf": (MINISIGN_KEY + b"\xff" + MINISIGN_PREHASHED).replace(b"\n", b"\r\n"),
        "truncated": MINISIGN_KEY + b"\xff" + MINISIGN_PREHASHED[:150],
        "key_only": MINISIGN_KEY,
    }


def main():
    warnings.filterwarnings("ignore", "Duplicate name")  # duplicates are one of the seeds
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "corpus")
    for target, seeds in (("config", config_seeds()), ("zip_archive", zip_seeds()),
                          ("image_end", image_end_seeds()),
                          ("package_check", package_check_seeds()),
                          ("skin_png", skin_png_seeds()), ("version", version_seeds()),
                          ("script_bridge", script_bridge_seeds()),
                          ("external_message", external_message_seeds()),
                          ("minisign", minisign_seeds())):
        folder = os.path.join(out, target)
        os.makedirs(folder, exist_ok=True)
        for name, data in seeds.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()

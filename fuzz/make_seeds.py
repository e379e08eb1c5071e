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

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLE_CONFIG = os.path.join(HERE, "..", "sample", "package", "config", "cg.txt")

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


def main():
    warnings.filterwarnings("ignore", "Duplicate name")  # duplicates are one of the seeds
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "corpus")
    for target, seeds in (("config", config_seeds()), ("zip_archive", zip_seeds()),
                          ("image_end", image_end_seeds()),
                          ("package_check", package_check_seeds())):
        folder = os.path.join(out, target)
        os.makedirs(folder, exist_ok=True)
        for name, data in seeds.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()

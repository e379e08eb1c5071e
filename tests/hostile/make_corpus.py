#!/usr/bin/env python3
"""Writes the hostile-input corpus: branded clients whose program file, package, configuration
text or background picture is broken in one way each, with the reaction the client must show.

usage: make_corpus.py CLIENT elf|pe OUTDIR [--all]

CLIENT is the unbranded client (ELF on Linux, PE32 on Windows). For each case that applies to
the format, OUTDIR gets the branded file (<case>, or <case>.exe for pe) and a line in
OUTDIR/cases.tsv:  file <TAB> reaction <TAB> argument or "-" <TAB> what is broken
reaction is one of
  message   the start-up failure box with the text in argument, then the program ends
  launcher  the launcher window, titled argument (when not empty)
  game      the game window, titled argument (when not empty)
  silent    the program ends without any window
Cases marked for both formats are the representative part run under Wine; --all writes every
case whatever its format marks (for trying a Linux-only case on Windows by hand).
"""
import os
import random
import struct
import sys
import zlib

NO_PACKAGE = "没有附加配置文件,请打包配置文件"
OPEN_ZIP = "OpenZip失败"
READ_INI = "读取ini文件失败"
LOAD_INI = "装载ini文件失败"
READ_IMAGE = "读取图片失败"
TITLE = "敌意测试"

# A marker keeps the launcher open: an empty one matches every address, so the page area's
# own first navigation would already be taken for the game entry.
CONFIG = "[global]\ntitle=%s\nlinkCount=1\ngameheader=game:\n[link1]\nurl=http://127.0.0.1:9/\ntype=4\n" % TITLE


def gbk(text):
    return text.replace("\n", "\r\n").encode("gbk")


# --- PNG ----------------------------------------------------------------------------------

def chunk(kind, data, crc=None):
    crc = zlib.crc32(kind + data) if crc is None else crc
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", crc)


def png(width, height, rows=None, depth=8, colour=6, ihdr_crc=None):
    """A PNG whose image data is `rows` (filter bytes included) deflated; by default the rows
    of an all-zero image of that size. Zero-sized images get no data at all."""
    ihdr = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, 0)
    if rows is None:
        channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour]
        row = bytes(1 + (width * channels * depth + 7) // 8)
        compressor = zlib.compressobj(9)
        data = b"".join(compressor.compress(row) for _ in range(height)) + compressor.flush()
    else:
        data = zlib.compress(rows, 9)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr, ihdr_crc) + chunk(b"IDAT", data)
            + chunk(b"IEND", b""))


def small_background():
    """64 x 48 RGBA: opaque blue with a transparent band, like a real launcher background."""
    rows = b""
    for y in range(48):
        pixel = b"\x00\x00\x00\x00" if 20 <= y < 28 else b"\x20\x40\xc0\xff"
        rows += b"\x00" + pixel * 64
    return png(64, 48, rows)


# --- ZIP ----------------------------------------------------------------------------------

class Entry:
    """One archive entry with every field under the test's control. `data` is the entry's
    content; the payload written is that content stored or deflated. Fields left None are
    derived from the content."""

    def __init__(self, name, data=b"", method=8, **fields):
        self.name = name.encode("gbk") if isinstance(name, str) else name
        self.data = data
        self.method = method
        self.payload = fields.pop("payload", None)
        self.crc = fields.pop("crc", None)
        self.usize = fields.pop("usize", None)
        self.flags = fields.pop("flags", 0)
        self.attributes = fields.pop("attributes", 0)
        self.local_signature = fields.pop("local_signature", b"PK\x03\x04")
        assert not fields, fields

    def resolved(self):
        if self.payload is None:
            if self.method == 8:
                compressor = zlib.compressobj(9, zlib.DEFLATED, -15)
                self.payload = compressor.compress(self.data) + compressor.flush()
            else:
                self.payload = self.data
        crc = zlib.crc32(self.data) if self.crc is None else self.crc
        usize = len(self.data) if self.usize is None else self.usize
        return crc, usize


def deflated_stream(name, pieces, **fields):
    """An entry whose content is the concatenation of `pieces` (an iterable of bytes), deflated
    piece by piece so that very large contents need no buffer here."""
    compressor = zlib.compressobj(9, zlib.DEFLATED, -15)
    payload, crc, size = [], 0, 0
    for piece in pieces:
        payload.append(compressor.compress(piece))
        crc = zlib.crc32(piece, crc)
        size += len(piece)
    payload.append(compressor.flush())
    fields.setdefault("crc", crc)
    fields.setdefault("usize", size)
    return Entry(name, b"", 8, payload=b"".join(payload), **fields)


def zip_archive(entries, count=None, cd_offset=None, comment=b""):
    local, central = bytearray(), bytearray()
    for e in entries:
        crc, usize = e.resolved()
        offset = len(local)
        common = struct.pack("<HHHHHIII", 20, e.flags, e.method, 0, 0x5021, crc & 0xFFFFFFFF,
                             len(e.payload), usize & 0xFFFFFFFF)
        local += (e.local_signature + common + struct.pack("<HH", len(e.name), 0) + e.name
                  + e.payload)
        central += (b"PK\x01\x02" + struct.pack("<H", 20) + common
                    + struct.pack("<HHHHHII", len(e.name), 0, 0, 0, 0, e.attributes, offset)
                    + e.name)
    n = len(entries) if count is None else count
    end = b"PK\x05\x06" + struct.pack("<HHHHIIH", 0, 0, n, n, len(central),
                                      len(local) if cd_offset is None else cd_offset,
                                      len(comment)) + comment
    return bytes(local + central + end)


def pictures():
    """The pictures a working package has besides the background: the game window's sprite
    sheet and logo."""
    return [Entry("config/style.png", png(32, 32)), Entry("config/logo.png", png(16, 16))]


def package(config=CONFIG, background=None, extra=(), first=()):
    """The usual package: config/cg.txt (GBK text or raw bytes), config/main1.png and the
    other pictures, with `first` entries before and `extra` entries after them."""
    entries = list(first)
    if config is not None:
        entries.append(Entry("config/cg.txt", gbk(config) if isinstance(config, str) else config))
    entries.append(Entry("config/main1.png", small_background() if background is None
                         else background))
    entries.extend(pictures())
    entries.extend(extra)
    return zip_archive(entries)


def short_lines(pattern, size):
    """Lines made from pattern % 0, 1, 2, ... up to `size` bytes: distinct keys or sections,
    the text that costs an INI document the most memory per byte."""
    lines, total, i = [], 0, 0
    while total < size:
        line = pattern % i
        lines.append(line)
        total += len(line)
        i += 1
    return b"".join(lines)[:size]


def certificate(size):
    """Bytes shaped like a code-signing certificate table (WIN_CERTIFICATE + DER-ish body)."""
    body = bytes(random.Random(size).getrandbits(8) for _ in range(size - 8))
    return struct.pack("<IHH", size, 0x0200, 0x0002) + body


# --- program files ------------------------------------------------------------------------

def elf_section_headers(client):
    """(offset of the table, entry size, count, 64-bit) of a little-endian ELF client."""
    assert client[:4] == b"\x7fELF" and client[5] == 1
    if client[4] == 2:
        shoff, = struct.unpack_from("<Q", client, 40)
        shentsize, shnum = struct.unpack_from("<HH", client, 58)
        return shoff, shentsize, shnum, True
    shoff, = struct.unpack_from("<I", client, 32)
    shentsize, shnum = struct.unpack_from("<HH", client, 46)
    return shoff, shentsize, shnum, False


def elf_with_section(client, offset, size):
    """The client with its last section header made to cover [offset, offset + size); the
    kernel and the dynamic loader never read section headers, so it still runs."""
    shoff, shentsize, shnum, is64 = elf_section_headers(client)
    entry = shoff + shentsize * (shnum - 1)
    image = bytearray(client)
    if is64:
        struct.pack_into("<IIQQQQ", image, entry, 0, 1, 0, 0, offset, size)
    else:
        struct.pack_into("<IIIIII", image, entry, 0, 1, 0, 0, offset, size)
    return bytes(image)


def elf_with_section_count(client, count):
    image = bytearray(client)
    struct.pack_into("<H", image, 60 if client[4] == 2 else 48, count)
    return bytes(image)


# --- the cases ----------------------------------------------------------------------------

def cases(client, fmt):
    """(name, formats, reaction, argument, description, branded bytes or a function of the
    client giving them). formats: "both" or "elf"."""
    p = package()
    big = 0x7FFFFFFF
    zeros = lambda total, piece=1 << 20: (bytes(min(piece, total - i))
                                          for i in range(0, total, piece))
    comment_lines = lambda total: (b";" + b" " * 1021 + b"\r\n" for _ in range(total // 1024))
    yield ("bare_client", "both", "message", NO_PACKAGE, "nothing follows the image", b"")
    yield ("zeros_appended", "elf", "message", OPEN_ZIP, "4 KB of zeros instead of a package",
           bytes(4096))
    yield ("certificate_only", "both", "message", OPEN_ZIP,
           "only a certificate table follows the image", certificate(2048))
    yield ("package_then_certificate", "both", "launcher", TITLE,
           "a certificate table after the package", p + certificate(4096))
    yield ("trailer_beyond_end_record_search", "elf", "message", OPEN_ZIP,
           "70000 bytes after the package hide its end record", p + bytes(70000))
    yield ("truncated_half", "both", "message", OPEN_ZIP, "package cut in half",
           p[:len(p) // 2])
    yield ("truncated_end_record", "elf", "message", OPEN_ZIP,
           "last byte of the end record missing", p[:-1])
    if fmt == "elf":
        yield ("elf_section_beyond_file", "elf", "message", NO_PACKAGE,
               "a section header points past the end of the file",
               lambda c: elf_with_section(c, len(c), 1 << 40) + p)
        yield ("elf_section_into_package", "elf", "message", OPEN_ZIP,
               "a section header reaches 100 bytes into the package",
               lambda c: elf_with_section(c, len(c), 100) + p)
        yield ("elf_section_count_huge", "elf", "message", NO_PACKAGE,
               "65535 section headers claimed",
               lambda c: elf_with_section_count(c, 0xFFFF) + p)

    # Sizes, counts and offsets that lie.
    yield ("config_declares_4gb", "both", "message", READ_INI,
           "config/cg.txt claims 4 GB uncompressed",
           package(first=[Entry("config/cg.txt", gbk(CONFIG), usize=0xFFFFFFFF)], config=None))
    yield ("config_bomb_200mb", "both", "message", READ_INI,
           "config/cg.txt inflates to 200 MB",
           zip_archive([deflated_stream("config/cg.txt", zeros(200 << 20)),
                        Entry("config/main1.png", small_background())]))
    yield ("config_60mb_of_comments", "both", "message", LOAD_INI,
           "config/cg.txt is 60 MB, nearly all comment lines",
           zip_archive([deflated_stream("config/cg.txt",
                                        [gbk(CONFIG)] + list(comment_lines(60 << 20))),
                        Entry("config/main1.png", small_background())] + pictures()))
    yield ("config_2mb_of_sections", "elf", "message", LOAD_INI,
           "config/cg.txt is 2 MB of distinct section headers",
           package(config=gbk(CONFIG) + short_lines(b"[s%d]\r\n", 2 << 20)))
    yield ("config_1mb_of_keys", "both", "launcher", TITLE,
           "config/cg.txt just under 1 MB of distinct short keys",
           package(config=gbk(CONFIG) + short_lines(b"k%d=\r\n", 1000000 - len(gbk(CONFIG)))))
    yield ("background_bomb_60mb", "both", "launcher", TITLE,
           "config/main1.png inflates to 60 MB of zeros",
           zip_archive([Entry("config/cg.txt", gbk(CONFIG)),
                        deflated_stream("config/main1.png", zeros(60 << 20))] + pictures()))
    data = gbk(CONFIG)
    yield ("size_smaller_than_content", "elf", "message", READ_INI,
           "recorded size 10 bytes short", package(config=None, first=[
               Entry("config/cg.txt", data, usize=len(data) - 10)]))
    yield ("size_larger_than_content", "elf", "message", READ_INI,
           "recorded size 10 bytes too large", package(config=None, first=[
               Entry("config/cg.txt", data, usize=len(data) + 10)]))
    yield ("bad_crc", "both", "message", READ_INI, "CRC of config/cg.txt wrong",
           package(config=None, first=[Entry("config/cg.txt", data, crc=zlib.crc32(data) ^ 1)]))
    yield ("local_header_broken", "elf", "message", READ_INI,
           "local header of config/cg.txt has no signature",
           package(config=None, first=[Entry("config/cg.txt", data, local_signature=b"XX\x03\x04")]))
    yield ("entry_count_huge", "both", "launcher", TITLE,
           "end record claims 65535 entries, there are 4",
           zip_archive([Entry("config/cg.txt", data), Entry("config/main1.png", small_background())]
                       + pictures(), count=0xFFFF))
    yield ("directory_offset_beyond", "elf", "message", OPEN_ZIP,
           "central directory offset past the archive",
           zip_archive([Entry("config/cg.txt", data)], cd_offset=1 << 30))

    # Names and kinds of entries.
    yield ("duplicate_config", "both", "launcher", "第一",
           "two config/cg.txt; the second would end the program",
           package(config=None, first=[
               Entry("config/cg.txt", gbk(CONFIG.replace(TITLE, "第一"))),
               Entry("config/cg.txt", gbk("[global]\ntitle=第二\nlinkCount=0\n"))]))
    yield ("directory_named_like_config", "elf", "message", READ_INI,
           "only a folder config/cg.txt/", package(config=None, first=[
               Entry("config/cg.txt/", b"", 0, attributes=0x10)]))
    yield ("config_is_a_directory_entry", "elf", "silent", "",
           "config/cg.txt is an empty entry with the folder attribute",
           package(config=None, first=[Entry("config/cg.txt", b"", 0, attributes=0x10)]))
    yield ("background_is_a_directory_entry", "elf", "launcher", TITLE,
           "config/main1.png is an empty entry with the folder attribute",
           zip_archive([Entry("config/cg.txt", data),
                        Entry("config/main1.png", b"", 0, attributes=0x10)] + pictures()))
    yield ("encrypted_config", "elf", "message", READ_INI, "config/cg.txt flagged encrypted",
           package(config=None, first=[Entry("config/cg.txt", data, flags=1)]))
    yield ("unknown_method", "elf", "message", READ_INI, "config/cg.txt compressed with bzip2",
           package(config=None, first=[Entry("config/cg.txt", data, method=12, payload=data)]))
    yield ("name_in_capitals", "elf", "message", READ_INI, "CONFIG/CG.TXT only",
           package(config=None, first=[Entry("CONFIG/CG.TXT", data)]))
    yield ("name_with_nul", "both", "message", READ_INI,
           "config/cg.txt followed by a NUL and more in its stored name",
           package(config=None, first=[Entry(b"config/cg.txt\0.evil", data)]))
    yield ("names_of_300_bytes", "elf", "launcher", TITLE, "entries with 300-byte names first",
           package(first=[Entry("config/" + "n" * 293, b"x"), Entry("config/cg.txt" + "/" * 287, b"y")]))
    yield ("twenty_thousand_entries", "elf", "launcher", TITLE,
           "20000 entries before config/cg.txt",
           package(first=[Entry("config/%d.bin" % i, b"", 0) for i in range(20000)]))
    yield ("empty_archive", "elf", "message", OPEN_ZIP,
           "an archive with no entries (its end record at the package's first byte)",
           zip_archive([]))

    # Configuration texts.
    yield ("utf8_bom", "both", "silent", "", "a UTF-8 byte-order mark before [global]",
           package(config=b"\xef\xbb\xbf" + gbk(CONFIG)))
    yield ("cr_only_lines", "both", "launcher", TITLE, "lines end in CR only",
           package(config=gbk(CONFIG).replace(b"\r\n", b"\r")))
    yield ("nul_after_count", "elf", "launcher", "前", "a NUL byte ends the text after title=前",
           package(config=gbk("[global]\nlinkCount=1\ntitle=前") + b"\0" + gbk("后\ntitle=后\n")))
    yield ("nul_before_count", "elf", "silent", "", "a NUL byte before linkCount",
           package(config=gbk("[global]\n") + b"\0" + gbk("linkCount=1\n")))
    yield ("huge_counts", "both", "launcher", TITLE, "every count 2147483647",
           package(config=CONFIG.replace("linkCount=1", "linkCount=%d\nmenuCount=%d\npicCount=%d\n"
                                         "gameButtonCount=%d" % (big, big, big, big))))
    yield ("negative_count", "elf", "silent", "", "linkCount=-5",
           package(config=CONFIG.replace("linkCount=1", "linkCount=-5")))
    yield ("count_beyond_32_bits", "elf", "launcher", TITLE, "linkCount=99999999999999999999",
           package(config=CONFIG.replace("linkCount=1", "linkCount=99999999999999999999")))
    yield ("global_header_without_bracket", "elf", "silent", "", "[global without ]",
           package(config=CONFIG.replace("[global]", "[global")))
    yield ("title_cut_inside_character", "both", "launcher", "测" * 63,
           "140-byte GBK title: the field's 127 bytes end inside a character",
           package(config=CONFIG.replace(TITLE, "测" * 70)))
    yield ("title_of_100_kb", "elf", "launcher", "A" * 127, "a 100 KB title line",
           package(config=CONFIG.replace(TITLE, "A" * 100000)))
    yield ("title_with_stray_lead_byte", "elf", "launcher", "abc", "title ends in a lone lead byte",
           package(config=gbk(CONFIG.replace(TITLE, "abc")).replace(b"abc", b"abc\x81")))
    yield ("binary_config", "elf", "silent", "", "config/cg.txt is 8 KB of random bytes",
           package(config=bytes(random.Random(7).getrandbits(8) for _ in range(8192))))
    yield ("empty_config", "elf", "silent", "", "config/cg.txt is empty", package(config=b""))

    # Background pictures.
    yield ("background_missing", "both", "message", READ_IMAGE, "no config/main1.png",
           zip_archive([Entry("config/cg.txt", data)]))
    yield ("background_truncated", "both", "launcher", TITLE, "config/main1.png cut in half",
           package(background=small_background()[:len(small_background()) // 2]))
    yield ("background_not_png", "elf", "launcher", TITLE, "config/main1.png is text",
           package(background=b"GIF89a, or rather not"))
    yield ("background_header_30000_square", "both", "launcher", TITLE,
           "30000 x 30000 claimed, image data for a few rows",
           package(background=png(30000, 30000, rows=bytes(3 * (1 + 30000 * 4)))))
    yield ("background_16384_square", "both", "launcher", TITLE,
           "16384 x 16384 1-bit image that really decodes (1 GB as 32-bit pixels)",
           package(background=png(16384, 16384, depth=1, colour=0)))
    yield ("background_zero_size", "both", "launcher", TITLE, "0 x 0 picture",
           package(background=png(0, 0, rows=b"")))
    yield ("background_bad_header_crc", "elf", "launcher", TITLE, "IHDR CRC wrong",
           package(background=png(64, 48, ihdr_crc=0)))
    yield ("first_url_broken_background", "both", "game", TITLE,
           "firstUrl set and config/main1.png does not decode",
           package(config=CONFIG + "[global]\nfirstUrl=http://127.0.0.1:9/game\n",
                   background=b"\x89PNG\r\n\x1a\n broken"))


def main():
    client_path, fmt, out = sys.argv[1], sys.argv[2], sys.argv[3]
    everything = "--all" in sys.argv[4:]
    with open(client_path, "rb") as f:
        client = f.read()
    os.makedirs(out, exist_ok=True)
    lines = []
    for name, formats, reaction, argument, description, tail in cases(client, fmt):
        if fmt == "pe" and formats != "both" and not everything:
            continue
        file_name = name + (".exe" if fmt == "pe" else "")
        branded = tail(client) if callable(tail) else client + tail
        path = os.path.join(out, file_name)
        with open(path, "wb") as f:
            f.write(branded)
        os.chmod(path, 0o755)
        lines.append("\t".join((file_name, reaction, argument or "-", description)))
    with open(os.path.join(out, "cases.tsv"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()

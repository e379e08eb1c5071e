#!/usr/bin/env python3
"""Writes a package ZIP for tests: entries from a folder and/or NAME=FILE / NAME:=TEXT pairs.

usage: make_package.py OUT.zip [--dir FOLDER] [--stored] [NAME=FILE | NAME:=TEXT ...]
Entries of --dir are stored under their path relative to FOLDER (e.g. config/cg.txt).
TEXT is written as GBK, with "\\n" turned into CR LF.
"""
import os
import sys
import zipfile


def main(argv):
    out, args = argv[1], argv[2:]
    method = zipfile.ZIP_DEFLATED
    entries = []
    i = 0
    while i < len(args):
        a = args[i]
        if a == "--stored":
            method = zipfile.ZIP_STORED
        elif a == "--dir":
            i += 1
            root = args[i]
            for base, _, files in sorted(os.walk(root)):
                for f in sorted(files):
                    path = os.path.join(base, f)
                    with open(path, "rb") as fh:
                        entries.append((os.path.relpath(path, root).replace(os.sep, "/"), fh.read()))
        elif ":=" in a:
            name, text = a.split(":=", 1)
            entries.append((name, text.replace("\\n", "\r\n").encode("gbk")))
        else:
            name, path = a.split("=", 1)
            with open(path, "rb") as fh:
                entries.append((name, fh.read()))
        i += 1
    with zipfile.ZipFile(out, "w", method) as z:
        for name, data in entries:
            z.writestr(zipfile.ZipInfo(name, (2020, 1, 1, 0, 0, 0)), data, compress_type=method)


if __name__ == "__main__":
    main(sys.argv)

#!/usr/bin/python3
"""Reads a message dialog of a running program through AT-SPI and presses one of its buttons.

usage: dialog.py TITLE [ok|cancel] [timeout-seconds]
Prints the dialog's text and exits 0; exits 2 when no dialog with that title appears in time.
"""
import sys
import time

from atspi_tree import top_window, walk


def main():
    title = sys.argv[1]
    button = sys.argv[2] if len(sys.argv) > 2 else "ok"
    deadline = time.time() + (float(sys.argv[3]) if len(sys.argv) > 3 else 20)
    dialog = None
    while dialog is None and time.time() < deadline:
        dialog = top_window(title)
        if dialog is None:
            time.sleep(0.2)
    if dialog is None:
        print("no dialog")
        return 2
    labels = [n.name for n in walk(dialog) if n.getRoleName() == "label" and n.name]
    print("\n".join(labels))
    sys.stdout.flush()
    wanted = {"ok": ("OK", "_OK", "确定"), "cancel": ("Cancel", "_Cancel", "取消")}[button]
    for n in walk(dialog):
        if n.getRoleName() == "push button" and n.name.replace("_", "") in [w.replace("_", "") for w in wanted]:
            n.queryAction().doAction(0)
            return 0
    print("button not found")
    return 3


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/python3
"""Reads an OK/Cancel question through AT-SPI: its text and its default button (the one
Enter presses), then presses the button asked for.

usage: game_question.py TITLE ok|cancel [timeout-seconds]
Prints "TEXT|DEFAULT-BUTTON"; exits 2 when no window with that title appears in time.
"""
import sys
import time

import pyatspi

from atspi_tree import top_window, walk

NAMES = {"ok": ("OK", "确定"), "cancel": ("Cancel", "取消")}


def label(button):
    return button.name.replace("_", "")


def main():
    title, wanted = sys.argv[1], sys.argv[2]
    deadline = time.time() + (float(sys.argv[3]) if len(sys.argv) > 3 else 15)
    dialog = None
    while dialog is None and time.time() < deadline:
        dialog = top_window(title, ("alert", "dialog"))
        if dialog is None:
            time.sleep(0.2)
    if dialog is None:
        print("no dialog")
        return 2
    nodes = list(walk(dialog))
    text = " ".join(n.name for n in nodes if n.getRoleName() == "label" and n.name)
    buttons = [n for n in nodes if n.getRoleName() == "push button"]
    default = next((label(b) for b in buttons if b.getState().contains(pyatspi.STATE_IS_DEFAULT)), "")
    print("%s|%s" % (text, default))
    sys.stdout.flush()
    for button in buttons:
        if label(button) in NAMES[wanted]:
            button.queryAction().doAction(0)
            return 0
    print("button not found")
    return 3


if __name__ == "__main__":
    sys.exit(main())

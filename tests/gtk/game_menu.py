#!/usr/bin/python3
"""Reads the popup menu a program shows through AT-SPI and chooses one of its items.

usage: game_menu.py list [timeout-seconds]
         Prints the names of the menu items on screen, one a line; exits 2 when no menu shows.
       game_menu.py position [timeout-seconds]
         Prints the screen position of the menu on screen as X,Y.
       game_menu.py choose NAME [timeout-seconds]
         Activates the item named NAME of the menu on screen; exits 2 when there is none.
"""
import sys
import time

import pyatspi

from atspi_tree import applications, walk


def showing(role):
    found = []
    for app in applications():
        for node in walk(app):
            try:
                if node.getRoleName() == role and node.getState().contains(pyatspi.STATE_SHOWING):
                    found.append(node)
            except Exception:
                pass  # a node that went away while we looked
    return found


def main():
    command, args = sys.argv[1], sys.argv[2:]
    name = args.pop(0) if command == "choose" and args else None
    deadline = time.time() + (float(args[0]) if args else 10)
    while time.time() < deadline:
        items = showing("menu item")
        menus = showing("menu") if items else []
        if command == "position" and menus:
            extents = menus[0].queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            print("%d,%d" % (extents.x, extents.y))
            return 0
        if command == "list" and items:
            print("\n".join(item.name for item in items))
            return 0
        for item in items:
            if command == "choose" and item.name == name:
                item.queryAction().doAction(0)
                return 0
        time.sleep(0.2)
    print("no menu")
    return 2


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/python3
"""X11 requests that xdotool does not make, for the game window tests.

usage: game_x11.py close WINDOW_ID
  Asks the window to close the way a window manager's close button does: a WM_DELETE_WINDOW
  message of the WM_PROTOCOLS protocol.
usage: game_x11.py broken-tray READY_FILE
  Owns the system tray selection of screen 0 without being a tray (it never embeds an icon),
  writes READY_FILE once it does, and keeps it until killed.
"""
import ctypes
import ctypes.util
import signal
import sys


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]


class Event(ctypes.Union):
    _fields_ = [("client", ClientMessage), ("pad", ctypes.c_long * 24)]


def close(window):
    x = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XInternAtom.restype = ctypes.c_ulong
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                             ctypes.POINTER(Event)]
    x.XFlush.argtypes = [ctypes.c_void_p]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x.XOpenDisplay(None)
    if not display:
        return 1
    event = Event()
    event.client.type = 33  # ClientMessage
    event.client.window = window
    event.client.message_type = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.client.format = 32
    event.client.data[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    event.client.data[1] = 0  # CurrentTime
    x.XSendEvent(display, window, 0, 0, ctypes.byref(event))
    x.XFlush(display)
    x.XCloseDisplay(display)
    return 0


def broken_tray(ready_file):
    x = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XCreateSimpleWindow.restype = ctypes.c_ulong
    x.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_int] * 4 + \
        [ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
    x.XInternAtom.restype = ctypes.c_ulong
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XSetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong]
    x.XGetSelectionOwner.restype = ctypes.c_ulong
    x.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    display = x.XOpenDisplay(None)
    if not display:
        return 1
    window = x.XCreateSimpleWindow(display, x.XDefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0)
    selection = x.XInternAtom(display, b"_NET_SYSTEM_TRAY_S0", 0)
    x.XSetSelectionOwner(display, selection, window, 0)
    x.XSync(display, 0)
    if x.XGetSelectionOwner(display, selection) != window:
        return 1
    open(ready_file, "w").write("ready\n")
    signal.sigwait({signal.SIGTERM, signal.SIGINT})  # events are never read: nothing is embedded
    return 0


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "close":
        return close(int(sys.argv[2], 0))
    if len(sys.argv) == 3 and sys.argv[1] == "broken-tray":
        signal.pthread_sigmask(signal.SIG_BLOCK, {signal.SIGTERM, signal.SIGINT})
        return broken_tray(sys.argv[2])
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Prints the window that owns an X selection (e.g. _NET_SYSTEM_TRAY_S0 for
the system tray) and exits 0, or exits 1 when nobody owns it yet.

A tray is ready for icons only once it owns that selection: a program that
asks for a tray icon earlier gets a window of its own instead."""
import ctypes
import ctypes.util
import sys


def main() -> int:
    if len(sys.argv) != 2:
        print("usage: selection_owner.py <selection atom name>", file=sys.stderr)
        return 2
    xlib = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XInternAtom.restype = ctypes.c_ulong
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    xlib.XGetSelectionOwner.restype = ctypes.c_ulong
    xlib.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]

    display = xlib.XOpenDisplay(None)
    if not display:
        print("cannot open the display", file=sys.stderr)
        return 2
    try:
        atom = xlib.XInternAtom(display, sys.argv[1].encode(), 0)
        owner = xlib.XGetSelectionOwner(display, atom)
    finally:
        xlib.XCloseDisplay(display)
    if not owner:
        return 1
    print(hex(owner))
    return 0


if __name__ == "__main__":
    sys.exit(main())

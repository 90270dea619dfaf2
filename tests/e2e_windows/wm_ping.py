#!/usr/bin/env python3
"""wm_ping.py <window id> [seconds]: sends the window's owner a _NET_WM_PING
and exits 0 once its answer comes back to the root window, 1 if none comes
in time (10 s unless told).

Wine answers a ping from the thread that owns the window, in the order the
X events came, so the answer means Wine has handled every event the window
had before it: a ConfigureNotify still waiting in its queue can no longer
change where Wine believes the window is."""
import ctypes
import ctypes.util
import os
import select
import sys
import time

CLIENT_MESSAGE = 33
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]


def load_xlib():
    xlib = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XDefaultRootWindow.restype = ctypes.c_ulong
    xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    xlib.XInternAtom.restype = ctypes.c_ulong
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    xlib.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
    xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.POINTER(Event)]
    xlib.XFlush.argtypes = [ctypes.c_void_p]
    xlib.XPending.argtypes = [ctypes.c_void_p]
    xlib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(Event)]
    xlib.XConnectionNumber.argtypes = [ctypes.c_void_p]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return xlib


def main() -> int:
    if len(sys.argv) not in (2, 3):
        print("usage: wm_ping.py <window id> [seconds]", file=sys.stderr)
        return 2
    window = int(sys.argv[1], 0)
    deadline = time.monotonic() + (float(sys.argv[2]) if len(sys.argv) == 3 else 10.0)
    xlib = load_xlib()
    display = xlib.XOpenDisplay(None)
    if not display:
        print("cannot open the display", file=sys.stderr)
        return 2
    try:
        root = xlib.XDefaultRootWindow(display)
        protocols = xlib.XInternAtom(display, b"WM_PROTOCOLS", 0)
        ping = xlib.XInternAtom(display, b"_NET_WM_PING", 0)
        # The answer is sent to the root window for its substructure.
        xlib.XSelectInput(display, root, SUBSTRUCTURE_NOTIFY_MASK)
        token = (int.from_bytes(os.urandom(4), "little") & 0x7FFFFFFF) or 1  # one INT32 on the wire
        event = Event()
        event.xclient.type = CLIENT_MESSAGE
        event.xclient.window = window
        event.xclient.message_type = protocols
        event.xclient.format = 32
        event.xclient.l[0] = ping
        event.xclient.l[1] = token
        event.xclient.l[2] = window
        xlib.XSendEvent(display, window, 0, 0, ctypes.byref(event))
        xlib.XFlush(display)
        fd = xlib.XConnectionNumber(display)
        while True:
            while xlib.XPending(display):
                xlib.XNextEvent(display, ctypes.byref(event))
                c = event.xclient
                if (event.type == CLIENT_MESSAGE and c.window == root and c.message_type == protocols
                        and c.l[0] == ping and c.l[1] == token and c.l[2] == window):
                    return 0
            left = deadline - time.monotonic()
            if left <= 0:
                return 1
            select.select([fd], [], [], left)
    finally:
        xlib.XCloseDisplay(display)


if __name__ == "__main__":
    sys.exit(main())

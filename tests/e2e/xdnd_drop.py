#!/usr/bin/env python3
"""Drops files on an X window from outside, as a Linux file manager would:
an XDND source of its own (Xlib through ctypes, standard library only).

    xdnd_drop.py --window ID --at X,Y [--timeout S] PATH...

PATH are Linux paths; they travel as a text/uri-list of file:// URIs, which
Wine turns into DOS paths (C:\\... for files under the prefix's drive_c) and
hands to the window under X,Y (root coordinates) as WM_DROPFILES when that
window accepts dropped files. The tool offers the drop (XdndEnter), moves
over the point (XdndPosition), waits for the target's XdndStatus, drops
(XdndDrop), answers the target's requests for the data and waits for
XdndFinished. Exit code 0 when the target took the drop, 3 when it refused
it before the drop (nothing was dropped; Wine does so too when it gave up
waiting for the file list), 1 when it did not answer in time or did not
take the data, 2 on bad arguments or no display.
"""

import argparse
import ctypes
import ctypes.util
import os
import select
import sys
import time
import urllib.parse

# X protocol constants (X.h)
SELECTION_REQUEST = 30
SELECTION_NOTIFY = 31
CLIENT_MESSAGE = 33
PROP_MODE_REPLACE = 0
XA_ATOM = 4
NONE = 0
CURRENT_TIME = 0
ANY_PROPERTY_TYPE = 0
XDND_VERSION = 5
REFUSED = 3


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("l", ctypes.c_long * 5)]


class SelectionRequest(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("owner", ctypes.c_ulong),
                ("requestor", ctypes.c_ulong), ("selection", ctypes.c_ulong),
                ("target", ctypes.c_ulong), ("property", ctypes.c_ulong), ("time", ctypes.c_ulong)]


class SelectionNotify(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("requestor", ctypes.c_ulong),
                ("selection", ctypes.c_ulong), ("target", ctypes.c_ulong),
                ("property", ctypes.c_ulong), ("time", ctypes.c_ulong)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("client", ClientMessage),
                ("request", SelectionRequest), ("notify", SelectionNotify),
                ("pad", ctypes.c_long * 24)]


def load_xlib():
    x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    ulong, vp, i = ctypes.c_ulong, ctypes.c_void_p, ctypes.c_int
    signatures = {
        "XOpenDisplay": (vp, [ctypes.c_char_p]),
        "XCloseDisplay": (i, [vp]),
        "XDefaultRootWindow": (ulong, [vp]),
        "XInternAtom": (ulong, [vp, ctypes.c_char_p, i]),
        "XCreateSimpleWindow": (ulong, [vp, ulong, i, i, ctypes.c_uint, ctypes.c_uint,
                                        ctypes.c_uint, ulong, ulong]),
        "XDestroyWindow": (i, [vp, ulong]),
        "XSetSelectionOwner": (i, [vp, ulong, ulong, ulong]),
        "XGetSelectionOwner": (ulong, [vp, ulong]),
        "XChangeProperty": (i, [vp, ulong, ulong, ulong, i, i, ctypes.c_char_p, i]),
        "XGetWindowProperty": (i, [vp, ulong, ulong, ctypes.c_long, ctypes.c_long, i, ulong,
                                   ctypes.POINTER(ulong), ctypes.POINTER(i),
                                   ctypes.POINTER(ulong), ctypes.POINTER(ulong),
                                   ctypes.POINTER(ctypes.c_void_p)]),
        "XFree": (i, [vp]),
        "XSendEvent": (i, [vp, ulong, i, ctypes.c_long, ctypes.POINTER(Event)]),
        "XFlush": (i, [vp]),
        "XPending": (i, [vp]),
        "XNextEvent": (i, [vp, ctypes.POINTER(Event)]),
        "XConnectionNumber": (i, [vp]),
    }
    for name, (restype, argtypes) in signatures.items():
        function = getattr(x, name)
        function.restype, function.argtypes = restype, argtypes
    return x


def uri_list(paths):
    """text/uri-list: one file:// URI a line, each line ended with CR LF."""
    return "".join("file://" + urllib.parse.quote(os.path.abspath(p)) + "\r\n"
                   for p in paths).encode()


class Source:
    def __init__(self, x, display):
        self.x, self.display = x, display
        atom = lambda name: x.XInternAtom(display, name.encode(), 0)  # noqa: E731
        self.atoms = {n: atom(n) for n in (
            "XdndAware", "XdndEnter", "XdndPosition", "XdndStatus", "XdndDrop", "XdndFinished",
            "XdndLeave", "XdndSelection", "XdndActionCopy", "TARGETS", "text/uri-list")}
        root = x.XDefaultRootWindow(display)
        self.window = x.XCreateSimpleWindow(display, root, -10, -10, 1, 1, 0, 0, 0)
        self.data = b""
        self.requests = 0

    def target_version(self, target):
        """The XDND version the target speaks (its XdndAware), or None."""
        kind, fmt = ctypes.c_ulong(), ctypes.c_int()
        count, after, value = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p()
        status = self.x.XGetWindowProperty(self.display, target, self.atoms["XdndAware"], 0, 1, 0,
                                           ANY_PROPERTY_TYPE, ctypes.byref(kind), ctypes.byref(fmt),
                                           ctypes.byref(count), ctypes.byref(after),
                                           ctypes.byref(value))
        version = None
        if status == 0 and value.value:
            if count.value >= 1 and fmt.value == 32:
                version = ctypes.cast(value, ctypes.POINTER(ctypes.c_ulong))[0]
            self.x.XFree(value)
        return version

    def send(self, target, message, l1=0, l2=0, l3=0, l4=0):
        event = Event()
        event.client.type = CLIENT_MESSAGE
        event.client.window = target
        event.client.message_type = self.atoms[message]
        event.client.format = 32
        event.client.l[0] = self.window
        event.client.l[1], event.client.l[2], event.client.l[3], event.client.l[4] = l1, l2, l3, l4
        self.x.XSendEvent(self.display, target, 0, 0, ctypes.byref(event))
        self.x.XFlush(self.display)

    def answer(self, request):
        """Gives the requestor the file list (or the list of types it may ask for)."""
        prop = request.property or request.target  # an old requestor names no property
        if request.target == self.atoms["text/uri-list"]:
            self.x.XChangeProperty(self.display, request.requestor, prop, request.target, 8,
                                   PROP_MODE_REPLACE, self.data, len(self.data))
            self.requests += 1
        elif request.target == self.atoms["TARGETS"]:
            types = (ctypes.c_ulong * 2)(self.atoms["TARGETS"], self.atoms["text/uri-list"])
            self.x.XChangeProperty(self.display, request.requestor, prop, XA_ATOM, 32,
                                   PROP_MODE_REPLACE, ctypes.cast(types, ctypes.c_char_p), 2)
        else:
            prop = NONE
        event = Event()
        event.notify.type = SELECTION_NOTIFY
        event.notify.requestor = request.requestor
        event.notify.selection = request.selection
        event.notify.target = request.target
        event.notify.property = prop
        event.notify.time = request.time
        self.x.XSendEvent(self.display, request.requestor, 0, 0, ctypes.byref(event))
        self.x.XFlush(self.display)

    def wait_message(self, message, deadline):
        """Serves data requests until the target sends `message`; returns it,
        or None at the deadline."""
        fd = self.x.XConnectionNumber(self.display)
        event = Event()
        while True:
            while self.x.XPending(self.display):
                self.x.XNextEvent(self.display, ctypes.byref(event))
                if event.type == SELECTION_REQUEST:
                    self.answer(event.request)
                elif event.type == CLIENT_MESSAGE and \
                        event.client.message_type == self.atoms[message]:
                    return ClientMessage.from_buffer_copy(event.client)
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            select.select([fd], [], [], min(left, 0.1))

    def drop(self, target, x, y, paths, timeout):
        """0 when the target accepted and finished the drop, REFUSED when it
        turned it down before the drop, 1 otherwise."""
        deadline = time.monotonic() + timeout
        version = self.target_version(target)
        if version is None:
            print(f"window 0x{target:x} does not take drops (no XdndAware)", file=sys.stderr)
            return 1
        version = min(version, XDND_VERSION)
        self.data = uri_list(paths)
        self.x.XSetSelectionOwner(self.display, self.atoms["XdndSelection"], self.window,
                                  CURRENT_TIME)
        if self.x.XGetSelectionOwner(self.display, self.atoms["XdndSelection"]) != self.window:
            print("could not own the XdndSelection", file=sys.stderr)
            return 1
        self.send(target, "XdndEnter", version << 24, self.atoms["text/uri-list"])
        self.send(target, "XdndPosition", 0, (x << 16) | y, CURRENT_TIME,
                  self.atoms["XdndActionCopy"])
        status = self.wait_message("XdndStatus", deadline)
        if status is None or not status.l[1] & 1:
            print("the target " + ("did not answer XdndPosition" if status is None
                                   else "refused the drop"), file=sys.stderr)
            self.send(target, "XdndLeave")
            return 1 if status is None else REFUSED
        self.send(target, "XdndDrop", 0, CURRENT_TIME)
        finished = self.wait_message("XdndFinished", deadline)
        if finished is None:
            print("the target did not finish the drop in time", file=sys.stderr)
            return 1
        # From version 5 on the target says whether it took the data.
        if version >= 5 and not finished.l[1] & 1:
            print("the target did not take the drop", file=sys.stderr)
            return 1
        if not self.requests:
            print("the target never asked for the file list", file=sys.stderr)
            return 1
        return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--window", required=True, help="X window id of the target (decimal or 0x...)")
    parser.add_argument("--at", required=True, help="X,Y: the drop point in root coordinates")
    parser.add_argument("--timeout", type=float, default=10.0, help="seconds for the whole drop")
    parser.add_argument("paths", nargs="+", help="files or folders to drop")
    args = parser.parse_args()
    try:
        target = int(args.window, 0)
        x, y = (int(v) for v in args.at.split(","))
    except ValueError:
        parser.error("--window takes a number and --at two numbers X,Y")
    x11 = load_xlib()
    display = x11.XOpenDisplay(None)
    if not display:
        print("cannot open the display", file=sys.stderr)
        return 2
    try:
        source = Source(x11, display)
        code = source.drop(target, x, y, args.paths, args.timeout)
        x11.XDestroyWindow(display, source.window)
    finally:
        x11.XCloseDisplay(display)
    return code


if __name__ == "__main__":
    sys.exit(main())

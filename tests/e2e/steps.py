"""The verbs of the end-to-end scenarios: each method of Steps is one, its words its arguments."""

import fnmatch
import hashlib
import os
import re
import shutil
import subprocess
import time
import zipfile
from pathlib import Path

MENU_FRAME = 3  # Wine 8's frame around a menu's items with the default theme
TIMEOUT = 10.0
WINDOW_TIMEOUT = 40.0  # the first program of a session also starts the session
PATH = re.compile(r"\{(q:)?([^{}&]*)\}")
EMPTY = hashlib.sha256().digest()


def wait_for(what, predicate, timeout=TIMEOUT):
    """Polls predicate until it returns something true; returns that."""
    deadline = time.monotonic() + timeout
    while not (value := predicate()):
        assert time.monotonic() < deadline, f"timed out after {timeout:.0f}s waiting for {what}"
        time.sleep(0.05)
    return value


def snapshot(root):
    """{path: (sha256, modification time)} of the files but the logs and the icon cache."""
    files = [p for p in Path(root).rglob("*") if p.is_file() and p.suffix != ".tvi"
             and not p.match("record-*.log") and p.name != "wine-output.txt"]
    return {p.relative_to(root): (hashlib.sha256(p.read_bytes()).digest(), p.stat().st_mtime_ns)
            for p in files}


def ran(expected, record):
    """Whether a record (ms, exe, cwd, command) is the run expected (exe, cwd, pattern)."""
    # a variant's parameters may keep the blank after ">": "> " stands for one or more
    command = re.sub(r'^("[^"]*") +', r"\1 > ", record[3]) if '" > ' in expected[2] else record[3]
    return record[1:3] == expected[:2] and fnmatch.fnmatchcase(command, expected[2])


class Steps:
    """One scenario's run: its program folder, its starts of Tavrik, and the verbs."""

    def __init__(self, session, name, tools):
        self.session, self.name, self.tools = session, name, tools
        self.unix = self.proc = self.window = self.holder = self.before = None
        self.procs, self.expected, self.got, self.marks, self.seen = [], [], [], {}, set()

    def w(self, rel=""):
        return self.win + ("\\" + rel.replace("/", "\\") if rel else "")

    def u(self, rel):
        return Path(self.unix, rel)

    def path(self, word):
        return PATH.sub(lambda m: f'"{self.w(m[2])}"' if m[1] else self.w(m[2]), word)

    def mouse(self, x, y):
        self.session.xdotool("mousemove", str(int(x)), str(int(y)))
        time.sleep(0.15)

    def records(self, clear=False):
        """What the recorders below the folder noted, oldest first: (ms, exe, cwd, command)."""
        found = []
        for log in Path(self.unix).rglob("record-*.log"):
            for line in filter(None, log.read_bytes().decode("cp932", "replace").split("\r\n")):
                v = dict(field.split("=", 1) for field in line.split("\t", 3))
                found.append((int(v["ms"]), v["exe"], v["cwd"], v["cmd"]))
            if clear:
                log.unlink()
        return sorted(found)

    def shown(self, what, fits):
        """Waits until the visible windows of Tavrik fit; returns them, the newest last."""
        def ready():
            assert not self.proc or self.proc.poll() is None, \
                f"Tavrik ended ({self.proc and self.proc.returncode}) while waiting for {what}"
            windows = self.session.windows()
            self.seen.update(w.id for w in windows)
            return fits(windows) and windows
        windows = wait_for(what, ready, WINDOW_TIMEOUT)
        time.sleep(0.15)  # let it finish painting and enter its loop
        return windows

    def cleanup(self):
        for key in ("shift", "ctrl"):
            self.session.xdotool("keyup", key, strict=False)
        for proc in self.procs:
            proc.kill()  # nothing when it has ended
            proc.wait()

    def folder(self, *name):
        """A fresh program folder C:\\e2e\\NAME (the scenario's name without one) with Tavrik.exe."""
        name = " ".join(name) or self.name
        self.win, self.unix = "C:\\e2e\\" + name, os.path.join(self.session.prefix, "drive_c", "e2e", name)
        shutil.rmtree(self.unix, ignore_errors=True)
        os.makedirs(self.unix)
        shutil.copyfile(self.tools.tavrik, self.u("Tavrik.exe"))

    def put(self, *rels):
        """Copies of the recorder for programs (.exe, .com), a small document for anything else."""
        for rel in rels:
            os.makedirs(os.path.dirname(self.u(rel)), exist_ok=True)
            if rel.endswith((".exe", ".com")):
                shutil.copyfile(self.tools.recorder, self.u(rel))
            else:
                self.u(rel).write_text("x")

    def ini(self, name="Tavrik.ini", encoding="cp932", lines=()):
        """The lines indented below as a CR LF menu definition (utf-16-le with its mark)."""
        text = "".join(self.path(line) + "\r\n" for line in lines)
        self.u(name).write_bytes(("\ufeff" * (encoding == "utf-16-le") + text).encode(encoding))

    def remove(self, rel, instead=None):
        """Removes a file on purpose, even while Tavrik runs, or puts a folder in its place."""
        os.remove(self.u(rel))
        if instead:
            os.makedirs(self.u(rel))
        self.before = snapshot(self.unix)

    def mark(self, rel):
        """Changes a file's last byte and keeps its bytes, to tell whether it is written again."""
        data = bytearray(self.u(rel).read_bytes())
        data[-1] ^= 0x5A
        self.u(rel).write_bytes(data)
        self.marks[rel] = bytes(data)

    def kept(self, rel, still):
        """Whether the file still holds its marked bytes (yes) or was written again (no)."""
        assert (self.u(rel).read_bytes() == self.marks[rel]) == (still == "yes"), f"{rel} kept: {still}?"

    def file_size(self, rel, size):
        """A file's size in bytes, or "folder"."""
        found = "folder" if os.path.isdir(self.u(rel)) else str(os.path.getsize(self.u(rel)))
        assert found == size, f"{rel}: {found}, expected {size}"

    def unzip(self, *names):
        """Unpacks the package: exactly these files, those named NAME:ENCODING CR LF texts."""
        files = dict((n + ":").split(":")[:2] for n in names)
        with zipfile.ZipFile(self.tools.zip) as z:
            assert set(z.namelist()) == set(files), f"package holds {sorted(z.namelist())}"
            z.extractall(self.unix)
        for name, encoding in ((n, e) for n, e in files.items() if e):
            data = self.u(name).read_bytes()
            data.decode(encoding)
            assert ((encoding != "utf-8" or data.startswith(b"\xef\xbb\xbf")) and
                    data.count(b"\n") == data.count(b"\r\n") > 0), f"{name} is not {encoding} CR LF text"

    def start(self, *options):
        """Starts Tavrik with these options (the pointer waits in a corner)."""
        self.mouse(5, 5)
        self.before, self.seen = snapshot(self.unix), set()  # X reuses window ids across starts
        with open(self.u("wine-output.txt"), "wb") as out:
            self.proc = subprocess.Popen(["wine", self.w("Tavrik.exe"), *options], cwd=self.unix,
                                         env=self.session.env, stdin=subprocess.DEVNULL,
                                         stdout=out, stderr=subprocess.STDOUT)
        self.procs.append(self.proc)

    def open(self, *options):
        """Starts Tavrik, waits for its menu and rests the pointer on the first item."""
        self.start(*options)
        self.menu()
        self.mouse(self.window.x + 25, self.window.y + MENU_FRAME + 7)

    def menu(self, count="1"):
        """Waits until exactly this many menus show; the newest is the current one."""
        self.window = self.shown(f"{count} menu(s)", lambda shown: len(shown) == int(count))[-1]

    def dialog(self, starts=None, holds=""):
        """Waits for a new window alone, whose texts (" | " between them) start with starts."""
        known = set(self.seen)
        self.window = self.shown("a dialog", lambda s: len(s) == 1 and s[0].id not in known)[0]
        if starts is not None:
            texts = self.session.wine(self.tools.helper, "dialog-text")[1].splitlines()
            assert len(texts) == 1 and texts[0].strip().startswith(starts) and holds in texts[0], \
                f"dialogs show {texts}"
        self.mouse(self.window.x + self.window.width / 2, self.window.y + self.window.height / 2)

    def keys(self, *names):
        """Presses keys one after another."""
        for name in names:
            self.session.xdotool("key", name)
            time.sleep(0.08)

    def type(self, *words):
        """Types the words, separated by blanks."""
        self.session.xdotool("type", "--delay", "30", "--", " ".join(words))
        time.sleep(0.1)

    def click(self, button="1", *point):
        """Clicks a mouse button where the pointer is, or at a point of the screen."""
        if point:
            self.mouse(*point)
        self.session.xdotool("click", button)
        time.sleep(0.1)

    def hold(self, what, *paths):
        """Holds a key down, a file open without sharing, or the clipboard open with files."""
        if not paths:
            return self.session.xdotool("keydown", what)
        said = os.path.join(self.session.work, "holder.txt")
        with open(said, "wb") as out:  # the helper says "ready" there and holds until its input ends
            self.holder = subprocess.Popen(["wine", self.tools.helper, "hold-" + what, *paths],
                                           env=self.session.env, stdin=subprocess.PIPE, stdout=out,
                                           stderr=subprocess.DEVNULL)
        self.procs.append(self.holder)
        wait_for("the holding helper", lambda: self.holder.poll() is not None or os.path.getsize(said),
                 WINDOW_TIMEOUT)
        assert self.holder.poll() is None, f"the holding helper ended ({self.holder.returncode})"

    def let_go(self, key=None):
        """Releases a held key, or the holding program lets go."""
        if key:
            return self.session.xdotool("keyup", key)
        self.holder.stdin.close()
        self.holder.wait(TIMEOUT)

    def sleep(self, ms):
        """A short settle between keys (waits are polls otherwise)."""
        time.sleep(int(ms) / 1000)

    def clipboard(self, *paths):
        """Puts files on the clipboard, as the shell copies them."""
        assert self.session.wine(self.tools.helper, "files", *paths)[0] == 0, "the clipboard helper failed"

    def reg(self, *words):
        """Changes the prefix's registry; the session ends, so that the next start reads it."""
        assert self.session.wine("reg", *words, "/f")[0] == 0, f"reg {words} failed"
        self.session.end()

    def expect(self, exe, cwd, command):
        """A program that must have run: its file name, folder and command line."""
        self.expected.append((exe, cwd, command))

    def exit(self):
        """Waits for Tavrik's end; gives its exit code."""
        wait_for("Tavrik's end", lambda: self.proc.poll() is not None)
        return self.proc.returncode

    def finish(self, order="in-order"):
        """Tavrik ended with 0, leaving no window and the files, having run just what was
        expected; the logs are cleared for the next start."""
        assert self.exit() == 0, f"exit code {self.proc.returncode}"
        wait_for(f"{len(self.expected)} launch(es)", lambda: len(self.records()) >= len(self.expected))
        time.sleep(0.3)  # a late, unexpected launch would show up now
        assert not self.session.windows(), f"windows left: {self.session.windows()}"
        self.got = self.records(clear=True)
        if order == "any-order":
            self.got.sort(key=lambda r: next((i for i, e in enumerate(self.expected) if ran(e, r)), -1))
        assert len(self.got) == len(self.expected) and all(map(ran, self.expected, self.got)), (
            f"programs run: {[r[1:] for r in self.got] or '(none)'}\n"
            f"  expected: {self.expected or '(none)'}")
        after = snapshot(self.unix)
        made_empty = {p for p in after.keys() - self.before.keys()
                      if (p.name, after[p][0]) == ("Tavrik.ini", EMPTY)}
        changed = {p for p in self.before.keys() | after.keys() if after.get(p) != self.before.get(p)}
        assert changed == made_empty, f"user files changed: {sorted(map(str, changed - made_empty))}"
        self.expected = []

    def gaps(self, *minimums):
        """The launches of the last finish came at least these many ms apart."""
        gaps = [b[0] - a[0] for a, b in zip(self.got, self.got[1:])]
        assert all(g >= int(m) for g, m in zip(gaps, minimums)), f"gaps {gaps}, at least {minimums}"

    def report_holds(self, exe, text):
        """The file handed to exe at the last finish holds text, CR LF throughout."""
        drive, rest = re.sub(r'^"[^"]*" +', "", next(r[3] for r in self.got if r[1] == exe)).split(":\\", 1)
        data = Path(self.session.prefix, f"drive_{drive.lower()}", *rest.split("\\")).read_bytes()
        assert text.encode("cp932") in data and b"\n" not in data.replace(b"\r\n", b""), \
            f"report without {text} or with bare line ends:\n{data.decode('cp932')}"

    def at(self, x, y=None):
        """The current menu's top-left corner is at x y, or the menu is centred on the screen."""
        # Wine's maximised height, the vertical reference, is a little taller than the screen
        w, (width, height) = self.window, map(int, self.session.xdotool("getdisplaygeometry").split())
        if x == "center":
            assert (abs(w.x + w.width / 2 - width / 2) <= 2 and
                    height / 2 - 2 <= w.y + w.height / 2 <= height / 2 + 40), f"not centred: {w}"
        else:
            assert (w.x, w.y) == (int(x), int(y)), f"{w}, expected {x},{y}"

    def dialog_size(self, width, height):
        """The current window measures width x height, frame included."""
        # Wine's X window holds the client area or the whole window: the same frame on every side
        frame = int(width) - self.window.width
        assert 0 <= frame <= 10 and int(height) - self.window.height == frame, f"{self.window}"

    def item_height(self, pixels):
        """The current menu's highlighted first item is this many pixels high."""
        w = self.window
        out = self.session.grab("txt:-", f"1x{w.height}+{w.x + w.width - 6}+{w.y + MENU_FRAME}")
        column = [line.split()[-1] for line in out.splitlines()[1:]]
        height = next((i for i, c in enumerate(column) if c != column[1]), len(column))
        assert height == int(pixels), f"the highlighted item is {height} pixels high"

    def photo(self, name, min_colours):
        """Saves screenshots/NAME.png of the current window; its pictures show more colours."""
        shot, w = os.path.join(self.tools.screenshots, name + ".png"), self.window
        os.makedirs(self.tools.screenshots, exist_ok=True)
        self.session.grab(shot, f"{w.width + 16}x{w.height + 16}+{max(0, w.x - 8)}+{max(0, w.y - 8)}")
        colours = subprocess.run(["convert", shot, "-crop", "24x10000+8+8", "+repage", "-format", "%k",
                                  "info:"], capture_output=True, text=True, check=True).stdout
        assert int(colours) > int(min_colours), f"{colours} colours in the pictures of {shot}"

"""The verbs of the scenario files: each method of Steps is one, its words
its arguments (see e2e.py)."""

import glob
import os
import re
import shutil
import subprocess
import sys
import time
import zipfile

from program_folder import Folder, VariantCommand, compare_files, snapshot_files
from wine_session import (MENU_FRAME, STEP_TIMEOUT, WINDOW_TIMEOUT, Failure, Run, check, tool,
                          wait_for)

HERE = os.path.dirname(os.path.abspath(__file__))
COUNT_LINE_ID = 302  # the file collection's "--- N data ---"
XDND_REFUSED = 3  # xdnd_drop.py: the target turned the drop down before it happened
PATH = re.compile(r"\{(?:([qu]):)?([^{}&]*)\}")


class Steps:
    """One scenario's run: its folder, its starts of Tavrik, and the verbs."""

    def __init__(self, session, name, tools):
        self.session, self.name, self.tools = session, name, tools
        self.f = self.run = self.window = self.holder = self.user_files = None
        self.runs, self.expected, self.records, self.sizes, self.marks = [], [], [], {}, {}

    def path(self, word):
        def value(m):
            path = self.f.u(m.group(2)) if m.group(1) == "u" else self.f.w(m.group(2))
            return f'"{path}"' if m.group(1) == "q" else path
        return PATH.sub(value, word)

    def check_user_files(self):
        if self.user_files is not None:
            problems = compare_files(self.user_files, self.f.unix)
            check(not problems, "user files changed:\n    " + "\n    ".join(problems))

    def cleanup(self):
        if self.holder and self.holder.poll() is None:
            self.let_go()
        for run in self.runs:
            run.close()
        for key in ("shift", "ctrl"):
            self.session.xdotool("keyup", key, check_rc=False)

    def folder(self, *name):
        """A fresh program folder (named after the scenario without a name) with Tavrik.exe."""
        self.f = Folder(self.session, " ".join(name) or self.name)
        self.f.put(self.tools.tavrik, "Tavrik.exe")

    def recorders(self, *rels):
        """Copies of the recorder at these places."""
        for rel in rels:
            self.f.put(self.tools.recorder, rel)

    def files(self, *rels):
        """Small documents (and the folders they need)."""
        for rel in rels:
            os.makedirs(os.path.dirname(self.f.u(rel)), exist_ok=True)
            with open(self.f.u(rel), "w") as f:
                f.write("x")

    def ini(self, name="Tavrik.ini", lines=()):
        """The lines indented below, as a menu definition (Tavrik.ini or the file named)."""
        self.f.write_ini(name, [self.path(line) for line in lines])

    def remove(self, rel):
        """Removes a file on purpose, even while Tavrik runs."""
        os.remove(self.f.u(rel))
        self.user_files = snapshot_files(self.f.unix)

    def folder_instead(self, rel):
        """Puts a folder in a file's place."""
        os.remove(self.f.u(rel))
        os.makedirs(self.f.u(rel))

    def clear_logs(self):
        """Forgets what the recorders noted so far."""
        for log in glob.glob(os.path.join(self.f.unix, "**", "record.log"), recursive=True):
            os.remove(log)

    def age(self, rel, seconds):
        """Moves a file's modification time by seconds."""
        later = time.time() + int(seconds)
        os.utime(self.f.u(rel), (later, later))

    def start(self, *options):
        """Starts Tavrik with these options (the pointer waits in a corner)."""
        self.session.xdotool("mousemove", "5", "5")
        self.user_files = snapshot_files(self.f.unix)
        self.run = Run(self.session, self.f, options)
        self.runs.append(self.run)

    def open(self, *options):
        """Starts Tavrik, waits for its menu and rests the pointer on the first item."""
        self.start(*options)
        self.menu()
        self.point()

    def menu(self, count="1"):
        """Waits for this many visible windows; the newest is the current one."""
        self.window = self.run.wait_windows(int(count), WINDOW_TIMEOUT)[-1]

    def windows(self, count):
        """Waits until exactly this many windows are visible."""
        wait_for(f"{count} window(s)", lambda: len(self.session.windows()) == int(count))

    def window_named(self, caption):
        """Waits for the window with this caption, the only one visible."""
        def found():
            named = [w for w in self.session.windows() if w.name == caption]
            return named[0] if named else None
        self.window = wait_for(f'the window "{caption}"', found, WINDOW_TIMEOUT)
        check(len(self.session.windows()) == 1, f"other windows: {self.session.windows()}")
        time.sleep(0.2)

    def dialog(self):
        """Waits for the input dialog alone and rests the pointer on its field."""
        def found():
            shown = self.session.windows()
            return shown[-1] if len(shown) == 1 and shown[-1].width >= 200 else None
        self.window = wait_for("the input dialog", found)
        time.sleep(0.2)
        self.mouse(self.window.x + 80, self.window.y + 28)

    def point(self):
        """Rests the pointer on the menu's first item (keys go to the window under it)."""
        self.mouse(self.window.x + 25, self.window.y + MENU_FRAME + 7)

    def inside(self):
        """Rests the pointer in the middle of the current window."""
        self.mouse(self.window.x + self.window.width // 2, self.window.y + self.window.height // 2)

    def item(self, index, items, separators):
        """Rests the pointer on an item of the current menu."""
        self.mouse(*self.window.item_point(int(index), int(items), int(separators)))

    def mouse(self, x, y):
        """Moves the pointer to a point of the screen."""
        self.session.xdotool("mousemove", str(x), str(y))
        time.sleep(0.15)

    def keys(self, *names):
        """Presses keys one after another."""
        for name in names:
            self.session.xdotool("key", name)
            time.sleep(0.08)

    def type(self, *words):
        """Types the words, separated by blanks."""
        self.session.xdotool("type", "--delay", "30", "--", " ".join(words))
        time.sleep(0.1)

    def release(self, key):
        """Lets a held key go."""
        self.session.xdotool("keyup", key)

    def click(self, button="1"):
        """Clicks a mouse button where the pointer is."""
        self.session.xdotool("click", button)
        time.sleep(0.1)

    def sleep(self, ms):
        """A short settle (waits are polls otherwise)."""
        time.sleep(int(ms) / 1000)

    def expect(self, exe, cwd, command):
        """A program that must have run: its name, folder and exact command line."""
        self.expected.append((exe, cwd, command))

    def expect_variant(self, exe, cwd, program, parameters):
        """A variant that must have run: the quoted program, blanks, the parameters."""
        self.expected.append((exe, cwd, VariantCommand(program, parameters)))

    def launched(self, count):
        """Waits until this many programs have noted their start."""
        wait_for(f"{count} launch(es)", lambda: len(self.f.records()) >= int(count))

    def exit(self):
        """Waits for Tavrik's end."""
        self.run.wait_exit()
    def finish(self, order="in-order"):
        """Tavrik ended with 0 and nothing left, having run just what was expected."""
        code = self.run.wait_exit()
        check(code == 0, f"exit code {code}")
        if self.expected:
            self.launched(len(self.expected))
        time.sleep(0.3)  # a late, unexpected launch would show up now
        check(not self.session.windows(), f"windows left: {self.session.windows()}")
        self.records = self.f.records()
        got = [(r.exe, r.cwd, r.cmd) for r in self.records]
        if order == "any-order":
            got.sort(key=lambda g: next((i for i, e in enumerate(self.expected) if e == g), -1))
        check(len(got) == len(self.expected) and all(tuple(e) == g for e, g in
                                                     zip(self.expected, got)),
              f"programs run: {got or '(none)'}\n  expected: {self.expected or '(none)'}")
        others = self.session.session_programs()
        check(not others, f"programs still running: {others}")
        self.check_user_files()
        self.expected = []

    def gaps(self, *minimums):
        """The launches just checked came at least these many ms apart."""
        gaps = [b.ms - a.ms for a, b in zip(self.records, self.records[1:])]
        check(all(g >= int(m) for g, m in zip(gaps, minimums)), f"gaps {gaps}, at least {minimums}")

    def at(self, x, y):
        """The current menu's top-left corner."""
        check((self.window.x, self.window.y) == (int(x), int(y)), f"{self.window}, expected {x},{y}")

    def centered(self):
        """The current menu is centred on the screen (Wine's maximised height, the
        vertical reference, is a little taller than the screen)."""
        width, height = self.session.screen
        cx, cy = self.window.x + self.window.width / 2, self.window.y + self.window.height / 2
        check(abs(cx - width / 2) <= 2 and height / 2 - 2 <= cy <= height / 2 + 40,
              f"not centred: {self.window}")

    def height(self, low, high):
        """The current window's height lies between low and high."""
        check(int(low) <= self.window.height <= int(high), f"height of {self.window}")

    def size(self, label, relation=None, other=None):
        """Notes the window's size as label, "same-as" or "differs-from" another."""
        self.sizes[label] = (self.window.width, self.window.height)
        if relation:
            check((self.sizes[label] == self.sizes[other]) == (relation == "same-as"),
                  f"{label} {self.sizes[label]} {relation} {other} {self.sizes[other]}")

    def file_size(self, rel, size):
        """A file's size in bytes, or "empty", "absent" or "folder"."""
        path = self.f.u(rel)
        found = "folder" if os.path.isdir(path) else \
            str(os.path.getsize(path)) if os.path.exists(path) else "absent"
        check(found == size or (size == "empty" and found == "0"), f"{rel}: {found}, expected {size}")

    def mark(self, rel):
        """Changes a file's last byte, to tell later whether it was written again."""
        with open(self.f.u(rel), "r+b") as f:
            f.seek(-1, os.SEEK_END)
            last = f.read(1)[0]
            f.seek(-1, os.SEEK_END)
            f.write(bytes([last ^ 0x5A]))
        self.marks[rel] = last

    def marked(self, rel, still):
        """Whether the mark is still there (yes) or the file was written again (no)."""
        with open(self.f.u(rel), "rb") as f:
            f.seek(-1, os.SEEK_END)
            check((f.read(1)[0] != self.marks[rel]) == (still == "yes"), f"{rel} marked: {still}?")

    def keep(self, rel, check_kept=None):
        """Takes a file's bytes; "keep REL kept" checks that it still holds them."""
        with open(self.f.u(rel), "rb") as f:
            if check_kept:
                check(f.read() == self.marks[rel], f"{rel} changed")
            else:
                self.marks[rel] = f.read()

    def photo(self, name, min_colours):
        """Saves screenshots/NAME.png of the window; its picture column shows
        more than min_colours colours."""
        shot = self.session.photograph(self.window, os.path.join(self.tools.screenshots, name + ".png"))
        out = subprocess.run(["convert", shot, "-crop", "24x10000+8+8", "+repage", "-unique-colors",
                              "txt:-"], capture_output=True, text=True, check=True).stdout
        colours = len([line for line in out.splitlines() if not line.startswith("#")])
        check(colours > int(min_colours), f"{colours} colours in the pictures of {shot}")

    def clipboard(self, *words):
        """Puts files (files PATH...) or text (text TEXT) on the clipboard, as the shell would."""
        check(tool(self.session, self.tools.helper, *words)[0] == 0, "the clipboard helper failed")

    def hold(self, *words):
        """Holds a key down (until release), a file open without sharing (file
        PATH) or the clipboard with files on it (clipboard PATH...) until let-go."""
        if len(words) == 1:
            self.session.xdotool("keydown", words[0])
            return
        signals = self.f.unix + ".signals"
        shutil.rmtree(signals, ignore_errors=True)
        os.makedirs(signals)
        win = self.f.win + ".signals\\"
        self.holder = subprocess.Popen(["wine", self.tools.helper, "hold-" + words[0], win + "ready",
                                        win + "stop", *words[1:]], env=self.session.env,
                                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)

        def ready():
            check(self.holder.poll() is None, f"the holding helper ended ({self.holder.returncode})")
            return os.path.exists(os.path.join(signals, "ready"))
        wait_for("the holding helper", ready, WINDOW_TIMEOUT)

    def let_go(self):
        """The holding program lets go."""
        open(os.path.join(self.f.unix + ".signals", "stop"), "w").close()
        try:
            self.holder.wait(STEP_TIMEOUT)
        except subprocess.TimeoutExpired:
            self.holder.kill()
            raise Failure("the holding helper did not let go") from None

    def count(self, files):
        """The file collection's count line shows this many files (read inside Wine)."""
        expected, seen = f"--- {files} data ---", []

        def shows():
            seen[:] = tool(self.session, self.tools.helper, "dialog-text", str(COUNT_LINE_ID))[1].split()
            return " ".join(seen) == expected
        try:
            wait_for(expected, shows, timeout=20, interval=0.2)
        except Failure:
            raise Failure(f"the count line shows {' '.join(seen)}, expected {expected}") from None

    def drop(self, *rels):
        """Drops files on the dialog from outside (again when Wine gave up waiting)."""
        at = f"{self.window.x + self.window.width // 2 - 33},{self.window.y + self.window.height // 2 + 8}"
        for _ in range(3):
            result = subprocess.run([sys.executable, os.path.join(HERE, "xdnd_drop.py"), "--window",
                                     self.window.id, "--at", at, *(self.f.u(r) for r in rels)],
                                    env=self.session.env, stdin=subprocess.DEVNULL,
                                    capture_output=True, text=True, timeout=60)
            if result.returncode != XDND_REFUSED:
                break
        check(result.returncode == 0, f"dropping {rels} failed: {result.stderr.strip()}")

    def button(self, label, ctrl=None):
        """Clicks the dialog's OK or CANCEL, with Ctrl held when asked."""
        w = self.window
        self.mouse(w.x + w.width // 2 + 81, w.y + w.height // 2 + (8 if label == "OK" else -10))
        if ctrl:
            self.hold("ctrl")
        self.click()
        if ctrl:
            self.release("ctrl")

    def unzip(self, *names):
        """Unpacks the package: exactly these files; those named NAME:ENCODING are
        texts in it (utf-8 with its byte order mark) with CR LF line ends."""
        files = dict((n + ":").split(":")[:2] for n in names)
        with zipfile.ZipFile(self.tools.zip) as z:
            check(set(z.namelist()) == set(files), f"package holds {sorted(z.namelist())}")
            z.extractall(self.f.unix)
        for name, encoding in ((n, e) for n, e in files.items() if e):
            with open(self.f.u(name), "rb") as f:
                data = f.read()
            data.decode(encoding)
            check((encoding != "utf-8" or data.startswith(b"\xef\xbb\xbf")) and
                  data.count(b"\n") == data.count(b"\r\n") > 0, f"{name} is not {encoding} CR LF text")

    def dpi(self, dots):
        """The prefix's display scaling (its LogPixels) for the starts from now on."""
        self.session.end_wine_session()
        tool(self.session, "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
             "/t", "REG_DWORD", "/d", dots, "/f")
        self.session.end_wine_session()

    def item_height(self, pixels):
        """The current menu's highlighted first item is this many pixels high (read
        from the screen in a column right of its text)."""
        shot, w = os.path.join(self.session.work_dir, "menu.png"), self.window
        self.session.screenshot(shot)
        out = subprocess.run(["convert", shot, "-crop", f"1x{w.height}+{w.x + w.width - 6}+"
                              f"{w.y + MENU_FRAME}", "txt:-"], capture_output=True, text=True,
                             check=True).stdout
        column = [line.split()[-1] for line in out.splitlines()[1:]]
        height = next((i for i, c in enumerate(column) if c != column[1]), len(column))
        check(height == int(pixels), f"the highlighted item is {height} pixels high")

    def dialog_size(self, width, height):
        """The current window measures width x height, frame included (Wine's X window
        holds the client area or the whole window: the same frame on every side)."""
        frame = int(width) - self.window.width
        check(0 <= frame <= 10 and int(height) - self.window.height == frame, f"{self.window}")

    def dialog_shows(self, starts, holds):
        """One dialog, whose caption and control texts (" | " between them) start
        with starts and hold holds; it becomes the current window."""
        seen = []

        def shown():
            seen[:] = [line.strip() for line in
                       tool(self.session, self.tools.helper, "dialog-text", "all")[1].splitlines()]
            return len(seen) == 1 and seen[0].startswith(starts)
        try:
            wait_for(f"a dialog {starts!r}", shown, timeout=20, interval=0.2)
        except Failure:
            raise Failure(f"dialogs show {seen}") from None
        check(holds in seen[0], f"{seen[0]!r} lacks {holds!r}")
        self.windows("1")
        self.window = self.session.windows()[0]

    def checker(self, definition, code):
        """tavrik-check.exe of the folder, run on a definition, ends with this code."""
        got, output = tool(self.session, self.f.w("tavrik-check.exe"), definition)
        check(got == int(code), f"tavrik-check ended with {got}:\n{output}")

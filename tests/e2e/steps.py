"""The verbs of the scenario files: each method of Steps is one, its words
its arguments (see e2e.py)."""

import glob
import os
import re
import time

from outside import Outside
from program_folder import Folder, VariantCommand, compare_files, snapshot_files
from wine_session import MENU_FRAME, WINDOW_TIMEOUT, Run, check, wait_for

HERE = os.path.dirname(os.path.abspath(__file__))
PATH = re.compile(r"\{(?:([qu]):)?([^{}&]*)\}")


class Steps(Outside):
    """One scenario's run: its folder, its starts of Tavrik, and the verbs."""

    def __init__(self, session, name, tools):
        self.session, self.name, self.tools = session, name, tools
        self.f = self.run = self.window = self.holder = self.user_files = None
        self.runs, self.expected, self.records, self.sizes, self.marks = [], [], [], {}, {}
        self.wildcard = None

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

    def ini(self, name="Tavrik.ini", encoding="cp932", lines=()):
        """The lines indented below as a menu definition (Tavrik.ini or the file named),
        CR LF, in code page 932 or the encoding named (utf-16-le with its mark)."""
        text = "".join(self.path(line) + "\r\n" for line in lines).encode(encoding)
        with open(self.f.u(name), "wb") as f:
            f.write((b"\xff\xfe" if encoding == "utf-16-le" else b"") + text)

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
        """A variant that must have run: the quoted program, blanks, the parameters
        ("*END": any parameters ending so, which report-holds then reads)."""
        self.expected.append((exe, cwd, VariantCommand(program, parameters)))
        self.wildcard = self.expected[-1][2]

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

#!/usr/bin/env python3
"""End-to-end tests: the real Tavrik.exe under Wine, driven with xdotool.

Each scenario gets a fresh program folder C:\\e2e\\<scenario>\\ inside a Wine
prefix of its own, Tavrik.exe and copies of the recorder program in it (and
in subfolders), and a Tavrik.ini. Tavrik is started with wine, the menu is
worked with keys and clicks as a person would, and the recorders' logs tell
which programs ran, with which command lines and working folders.

    e2e.py --tavrik Tavrik.exe --recorder tavrik_recorder.exe --work DIR [SCENARIO...]

Without DISPLAY a private Xvfb display is started. Every wait polls; the
sleeps that remain are short settles after a poll succeeded. Each scenario
ends its Wine session (wineserver -k on its own prefix), so nothing it left
running reaches the next one. Standard library only.
"""

import argparse
import fcntl
import os
import shutil
import signal
import subprocess
import sys
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))

sys.path.insert(0, HERE)
import userfiles  # noqa: E402

MENU_CLASS = "Tavrik.exe"  # Wine gives the process's windows its file name as WM_CLASS
VERSION_CAPTION = "バージョン情報"

# Wine 8's menu layout with the default theme: the frame around the items and
# the height of a separator. Item heights are worked out from the menu.
MENU_FRAME = 3
SEPARATOR_HEIGHT = 9

# Programs every Wine session runs by itself; anything else of the session
# still running at the end of a scenario was started by the launcher.
SESSION_PROGRAMS = {
    "services.exe", "winedevice.exe", "explorer.exe", "plugplay.exe",
    "svchost.exe", "rpcss.exe", "conhost.exe", "start.exe", "wineboot.exe",
}

WINDOW_TIMEOUT = 40.0  # the first program of a session also starts the session
STEP_TIMEOUT = 10.0


class Failure(AssertionError):
    pass


class DisplayDriverFailed(Failure):
    """Wine could not load its display driver in the session (its processes
    log "nodrv_CreateWindow"): its X connection failed. An X server that
    resets when its last client leaves refuses connections for a moment, and
    xdotool's connections come and go; the Xvfb started here runs with
    -noreset, but a display given by DISPLAY may reset. The launcher is not
    to blame, so the scenario runs again."""


NO_DISPLAY_DRIVER = b"nodrv_CreateWindow"


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, predicate, timeout=STEP_TIMEOUT, interval=0.05):
    """Polls predicate until it returns something true; returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout:.0f}s waiting for {what}")
        time.sleep(interval)


# --- display and Wine ----------------------------------------------------------

class Session:
    """The X display, the Wine environment and the prefix the scenarios share."""

    def __init__(self, work_dir):
        self.work_dir = os.path.abspath(work_dir)
        self.prefix = os.environ.get("TAVRIK_E2E_PREFIX") or os.path.join(self.work_dir, "wineprefix")
        self.xvfb = None
        self.lock = None
        self.env = dict(os.environ)
        self.env.update({
            "WINEPREFIX": self.prefix,
            "LANG": "ja_JP.UTF-8",
            "LC_ALL": "ja_JP.UTF-8",
            # Wine's own errors go to each scenario's wine-output.txt, shown on failure
            "WINEDEBUG": os.environ.get("TAVRIK_E2E_WINEDEBUG", "-all,err+all"),
            "WINEDLLOVERRIDES": os.environ.get("WINEDLLOVERRIDES", "mscoree,mshtml="),
        })

    def start(self):
        os.makedirs(self.work_dir, exist_ok=True)
        # Runs sharing the prefix take turns: each ends the whole Wine session.
        self.lock = open(os.path.join(self.work_dir, "session.lock"), "w")
        try:
            fcntl.flock(self.lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
        except BlockingIOError:
            print(f"waiting for another run that uses {self.prefix}", flush=True)
            fcntl.flock(self.lock, fcntl.LOCK_EX)
        if not self.env.get("DISPLAY"):
            self._start_xvfb()
        # the prefix is made once, under a lock, by the same script ctest uses
        subprocess.run([os.path.join(ROOT, "cmake", "wine-run.sh"), "--init"],
                       env=self.env, check=True, stdin=subprocess.DEVNULL)
        self.end_wine_session()  # whatever an interrupted run left behind
        self.screen = tuple(int(v) for v in self.xdotool("getdisplaygeometry").split())

    def _start_xvfb(self):
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
             "-noreset"],
            pass_fds=(write_fd,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        os.close(write_fd)
        number = b""
        with os.fdopen(read_fd, "rb") as pipe:
            while not number.endswith(b"\n"):
                chunk = pipe.read(1)
                if not chunk:
                    break
                number += chunk
        check(number.strip().isdigit(), "Xvfb did not start")
        self.env["DISPLAY"] = ":" + number.decode().strip()

    def restart_display(self):
        if self.xvfb:
            self._stop_xvfb()
            del self.env["DISPLAY"]
            self._start_xvfb()

    def stop(self):
        self.end_wine_session()
        self._stop_xvfb()
        if self.lock:
            self.lock.close()
            self.lock = None

    def _stop_xvfb(self):
        if self.xvfb:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(5)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
            self.xvfb = None

    def end_wine_session(self):
        """Ends every process of the prefix, then the server itself."""
        subprocess.run(["wineserver", "-k"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)

    def session_programs(self):
        """File names of the programs running in this prefix, the session's own left out."""
        names = []
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open(f"/proc/{pid}/environ", "rb") as f:
                    environ = f.read().split(b"\0")
                with open(f"/proc/{pid}/cmdline", "rb") as f:
                    argv0 = f.read().split(b"\0")[0].decode(errors="replace")
            except OSError:
                continue
            if f"WINEPREFIX={self.prefix}".encode() not in environ:
                continue
            name = argv0.replace("/", "\\").rsplit("\\", 1)[-1]
            if name.lower() in SESSION_PROGRAMS or not name.lower().endswith(".exe"):
                continue
            names.append(name)
        return names

    def xdotool(self, *args, check_rc=True):
        result = subprocess.run(["xdotool", *args], env=self.env, stdin=subprocess.DEVNULL,
                                capture_output=True, text=True)
        if check_rc and result.returncode != 0:
            raise Failure(f"xdotool {' '.join(args)} failed: {result.stderr.strip()}")
        return result.stdout.strip()

    def windows(self):
        """Visible windows of Tavrik's process, bottom to top (the newest menu last)."""
        out = self.xdotool("search", "--onlyvisible", "--class", MENU_CLASS, check_rc=False)
        found = []
        for line in out.splitlines():
            if line.strip().isdigit():
                window = Window.read(self, line.strip())
                if window:
                    found.append(window)
        return found

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", path], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def photograph(self, window, path, margin=8):
        """Saves the screen around a window (with a small margin) as a PNG."""
        os.makedirs(os.path.dirname(path), exist_ok=True)
        whole = path + ".full.png"
        self.screenshot(whole)
        x, y = max(0, window.x - margin), max(0, window.y - margin)
        geometry = f"{window.width + 2 * margin}x{window.height + 2 * margin}+{x}+{y}"
        subprocess.run(["convert", whole, "-crop", geometry, "+repage", "-strip", path],
                       check=True)
        os.remove(whole)
        return path


class Window:
    def __init__(self, wid, x, y, width, height, name):
        self.id, self.x, self.y, self.width, self.height, self.name = wid, x, y, width, height, name

    @classmethod
    def read(cls, session, wid):
        shell = session.xdotool("getwindowgeometry", "--shell", wid, check_rc=False)
        values = dict(line.split("=", 1) for line in shell.splitlines() if "=" in line)
        if not all(k in values for k in ("X", "Y", "WIDTH", "HEIGHT")):
            return None  # gone in between
        name = session.xdotool("getwindowname", wid, check_rc=False)
        return cls(wid, int(values["X"]), int(values["Y"]), int(values["WIDTH"]),
                   int(values["HEIGHT"]), name)

    def item_point(self, index, items, separators=0):
        """Screen point in the middle of item `index` (0-based, counting only
        items) of a menu of `items` items and `separators` separators, all of
        them before the last item (the system entry's separator)."""
        inner = self.height - 2 * MENU_FRAME - separators * SEPARATOR_HEIGHT
        item_height = inner / items
        y = self.y + MENU_FRAME + item_height * (index + 0.5)
        if separators and index == items - 1:
            y += separators * SEPARATOR_HEIGHT
        return self.x + min(25, self.width // 3), int(y)

    def __repr__(self):
        return f"window {self.id} '{self.name}' at {self.x},{self.y} size {self.width}x{self.height}"


# --- program folders and the recorders' logs -----------------------------------

class Record:
    def __init__(self, folder, line):
        fields = line.split("\t", 3)
        values = dict(f.split("=", 1) for f in fields)
        self.folder = folder
        self.exe = values["exe"]
        self.ms = int(values["ms"])
        self.cwd = values["cwd"]
        self.cmd = values["cmd"]

    def __repr__(self):
        return f"{self.exe} (cwd {self.cwd}): {self.cmd}"


class Folder:
    """A scenario's program folder, known by its Windows and its Linux path."""

    def __init__(self, session, name):
        self.session = session
        self.name = name
        self.win = "C:\\e2e\\" + name
        self.unix = os.path.join(session.prefix, "drive_c", "e2e", name)
        shutil.rmtree(self.unix, ignore_errors=True)
        os.makedirs(self.unix)

    def w(self, relative=""):
        return self.win + ("\\" + relative.replace("/", "\\") if relative else "")

    def u(self, relative=""):
        return os.path.join(self.unix, *relative.replace("\\", "/").split("/")) if relative else self.unix

    def put(self, source, relative):
        os.makedirs(os.path.dirname(self.u(relative)), exist_ok=True)
        shutil.copyfile(source, self.u(relative))

    def write_ini(self, relative, lines):
        """Writes a menu definition, every line ended with CR LF."""
        with open(self.u(relative), "wb") as f:
            f.write("".join(line + "\r\n" for line in lines).encode("cp932"))

    def records(self):
        """Every recorder line under the folder, oldest first."""
        found = []
        for directory, _, files in os.walk(self.unix):
            if "record.log" in files:
                with open(os.path.join(directory, "record.log"), "rb") as f:
                    text = f.read().decode("cp932", errors="replace")
                found += [Record(directory, line) for line in text.split("\r\n") if line]
        return sorted(found, key=lambda r: r.ms)


class Tavrik:
    """One start of Tavrik.exe from a folder."""

    def __init__(self, session, folder, args=()):
        self.session = session
        self.folder = folder
        self.output = open(os.path.join(folder.unix, "wine-output.txt"), "wb")
        # the session's helpers inherit the standard output: a file, never a pipe
        self.process = subprocess.Popen(["wine", folder.w("Tavrik.exe"), *args], cwd=folder.unix,
                                        env=session.env, stdin=subprocess.DEVNULL,
                                        stdout=self.output, stderr=subprocess.STDOUT)

    def running(self):
        return self.process.poll() is None

    def wait_windows(self, count=1, timeout=STEP_TIMEOUT, what="menu"):
        """Waits for `count` visible windows; returns them, the newest last."""
        most = [0]

        def ready():
            if not self.running():
                message = (f"Tavrik ended (exit code {self.process.returncode}) while waiting "
                           f"for the {what}; it showed {most[0]} window(s) at most")
                if NO_DISPLAY_DRIVER in self.wine_output():
                    raise DisplayDriverFailed(message + "; Wine could not load its display driver")
                raise Failure(message)
            found = self.session.windows()
            most[0] = max(most[0], len(found))
            return found if len(found) >= count else None
        found = wait_for(f"the {what} ({count} window(s))", ready, timeout)
        time.sleep(0.15)  # let it finish painting and enter its loop
        return self.session.windows()

    def wine_output(self):
        self.output.flush()
        with open(self.output.name, "rb") as f:
            return f.read()

    def wait_menu(self):
        return self.wait_windows(1, WINDOW_TIMEOUT)[-1]

    def wait_exit(self, timeout=STEP_TIMEOUT):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"Tavrik still runs {timeout:.0f}s after it should have ended; "
                          f"windows: {self.session.windows()}") from None

    def close(self):
        if self.running():
            self.process.kill()
            self.process.wait()
        self.output.close()


# --- actions -----------------------------------------------------------------

class Scenario:
    """What a scenario function gets: the session, its folder and the actions."""

    def __init__(self, session, name, args):
        self.session = session
        self.name = name
        self.args = args
        self.runs = []
        self.folder = None
        self.user_files = None  # the folder's files as the latest start found them

    def make_folder(self, name=None):
        self.folder = Folder(self.session, name or self.name)
        return self.folder

    def put_tavrik(self, relative="Tavrik.exe"):
        self.folder.put(self.args.tavrik, relative)

    def put_recorder(self, relative):
        self.folder.put(self.args.recorder, relative)

    def start(self, *args):
        # The pointer waits in a corner until the menu is there.
        self.session.xdotool("mousemove", "5", "5")
        self.snapshot_user_files()
        run = Tavrik(self.session, self.folder, args)
        self.runs.append(run)
        return run

    def point_at(self, window):
        """Rests the pointer on the menu's first item. Keys go to the window
        under the pointer (there is no window manager), so this is what lets
        the menu hear them. Hovering highlights the item, as the menu does by
        itself when it opens; it must be an item without a submenu."""
        self.session.xdotool("mousemove", str(window.x + 25), str(window.y + MENU_FRAME + 7))
        time.sleep(0.15)

    def point_inside(self, window):
        self.session.xdotool("mousemove", str(window.x + window.width // 2),
                             str(window.y + window.height // 2))
        time.sleep(0.15)

    def keys(self, *names):
        for name in names:
            self.session.xdotool("key", name)
            time.sleep(0.08)

    def wait_records(self, count, timeout=STEP_TIMEOUT):
        def enough():
            records = self.folder.records()
            return records if len(records) >= count else None
        return wait_for(f"{count} recorder line(s)", enough, timeout)

    def finish(self, run, expected_records):
        """Tavrik ends with 0, leaves no window, and exactly the expected
        programs ran: expected_records is a list of (exe, cwd, cmd)."""
        code = run.wait_exit()
        check(code == 0, f"exit code {code}, expected 0")
        if expected_records:
            self.wait_records(len(expected_records))
        time.sleep(0.3)  # a late, unexpected launch would show up now
        left = self.session.windows()
        check(not left, f"windows left after the end: {left}")
        records = self.folder.records()
        got = [(r.exe, r.cwd, r.cmd) for r in records]
        check(len(got) == len(expected_records) and
              all(tuple(e) == g for e, g in zip(expected_records, got)),
              "programs run:\n    " + "\n    ".join(map(str, got or ["(none)"])) +
              "\n  expected:\n    " + "\n    ".join(map(str, expected_records or ["(none)"])))
        others = self.session.session_programs()
        check(not others, f"programs still running: {others}")
        self.check_user_files()
        return records

    def snapshot_user_files(self):
        """Takes the folder's files as they are now as the untouched state
        (by each start, and by a scenario that changes them on purpose)."""
        self.user_files = userfiles.snapshot(self.folder.unix)

    def check_user_files(self):
        if self.user_files is not None:
            problems = userfiles.compare(self.user_files, self.folder.unix)
            check(not problems, "user files changed:\n    " + "\n    ".join(problems))

    def cleanup(self):
        for run in self.runs:
            run.close()
        self.session.xdotool("keyup", "shift", check_rc=False)


SCENARIOS = {}


def scenario(function):
    SCENARIOS[function.__name__] = function
    return function


def quoted(path):
    return f'"{path}"'


class VariantCommand:
    """Matches the command line of a variant: the quoted program, blanks, then
    the parameters exactly as written. The blank after ">" in the definition
    may travel with the parameters, so more than one blank is accepted."""

    def __init__(self, program, parameters):
        self.head = quoted(program)
        self.parameters = parameters

    def __eq__(self, command):
        if not isinstance(command, str) or not command.startswith(self.head + " "):
            return False
        return command[len(self.head):].lstrip(" ") == self.parameters

    def __repr__(self):
        return repr(f"{self.head} {self.parameters}")


# --- scenarios -----------------------------------------------------------------

@scenario
def access_key(s):
    """An entry chosen by its access key runs with no parameters, in its own folder."""
    f = s.make_folder("access key")
    s.put_tavrik()
    s.put_recorder("one/a.exe")
    s.put_recorder("two words/b.exe")
    f.write_ini("Tavrik.ini", [
        "[system]", "@menu=center", "%end",
        "[launch]",
        f"{f.w('one/a.exe')} | &Alpha",
        f"{f.w('two words/b.exe')} | &Beta",
        "%end"])
    run = s.start()
    menu = run.wait_menu()
    s.point_at(menu)
    s.keys("b")
    s.finish(run, [("b.exe", f.w("two words"), quoted(f.w("two words/b.exe")))])


def variant_folder(s, name, variant):
    """Alpha, and Vee with the one variant given, in a centred menu."""
    f = s.make_folder(name)
    s.put_tavrik()
    s.put_recorder("bin/a.exe")
    s.put_recorder("bin/v.exe")
    f.write_ini("Tavrik.ini", [
        "[system]", "@menu=center", "%end",
        "[launch]",
        f"{f.w('bin/a.exe')} | &Alpha",
        f"{f.w('bin/v.exe')} | &Vee",
        f"> {variant} | variant",
        "%end"])
    return f


@scenario
def sole_variant(s):
    """An entry with one variant is one item that runs with the variant's parameters."""
    f = variant_folder(s, "sole variant", '-x "a b" 12')
    run = s.start()
    menu = run.wait_menu()
    check(len(s.session.windows()) == 1, "the sole variant opened a submenu")
    s.point_at(menu)
    s.keys("v")
    s.finish(run, [("v.exe", f.w("bin"), VariantCommand(f.w("bin/v.exe"), '-x "a b" 12'))])


@scenario
def variant_submenu(s):
    """An entry with two variants opens a submenu; its second variant runs."""
    f = s.make_folder("variant_submenu")
    s.put_tavrik()
    s.put_recorder("a.exe")
    s.put_recorder("tools/g.exe")
    f.write_ini("Tavrik.ini", [
        "[system]", "@menu=center", "%end",
        "[launch]",
        f"{f.w('a.exe')} | &Alpha",
        f"{f.w('tools/g.exe')} | &Gamma",
        "> --first | &first",
        '> --second "x y" | &second',
        "%end"])
    run = s.start()
    menu = run.wait_menu()
    s.point_at(menu)
    s.keys("g")
    run.wait_windows(2, what="variant submenu")
    s.keys("s")
    s.finish(run, [("g.exe", f.w("tools"), VariantCommand(f.w("tools/g.exe"), '--second "x y"'))])


def marks_folder(s, name, dist):
    f = s.make_folder(name)
    s.put_tavrik()
    for exe in ("a", "b", "c", "d"):
        s.put_recorder(f"{exe}/{exe}.exe")
    f.write_ini("Tavrik.ini", [
        "[system]", "@menu=center", f"@dist={dist}", "%end",
        "[launch]",
        f"{f.w('a/a.exe')} | &Alpha",
        f"{f.w('b/b.exe')} | &Beta",
        f"{f.w('c/c.exe')} | &Gamma",
        "+",
        f"{f.w('d/d.exe')} | &Delta",
        "> -d 4 | delta",
        "{&More",
        f"{f.w('a/a.exe')} | &Inner",
        "}",
        "%end"])
    return f


@scenario
def marks_order(s):
    """Marked entries run after the chosen one, in row order, with the delays."""
    f = marks_folder(s, "marks order", "400,700")
    run = s.start()
    menu = run.wait_menu()
    s.point_at(menu)  # Alpha highlighted
    # Mark Delta (a sole variant, below the separator), then Beta, then choose Alpha.
    s.keys("Down", "Down", "Down", "space", "Up", "Up", "space", "Up", "Return")
    records = s.finish(run, [
        ("a.exe", f.w("a"), quoted(f.w("a/a.exe"))),
        ("b.exe", f.w("b"), quoted(f.w("b/b.exe"))),
        ("d.exe", f.w("d"), VariantCommand(f.w("d/d.exe"), "-d 4")),
    ])
    # The recorders note when they start, which a busy machine delays by
    # different amounts; without the pauses the gaps would be near 0.
    gaps = [b.ms - a.ms for a, b in zip(records, records[1:])]
    check(gaps[0] >= 250 and gaps[1] >= 550,
          f"gaps between the launches {gaps} ms, expected at least 400 and 700 (less 150)")


@scenario
def marks_escape(s):
    """Marks do not launch anything when the menu is dismissed with Escape."""
    marks_folder(s, "marks_escape", "0,0")
    run = s.start()
    menu = run.wait_menu()
    s.point_at(menu)
    s.keys("Down", "space", "Down", "space")
    time.sleep(0.2)
    s.keys("Escape")
    s.finish(run, [])


@scenario
def marks_escape_after_submenu(s):
    """Marks stay unlaunched when a submenu was opened by key before Escape."""
    marks_folder(s, "marks escape submenu", "0,0")
    run = s.start()
    menu = run.wait_menu()
    s.point_at(menu)
    s.keys("Down", "space")
    s.keys("m")  # opens "More"
    run.wait_windows(2, what="submenu")
    s.keys("Escape")
    wait_for("the submenu to close", lambda: len(s.session.windows()) == 1)
    s.keys("Escape")
    s.finish(run, [])


@scenario
def version_box(s):
    """system > Version shows the version box; closing it ends Tavrik, nothing runs."""
    f = s.make_folder("version")
    s.put_tavrik()
    s.put_recorder("a.exe")
    f.write_ini("Tavrik.ini", ["[system]", "@menu=center", "%end",
                               "[launch]", f"{f.w('a.exe')} | &Alpha", "%end"])
    run = s.start()
    menu = run.wait_menu()
    s.point_at(menu)
    s.keys("0")
    run.wait_windows(2, what="system submenu")
    s.keys("v")

    def box():
        found = [w for w in s.session.windows() if w.name == VERSION_CAPTION]
        return found[0] if found else None
    found = wait_for("the version box", box)
    check(len(s.session.windows()) == 1, f"menus still open beside the box: {s.session.windows()}")
    time.sleep(0.2)
    s.point_inside(found)
    s.keys("Return")
    s.finish(run, [])


def open_sole_system_entry(s, run):
    """The menu of a start without Tavrik.ini: the file is created empty and the
    menu holds only the system entry, whose submenu this opens and returns."""
    menu = run.wait_menu()
    f = s.folder
    check(os.path.isfile(f.u("Tavrik.ini")) and os.path.getsize(f.u("Tavrik.ini")) == 0,
          "Tavrik.ini was not created empty")
    check(menu.height < 2 * 20 + 2 * MENU_FRAME, f"more than the system entry: {menu}")
    s.point_at(menu)
    s.keys("0")
    return run.wait_windows(2, what="system submenu")[-1]


@scenario
def missing_definition(s):
    """Without Tavrik.ini an empty one is made and the menu holds only the system entry."""
    s.make_folder("missing")
    s.put_tavrik()
    run = s.start()
    sub = open_sole_system_entry(s, run)
    check(sub.height > 3 * 14, f"system submenu too small for its three items: {sub}")
    s.keys("Escape")
    wait_for("the submenu to close", lambda: len(s.session.windows()) == 1)
    s.keys("Escape")
    s.finish(run, [])


@scenario
def other_definition(s):
    """/#s= names the definition file, relative to the program's folder."""
    f = s.make_folder("other definition")
    s.put_tavrik()
    s.put_recorder("main/m.exe")
    s.put_recorder("other/o.exe")
    f.write_ini("Tavrik.ini", ["[launch]", f"{f.w('main/m.exe')} | &Entry", "%end"])
    f.write_ini("other.ini", ["[launch]", f"{f.w('other/o.exe')} | &Entry", "%end"])
    cases = [
        ("/#s=other.ini", ("o.exe", f.w("other"), quoted(f.w("other/o.exe")))),
        ("/#s=absent.ini", ("m.exe", f.w("main"), quoted(f.w("main/m.exe")))),
    ]
    for option, expected in cases:
        for log in ("main/record.log", "other/record.log"):
            if os.path.exists(f.u(log)):
                os.remove(f.u(log))
        run = s.start(option)
        menu = run.wait_menu()
        s.point_at(menu)
        s.keys("e")
        try:
            s.finish(run, [expected])
        except Failure as failure:
            raise Failure(f"{option}: {failure}") from None


@scenario
def position(s):
    """Where the menu shows: /#m=center, /#m=x,y, @menu=x,y, and the command line winning."""
    f = s.make_folder("position")
    s.put_tavrik()
    s.put_recorder("a.exe")
    entries = ["[launch]", f"{f.w('a.exe')} | &Alpha", "%end"]
    width, height = s.session.screen
    cases = [
        # (@menu line or None, command-line options, expected top-left or "center")
        (None, ["/#m=center"], "center"),
        ("@menu=300,250", ["/#m=center"], "center"),
        (None, ["/#m=100,200"], (100, 200)),
        ("@menu=300,250", [], (300, 250)),
        ("@menu=center", ["/#m=100,200", "/#n"], (100, 200)),
    ]
    for menu_line, options, expected in cases:
        system = ["[system]", menu_line, "%end"] if menu_line else []
        f.write_ini("Tavrik.ini", system + entries)
        run = s.start(*options)
        menu = run.wait_menu()
        label = f"{menu_line or 'no @menu'} {' '.join(options)}: {menu}"
        if expected == "center":
            cx, cy = menu.x + menu.width / 2, menu.y + menu.height / 2
            # centred on half the width and half the maximised height, which
            # Wine makes a little taller than the screen
            check(abs(cx - width / 2) <= 2, f"{label}: not centred across")
            check(height / 2 - 2 <= cy <= height / 2 + 40, f"{label}: not centred down")
        else:
            check((menu.x, menu.y) == expected, f"{label}: expected top-left {expected}")
        s.point_at(menu)
        s.keys("Escape")
        try:
            s.finish(run, [])
        except Failure as failure:
            raise Failure(f"{label}: {failure}") from None


@scenario
def text_only(s):
    """/#n gives a text menu even when the file asks for owner-drawn items."""
    f = s.make_folder("text only")
    s.put_tavrik()
    s.put_recorder("bin/a.exe")
    s.put_recorder("bin/b.exe")
    f.write_ini("Tavrik.ini", ["[system]", "@menu=center", "@icon=1", "%end", "[launch]",
                               f"{f.w('bin/a.exe')} | &Alpha",
                               f"{f.w('bin/b.exe')} | &Beta",
                               "%end"])
    run = s.start("/#n")
    menu = run.wait_menu()
    s.point_at(menu)
    s.keys("b")
    s.finish(run, [("b.exe", f.w("bin"), quoted(f.w("bin/b.exe")))])


def filer_folder(s, name):
    f = s.make_folder(name)
    s.put_tavrik()
    s.put_recorder("filer/filer.exe")
    s.put_recorder("plain/a.exe")
    s.put_recorder("with space/sub/b.exe")
    f.write_ini("Tavrik.ini", [
        "[system]", "@menu=center", f"@filer={f.w('filer/filer.exe')}", "%end",
        "[launch]",
        f"{f.w('plain/a.exe')} | &Alpha",
        f"{f.w('with space/sub/b.exe')} | &Beta",
        "%end"])
    return f


@scenario
def filer_shift(s):
    """Shift held at the choice opens the entry's folder in the filer instead."""
    f = filer_folder(s, "filer shift")
    run = s.start()
    menu = run.wait_menu()
    s.point_at(menu)
    s.session.xdotool("keydown", "shift")
    try:
        s.keys("b")
        s.wait_records(1)
    finally:
        s.session.xdotool("keyup", "shift")
    s.finish(run, [("filer.exe", f.w("filer"),
                    quoted(f.w("filer/filer.exe")) + " " + quoted(f.w("with space/sub") + "\\"))])


@scenario
def filer_right_click(s):
    """A right click on an entry opens its folder in the filer, quoted when it has blanks."""
    f = filer_folder(s, "filer_right_click")
    cases = [  # item (of Alpha, Beta and the system entry), the filer's parameter
        (0, f.w("plain") + "\\"),
        (1, quoted(f.w("with space/sub") + "\\")),
    ]
    for index, parameter in cases:
        for log in ("filer/record.log",):
            if os.path.exists(f.u(log)):
                os.remove(f.u(log))
        run = s.start()
        menu = run.wait_menu()
        s.point_at(menu)
        x, y = menu.item_point(index, 3, 1)
        s.session.xdotool("mousemove", str(x), str(y))
        time.sleep(0.15)
        s.session.xdotool("click", "3")
        try:
            s.finish(run, [("filer.exe", f.w("filer"), quoted(f.w("filer/filer.exe")) + " " + parameter)])
        except Failure as failure:
            raise Failure(f"item {index}: {failure}") from None


@scenario
def dismiss(s):
    """Escape, or a click outside the menu, ends Tavrik with nothing launched."""
    f = s.make_folder("dismiss")
    s.put_tavrik()
    s.put_recorder("a.exe")
    f.write_ini("Tavrik.ini", ["[system]", "@menu=center", "%end",
                               "[launch]", f"{f.w('a.exe')} | &Alpha", "%end"])
    for how in ("Escape", "click outside"):
        run = s.start()
        menu = run.wait_menu()
        s.point_at(menu)
        if how == "Escape":
            s.keys("Escape")
        else:
            s.session.xdotool("mousemove", "5", "5")
            time.sleep(0.15)
            s.session.xdotool("click", "1")
        try:
            s.finish(run, [])
        except Failure as failure:
            raise Failure(f"{how}: {failure}") from None


# --- runner --------------------------------------------------------------------

def run_scenario(session, name, args):
    """Runs one scenario; True when it passed. A session whose display driver
    failed to load gets one more try with a new session (and a new display
    when the display is ours)."""
    for attempt in (1, 2):
        s = Scenario(session, name, args)
        started = time.monotonic()
        retry = False
        try:
            SCENARIOS[name](s)
            s.check_user_files()
            print(f"PASS {name} ({time.monotonic() - started:.1f}s)", flush=True)
            return True
        except DisplayDriverFailed as error:
            retry = attempt == 1
            if retry:
                print(f"RETRY {name}: {error}", flush=True)
            else:
                report_failure(session, s, error, started)
        except Exception as error:  # a failure of one scenario must not stop the others
            report_failure(session, s, error, started)
        finally:
            s.cleanup()
            session.end_wine_session()
        if not retry:
            return False
        session.restart_display()
    return False


def report_failure(session, s, error, started):
    shot = os.path.join(session.work_dir, f"failed-{s.name}.png")
    session.screenshot(shot)
    detail = str(error) if isinstance(error, Failure) else traceback.format_exc()
    print(f"FAIL {s.name} ({time.monotonic() - started:.1f}s): {detail}\n"
          f"    screenshot: {shot}", flush=True)
    if s.folder:
        print(f"    folder: {s.folder.unix}", flush=True)
        output = os.path.join(s.folder.unix, "wine-output.txt")
        if os.path.exists(output):
            with open(output, "rb") as f:
                tail = f.read()[-2000:].decode(errors="replace").strip()
            if tail:
                print("    Wine's output:\n      " + tail.replace("\n", "\n      "), flush=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--tavrik", required=True, help="Tavrik.exe to test")
    parser.add_argument("--recorder", required=True, help="the recorder program")
    parser.add_argument("--work", required=True, help="folder for the Wine prefix and failure screenshots")
    parser.add_argument("--repeat", type=int, default=1, help="run the scenarios this many times")
    parser.add_argument("--list", action="store_true", help="list the scenarios")
    parser.add_argument("scenarios", nargs="*", help="scenarios to run (all by default)")
    args = parser.parse_args()
    if args.list:
        print("\n".join(SCENARIOS))
        return 0
    names = args.scenarios or list(SCENARIOS)
    unknown = [n for n in names if n not in SCENARIOS]
    if unknown:
        print(f"unknown scenario(s): {' '.join(unknown)}", file=sys.stderr)
        return 2
    for tool in ("wine", "wineserver", "xdotool"):
        if not shutil.which(tool):
            print(f"{tool} is missing", file=sys.stderr)
            return 2

    # ctest ends a test that runs too long with a signal: clean up on the way out.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    session = Session(args.work)
    failed = 0
    try:
        session.start()
        for round_number in range(args.repeat):
            if args.repeat > 1:
                print(f"--- round {round_number + 1} of {args.repeat}", flush=True)
            for name in names:
                failed += not run_scenario(session, name, args)
    finally:
        session.stop()
    print(f"{failed} failure(s)" if failed else "all passed", flush=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

"""End-to-end harness: the real Tavrik.exe under Wine, driven with xdotool.

Each scenario gets a fresh program folder C:\\e2e\\<scenario>\\ inside a Wine
prefix of its own, Tavrik.exe and copies of the recorder program in it (and
in subfolders), and a Tavrik.ini. Tavrik is started with wine, the menu is
worked with keys and clicks as a person would, and the recorders' logs tell
which programs ran, with which command lines and working folders.

    <runner>_e2e.py --tavrik Tavrik.exe --recorder tavrik_recorder.exe --work DIR [SCENARIO...]

The runners (launcher_e2e.py, icons_e2e.py, ...) hold the scenarios; this
module holds what they share: the display and Wine session, windows, the
recorders' logs, program folders and the driver that runs the scenarios.

Without DISPLAY a private Xvfb display is started. Every wait polls; the
sleeps that remain are short settles after a poll succeeded. Each scenario
ends its Wine session (wineserver -k on its own prefix), so nothing it left
running reaches the next one. Standard library only.
"""

import argparse
import os
import shutil
import signal
import sys
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import userfiles  # noqa: E402
from wine_session import *  # noqa: E402,F401,F403
from wine_session import Failure, DisplayDriverFailed, Session, check, wait_for  # noqa: E402

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


# --- helpers of several runners ------------------------------------------------

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

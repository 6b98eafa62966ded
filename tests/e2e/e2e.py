#!/usr/bin/env python3
"""End-to-end tests: the real Tavrik.exe under Wine, worked with xdotool as a
person would, the scenarios written as data in tests/e2e/scenarios/*.txt.

A block starts with "== name", a step is a verb (a method of Steps) and its
words, quoted as in a shell; lines indented below a step are its text.
"""

import argparse
import collections
import fcntl
import os
import re
import shlex
import signal
import subprocess
import sys
import time
import traceback
from pathlib import Path

from steps import Steps

Window = collections.namedtuple("Window", "id x y width height")


class Session:
    """The X display and the Wine prefix of a scenario; scenarios sharing the prefix take turns."""

    def __init__(self, work, locale):
        self.work = os.path.abspath(work)
        self.prefix = os.path.join(self.work, "wineprefix")
        # Wine's own errors go to each folder's wine-output.txt, shown on failure
        self.env = dict(os.environ, WINEPREFIX=self.prefix, TAVRIK_LANG=locale, LANG=locale, LC_ALL=locale,
                        WINEDLLOVERRIDES="mscoree,mshtml=", WINEDEBUG="-all,err+all")
        os.makedirs(self.work, exist_ok=True)
        self.lock = open(os.path.join(self.work, "session.lock"), "w")
        fcntl.flock(self.lock, fcntl.LOCK_EX)
        subprocess.run([Path(__file__).resolve().parents[2] / "cmake" / "wine-run.sh", "--init"],
                       env=self.env, check=True, stdin=subprocess.DEVNULL)
        self.end()  # whatever an interrupted run left behind

    def end(self):
        """Ends every process of the prefix, then the Wine server itself."""
        subprocess.run(["wineserver", "-k"], env=self.env, capture_output=True)
        subprocess.run(["wineserver", "-w"], env=self.env, capture_output=True, timeout=30)

    def wine(self, *args, **env):
        """Runs a Windows program to its end: (exit code, output)."""
        # a file, never a pipe, which the session's own programs would keep open
        out = os.path.join(self.work, "wine-tool.txt")
        with open(out, "wb") as f:
            code = subprocess.run(["wine", *args], env=dict(self.env, **env), stdin=subprocess.DEVNULL,
                                  stdout=f, stderr=subprocess.DEVNULL, timeout=60).returncode
        return code, Path(out).read_bytes().decode("cp932", "replace")

    def xdotool(self, *args, strict=True):
        done = subprocess.run(["xdotool", *args], env=self.env, stdin=subprocess.DEVNULL,
                              capture_output=True, text=True)
        assert done.returncode == 0 or not strict, f"xdotool {' '.join(args)} failed: {done.stderr}"
        return done.stdout.strip()

    def windows(self):
        """Visible windows of Tavrik's process, bottom to top: the newest menu last."""
        # Wine names the X windows' class after the program's file
        out = self.xdotool("search", "--onlyvisible", "--class", "Tavrik.exe",
                           "getwindowgeometry", "--shell", "%@", strict=False)
        return [Window(*map(int, found)) for found in
                re.findall(r"WINDOW=(\d+)\s+X=(-?\d+)\s+Y=(-?\d+)\s+WIDTH=(\d+)\s+HEIGHT=(\d+)", out)]

    def grab(self, target, crop=None):
        """The screen, or a part of it, saved as target (txt:- gives the pixels as text)."""
        crop = ["-crop", crop, "+repage"] if crop else []
        return subprocess.run(["import", "-window", "root", *crop, "-strip", target], env=self.env,
                              stdin=subprocess.DEVNULL, capture_output=True, text=True).stdout


def load_scenarios():
    """{name: (settings, [(where, words, indented lines)])} of every data file."""
    found = {}
    for path in sorted(Path(__file__).resolve().parent.glob("scenarios/*.txt")):
        settings, steps = {}, None
        with open(path, encoding="utf-8") as f:
            for number, line in enumerate(f.read().split("\n"), 1):
                if line.startswith("% "):
                    key, value = line[2:].split()
                    settings[key] = value
                elif line.startswith("== "):
                    steps = found.setdefault(line[3:].strip(), (settings, []))[1]
                elif line.startswith("  ") and steps:
                    steps[-1][2].append(line[2:])
                elif line.strip() and not line.startswith("#"):
                    steps.append((f"{path.name}:{number}", shlex.split(line), []))
    return found


def run_scenario(session, name, steps, tools):
    """Runs one scenario; True when it passed."""
    doer, started, where, words = Steps(session, name, tools), time.monotonic(), "", []
    try:
        for where, words, block in steps:
            getattr(doer, words[0].replace("-", "_"))(*map(doer.path, words[1:]),
                                                      **({"lines": block} if block else {}))
        print(f"PASS {name} ({time.monotonic() - started:.1f}s)", flush=True)
        return True
    except Exception as error:  # one failing scenario must not stop the others
        shot = os.path.join(session.work, f"failed-{name}.png")
        session.grab(shot)
        detail = str(error) if isinstance(error, AssertionError) else traceback.format_exc()
        print(f"FAIL {name} ({time.monotonic() - started:.1f}s): {where} {' '.join(words)}: {detail}\n"
              f"    screenshot: {shot}\n    Wine's errors: {doer.unix}/wine-output.txt", flush=True)
        return False
    finally:
        doer.cleanup()
        session.end()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    for option in ("--tavrik", "--recorder", "--helper", "--zip", "--screenshots", "--work"):
        parser.add_argument(option, required=True)
    parser.add_argument("scenarios", nargs="*")
    tools = parser.parse_args()
    scenarios = load_scenarios()
    names = tools.scenarios or list(scenarios)
    # ctest ends a test that runs too long with a signal: clean up on the way out.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    failed = 0
    for name in names:
        settings, steps = scenarios[name]
        # a file's "% prefix NAME" is a Wine prefix beside --work, "% locale" another locale
        work = os.path.join(os.path.dirname(os.path.abspath(tools.work)), settings.get("prefix", ""))
        session = Session(work if "prefix" in settings else tools.work,
                          settings.get("locale", "ja_JP.UTF-8"))
        failed += not run_scenario(session, name, steps, tools)
        session.lock.close()  # the next run's turn
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

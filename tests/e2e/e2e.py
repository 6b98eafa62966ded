#!/usr/bin/env python3
"""End-to-end tests: the real Tavrik.exe under Wine, worked with xdotool as a
person would, the scenarios written as data in tests/e2e/scenarios/*.txt.

    e2e.py --tavrik Tavrik.exe --recorder tavrik_recorder.exe --work DIR
           [--helper tavrik_e2e_helper.exe] [--zip ZIP] [--screenshots DIR]
           [--repeat N] [--list] [SCENARIO...]

A block starts with "== name"; "#" lines are comments; every other line is
a step: a verb and its words, quoted as in a shell. In the words {rel} is
the Windows path of rel in the scenario's folder ({} the folder itself),
{q:rel} the same in double quotes, {u:rel} its Linux path. "ini [FILE]"
takes the lines indented below it as a menu definition. The verbs are the
methods of Steps; the first line of each says what it does.

Each scenario gets a fresh program folder C:\\e2e\\<folder>\\ with Tavrik.exe,
copies of the recorder (which notes its start, folder and command line in
record.log beside itself) and the files it names; each ends its Wine session
so nothing it left running reaches the next one. Standard library only.
"""

import argparse
import glob
import os
import shlex
import signal
import sys
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from steps import Steps  # noqa: E402
from wine_session import DisplayDriverFailed, Failure, Session, check  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))


def load_scenarios():
    """{name: (settings, [(line number, file, words, indented lines)])} of every
    data file. A file's "% prefix NAME" gives its scenarios a Wine prefix of their
    own (beside --work), "% locale LOCALE" another locale (code page) for it."""
    found = {}
    for path in sorted(glob.glob(os.path.join(HERE, "scenarios", "*.txt"))):
        settings, steps = {}, None
        with open(path, encoding="utf-8") as f:
            for number, line in enumerate(f.read().split("\n"), 1):
                if line.startswith("% "):
                    key, value = line[2:].split()
                    settings[key] = value
                elif line.startswith("== "):
                    steps = found.setdefault(line[3:].strip(), (settings, []))[1]
                elif line.startswith("  ") and steps:
                    steps[-1][3].append(line[2:])
                elif line.strip() and not line.startswith("#"):
                    steps.append((number, os.path.basename(path), shlex.split(line), []))
    return found


def run_scenario(session, name, steps, tools):
    """Runs one scenario; True when it passed. When Wine could not load its display
    driver it runs once more in a new session and display."""
    for attempt in (1, 2):
        doer, started, words, retry = Steps(session, name, tools), time.monotonic(), [], False
        try:
            for number, source, words, block in steps:
                verb = words[0].replace("-", "_")
                if verb == "ini":
                    doer.ini(*words[1:], lines=block)
                else:
                    getattr(doer, {"window": "window_named"}.get(verb, verb))(
                        *(doer.path(w) for w in words[1:]))
            doer.check_user_files()
            print(f"PASS {name} ({time.monotonic() - started:.1f}s)", flush=True)
            return True
        except Exception as error:  # one failing scenario must not stop the others
            where = f"{source}:{number} {' '.join(words)}: " if words else ""
            if isinstance(error, DisplayDriverFailed) and attempt == 1:
                print(f"RETRY {name}: {where}{error}", flush=True)
                retry = True
                continue
            shot = os.path.join(session.work_dir, f"failed-{name}.png")
            session.screenshot(shot)
            detail = str(error) if isinstance(error, Failure) else traceback.format_exc()
            print(f"FAIL {name} ({time.monotonic() - started:.1f}s): {where}{detail}\n"
                  f"    screenshot: {shot}", flush=True)
            if doer.f and os.path.exists(os.path.join(doer.f.unix, "wine-output.txt")):
                with open(os.path.join(doer.f.unix, "wine-output.txt"), "rb") as f:
                    print("    Wine's output: " + f.read()[-2000:].decode(errors="replace"), flush=True)
            return False
        finally:
            doer.cleanup()
            session.end_wine_session()
            if retry:
                session.restart_display()
    return False


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    for option in ("--tavrik", "--recorder", "--work"):
        parser.add_argument(option, required=True)
    for option in ("--helper", "--zip", "--screenshots"):
        parser.add_argument(option)
    parser.add_argument("--repeat", type=int, default=1)
    parser.add_argument("--list", action="store_true")
    parser.add_argument("scenarios", nargs="*")
    tools = parser.parse_args()
    tools.screenshots = os.path.abspath(tools.screenshots or os.path.join(
        os.path.dirname(os.path.abspath(tools.work)), "screenshots"))
    scenarios = load_scenarios()
    if tools.list:
        print("\n".join(scenarios))
        return 0
    names = tools.scenarios or list(scenarios)
    unknown = [n for n in names if n not in scenarios]
    check(not unknown, f"unknown scenario(s): {unknown}")
    # ctest ends a test that runs too long with a signal: clean up on the way out.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    failed = 0
    for settings in {tuple(sorted(scenarios[n][0].items())) for n in names}:
        group = [n for n in names if tuple(sorted(scenarios[n][0].items())) == settings]
        settings = dict(settings)
        work = os.path.join(os.path.dirname(os.path.abspath(tools.work)), settings["prefix"]) \
            if "prefix" in settings else tools.work
        os.environ.pop("TAVRIK_LANG", None)
        os.environ.update({"TAVRIK_LANG": settings["locale"]} if "locale" in settings else {})
        session = Session(work)
        try:
            session.start()
            for _ in range(tools.repeat):
                failed += sum(not run_scenario(session, n, scenarios[n][1], tools) for n in group)
        finally:
            session.stop()
    print(f"{failed} failure(s)" if failed else "all passed", flush=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

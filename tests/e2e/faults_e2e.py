#!/usr/bin/env python3
"""End-to-end scenarios of faults from outside the launcher: a menu definition
held by another program or taken by a folder, an icon cache held by another
program, a clipboard another program keeps open, a marked program removed
while the menu is open. Run with the
harness.

    faults_e2e.py --tavrik Tavrik.exe --recorder tavrik_recorder.exe
                  --clipboard tavrik_clipboard.exe --holdfile tavrik_holdfile.exe
                  --work DIR [SCENARIO...]
"""

import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import Failure, VariantCommand, check, quoted, scenario, wait_for  # noqa: E402

TOOLS = {"clipboard": None, "holdfile": None}
ERROR_CAPTION = "エラー"


class Holder:
    """A helper program under Wine that holds something until told to stop:
    it creates the file given for READY once it holds it and lets go when the
    file given for STOP appears. The two lie outside the scenario's folder."""

    def __init__(self, s, tool, *args):
        self.session = s.session
        unix = s.folder.unix + ".signals"
        shutil.rmtree(unix, ignore_errors=True)
        os.makedirs(unix)
        win = s.folder.win + ".signals"
        self.ready, self.stop_file = os.path.join(unix, "ready"), os.path.join(unix, "stop")
        self.process = subprocess.Popen(
            ["wine", tool, *({"READY": win + "\\ready", "STOP": win + "\\stop"}.get(a, a)
                             for a in args)], env=s.session.env,
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        def ready():
            if self.process.poll() is not None:
                raise Failure(f"{os.path.basename(tool)} ended with {self.process.returncode}")
            return os.path.exists(self.ready)
        wait_for(f"{os.path.basename(tool)} to hold", ready, harness.WINDOW_TIMEOUT)

    def release(self):
        with open(self.stop_file, "w"):
            pass
        try:
            self.process.wait(harness.STEP_TIMEOUT)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            raise Failure("the holding program did not let go") from None


def finish_unordered(s, run, expected):
    """As Scenario.finish, for programs started without a delay between
    them, which may run in either order."""
    run.wait_exit()
    got = [(r.exe, r.cwd, r.cmd) for r in s.wait_records(len(expected))]
    unmatched = list(got)
    for wanted in expected:
        match = next((g for g in unmatched if tuple(wanted) == g), None)
        check(match is not None, f"programs run: {got}, expected in any order: {expected}")
        unmatched.remove(match)
    s.finish(run, got)


def wait_error_box(s, run):
    def box():
        found = s.session.windows()
        boxes = [w for w in found if w.name == ERROR_CAPTION]
        return (boxes[0], found) if boxes else None
    found, windows = wait_for("the error box", box, harness.WINDOW_TIMEOUT)
    check(len(windows) == 1, f"windows beside the error box: {windows}")
    time.sleep(0.2)
    return found


@scenario
def definition_unreadable(s):
    """A menu definition held by another program without sharing, or a folder
    in its place: the error box, no menu, exit code 0 once it is closed."""
    f = s.make_folder("definition unreadable")
    s.put_tavrik()
    s.put_recorder("a.exe")
    for case in ("held", "folder"):
        if case == "held":
            f.write_ini("Tavrik.ini", ["[launch]", f"{f.w('a.exe')} | &Alpha", "%end"])
            holder = Holder(s, TOOLS["holdfile"], f.w("Tavrik.ini"), "READY", "STOP")
        else:
            os.remove(f.u("Tavrik.ini"))
            os.makedirs(f.u("Tavrik.ini"))
            holder = None
        try:
            run = s.start()
            box = wait_error_box(s, run)
            s.point_inside(box)
            s.keys("Return")
            run.wait_exit()
        except Failure as failure:
            raise Failure(f"{case}: {failure}") from None
        finally:
            if holder:
                holder.release()
        try:
            s.finish(run, [])
        except Failure as failure:
            raise Failure(f"{case}: {failure}") from None
    check(os.path.isdir(f.u("Tavrik.ini")), "the folder in the definition's place went away")


@scenario
def clipboard_held(s):
    """While another program keeps the clipboard open, a path macro cancels
    the command and the marked entries; once it lets go, they run."""
    f = s.make_folder("clipboard held")
    s.put_tavrik()
    s.put_recorder("bin/a.exe")
    s.put_recorder("bin/v.exe")
    os.makedirs(f.u("docs"))
    with open(f.u("docs/name.ext"), "w") as doc:
        doc.write("x")
    f.write_ini("Tavrik.ini", [
        "[system]", "@menu=center", "%end",
        "[launch]",
        f"{f.w('bin/a.exe')} | &Alpha",
        f"{f.w('bin/v.exe')} | &Vee",
        "> %$N | variant",
        "%end"])

    def mark_alpha_choose_vee():
        run = s.start()
        s.point_at(run.wait_menu())
        s.keys("space", "Down", "Return")
        return run

    holder = Holder(s, TOOLS["clipboard"], "hold", "READY", "STOP", f.w("docs/name.ext"))
    try:
        run = mark_alpha_choose_vee()
        run.wait_exit()
    finally:
        holder.release()
    s.finish(run, [])
    # The same files once more, now free to read: the same choice runs both.
    # (Once the holding program has let go, Wine's clipboard no longer offers
    # its files.)
    subprocess.run(["wine", TOOLS["clipboard"], "files", f.w("docs/name.ext")],
                   env=s.session.env, check=True, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    run = mark_alpha_choose_vee()
    finish_unordered(s, run, [("v.exe", f.w("bin"), VariantCommand(f.w("bin/v.exe"), "name.ext")),
                              ("a.exe", f.w("bin"), quoted(f.w("bin/a.exe")))])


@scenario
def icon_cache_held(s):
    """With its icon cache held by another program, the menu is drawn from the
    pictures this start rendered (the owner-drawn menu's size, not the /#n
    text menu's) and still launches; the cache stays as it was."""
    f = s.make_folder("icon cache held")
    s.put_tavrik()
    s.put_recorder("bin/a.exe")
    s.put_recorder("bin/b.exe")
    f.write_ini("Tavrik.ini", [
        "[system]", "@menu=center", "@icon=1", "%end",
        "[launch]",
        f"{f.w('bin/a.exe')} | &Alpha",
        f"{f.w('bin/b.exe')} | &Beta",
        "%end"])

    def menu_size(*options, holder=None, key="Escape", expected=()):
        run = s.start(*options)
        try:
            menu = run.wait_menu()
            s.point_at(menu)
            s.keys(key)
            run.wait_exit()
        finally:
            if holder:
                holder.release()
        s.finish(run, list(expected))
        return menu.width, menu.height

    text = menu_size("/#n")
    drawn = menu_size()  # writes the cache
    check(os.path.exists(f.u("Tavrik.tvi")), "no icon cache was written")
    check(drawn != text, f"the owner-drawn menu has the text menu's size {text}")
    with open(f.u("Tavrik.tvi"), "rb") as c:
        cache = c.read()
    holder = Holder(s, TOOLS["holdfile"], f.w("Tavrik.tvi"), "READY", "STOP")
    held = menu_size(holder=holder, key="b", expected=[("b.exe", f.w("bin"), quoted(f.w("bin/b.exe")))])
    check(held == drawn, f"menu of {held} with the cache held, expected the drawn menu's {drawn}")
    with open(f.u("Tavrik.tvi"), "rb") as c:
        check(c.read() == cache, "the held cache changed")


@scenario
def marked_target_removed(s):
    """A marked program removed while the menu is open does not run; the
    chosen entry and the other marked ones still do."""
    f = s.make_folder("marked target removed")
    s.put_tavrik()
    for exe in ("a", "b", "c"):
        s.put_recorder(f"{exe}/{exe}.exe")
    f.write_ini("Tavrik.ini", [
        "[system]", "@menu=center", "@dist=0,0", "%end",
        "[launch]",
        f"{f.w('a/a.exe')} | &Alpha",
        f"{f.w('b/b.exe')} | &Beta",
        f"{f.w('c/c.exe')} | &Gamma",
        "%end"])
    run = s.start()
    menu = run.wait_menu()
    s.point_at(menu)  # Alpha highlighted
    s.keys("Down", "space", "Down", "space")
    time.sleep(0.2)
    os.remove(f.u("b/b.exe"))
    s.snapshot_user_files()  # removed on purpose
    s.keys("Up", "Up", "Return")
    finish_unordered(s, run, [("a.exe", f.w("a"), quoted(f.w("a/a.exe"))),
                              ("c.exe", f.w("c"), quoted(f.w("c/c.exe")))])


if __name__ == "__main__":
    argv = sys.argv[1:]
    for tool in TOOLS:
        option = "--" + tool
        if option in argv:
            i = argv.index(option)
            TOOLS[tool] = argv[i + 1]
            del argv[i:i + 2]
    # Only the scenarios of this file run unless others are named.
    names = [a for a in argv if not a.startswith("--") and a in harness.SCENARIOS]
    if not names and "--list" not in argv:
        argv += ["definition_unreadable", "icon_cache_held", "clipboard_held",
                 "marked_target_removed"]
    sys.argv[1:] = argv
    sys.exit(harness.main())

#!/usr/bin/env python3
"""End-to-end scenarios of command macros and the input dialog, run with the
harness.

    macros_e2e.py --tavrik Tavrik.exe --recorder tavrik_recorder.exe
                  --clipboard tavrik_clipboard.exe --dialog-text tavrik_dialog_text.exe
                  --work DIR [--screenshots DIR] [SCENARIO...]

Files are dropped on the file collection dialog from outside the process by
xdnd_drop.py, the way a Linux file manager drops them on a Wine window. The
value prompt is photographed into --screenshots (by default "screenshots"
beside the work folder) as value_prompt.png.
"""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import VariantCommand, check, quoted, scenario, wait_for  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
TOOLS = {"clipboard": None, "dialog_text": None, "screenshots": None}
COUNT_LINE_ID = 302  # the file collection's "--- N data ---"
XDND_REFUSED = 3  # xdnd_drop.py: the target turned the drop down, nothing was dropped


def wait_dialog(s, run):
    """The input dialog, once the menu has gone; the pointer rests on its edit field."""
    def dialog():
        found = s.session.windows()
        return found[-1] if len(found) == 1 and found[-1].width >= 200 else None
    window = wait_for("the input dialog", dialog)
    time.sleep(0.2)
    s.session.xdotool("mousemove", str(window.x + 80), str(window.y + 28))
    time.sleep(0.15)
    return window


def type_text(s, text):
    s.session.xdotool("type", "--delay", "30", "--", text)
    time.sleep(0.1)


@scenario
def value_prompt(s):
    """A "%X" asks for a value; Enter confirms it into the parameters."""
    f = harness.variant_folder(s, "value prompt", "-v %X")
    run = s.start()
    s.point_at(run.wait_menu())
    s.keys("v")
    window = wait_dialog(s, run)
    type_text(s, "hello world")
    s.session.photograph(window, os.path.join(TOOLS["screenshots"], "value_prompt.png"))
    s.keys("Return")
    s.finish(run, [("v.exe", f.w("bin"), VariantCommand(f.w("bin/v.exe"), "-v hello world"))])


@scenario
def prompt_escape(s):
    """Escape at the prompt cancels the command and the marked entries."""
    harness.variant_folder(s, "prompt escape", "-v %X")
    run = s.start()
    menu = run.wait_menu()
    s.point_at(menu)
    s.keys("space", "Down", "Return")  # mark Alpha, choose Vee
    wait_dialog(s, run)
    s.keys("Escape")
    s.finish(run, [])


@scenario
def ctrl_enter_reuse(s):
    """Ctrl+Enter answers every "%X" of the command at once."""
    f = harness.variant_folder(s, "ctrl enter", "%X+%X")
    run = s.start()
    s.point_at(run.wait_menu())
    s.keys("v")
    wait_dialog(s, run)
    type_text(s, "z")
    s.keys("ctrl+Return")
    s.finish(run, [("v.exe", f.w("bin"), VariantCommand(f.w("bin/v.exe"), "z+z"))])


@scenario
def option_prompt(s):
    """Ctrl at the choice asks for extra parameters for a plain entry."""
    f = harness.variant_folder(s, "option prompt", "-x")
    run = s.start()
    menu = run.wait_menu()
    s.point_at(menu)
    s.session.xdotool("keydown", "ctrl")
    s.session.xdotool("click", "1")  # Alpha, under the pointer
    s.session.xdotool("keyup", "ctrl")
    wait_dialog(s, run)
    type_text(s, "-o 1")
    s.keys("Return")
    s.finish(run, [("a.exe", f.w("bin"), VariantCommand(f.w("bin/a.exe"), "-o 1"))])


@scenario
def clipboard_paths(s):
    """"%$N" and "%$P" take the file copied to the clipboard."""
    f = harness.variant_folder(s, "clipboard paths", "%$N %$P")
    os.makedirs(f.u("docs"))
    with open(f.u("docs/name.ext"), "w") as doc:
        doc.write("x")
    subprocess.run(["wine", TOOLS["clipboard"], "files", f.w("docs/name.ext")],
                   env=s.session.env, check=True, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    run = s.start()
    s.point_at(run.wait_menu())
    s.keys("v")
    s.finish(run, [("v.exe", f.w("bin"),
                    VariantCommand(f.w("bin/v.exe"), "name.ext " + f.w("docs/name.ext")))])


def dialog_text(s, control_id):
    """The texts of control `control_id` in the visible dialogs, read inside Wine."""
    # beside the prefix, not in the program folder whose files must stay as they were
    out_path = os.path.join(s.session.work_dir, "dialog-text.txt")
    # a file, never a pipe: a Wine helper that inherits a pipe keeps it open
    with open(out_path, "wb") as out:
        subprocess.run(["wine", TOOLS["dialog_text"], str(control_id)], env=s.session.env,
                       stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.DEVNULL,
                       timeout=60)
    with open(out_path, "rb") as out:
        return [line.strip() for line in out.read().decode("cp932", "replace").splitlines()]


def wait_count(s, count):
    """Polls the collection's count line until it shows `count` files."""
    expected = f"--- {count} data ---"
    seen = []

    def shows():
        seen[:] = dialog_text(s, COUNT_LINE_ID)
        return seen == [expected]
    try:
        wait_for(f'"{expected}"', shows, timeout=20, interval=0.2)
    except harness.Failure:
        raise harness.Failure(f'the count line shows {seen}, expected "{expected}"') from None


def drop(s, window, *paths):
    """Drops files on the dialog from outside the process, on its count line.
    A drop refused before it happened is offered again: Wine refuses when it
    gave up waiting for the file list, which a busy machine may cause."""
    x, y = window.x + window.width // 2 - 33, window.y + window.height // 2 + 8
    for attempt in (1, 2, 3):
        result = subprocess.run([sys.executable, os.path.join(HERE, "xdnd_drop.py"),
                                 "--window", window.id, "--at", f"{x},{y}", *paths],
                                env=s.session.env, stdin=subprocess.DEVNULL,
                                capture_output=True, text=True, timeout=60)
        if result.returncode != XDND_REFUSED:
            break
    check(result.returncode == 0, f"dropping {paths} failed: {result.stderr.strip()}")


def click_dialog_button(s, window, label, ctrl=False):
    """Clicks OK or CANCEL, found from the middle of the dialog: its X
    window may or may not hold the frame, which is the same on every side.
    The buttons' middles lie 81 pixels right of the client area's middle,
    OK 8.5 below it and CANCEL 10.5 above."""
    x = window.x + window.width // 2 + 81
    y = window.y + window.height // 2 + (8 if label == "OK" else -10)
    s.session.xdotool("mousemove", str(x), str(y))
    time.sleep(0.15)
    if ctrl:
        s.session.xdotool("keydown", "ctrl")
    try:
        s.session.xdotool("click", "1")
    finally:
        if ctrl:
            s.session.xdotool("keyup", "ctrl")
    time.sleep(0.1)


@scenario
def multi_file_drop(s):
    """A quoted "%M" opens the file collection; files dropped on it from
    outside (a second drop adds to the first, Ctrl+CANCEL empties the list)
    fill the parameters, each quoted, folders with a trailing backslash."""
    f = harness.variant_folder(s, "multi file drop", '-a "%M" -b')
    for name in ("docs/first.txt", "my docs/two words.txt", "docs/sub/keep", "docs/stray.txt"):
        os.makedirs(os.path.dirname(f.u(name)), exist_ok=True)
        with open(f.u(name), "w") as doc:
            doc.write("x")
    run = s.start()
    s.point_at(run.wait_menu())
    s.keys("v")
    window = wait_dialog(s, run)
    wait_count(s, 0)
    drop(s, window, f.u("docs/stray.txt"))
    wait_count(s, 1)
    click_dialog_button(s, window, "CANCEL", ctrl=True)  # empties the list, stays open
    wait_count(s, 0)
    drop(s, window, f.u("docs/first.txt"), f.u("my docs/two words.txt"))
    wait_count(s, 2)
    drop(s, window, f.u("docs/sub"))
    wait_count(s, 3)
    click_dialog_button(s, window, "OK")
    expected = " ".join(quoted(f.w(p)) for p in ("docs/first.txt", "my docs/two words.txt",
                                                "docs/sub/"))
    s.finish(run, [("v.exe", f.w("bin"), VariantCommand(f.w("bin/v.exe"), f"-a {expected} -b"))])


def take_option(argv, name):
    if name not in argv:
        return None
    i = argv.index(name)
    value = argv[i + 1]
    del argv[i:i + 2]
    return value


if __name__ == "__main__":
    argv = sys.argv[1:]
    TOOLS["clipboard"] = take_option(argv, "--clipboard")
    TOOLS["dialog_text"] = take_option(argv, "--dialog-text")
    shots = take_option(argv, "--screenshots")
    work = argv[argv.index("--work") + 1] if "--work" in argv else "."
    TOOLS["screenshots"] = os.path.abspath(
        shots or os.path.join(os.path.dirname(os.path.abspath(work)), "screenshots"))
    sys.argv[1:] = argv
    sys.exit(harness.main())

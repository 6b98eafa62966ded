#!/usr/bin/env python3
"""End-to-end scenarios of command macros and the input dialog, run with the
runner of e2e.py.

    macros_e2e.py --tavrik Tavrik.exe --recorder tavrik_recorder.exe
                  --clipboard tavrik_clipboard.exe --work DIR [SCENARIO...]
"""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e  # noqa: E402
from e2e import VariantCommand, check, quoted, scenario, wait_for  # noqa: E402

TOOLS = {"clipboard": None}


def prompt_folder(s, name, variant):
    """Alpha, and Vee with the one variant given: the menu for the prompts."""
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
    f = prompt_folder(s, "value prompt", "-v %X")
    run = s.start()
    s.point_at(run.wait_menu())
    s.keys("v")
    wait_dialog(s, run)
    type_text(s, "hello world")
    s.keys("Return")
    s.finish(run, [("v.exe", f.w("bin"), VariantCommand(f.w("bin/v.exe"), "-v hello world"))])


@scenario
def prompt_escape(s):
    """Escape at the prompt cancels the command and the marked entries."""
    prompt_folder(s, "prompt escape", "-v %X")
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
    f = prompt_folder(s, "ctrl enter", "%X+%X")
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
    f = prompt_folder(s, "option prompt", "-x")
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
    f = prompt_folder(s, "clipboard paths", "%$N %$P")
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


if __name__ == "__main__":
    argv = sys.argv[1:]
    if "--clipboard" in argv:
        i = argv.index("--clipboard")
        TOOLS["clipboard"] = argv[i + 1]
        del argv[i:i + 2]
    sys.argv[1:] = argv
    sys.exit(e2e.main())

#!/usr/bin/env python3
"""End-to-end scenarios under other system settings, each kind in a Wine
prefix of its own (--work): the display scaled to 144 DPI (the prefix's
LogPixels, winecfg's setting), and an English locale (TAVRIK_LANG=en_US.UTF-8,
code page 1252).

    system_e2e.py --tavrik Tavrik.exe --recorder tavrik_recorder.exe
                  --dialog-text tavrik_dialog_text.exe --work DIR
                  [--screenshots DIR] SCENARIO...

The 144-DPI menu and value prompt are photographed into --screenshots as
menu_144dpi.png and value_prompt_144dpi.png.
"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
import icons_e2e  # noqa: E402
import macros_e2e  # noqa: E402
from harness import MENU_FRAME, VariantCommand, check, scenario, wait_for  # noqa: E402


def use_dpi(s, dpi):
    """The prefix's DPI for the Wine sessions from now on."""
    s.session.end_wine_session()
    subprocess.run(["wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                    "/t", "REG_DWORD", "/d", str(dpi), "/f"], env=s.session.env, check=True,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    s.session.end_wine_session()


def highlight_height(s, menu):
    """The height of the menu's highlighted first item, read from the screen
    in a column right of its text."""
    shot = os.path.join(s.session.work_dir, "menu.png")
    s.session.screenshot(shot)
    x, top = menu.x + menu.width - 6, menu.y + MENU_FRAME
    out = subprocess.run(["convert", shot, "-crop", f"1x{menu.height}+{x}+{top}", "txt:-"],
                         capture_output=True, text=True, check=True).stdout
    column = [line.split()[-1] for line in out.splitlines()[1:]]
    return next((i for i, c in enumerate(column) if c != column[1]), len(column))


@scenario
def dpi_menu(s):
    """Owner-drawn items take the small-icon size of the DPI: the icon cache
    written at 96 DPI is written again at 144 with 24-pixel pictures, and the
    items are 1.5 times as high."""
    f = icons_e2e.icons_folder(s, "dpi menu", "@icon=1")
    heights = {}
    for dpi, side in ((96, 16), (144, 24)):
        use_dpi(s, dpi)
        run = s.start()
        menu = run.wait_menu()
        pictures = 2020 + (2 + 6) * (40 + (3 * side + 3) // 4 * 4 * side)
        check(icons_e2e.cache_size(f) == pictures,
              f"{dpi} DPI: icon cache of {icons_e2e.cache_size(f)} bytes, expected {pictures}")
        s.point_at(menu)
        heights[dpi] = highlight_height(s, menu)
        if dpi == 144:
            s.session.photograph(menu, os.path.join(macros_e2e.TOOLS["screenshots"],
                                                    "menu_144dpi.png"))
        s.keys("Escape")
        s.finish(run, [])
    check(heights == {96: 16, 144: 24}, f"item heights {heights}, expected 16 and 24")


@scenario
def dpi_value_prompt(s):
    """At 144 DPI the value prompt is 375 x 71 pixels, frame included, and
    what is typed arrives as at 96."""
    f = harness.variant_folder(s, "dpi value prompt", "-v %X")
    use_dpi(s, 144)
    run = s.start()
    s.point_at(run.wait_menu())
    s.keys("v")
    window = macros_e2e.wait_dialog(s, run)
    # Wine's X window holds the client area, or the whole window: the same
    # frame on every side.
    frame = 375 - window.width
    check(0 <= frame <= 10 and 71 - window.height == frame,
          f"the prompt measures {window.width} x {window.height}, not 375 x 71 with its frame")
    macros_e2e.type_text(s, "hello world")
    s.session.photograph(window, os.path.join(macros_e2e.TOOLS["screenshots"],
                                              "value_prompt_144dpi.png"))
    s.keys("Return")
    s.finish(run, [("v.exe", f.w("bin"), VariantCommand(f.w("bin/v.exe"), "-v hello world"))])


@scenario
def english_texts(s):
    """Where the ANSI code page is not 932 the program's own texts are English,
    and Help opens the English manual for a user whose language is English."""
    f = s.make_folder("english")
    s.put_tavrik()
    s.put_recorder("bin/v.exe")
    s.put_recorder("bin/e.exe")
    f.write_ini("Tavrik.ini", ["[system]", "@menu=center", f"@editor={f.w('bin/e.exe')}", "%end",
                               "[launch]", f"{f.w('bin/v.exe')} | &Vee", "> -v %X | x", "%end"])
    run = s.start()
    s.point_at(run.wait_menu())
    s.keys("0")
    run.wait_windows(2, what="system submenu")
    s.keys("h")
    s.finish(run, [("e.exe", f.w("bin"), VariantCommand(f.w("bin/e.exe"), f.w("Tavrik-en.txt")))])
    os.remove(f.u("bin/record.log"))
    cases = [  # keys in the menu (none: a folder in the definition's place), what
        # the dialog shows (its caption, then its controls' texts), the key closing it
        (["v"], "| [ Tavrik ] input for '%X' | ", " | OK | Cancel", "Escape"),
        (["0", "v"], "Version | ", "Tavrik launcher", "Return"),
        ([], "Error | ", "Settings file error", "Return"),
    ]
    for keys, starts, holds, close in cases:
        if not keys:
            os.remove(f.u("Tavrik.ini"))
            os.makedirs(f.u("Tavrik.ini"))
        run = s.start()
        if keys:
            s.point_at(run.wait_menu())
            s.keys(keys[0])
        if keys[1:]:
            run.wait_windows(2, what="system submenu")
            s.keys(*keys[1:])
        seen = []

        def shown():
            seen[:] = macros_e2e.dialog_text(s, "all")
            return len(seen) == 1 and seen[0].startswith(starts)
        try:
            wait_for(f'a dialog "{starts}"', shown, timeout=20, interval=0.2)
        except harness.Failure:
            raise harness.Failure(f"{keys}: dialogs show {seen}") from None
        check(holds in seen[0], f"{keys}: {seen[0]!r} lacks {holds!r}")
        wait_for("the dialog alone", lambda: len(s.session.windows()) == 1)
        s.point_inside(s.session.windows()[0])
        s.keys(close)
        s.finish(run, [])


def main():
    argv = sys.argv[1:]
    macros_e2e.TOOLS["dialog_text"] = macros_e2e.take_option(argv, "--dialog-text")
    shots = macros_e2e.take_option(argv, "--screenshots")
    work = argv[argv.index("--work") + 1] if "--work" in argv else "."
    macros_e2e.TOOLS["screenshots"] = os.path.abspath(
        shots or os.path.join(os.path.dirname(os.path.abspath(work)), "screenshots"))
    sys.argv[1:] = argv
    return harness.main()


if __name__ == "__main__":
    sys.exit(main())

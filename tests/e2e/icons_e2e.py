#!/usr/bin/env python3
"""End-to-end scenarios of the icon menus: item bitmaps ("@icon") and
owner-drawn items ("@icon=1"), run with the harness.

    icons_e2e.py --tavrik Tavrik.exe --recorder tavrik_recorder.exe --work DIR
                 [--screenshots DIR] [SCENARIO...]

The menus are photographed into --screenshots (by default "screenshots"
beside the work folder): icons_mode1.png and icons_mode2.png.
"""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import Failure, VariantCommand, check, quoted, scenario  # noqa: E402

RECORD_SIZE_16 = 40 + 48 * 16  # one 16 x 16 picture in the icon cache
SHOTS = {"dir": None}


def icons_folder(s, name, icon_line):
    """Entries of every kind that shows a picture: programs, a document, a
    sole variant, a folder listing, a nested submenu, and the system entry.
    Six of them are entries with a picture of their own."""
    f = s.make_folder(name)
    s.put_tavrik()
    s.put_recorder("bin/a.exe")
    s.put_recorder("bin/b.exe")
    s.put_recorder("bin/v.exe")
    s.put_recorder("docs/c.exe")  # the folder's listing
    with open(f.u("docs/readme.txt"), "w") as doc:
        doc.write("text\n")
    f.write_ini("Tavrik.ini", [
        "[system]", "@menu=center", icon_line, "%end",
        "[launch]",
        f"{f.w('bin/a.exe')} | &Alpha",
        f"{f.w('bin/b.exe')} | &Beta",
        f"{f.w('bin/v.exe')} | &Variant",
        "> -x 1 | only one",
        "+",
        f"{f.w('docs')} | &Docs",
        f"{f.w('docs/readme.txt')} | &Readme",
        "{&Tools",
        f"{f.w('bin/a.exe')} | &Inner",
        "}",
        "%end"])
    return f


def cache_size(f):
    path = f.u("Tavrik.tvi")
    return os.path.getsize(path) if os.path.exists(path) else None


def photograph(s, window, name):
    """Saves the menu (with a small margin) as screenshots/<name>.png."""
    return s.session.photograph(window, os.path.join(SHOTS["dir"], name + ".png"))


def colours_in_first_column(shot, width):
    """How many different colours the picture column of the menu shows."""
    out = subprocess.run(["convert", shot, "-crop", f"{width}x10000+8+8", "+repage",
                          "-unique-colors", "txt:-"], capture_output=True, text=True, check=True)
    return len([line for line in out.stdout.splitlines() if not line.startswith("#")])


@scenario
def icons_mode2_access_key(s):
    """Owner-drawn items ("@icon=1"): typing an access key launches the entry
    from inside the menu; a sole variant runs with its parameters."""
    f = icons_folder(s, "icons mode2", "@icon=1")
    cases = [
        ("b", ("b.exe", f.w("bin"), quoted(f.w("bin/b.exe")))),
        ("v", ("v.exe", f.w("bin"), VariantCommand(f.w("bin/v.exe"), "-x 1"))),
    ]
    for number, (key, expected) in enumerate(cases):
        if os.path.exists(f.u("bin/record.log")):
            os.remove(f.u("bin/record.log"))
        run = s.start()
        menu = run.wait_menu()
        check(cache_size(f) == 2020 + (2 + 6) * RECORD_SIZE_16,
              f"icon cache of {cache_size(f)} bytes, expected 8 pictures")
        if number == 0:
            shot = photograph(s, menu, "icons_mode2")
            check(colours_in_first_column(shot, 24) > 12, f"no pictures to be seen in {shot}")
        s.point_at(menu)
        s.keys(key)
        try:
            s.finish(run, [expected])
        except Failure as failure:
            raise Failure(f"key {key}: {failure}") from None


@scenario
def icons_mode1_bitmaps(s):
    """Item bitmaps ("@icon"): the menu shows pictures beside the texts, and
    the texts' own access keys choose entries."""
    f = icons_folder(s, "icons mode1", "@icon")
    run = s.start()
    menu = run.wait_menu()
    check(cache_size(f) == 2020 + (2 + 6) * RECORD_SIZE_16,
          f"icon cache of {cache_size(f)} bytes, expected 8 pictures")
    shot = photograph(s, menu, "icons_mode1")
    check(colours_in_first_column(shot, 24) > 12, f"no pictures to be seen in {shot}")
    s.point_at(menu)
    s.keys("b")
    s.finish(run, [("b.exe", f.w("bin"), quoted(f.w("bin/b.exe")))])


@scenario
def icons_cache_kept(s):
    """A second start with the same menu definition reads the cache as it is;
    a new write time of the definition makes the next start write it again."""
    f = icons_folder(s, "icons cache", "@icon=1")

    def start_and_dismiss():
        run = s.start()
        menu = run.wait_menu()
        s.point_at(menu)
        s.keys("Escape")
        s.finish(run, [])

    start_and_dismiss()
    cache = f.u("Tavrik.tvi")
    with open(cache, "r+b") as c:  # a mark in the last picture
        c.seek(-1, os.SEEK_END)
        last = c.read(1)
        c.seek(-1, os.SEEK_END)
        c.write(bytes([last[0] ^ 0x5A]))
    start_and_dismiss()
    with open(cache, "rb") as c:
        c.seek(-1, os.SEEK_END)
        check(c.read(1)[0] == last[0] ^ 0x5A, "the cache was written again without a reason")
    later = time.time() + 3600
    os.utime(f.u("Tavrik.ini"), (later, later))
    start_and_dismiss()
    with open(cache, "rb") as c:
        c.seek(-1, os.SEEK_END)
        check(c.read(1) == last, "the cache was not written again after the definition changed")


def main():
    argv = sys.argv[1:]
    shots = None
    if "--screenshots" in argv:
        at = argv.index("--screenshots")
        shots = argv[at + 1]
        del argv[at:at + 2]
    work = argv[argv.index("--work") + 1] if "--work" in argv else "."
    SHOTS["dir"] = os.path.abspath(shots or os.path.join(os.path.dirname(os.path.abspath(work)),
                                                         "screenshots"))
    # Only the scenarios of this file run unless others are named.
    names = [a for a in argv if not a.startswith("--") and a in harness.SCENARIOS]
    if not names and "--list" not in argv:
        argv += [n for n in harness.SCENARIOS if n.startswith("icons_")]
    sys.argv = [sys.argv[0]] + argv
    return harness.main()


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""End-to-end scenarios of the launcher: keys, marks, options, placement, the
filer and dismissal, run by the harness.

    launcher_e2e.py --tavrik Tavrik.exe --recorder tavrik_recorder.exe --work DIR [SCENARIO...]
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import *  # noqa: E402,F401,F403
import harness  # noqa: E402


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


if __name__ == "__main__":
    sys.exit(harness.main())

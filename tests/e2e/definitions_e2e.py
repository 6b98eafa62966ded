#!/usr/bin/env python3
"""End-to-end scenarios of definitions as Windows editors and users write
them: UTF-8 and UTF-16 files, names as the Run box finds them, the system
submenu's check item; run by the harness.

    definitions_e2e.py --tavrik Tavrik.exe --recorder tavrik_recorder.exe --work DIR [SCENARIO...]
"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import *  # noqa: E402,F401,F403
import harness  # noqa: E402

APP_PATHS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\App Paths\tvapp.exe"


def reg(s, *args):
    subprocess.run(["wine", "reg", *args, "/f"], env=s.session.env, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True, timeout=60)


@scenario
def encodings(s):
    """A UTF-8 file without a mark, then a UTF-16 LE one: Japanese titles, programs
    in a Japanese-named folder, each chosen by its key."""
    f = s.make_folder("encodings")
    s.put_tavrik()
    s.put_recorder("ツール/a.exe")
    s.put_recorder("ツール/b.exe")
    lines = ["[system]", "@menu=center", "%end", "[launch]",
             f"{f.w('ツール/a.exe')} | 日本語(&A)", f"{f.w('ツール/b.exe')} | 表示(&B)", "%end"]
    expected = []
    for encoding, mark, key in (("utf-8", b"", "b"), ("utf-16-le", b"\xff\xfe", "a")):
        with open(f.u("Tavrik.ini"), "wb") as out:
            out.write(mark + "\r\n".join(lines + [""]).encode(encoding))
        run = s.start()
        s.point_at(run.wait_menu())
        s.keys(key)
        expected.append((f"{key}.exe", f.w("ツール"), quoted(f.w(f"ツール/{key}.exe"))))
        s.finish(run, expected)


class ReportCommand:
    """The editor's command line: the quoted editor, then the report's path."""

    def __init__(self, editor):
        self.head, self.path = quoted(editor) + " ", None

    def __eq__(self, command):
        if command.startswith(self.head) and command.endswith("\\Tavrik-check.txt"):
            self.path = command[len(self.head):]
        return self.path is not None

    def __repr__(self):
        return repr(self.head + "...\\Tavrik-check.txt")


@scenario
def windows_names(s):
    """Names as the Run box finds them (an App Paths name, %VAR% in a path, a
    ".com" program through PATHEXT) are marked; system > Check opens the report
    on the entry left out in the editor, then the marked entries run."""
    f = s.make_folder("windows names")
    s.put_tavrik()
    for program in ("ed/ed.exe", "reg/app.exe", "env/v.exe", "tvcom.com"):
        s.put_recorder(program)
    reg(s, "add", APP_PATHS, "/ve", "/d", f.w("reg/app.exe"))
    s.session.env["TAVRIK_E2E_TOOLS"] = f.w("env")
    try:
        f.write_ini("Tavrik.ini", ["[system]", "@menu=center", "@dist=300,300",
                                   f"@editor={f.w('ed/ed.exe')}", "%end", "[launch]",
                                   "tvapp | &App", r"%TAVRIK_E2E_TOOLS%\v.exe | &Var",
                                   "tvcom | &Com", "tv_missing_entry | &Gone", "%end"])
        run = s.start()
        s.point_at(run.wait_menu())  # App highlighted
        s.keys("space", "Down", "space", "Down", "space", "0")
        run.wait_windows(2, what="system submenu")
        s.keys("c")
        report = ReportCommand(f.w("ed/ed.exe"))
        s.finish(run, [("ed.exe", f.w("ed"), report),
                       ("app.exe", f.w("reg"), quoted(f.w("reg/app.exe"))),
                       ("v.exe", f.w("env"), quoted(f.w("env/v.exe"))),
                       ("tvcom.com", f.w(), quoted(f.w("tvcom.com")))])
    finally:
        del s.session.env["TAVRIK_E2E_TOOLS"]
        reg(s, "delete", APP_PATHS)
    drive, rest = report.path.split(":\\", 1)
    with open(os.path.join(s.session.prefix, f"drive_{drive.lower()}", *rest.split("\\")), "rb") as r:
        text = r.read()
    check(b"tv_missing_entry" in text and b"\n" not in text.replace(b"\r\n", b""),
          f"report without the finding or with bare line ends:\n{text.decode('cp932')}")


if __name__ == "__main__":
    sys.exit(harness.main())

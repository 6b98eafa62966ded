#!/usr/bin/env python3
"""The release package as a user meets it: unpacked into a fresh folder whose
path has spaces, the launcher started there, the checker run on the sample.

    package_e2e.py --zip Tavrik-1.34-win64.zip --tavrik Tavrik.exe
                   --recorder tavrik_recorder.exe --work DIR [package]
"""

import os
import subprocess
import sys
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import check, scenario, wait_for  # noqa: E402

PACKAGE = {"zip": None}
# Each shipped text and its encoding: Shift-JIS, or UTF-8 with its byte order mark.
TEXTS = {"Tavrik.txt": "cp932", "Tavrik-en.txt": "utf-8", "Tavrik.sample.ini": "cp932",
         "CHANGES.txt": "cp932", "README.txt": "cp932"}
EXPECTED_FILES = {"Tavrik.exe", "tavrik-check.exe", "LICENSE", *TEXTS}


def shipped_text_ok(path, encoding):
    """Decodable, the UTF-8 one with its mark, and CR LF throughout: no LF
    without its CR."""
    with open(path, "rb") as f:
        data = f.read()
    data.decode(encoding)
    return (encoding != "utf-8" or data.startswith(b"\xef\xbb\xbf")) and \
        data.count(b"\n") == data.count(b"\r\n") > 0


@scenario
def package(s):
    """Unpacked anywhere, the launcher makes its empty definition and shows the
    system entry; the checker finds nothing to report in the sample."""
    f = s.make_folder("Tavrik package test")
    with zipfile.ZipFile(PACKAGE["zip"]) as z:
        names = set(z.namelist())
        check(names == EXPECTED_FILES, f"package holds {sorted(names)}")
        z.extractall(f.unix)
    for text, encoding in TEXTS.items():
        check(shipped_text_ok(f.u(text), encoding),
              f"{text} is not {encoding} text with CR LF line ends")

    run = s.start()
    harness.open_sole_system_entry(s, run)
    s.keys("Escape")
    wait_for("the submenu to close", lambda: len(s.session.windows()) == 1)
    s.keys("Escape")
    s.finish(run, [])

    result = subprocess.run(["wine", f.w("tavrik-check.exe"), f.w("Tavrik.sample.ini")], cwd=f.unix,
                            env=s.session.env, stdin=subprocess.DEVNULL, capture_output=True,
                            timeout=60)
    output = result.stdout.decode("cp932", errors="replace")
    check(result.returncode == 0,
          f"tavrik-check on the sample ended with {result.returncode}:\n{output}")


if __name__ == "__main__":
    argv = sys.argv[1:]
    if "--zip" in argv:
        i = argv.index("--zip")
        PACKAGE["zip"] = argv[i + 1]
        del argv[i:i + 2]
    sys.argv[1:] = argv
    harness.SCENARIOS.clear()
    harness.SCENARIOS["package"] = package
    sys.exit(harness.main())

#!/usr/bin/env python3
"""The release package as a user meets it: unpacked into a fresh folder whose
path has spaces, the launcher started there, the checker run on the sample.

    package_e2e.py --zip Tavrik-1.34-win64.zip --tavrik Tavrik.exe
                   --recorder tavrik_recorder.exe --work DIR [package]
"""

import os
import re
import subprocess
import sys
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import check, scenario, wait_for  # noqa: E402

PACKAGE = {"zip": None}
# Targets of the sample that Wine has not: Edge's App Paths name and the
# folder of Store app names (README.md lists them).
WINE_LACKS = ("msedge", "\\Microsoft\\WindowsApps")
EXPECTED_FILES = {"Tavrik.exe", "tavrik-check.exe", "Tavrik.txt", "Tavrik.sample.ini",
                  "LICENSE", "README.txt"}


def shipped_text_ok(path):
    """Shift-JIS with CR LF throughout: decodable, and no LF without its CR."""
    with open(path, "rb") as f:
        data = f.read()
    data.decode("cp932")
    return data.count(b"\n") == data.count(b"\r\n") > 0


@scenario
def package(s):
    """Unpacked anywhere, the launcher makes its empty definition and shows the
    system entry; the checker reports on the sample only targets Wine lacks."""
    f = s.make_folder("Tavrik package test")
    with zipfile.ZipFile(PACKAGE["zip"]) as z:
        names = set(z.namelist())
        check(names == EXPECTED_FILES, f"package holds {sorted(names)}")
        z.extractall(f.unix)
    for text in ("Tavrik.txt", "Tavrik.sample.ini", "README.txt"):
        check(shipped_text_ok(f.u(text)), f"{text} is not cp932 text with CR LF line ends")

    run = s.start()
    harness.open_sole_system_entry(s, run)
    s.keys("Escape")
    wait_for("the submenu to close", lambda: len(s.session.windows()) == 1)
    s.keys("Escape")
    s.finish(run, [])

    result = subprocess.run(["wine", f.w("tavrik-check.exe"), f.w("Tavrik.sample.ini")], cwd=f.unix,
                            env=dict(s.session.env, TAVRIK_CHECK_LANG="en"),
                            stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
    output = result.stdout.decode("cp932", errors="replace")
    count = re.search(r"^Findings: (\d+)", output, re.M)
    lacking = [line for line in output.splitlines() if re.match(r"  line \d+: entry left out", line)
               and any(target in line for target in WINE_LACKS)]
    check(result.returncode in (0, 1) and len(lacking) == (int(count[1]) if count else 0),
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

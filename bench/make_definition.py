#!/usr/bin/env python3
"""Writes a benchmark program folder: a Tavrik.ini of about 500 rows and the
files it names.

    make_definition.py FOLDER WINDOWS_FOLDER [--full-paths | --top-only | --icons]

FOLDER is the Linux path of the program folder inside the Wine prefix,
WINDOWS_FOLDER the same folder as Tavrik sees it (e.g. C:\\bench). The
definition holds plain entries, entries with variants (one and several),
50 entries given by bare program names that are found through the search
path, a folder listing of 120 programs and submenus nested three deep.

For measuring where the time goes, two reduced forms:
  --full-paths  the 50 programs named by their full paths instead
  --top-only    only the top level's items, all of them plain entries
  --icons       the same menu owner-drawn with icons ("@icon=1")

Prints the number of items the menu's top level shows (the system entry
included) and the number of rows in [launch].
"""

import os
import sys

# Programs of every Wine prefix, and where the search path finds them.
BARE_NAMES = {
    "notepad": "system32", "regedit": "", "cmd": "system32", "winemine": "system32",
    "taskmgr": "system32", "control": "system32", "winecfg": "system32",
    "explorer": "system32", "write": "system32", "clock": "system32", "winver": "system32",
    "progman": "system32", "winefile": "system32", "winhlp32": "system32",
    "xcopy": "system32", "reg": "system32", "msiexec": "system32", "hostname": "system32",
    "ipconfig": "system32", "whoami": "system32", "oleview": "system32",
    "dxdiag": "system32", "where": "system32", "findstr": "system32", "view": "system32",
}


def main():
    folder, win = sys.argv[1], sys.argv[2].rstrip("\\")
    full_paths = "--full-paths" in sys.argv[3:]
    top_only = "--top-only" in sys.argv[3:]
    icons = "--icons" in sys.argv[3:]
    tools = os.path.join(folder, "tools")
    listing = os.path.join(folder, "listing")
    os.makedirs(tools, exist_ok=True)
    os.makedirs(listing, exist_ok=True)

    def tool(n):
        name = f"tool{n:03d}.exe"
        path = os.path.join(tools, name)
        if not os.path.exists(path):
            with open(path, "wb") as f:
                f.write(b"MZ")
        return f"{win}\\tools\\{name}"

    for n in range(120):
        with open(os.path.join(listing, f"prog{n:03d}.exe"), "wb") as f:
            f.write(b"MZ")

    lines = ["[system]", "@menu=center", "@dist=0,0"] + (["@icon=1"] if icons else []) + \
        ["%end", "[launch]"]
    top_items = 0
    n = 0

    def top_item(full_line, plain_title):
        """A top-level item; in the reduced form a plain entry in its place."""
        nonlocal n, top_items
        top_items += 1
        if top_only:
            lines.append(f"{tool(n)} | {plain_title}")
            n += 1
            return False
        lines.append(full_line)
        return True

    for _ in range(20):
        top_item(f"{tool(n)} | Tool &{n % 10}", f"Tool &{n % 10}")
        n += 1
    lines.append("+")
    for group in range(5):  # entries with several variants
        if top_item(f"{tool(n)} | Variants {group}", f"Variants {group}"):
            for v in range(3):
                lines.append(f"> -mode {v} \"file {group}.txt\" | mode {v}")
            n += 1
    for group in range(3):  # and with one
        if top_item(f"{tool(n)} | Single {group}", f"Single {group}"):
            lines.append(f"> --only {group} | only")
            n += 1
    lines.append("+")
    names = list(BARE_NAMES)
    if top_item("{&Programs", "&Programs"):
        for i in range(50):
            name = names[i % len(names)]
            place = BARE_NAMES[name]
            target = (f"C:\\windows\\{place + chr(92) if place else ''}{name}.exe"
                      if full_paths else name)
            lines.append(f"{target} | {name} {i}")
        lines.append("}")
    top_item(f"{win}\\listing | &Listing", "&Listing")
    for section in range(10):
        if top_item(f"{{Section &{section}", f"Section &{section}"):
            for depth in range(3):  # submenus nested three deep
                for _ in range(8):
                    lines.append(f"{tool(n)} | entry {n}")
                    n += 1
                lines.append(f"{tool(n)} | with variants {n}")
                lines.append("> -a | a")
                lines.append("> -b | b")
                n += 1
                lines.append(f"{{Level {depth + 1}")
            lines.extend(["}"] * 4)
    lines.append("%end")

    with open(os.path.join(folder, "Tavrik.ini"), "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("cp932"))
    launch_rows = len(lines) - lines.index("[launch]") - 2
    print(top_items + 1, launch_rows)


if __name__ == "__main__":
    main()

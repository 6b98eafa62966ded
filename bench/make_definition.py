#!/usr/bin/env python3
"""Writes the benchmark's program folder: a Tavrik.ini of about 500 rows and
the files it names.

    make_definition.py FOLDER WINDOWS_FOLDER

FOLDER is the Linux path of the program folder inside the Wine prefix,
WINDOWS_FOLDER the same folder as Tavrik sees it (C:\\bench). The definition
holds plain entries, entries with variants (one and several), 50 entries
given by bare program names that are found through the search path, a
folder listing of 120 programs and submenus nested three deep. Prints the
number of items the menu's top level shows, the system entry included.
"""

import os
import sys

BARE_NAMES = ["notepad", "regedit", "cmd", "winemine", "taskmgr", "control", "winecfg",
              "explorer", "write", "clock", "winver", "progman", "winefile", "winhlp32",
              "xcopy", "reg", "msiexec", "hostname", "ipconfig", "whoami", "oleview",
              "dxdiag", "iexplore", "findstr", "view"]


def main():
    folder, win = sys.argv[1], sys.argv[2].rstrip("\\")
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

    lines = ["[system]", "@menu=center", "@dist=0,0", "%end", "[launch]"]
    top_items = 0
    n = 0

    # top level: plain entries
    for _ in range(10):
        lines.append(f"{tool(n)} | Tool &{n % 10}")
        n += 1
        top_items += 1
    lines.append("+")
    # top level: entries with several variants, and with one
    for group in range(5):
        lines.append(f"{tool(n)} | Variants {group}")
        for v in range(3):
            lines.append(f"> -mode {v} \"file {group}.txt\" | mode {v}")
        n += 1
        top_items += 1
    for group in range(3):
        lines.append(f"{tool(n)} | Single {group}")
        lines.append(f"> --only {group} | only")
        n += 1
        top_items += 1
    lines.append("+")
    # 50 bare program names, found through the search path
    lines.append("{&Programs")
    for i in range(50):
        lines.append(f"{BARE_NAMES[i % len(BARE_NAMES)]} | {BARE_NAMES[i % len(BARE_NAMES)]} {i}")
    lines.append("}")
    top_items += 1
    # a folder listing
    lines.append(f"{win}\\listing | &Listing")
    top_items += 1
    # submenus nested three deep, filled up to about 500 rows
    section = 0
    while len(lines) < 500:
        lines.append(f"{{Section &{section}")
        top_items += 1
        for depth in range(3):
            for _ in range(8):
                lines.append(f"{tool(n)} | entry {n}")
                n += 1
            lines.append(f"{tool(n)} | with variants {n}")
            lines.append("> -a | a")
            lines.append("> -b | b")
            n += 1
            lines.append(f"{{Level {depth + 1}")
        lines.extend(["}"] * 3)
        lines.append("}")
        section += 1
    lines.append("%end")

    with open(os.path.join(folder, "Tavrik.ini"), "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("cp932"))
    launch_rows = len(lines) - lines.index("[launch]") - 2
    print(top_items + 1, launch_rows)


if __name__ == "__main__":
    main()

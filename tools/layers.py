#!/usr/bin/env python3
"""Prints the folder-level include graph of the program and holds it to the
stage order; exits 1 on any breach.

    tools/layers.py [--quiet]

The stages, each a folder that includes only itself and the ones before it:

    core  <-  definition  <-  menu, launch (never each other)  <-  app
                          <-  check (core and definition only)  <-  app

(app, the wiring, runs the checker's report for the system submenu's check
item.)

Besides the includes it holds three rules of the layout: a file outside app/
and check/ that includes <windows.h> is named *_win; no file writes the
process-wide state of another stage (an assignment, an increment or a bounded
copy into g_<name>, or its address handed out); and no source file is longer
than 400 lines.
"""

import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

ALLOWED = {
    "core": {"core"},
    "definition": {"core", "definition"},
    "menu": {"core", "definition", "menu"},
    "launch": {"core", "definition", "launch"},
    "app": {"core", "definition", "menu", "launch", "check", "app"},
    "check": {"core", "definition", "check"},
}
ORDER = ["core", "definition", "menu", "launch", "check", "app"]
WIN32_FOLDERS = {"app", "check"}  # Win32 throughout, no _win names needed
# Folders whose code is source of the programs, and the ones of the tests,
# whose files count towards the length rule only.
LENGTH_FOLDERS = ORDER + ["tests", "fuzz", "native", "bench", "tools"]
MAX_LINES = 400

# Each process-wide state and the stage that owns it.
OWNERS = {
    "g_diag_sink": "core",
    "g_phases": "core",
    "g_startup": "definition",
    "g_settings": "definition",
    "g_items": "definition",
    "g_listing": "definition",
    "g_menu": "menu",
    "g_launch": "launch",
    "g_input_dialog": "launch",
    "g_input_edit_field": "launch",
    "g_popup": "app",
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
WINDOWS_H = re.compile(r"^\s*#\s*include\s+<windows\.h>", re.M)
COPIERS = r"(?:text_copy|text_copy_n|text_append|text_append_n|text_format|memset|memcpy|memmove)"


def writes(state):
    """Patterns of a write to state."""
    name = re.escape(state)
    access = r"(?:\s*(?:\.\s*\w+|\[[^\]\n]*\]))*"
    return [
        re.compile(rf"\b{name}\b{access}\s*(?:[-+*/|&]?=(?!=)|\+\+|--)"),
        re.compile(rf"(?:\+\+|--)\s*\b{name}\b"),
        re.compile(rf"\b{COPIERS}\s*\(\s*&?\s*\b{name}\b"),
        re.compile(rf"[(,=]\s*&\s*\b{name}\b"),
    ]


WRITES = {state: writes(state) for state in OWNERS}


def strip_comments(text):
    text = re.sub(r"/\*.*?\*/", lambda m: "\n" * m.group(0).count("\n"), text, flags=re.S)
    text = re.sub(r"//[^\n]*", "", text)
    return re.sub(r'"(?:\\.|[^"\\\n])*"', '""', text)


def sources(folder):
    base = os.path.join(ROOT, folder)
    for dirpath, _, names in os.walk(base):
        for name in sorted(names):
            if name.endswith((".cpp", ".h", ".py")):
                yield os.path.join(dirpath, name)


def main():
    quiet = "--quiet" in sys.argv[1:]
    problems = []
    graph = {a: {b: 0 for b in ORDER} for a in ORDER}
    for folder in ORDER:
        for path in sources(folder):
            if path.endswith(".py"):
                continue
            relative = os.path.relpath(path, ROOT)
            with open(path, encoding="utf-8", errors="replace") as f:
                text = f.read()
            for number, line in enumerate(text.split("\n"), 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                target = match.group(1).split("/")[0]
                if target not in graph[folder]:
                    continue  # res/, tests' own headers
                graph[folder][target] += 1
                if target not in ALLOWED[folder]:
                    problems.append(f"{relative}:{number}: {folder}/ includes {match.group(1)}")
            stem = os.path.splitext(os.path.basename(path))[0]
            if folder not in WIN32_FOLDERS and WINDOWS_H.search(text) and not stem.endswith("_win"):
                problems.append(f"{relative}: includes <windows.h> but is not named *_win")
            code = strip_comments(text)
            for state, owner in OWNERS.items():
                if owner == folder:
                    continue
                for pattern in WRITES[state]:
                    match = pattern.search(code)
                    if match:
                        number = code.count("\n", 0, match.start()) + 1
                        problems.append(f"{relative}:{number}: {folder}/ writes {state}, "
                                        f"which belongs to {owner}/")
                        break
    for folder in LENGTH_FOLDERS:
        for path in sources(folder):
            with open(path, encoding="utf-8", errors="replace") as f:
                lines = f.read().count("\n")
            if lines > MAX_LINES:
                problems.append(f"{os.path.relpath(path, ROOT)}: {lines} lines (at most {MAX_LINES})")

    if not quiet:
        width = max(len(f) for f in ORDER)
        print("includes   " + "".join(f"{t:>{width + 1}}" for t in ORDER))
        for source in ORDER:
            cells = "".join(f"{graph[source][t] or '.':>{width + 1}}" for t in ORDER)
            print(f"{source:<{width}} ->{cells}")
    cycles = [f"{a}/ <-> {b}/" for i, a in enumerate(ORDER) for b in ORDER[i + 1:]
              if graph[a][b] and graph[b][a]]
    problems += [f"include cycle: {c}" for c in cycles]
    for problem in problems:
        print("layers: " + problem)
    if not quiet:
        print("layers: " + ("%d problem(s)" % len(problems) if problems else "stage order kept"))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

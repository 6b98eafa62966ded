#!/usr/bin/env python3
"""Mutation testing of the portable code: small faults put into one source
file at a time, the native unit tests rebuilt and run against each.

    tools/mutate.py --build DIR [--seed N] [--sample N] [--all] [--list]
                    [--report FILE] [FILE...]

A mutant is killed when the tests fail, crash or time out, survives when
they pass, and does not count when it does not compile. Mutants listed in
tools/mutants-equivalent.txt (by their id, with one line of why) cannot be
told apart from the program by any test and are left out of the score.

Sites are found in code only: comments, string and character literals and
preprocessor lines are blanked before the search. With --sample N (default
40) a seeded sample of N sites per file is run, so a score repeats; --all
runs every site.
"""

import argparse
import hashlib
import os
import random
import re
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
EQUIVALENT = os.path.join(ROOT, "tools", "mutants-equivalent.txt")

# The portable files measured by default: the definition's text logic, the
# text helpers, the macros and the icon cache reader.
DEFAULT_FILES = [
    "definition/directives.cpp", "definition/loader.cpp", "core/text.cpp",
    "launch/macros.cpp", "definition/placeholders.cpp", "definition/listing.cpp",
    "menu/iconcache_file.cpp", "definition/cmdline.cpp",
]

# (name, pattern, replacement): the pattern's first group is replaced.
OPERATORS = [
    ("eq", re.compile(r"\s(==)\s"), "!="),
    ("ne", re.compile(r"\s(!=)\s"), "=="),
    ("le", re.compile(r"\s(<=)\s"), "<"),
    ("ge", re.compile(r"\s(>=)\s"), ">"),
    ("lt", re.compile(r"\s(<)\s"), "<="),
    ("gt", re.compile(r"\s(>)\s"), ">="),
    ("and", re.compile(r"\s(&&)\s"), "||"),
    ("or", re.compile(r"\s(\|\|)\s"), "&&"),
    ("add", re.compile(r"\s(\+)\s"), "-"),
    ("sub", re.compile(r"\s(-)\s"), "+"),
    ("not", re.compile(r"[(\s](!)(?!=)"), ""),
    ("true", re.compile(r"\b(true)\b"), "false"),
    ("false", re.compile(r"\b(false)\b"), "true"),
    ("zero", re.compile(r"(?<![\w.])(0)(?![\w.x])"), "1"),
    ("one", re.compile(r"(?<![\w.])(1)(?![\w.])"), "0"),
    ("num", re.compile(r"(?<![\w.])([2-9]|[1-9]\d+)(?![\w.])"), None),  # n + 1
    ("drop", re.compile(r"^\s*((?:\+\+|--)?[\w.\[\]>-]+(?:\s*[-+*/|&]?=\s*[^;]+|\+\+|--|\([^;]*\)));\s*$",
                        re.M), ""),  # a statement left out
]


def blank(text):
    """The text with comments, literals and preprocessor lines blanked,
    positions kept."""
    out = list(text)
    i, n = 0, len(text)

    def wipe(a, b):
        for k in range(a, b):
            if out[k] != "\n":
                out[k] = " "

    at_line_start = True
    while i < n:
        c = text[i]
        if at_line_start and text[i:].lstrip(" \t").startswith("#"):
            end = i
            while end < n and (text[end] != "\n" or text[end - 1] == "\\"):
                end += 1
            wipe(i, end)
            i = end
            continue
        at_line_start = c == "\n"
        if text.startswith("//", i):
            end = text.find("\n", i)
            end = n if end < 0 else end
            wipe(i, end)
            i = end
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            wipe(i, end)
            i = end
        elif c in "\"'":
            end = i + 1
            while end < n and text[end] != c:
                end += 2 if text[end] == "\\" else 1
            wipe(i + 1, end)
            i = end + 1
        else:
            i += 1
    return "".join(out)


def sites(path):
    """Every mutation site of a file: (id, start, end, replacement, description)."""
    with open(os.path.join(ROOT, path), encoding="utf-8", errors="surrogateescape") as f:
        text = f.read()
    code = blank(text)
    lines = text.split("\n")
    # Lines written the same way more than once are told apart by their turn.
    turn, seen = [], {}
    for line in lines:
        key = line.strip()
        seen[key] = seen.get(key, 0) + 1
        turn.append(seen[key])
    found = []
    for name, pattern, replacement in OPERATORS:
        for m in pattern.finditer(code):
            start, end = m.span(1)
            original = text[start:end]
            if name == "num":
                new = str(int(original) + 1)
            elif name == "drop":
                new = "/* dropped */"
            else:
                new = replacement
            line = text.count("\n", 0, start) + 1
            line_text = lines[line - 1].strip()
            column = start - text.rfind("\n", 0, start)
            digest = hashlib.sha1(f"{line_text}|{turn[line - 1]}|{name}|{column}"
                                  .encode("utf-8", "surrogateescape")).hexdigest()[:10]
            found.append((f"{path}:{name}:{digest}", start, end, new,
                          f"{path}:{line}: {name}: {original!r} -> {new!r}  in  {line_text[:70]}"))
    found.sort(key=lambda s: s[1])
    return text, found


def load_equivalent():
    known = {}
    if os.path.exists(EQUIVALENT):
        with open(EQUIVALENT, encoding="utf-8") as f:
            for line in f:
                line = line.strip()
                if line and not line.startswith("#"):
                    ident, _, why = line.partition(" ")
                    known[ident] = why.strip()
    return known


def run(command, timeout, env=None):
    try:
        return subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=timeout, env=env).returncode
    except subprocess.TimeoutExpired:
        return "timeout"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", required=True, help="native build tree with TAVRIK_PLAIN=ON")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--sample", type=int, default=40)
    parser.add_argument("--all", action="store_true")
    parser.add_argument("--list", action="store_true", help="list the sites, run nothing")
    parser.add_argument("--report", help="write the survivors to this file")
    parser.add_argument("files", nargs="*")
    args = parser.parse_args()
    files = args.files or DEFAULT_FILES
    equivalent = load_equivalent()
    tests = os.path.join(args.build, "tavrik_native_tests")
    env = dict(os.environ, TAVRIK_NATIVE_ROOT=os.path.join(args.build, "drive"))
    if run(["cmake", "--build", args.build], 600) != 0 or run([tests], 60, env) != 0:
        print("mutate: the unmutated tests do not build or pass", file=sys.stderr)
        return 2

    totals = {"killed": 0, "survived": 0, "equivalent": 0, "broken": 0}
    survivors = []
    started = time.monotonic()
    for path in files:
        text, found = sites(path)
        if not args.all:
            found = sorted(random.Random(f"{args.seed}:{path}").sample(found, min(args.sample,
                                                                                  len(found))),
                           key=lambda s: s[1])
        if args.list:
            for ident, _, _, _, description in found:
                print(f"{ident}  {description}")
            continue
        counts = dict.fromkeys(totals, 0)
        full = os.path.join(ROOT, path)
        backup = full + ".mutate-original"
        shutil.copy2(full, backup)
        try:
            for ident, start, end, new, description in found:
                with open(full, "w", encoding="utf-8", errors="surrogateescape") as f:
                    f.write(text[:start] + new + text[end:])
                if run(["cmake", "--build", args.build], 300) != 0:
                    counts["broken"] += 1
                    continue
                result = run([tests], 20, env)
                if result != 0:
                    counts["killed"] += 1
                elif ident in equivalent:
                    counts["equivalent"] += 1
                else:
                    counts["survived"] += 1
                    survivors.append(f"{ident}  {description}")
        finally:
            shutil.move(backup, full)
            os.utime(full)  # the next build sees the original again
        for key in totals:
            totals[key] += counts[key]
        measured = counts["killed"] + counts["survived"]
        score = 100.0 * counts["killed"] / measured if measured else 100.0
        print(f"{path:32} {score:5.1f}%  killed {counts['killed']:3}  survived "
              f"{counts['survived']:3}  equivalent {counts['equivalent']:3}  "
              f"not compiling {counts['broken']:3}", flush=True)
    if args.list:
        return 0
    run(["cmake", "--build", args.build], 600)
    measured = totals["killed"] + totals["survived"]
    score = 100.0 * totals["killed"] / measured if measured else 100.0
    print(f"{'total':32} {score:5.1f}%  killed {totals['killed']:3}  survived "
          f"{totals['survived']:3}  equivalent {totals['equivalent']:3}  not compiling "
          f"{totals['broken']:3}  ({time.monotonic() - started:.0f} s)")
    if survivors:
        print("survivors:")
        for s in survivors:
            print("  " + s)
    if args.report:
        with open(args.report, "w", encoding="utf-8") as f:
            f.write("\n".join(survivors) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())

"""The user's files stay untouched: a snapshot of a scenario's program folder
before the launcher starts, compared afterwards.

Every file below the folder counts (the menu definition, a search-list file,
the programs and documents the menu names) with its bytes and its
modification time. Left out are what the launcher and the tests write on
purpose: the icon cache (*.tvi), the recorders' logs and Wine's output. A
file that was not there before is a fault too (a leftover temporary file, say),
except the menu definition the launcher creates empty when there is none.
"""

import hashlib
import os

# Written by the tests themselves, or the launcher's own icon cache.
IGNORED_NAMES = {"record.log", "wine-output.txt"}
IGNORED_SUFFIXES = (".tvi",)
# Created empty when missing: the default menu definition beside the program.
CREATED_WHEN_MISSING = {"Tavrik.ini"}


def _ignored(name):
    return name in IGNORED_NAMES or name.lower().endswith(IGNORED_SUFFIXES)


def snapshot(root):
    """{relative path: (sha256, size, modification time in ns)} of every file."""
    files = {}
    for directory, _, names in os.walk(root):
        for name in names:
            if _ignored(name):
                continue
            path = os.path.join(directory, name)
            try:
                with open(path, "rb") as f:
                    digest = hashlib.sha256(f.read()).hexdigest()
                info = os.stat(path)
            except OSError:
                continue  # removed in between: the comparison will say so
            files[os.path.relpath(path, root)] = (digest, info.st_size, info.st_mtime_ns)
    return files


def compare(before, root):
    """What changed since the snapshot, as a list of lines (empty: nothing)."""
    after = snapshot(root)
    problems = []
    for path, (digest, size, mtime) in sorted(before.items()):
        now = after.get(path)
        if now is None:
            problems.append(f"{path}: removed")
        elif now[0] != digest:
            problems.append(f"{path}: contents changed ({size} -> {now[1]} bytes)")
        elif now[2] != mtime:
            problems.append(f"{path}: modification time changed")
    for path in sorted(set(after) - set(before)):
        created_definition = os.path.basename(path) in CREATED_WHEN_MISSING and after[path][1] == 0
        if not created_definition:
            problems.append(f"{path}: new file ({after[path][1]} bytes)")
    return problems

"""A scenario's program folder, the recorders' logs and the user's files.

The user's files stay untouched: every file below a program folder (the
menu definition, a search-list file, the programs and documents the menu
names) keeps its bytes and modification time, and no file appears, but for
what the launcher and the tests write on purpose: the icon cache (*.tvi),
the recorders' logs, Wine's output and a Tavrik.ini created empty.
"""

import hashlib
import os
import shutil

class Record:
    def __init__(self, folder, line):
        fields = line.split("\t", 3)
        values = dict(f.split("=", 1) for f in fields)
        self.folder = folder
        self.exe = values["exe"]
        self.ms = int(values["ms"])
        self.cwd = values["cwd"]
        self.cmd = values["cmd"]

    def __repr__(self):
        return f"{self.exe} (cwd {self.cwd}): {self.cmd}"


class Folder:
    """A scenario's program folder, known by its Windows and its Linux path."""

    def __init__(self, session, name):
        self.session = session
        self.name = name
        self.win = "C:\\e2e\\" + name
        self.unix = os.path.join(session.prefix, "drive_c", "e2e", name)
        shutil.rmtree(self.unix, ignore_errors=True)
        os.makedirs(self.unix)

    def w(self, relative=""):
        return self.win + ("\\" + relative.replace("/", "\\") if relative else "")

    def u(self, relative=""):
        return os.path.join(self.unix, *relative.replace("\\", "/").split("/")) if relative else self.unix

    def put(self, source, relative):
        os.makedirs(os.path.dirname(self.u(relative)), exist_ok=True)
        shutil.copyfile(source, self.u(relative))

    def write_ini(self, relative, lines):
        """Writes a menu definition, every line ended with CR LF."""
        with open(self.u(relative), "wb") as f:
            f.write("".join(line + "\r\n" for line in lines).encode("cp932"))

    def records(self):
        """Every recorder line under the folder, oldest first."""
        found = []
        for directory, _, files in os.walk(self.unix):
            if "record.log" in files:
                with open(os.path.join(directory, "record.log"), "rb") as f:
                    text = f.read().decode("cp932", errors="replace")
                found += [Record(directory, line) for line in text.split("\r\n") if line]
        return sorted(found, key=lambda r: r.ms)


class VariantCommand:
    """Matches the command line of a variant: the quoted program, blanks, then
    the parameters exactly as written (the blank after ">" may travel with
    them), or, for parameters "*END", any that end so (kept as found)."""

    def __init__(self, program, parameters):
        self.head, self.parameters, self.found = f'"{program}"', parameters, None

    def __eq__(self, command):
        if not isinstance(command, str) or not command.startswith(self.head + " "):
            return False
        given = command[len(self.head):].lstrip(" ")
        if self.parameters.startswith("*") and given.endswith(self.parameters[1:]):
            self.found = given
        return given == self.parameters or self.found == given

    def __repr__(self):
        return repr(f"{self.head} {self.parameters}")


# Written by the tests themselves, or the launcher's own icon cache.
IGNORED_NAMES = {"record.log", "wine-output.txt"}
IGNORED_SUFFIXES = (".tvi",)
# Created empty when missing: the default menu definition beside the program.
CREATED_WHEN_MISSING = {"Tavrik.ini"}


def _ignored(name):
    return name in IGNORED_NAMES or name.lower().endswith(IGNORED_SUFFIXES)


def snapshot_files(root):
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


def compare_files(before, root):
    """What changed since the snapshot, as a list of lines (empty: nothing)."""
    after = snapshot_files(root)
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

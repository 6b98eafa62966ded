"""The verbs of the scenario files that reach beyond Tavrik's menu: other
programs inside Wine, the registry, the display, pictures and the package."""

import os
import re
import shutil
import subprocess
import zipfile

from wine_session import MENU_FRAME, STEP_TIMEOUT, WINDOW_TIMEOUT, Failure, check, tool, wait_for



class Outside:
    def photo(self, name, min_colours):
        """Saves screenshots/NAME.png of the window; its picture column shows
        more than min_colours colours."""
        shot = self.session.photograph(self.window, os.path.join(self.tools.screenshots, name + ".png"))
        out = subprocess.run(["convert", shot, "-crop", "24x10000+8+8", "+repage", "-unique-colors",
                              "txt:-"], capture_output=True, text=True, check=True).stdout
        colours = len([line for line in out.splitlines() if not line.startswith("#")])
        check(colours > int(min_colours), f"{colours} colours in the pictures of {shot}")

    def clipboard(self, *words):
        """Puts files (files PATH...) or text (text TEXT) on the clipboard, as the shell would."""
        check(tool(self.session, self.tools.helper, *words)[0] == 0, "the clipboard helper failed")

    def hold(self, *words):
        """Holds a key down (until release), a file open without sharing (file
        PATH) or the clipboard with files on it (clipboard PATH...) until let-go."""
        if len(words) == 1:
            self.session.xdotool("keydown", words[0])
            return
        signals = self.f.unix + ".signals"
        shutil.rmtree(signals, ignore_errors=True)
        os.makedirs(signals)
        win = self.f.win + ".signals\\"
        self.holder = subprocess.Popen(["wine", self.tools.helper, "hold-" + words[0], win + "ready",
                                        win + "stop", *words[1:]], env=self.session.env,
                                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)

        def ready():
            check(self.holder.poll() is None, f"the holding helper ended ({self.holder.returncode})")
            return os.path.exists(os.path.join(signals, "ready"))
        wait_for("the holding helper", ready, WINDOW_TIMEOUT)

    def let_go(self):
        """The holding program lets go."""
        open(os.path.join(self.f.unix + ".signals", "stop"), "w").close()
        try:
            self.holder.wait(STEP_TIMEOUT)
        except subprocess.TimeoutExpired:
            self.holder.kill()
            raise Failure("the holding helper did not let go") from None

    def unzip(self, *names):
        """Unpacks the package: exactly these files; those named NAME:ENCODING are
        texts in it (utf-8 with its byte order mark) with CR LF line ends."""
        files = dict((n + ":").split(":")[:2] for n in names)
        with zipfile.ZipFile(self.tools.zip) as z:
            check(set(z.namelist()) == set(files), f"package holds {sorted(z.namelist())}")
            z.extractall(self.f.unix)
        for name, encoding in ((n, e) for n, e in files.items() if e):
            with open(self.f.u(name), "rb") as f:
                data = f.read()
            data.decode(encoding)
            check((encoding != "utf-8" or data.startswith(b"\xef\xbb\xbf")) and
                  data.count(b"\n") == data.count(b"\r\n") > 0, f"{name} is not {encoding} CR LF text")

    def dpi(self, dots):
        """The prefix's display scaling (its LogPixels) for the starts from now on."""
        self.session.end_wine_session()
        tool(self.session, "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
             "/t", "REG_DWORD", "/d", dots, "/f")
        self.session.end_wine_session()

    def item_height(self, pixels):
        """The current menu's highlighted first item is this many pixels high (read
        from the screen in a column right of its text)."""
        shot, w = os.path.join(self.session.work_dir, "menu.png"), self.window
        self.session.screenshot(shot)
        out = subprocess.run(["convert", shot, "-crop", f"1x{w.height}+{w.x + w.width - 6}+"
                              f"{w.y + MENU_FRAME}", "txt:-"], capture_output=True, text=True,
                             check=True).stdout
        column = [line.split()[-1] for line in out.splitlines()[1:]]
        height = next((i for i, c in enumerate(column) if c != column[1]), len(column))
        check(height == int(pixels), f"the highlighted item is {height} pixels high")

    def dialog_size(self, width, height):
        """The current window measures width x height, frame included (Wine's X window
        holds the client area or the whole window: the same frame on every side)."""
        frame = int(width) - self.window.width
        check(0 <= frame <= 10 and int(height) - self.window.height == frame, f"{self.window}")

    def dialog_shows(self, starts, holds):
        """One dialog, whose caption and control texts (" | " between them) start
        with starts and hold holds; it becomes the current window."""
        seen = []

        def shown():
            seen[:] = [line.strip() for line in
                       tool(self.session, self.tools.helper, "dialog-text")[1].splitlines()]
            return len(seen) == 1 and seen[0].startswith(starts)
        try:
            wait_for(f"a dialog {starts!r}", shown, timeout=20, interval=0.2)
        except Failure:
            raise Failure(f"dialogs show {seen}") from None
        check(holds in seen[0], f"{seen[0]!r} lacks {holds!r}")
        self.windows("1")
        self.window = self.session.windows()[0]

    def checker(self, definition, code, *lacking):
        """tavrik-check.exe of the folder, run on a definition in English, ends with
        this code; with names given, with 0 or 1, finding only entries left out that
        name one of them (targets Wine lacks)."""
        got, output = tool(self.session, self.f.w("tavrik-check.exe"), definition,
                           env={"TAVRIK_CHECK_LANG": "en"})
        count = re.search(r"^Findings: (\d+)", output, re.M)
        left_out = [line for line in output.splitlines() if re.match(r"  line \d+: entry left out", line)
                    and any(name in line for name in lacking)]
        check(got == int(code) if not lacking else got in (0, 1) and
              len(left_out) == (int(count[1]) if count else 0), f"tavrik-check ended with {got}:\n{output}")

    def reg(self, *words):
        """Changes the prefix's registry (reg add ..., reg delete ...)."""
        check(tool(self.session, "reg", *words, "/f")[0] == 0, f"reg {words} failed")

    def setenv(self, name, value):
        """An environment variable for the programs started from now on."""
        self.session.env[name] = value

    def report_holds(self, text):
        """The file the last "*END" expectation matched holds text, CR LF throughout."""
        drive, rest = self.wildcard.found.split(":\\", 1)
        with open(os.path.join(self.session.prefix, f"drive_{drive.lower()}", *rest.split("\\")),
                  "rb") as f:
            data = f.read()
        check(text.encode("cp932") in data and b"\n" not in data.replace(b"\r\n", b""),
              f"report without {text} or with bare line ends:\n{data.decode('cp932')}")

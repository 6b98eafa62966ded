"""What the end-to-end scenarios stand on: the X display and the Wine
session, windows, Tavrik's starts and other Windows programs run to their
end, and waiting by polling."""

import fcntl
import os
import subprocess
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

MENU_CLASS = "Tavrik.exe"  # Wine gives the process's windows its file name as WM_CLASS

# Wine 8's menu layout with the default theme: the frame around the items and
# the height of a separator. Item heights are worked out from the menu.
MENU_FRAME = 3
SEPARATOR_HEIGHT = 9

# Programs every Wine session runs by itself; anything else of the session
# still running at the end of a scenario was started by the launcher.
SESSION_PROGRAMS = {
    "services.exe", "winedevice.exe", "explorer.exe", "plugplay.exe",
    "svchost.exe", "rpcss.exe", "conhost.exe", "start.exe", "wineboot.exe",
}

WINDOW_TIMEOUT = 40.0  # the first program of a session also starts the session
STEP_TIMEOUT = 10.0


class Failure(AssertionError):
    pass


class DisplayDriverFailed(Failure):
    """Wine could not load its display driver in the session (its processes
    log "nodrv_CreateWindow"): its X connection failed. An X server that
    resets when its last client leaves refuses connections for a moment, and
    xdotool's connections come and go; the Xvfb started here runs with
    -noreset, but a display given by DISPLAY may reset. The launcher is not
    to blame, so the scenario runs again."""


NO_DISPLAY_DRIVER = b"nodrv_CreateWindow"


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, predicate, timeout=STEP_TIMEOUT, interval=0.05):
    """Polls predicate until it returns something true; returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout:.0f}s waiting for {what}")
        time.sleep(interval)


# --- display and Wine ----------------------------------------------------------

class Session:
    """The X display, the Wine environment and the prefix the scenarios share."""

    def __init__(self, work_dir):
        self.work_dir = os.path.abspath(work_dir)
        self.prefix = os.environ.get("TAVRIK_E2E_PREFIX") or os.path.join(self.work_dir, "wineprefix")
        self.xvfb = None
        self.lock = None
        self.env = dict(os.environ)
        self.env.update({
            "WINEPREFIX": self.prefix,
            # code page 932, unless the runs of another locale have a prefix of their own
            "LANG": os.environ.get("TAVRIK_LANG", "ja_JP.UTF-8"),
            "LC_ALL": os.environ.get("TAVRIK_LANG", "ja_JP.UTF-8"),
            # Wine's own errors go to each scenario's wine-output.txt, shown on failure
            "WINEDEBUG": os.environ.get("TAVRIK_E2E_WINEDEBUG", "-all,err+all"),
            "WINEDLLOVERRIDES": os.environ.get("WINEDLLOVERRIDES", "mscoree,mshtml="),
        })

    def start(self):
        os.makedirs(self.work_dir, exist_ok=True)
        # Runs sharing the prefix take turns: each ends the whole Wine session.
        self.lock = open(os.path.join(self.work_dir, "session.lock"), "w")
        try:
            fcntl.flock(self.lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
        except BlockingIOError:
            print(f"waiting for another run that uses {self.prefix}", flush=True)
            fcntl.flock(self.lock, fcntl.LOCK_EX)
        if not self.env.get("DISPLAY"):
            self._start_xvfb()
        # the prefix is made once, under a lock, by the same script ctest uses
        subprocess.run([os.path.join(ROOT, "cmake", "wine-run.sh"), "--init"],
                       env=self.env, check=True, stdin=subprocess.DEVNULL)
        self.end_wine_session()  # whatever an interrupted run left behind
        self.screen = tuple(int(v) for v in self.xdotool("getdisplaygeometry").split())

    def _start_xvfb(self):
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
             "-noreset"],
            pass_fds=(write_fd,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        os.close(write_fd)
        number = b""
        with os.fdopen(read_fd, "rb") as pipe:
            while not number.endswith(b"\n"):
                chunk = pipe.read(1)
                if not chunk:
                    break
                number += chunk
        check(number.strip().isdigit(), "Xvfb did not start")
        self.env["DISPLAY"] = ":" + number.decode().strip()

    def restart_display(self):
        if self.xvfb:
            self._stop_xvfb()
            del self.env["DISPLAY"]
            self._start_xvfb()

    def stop(self):
        self.end_wine_session()
        self._stop_xvfb()
        if self.lock:
            self.lock.close()
            self.lock = None

    def _stop_xvfb(self):
        if self.xvfb:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(5)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
            self.xvfb = None

    def end_wine_session(self):
        """Ends every process of the prefix, then the server itself."""
        subprocess.run(["wineserver", "-k"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)

    def session_programs(self):
        """File names of the programs running in this prefix, the session's own left out."""
        names = []
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                with open(f"/proc/{pid}/environ", "rb") as f:
                    environ = f.read().split(b"\0")
                with open(f"/proc/{pid}/cmdline", "rb") as f:
                    argv0 = f.read().split(b"\0")[0].decode(errors="replace")
            except OSError:
                continue
            if f"WINEPREFIX={self.prefix}".encode() not in environ:
                continue
            name = argv0.replace("/", "\\").rsplit("\\", 1)[-1]
            if name.lower() in SESSION_PROGRAMS or not name.lower().endswith(".exe"):
                continue
            names.append(name)
        return names

    def xdotool(self, *args, check_rc=True):
        result = subprocess.run(["xdotool", *args], env=self.env, stdin=subprocess.DEVNULL,
                                capture_output=True, text=True)
        if check_rc and result.returncode != 0:
            raise Failure(f"xdotool {' '.join(args)} failed: {result.stderr.strip()}")
        return result.stdout.strip()

    def windows(self):
        """Visible windows of Tavrik's process, bottom to top (the newest menu last)."""
        out = self.xdotool("search", "--onlyvisible", "--class", MENU_CLASS, check_rc=False)
        found = []
        for line in out.splitlines():
            if line.strip().isdigit():
                window = Window.read(self, line.strip())
                if window:
                    found.append(window)
        return found

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", path], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def photograph(self, window, path, margin=8):
        """Saves the screen around a window (with a small margin) as a PNG."""
        os.makedirs(os.path.dirname(path), exist_ok=True)
        whole = path + ".full.png"
        self.screenshot(whole)
        x, y = max(0, window.x - margin), max(0, window.y - margin)
        geometry = f"{window.width + 2 * margin}x{window.height + 2 * margin}+{x}+{y}"
        subprocess.run(["convert", whole, "-crop", geometry, "+repage", "-strip", path],
                       check=True)
        os.remove(whole)
        return path


class Window:
    def __init__(self, wid, x, y, width, height, name):
        self.id, self.x, self.y, self.width, self.height, self.name = wid, x, y, width, height, name

    @classmethod
    def read(cls, session, wid):
        shell = session.xdotool("getwindowgeometry", "--shell", wid, check_rc=False)
        values = dict(line.split("=", 1) for line in shell.splitlines() if "=" in line)
        if not all(k in values for k in ("X", "Y", "WIDTH", "HEIGHT")):
            return None  # gone in between
        name = session.xdotool("getwindowname", wid, check_rc=False)
        return cls(wid, int(values["X"]), int(values["Y"]), int(values["WIDTH"]),
                   int(values["HEIGHT"]), name)

    def item_point(self, index, items, separators=0):
        """Screen point in the middle of item `index` (0-based, counting only
        items) of a menu of `items` items and `separators` separators, all of
        them before the last item (the system entry's separator)."""
        inner = self.height - 2 * MENU_FRAME - separators * SEPARATOR_HEIGHT
        item_height = inner / items
        y = self.y + MENU_FRAME + item_height * (index + 0.5)
        if separators and index == items - 1:
            y += separators * SEPARATOR_HEIGHT
        return self.x + min(25, self.width // 3), int(y)

    def __repr__(self):
        return f"window {self.id} '{self.name}' at {self.x},{self.y} size {self.width}x{self.height}"


def tool(session, *args, env=None):
    """Runs a Windows program to its end: (exit code, output). The output goes to a
    file, never a pipe, which the session's helpers would keep open."""
    out = os.path.join(session.work_dir, "wine-tool.txt")
    with open(out, "wb") as f:
        code = subprocess.run(["wine", *args], env=dict(session.env, **(env or {})),
                              stdin=subprocess.DEVNULL, stdout=f, stderr=subprocess.DEVNULL,
                              timeout=60).returncode
    with open(out, "rb") as f:
        return code, f.read().decode("cp932", "replace")


class Run:
    """One start of Tavrik.exe from a folder."""

    def __init__(self, session, folder, args):
        self.session = session
        self.output = open(os.path.join(folder.unix, "wine-output.txt"), "wb")
        self.process = subprocess.Popen(["wine", folder.w("Tavrik.exe"), *args], cwd=folder.unix,
                                        env=session.env, stdin=subprocess.DEVNULL,
                                        stdout=self.output, stderr=subprocess.STDOUT)

    def wine_output(self):
        self.output.flush()
        with open(self.output.name, "rb") as f:
            return f.read()

    def wait_windows(self, count, timeout):
        """Waits for count visible windows; returns them, the newest last."""
        def ready():
            if self.process.poll() is not None:
                message = f"Tavrik ended ({self.process.returncode}) while waiting for {count} window(s)"
                if NO_DISPLAY_DRIVER in self.wine_output():
                    raise DisplayDriverFailed(message + "; Wine could not load its display driver")
                raise Failure(message)
            return len(self.session.windows()) >= count
        wait_for(f"{count} window(s)", ready, timeout)
        time.sleep(0.15)  # let it finish painting and enter its loop
        return self.session.windows()

    def wait_exit(self):
        try:
            return self.process.wait(STEP_TIMEOUT)
        except subprocess.TimeoutExpired:
            raise Failure(f"Tavrik still runs; windows: {self.session.windows()}") from None

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.output.close()

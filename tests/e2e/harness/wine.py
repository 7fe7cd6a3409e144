"""Wine side of the harness. Everything runs in the build tree's prefix and
on the Xvfb screen that scripts/wine-session started."""
import os
import re
import subprocess
import tempfile
import time
from dataclasses import dataclass
from pathlib import Path


def _session_env(build: Path) -> dict:
    env = dict(os.environ)
    env.update(
        WINEPREFIX=str(build / "wineprefix"),
        WINEDEBUG="-all",
        WINEDLLOVERRIDES=env.get("WINEDLLOVERRIDES", "mscoree,mshtml="),
        LANG="ja_JP.UTF-8",
        LC_ALL="ja_JP.UTF-8",
    )
    arch = build / "wine-arch"
    if arch.exists() and arch.read_text().strip() == "win64":
        shims = str(Path(__file__).resolve().parents[3] / "scripts" / "wine64")
        if shims not in env.get("PATH", "").split(":"):
            env["PATH"] = shims + ":" + env.get("PATH", "")
    display = build / "wine-session" / "display"
    if display.exists():
        env["DISPLAY"] = display.read_text().strip()
    return env


@dataclass
class Window:
    hwnd: int
    id: int
    cls: str
    visible: bool
    enabled: bool
    rect: tuple
    text: str

    @property
    def width(self):
        return self.rect[2] - self.rect[0]

    @property
    def height(self):
        return self.rect[3] - self.rect[1]


_LINE = re.compile(
    r"^(0x[0-9a-f]+) id=(-?\d+) class=(.*?) visible=(\d) enabled=(\d) rect=(-?\d+),(-?\d+),(-?\d+),(-?\d+) text=(.*)$"
)


def _parse_windows(out: str):
    result = []
    for line in out.splitlines():
        m = _LINE.match(line)
        if m:
            result.append(Window(int(m[1], 16), int(m[2]), m[3], m[4] == "1", m[5] == "1",
                                 tuple(int(m[i]) for i in range(6, 10)), m[10]))
    return result


class Launched:
    """A program started through wtool run: its Windows process id tells its
    windows from those of any other instance. Waits and kills as a Popen."""

    def __init__(self, wine, popen):
        self.wine = wine
        self.popen = popen
        line = popen.stdout.readline().decode(errors="replace").split()
        if len(line) != 2 or line[0] != "pid":
            popen.wait(timeout=30)
            raise RuntimeError(f"could not start the program: {popen.stderr.read().decode(errors='replace')}")
        self.pid = int(line[1])

    def poll(self):
        return self.popen.poll()

    def wait(self, timeout=None):
        return self.popen.wait(timeout=timeout)

    def kill(self):
        if self.popen.poll() is None:
            self.wine.wtool("kill", self.pid, check=False)
        try:
            self.popen.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.popen.kill()


class Wine:
    """The build tree's Wine session."""

    def __init__(self, build: Path):
        self.build = Path(build)
        self.bin = self.build / "bin"
        self.env = _session_env(self.build)
        self.started = []

    # -- paths -------------------------------------------------------------
    def winpath(self, path) -> str:
        """A Unix path as the Windows programs see it (drive Z:)."""
        return "Z:" + str(Path(path).resolve()).replace("/", "\\")

    # -- processes ----------------------------------------------------------
    def run(self, program, *args, timeout=60, cwd=None, input=None, env=None):
        """Runs a program to its end; returns the CompletedProcess (bytes)."""
        e = dict(self.env, **(env or {}))
        # Output through files, not pipes: a Wine service that this program
        # happens to start (explorer for the desktop) inherits its handles and
        # would keep a pipe open long after the program ended.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            r = subprocess.run(["wine", str(program), *map(str, args)], cwd=cwd, env=e, input=input,
                               stdout=out, stderr=err, timeout=timeout)
            out.seek(0)
            err.seek(0)
            r.stdout, r.stderr = out.read(), err.read()
        return r

    def start(self, program, *args, cwd=None, env=None):
        """Starts a program and returns its Popen; stop() ends what is left."""
        e = dict(self.env, **(env or {}))
        p = subprocess.Popen(["wine", str(program), *map(str, args)], cwd=cwd, env=e,
                             stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.started.append(p)
        return p

    def launch(self, program, *args, cwd=None, env=None) -> Launched:
        """Starts a program through wtool run; the result knows its Windows
        process id (Launched.pid), which find_windows and wait_window take."""
        p = self.start(self.bin / "wtool.exe", "run", self.winpath(program), *args, cwd=cwd, env=env)
        self.started.remove(p)
        launched = Launched(self, p)
        self.started.append(launched)
        return launched

    def stop(self):
        for p in self.started:
            if p.poll() is None:
                p.kill()
                try:
                    p.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    pass
        self.started.clear()

    # -- wtool ---------------------------------------------------------------
    def wtool(self, *args, timeout=30, check=True) -> str:
        r = self.run(self.bin / "wtool.exe", *args, timeout=timeout)
        if check and r.returncode != 0:
            raise RuntimeError(f"wtool {args} failed ({r.returncode}): {r.stderr.decode(errors='replace')}")
        return r.stdout.decode("cp932", errors="replace") if r.returncode == 0 else ""

    def find_windows(self, cls="-", title="-", timeout_ms=0, pid=0):
        """Visible top-level windows; of one process only when pid is given."""
        return _parse_windows(self.wtool("find", cls, title, timeout_ms, pid, check=False,
                                         timeout=timeout_ms / 1000 + 30))

    def wait_window(self, cls="-", title="-", timeout=30.0, pid=0) -> Window:
        found = self.find_windows(cls, title, int(timeout * 1000), pid)
        if not found:
            raise TimeoutError(f"no window class={cls} title={title} within {timeout} s")
        return found[0]

    def children(self, hwnd):
        return _parse_windows(self.wtool("children", hex(hwnd)))

    def send(self, hwnd, msg, wparam=0, lparam=0) -> int:
        return int(self._send_retrying("send", hex(hwnd), msg, wparam, lparam).strip())

    def set_text(self, hwnd, text):
        """Sets a window's text with WM_SETTEXT, as typing it in would."""
        self._send_retrying("settext", hex(hwnd), text)

    def _send_retrying(self, *args) -> str:
        # On a loaded machine Wine may take a busy window for a hung one and
        # refuse the send at once, undelivered: only such a quick refusal is
        # tried again (a send that timed out may still be handled).
        for attempt in range(3):
            started = time.monotonic()
            r = self.run(self.bin / "wtool.exe", *args, timeout=30)
            if r.returncode == 0:
                return r.stdout.decode()
            if attempt == 2 or time.monotonic() - started > 5:
                break
            time.sleep(1)
        raise RuntimeError(f"wtool {args} failed ({r.returncode}): {r.stderr.decode(errors='replace')}")

    def post(self, hwnd, msg, wparam=0, lparam=0):
        # A refused post was not posted: trying again cannot post it twice.
        self._send_retrying("post", hex(hwnd), msg, wparam, lparam)

    def command(self, hwnd, cmd_id):
        self._send_retrying("command", hex(hwnd), cmd_id)

    def file_dialog(self, title, *texts, timeout=60):
        """Fills the file name field of the open dialog titled title with each
        text in turn and confirms it (a folder first, then the names)."""
        self.wtool("file-dialog", title, *texts, timeout=timeout)

    def close(self, hwnd):
        self.post(hwnd, 0x0010)  # WM_CLOSE

    # -- registry -------------------------------------------------------------
    def reg_get(self, key, value):
        """Returns an int for REG_DWORD, a str for REG_SZ, None when missing."""
        # wtool answers 1 for a missing key or value; anything else is a
        # failed Wine start, which must not pass for a missing value.
        for _ in range(3):
            r = self.run(self.bin / "wtool.exe", "reg-get", key, value, timeout=30)
            if r.returncode in (0, 1):
                break
        else:
            raise RuntimeError(f"wtool reg-get {key} {value} failed ({r.returncode})")
        if r.returncode == 1:
            return None
        out = r.stdout.decode("cp932", errors="replace")
        kind, _, data = out.rstrip("\n").partition(" ")
        return int(data) if kind == "dword" else data

    def reg_set(self, key, value, data):
        if isinstance(data, int):
            self.wtool("reg-set", key, value, "dword", data)
        else:
            self.wtool("reg-set", key, value, "sz", data)

    def reg_delete(self, key):
        self.wtool("reg-delete", key)

    # -- screen -----------------------------------------------------------------
    def screenshot(self, path) -> Path:
        path = Path(path)
        path.parent.mkdir(parents=True, exist_ok=True)
        subprocess.run(["import", "-display", self.env["DISPLAY"], "-window", "root", str(path)],
                       check=True, timeout=60)
        return path

    def wait_exit(self, proc, timeout=30.0) -> int:
        return proc.wait(timeout=timeout)


def wait_until(predicate, timeout=10.0, interval=0.1):
    """Polls predicate until it returns a true value; returns that value."""
    end = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= end:
            raise TimeoutError("condition not met in time")
        time.sleep(interval)

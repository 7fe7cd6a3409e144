"""Helpers for the update checker's end-to-end tests: update packages built
independently of our C++ code (zipfile, hashlib, CAST5 from cryptography),
and one checker run driven through the CheckerHost test host."""
import hashlib
import io
import re
import struct
import time
import warnings
import zipfile
from pathlib import Path

from harness.wine import wait_until

PACKAGE_KEY = b"qzw|random text;"

# Notification codes as the host receives them.
STARTED, INFO_FAILED, NO_UPDATE, ASK_UPDATE = 1000, 1290, 1320, 1340
DOWNLOAD_SIZE, DOWNLOAD_PROGRESS, DOWNLOADED, UPDATE_FAILED = 1440, 1442, 1480, 1490
CANCELLED, READY, ERROR = 1700, 1800, 1900


def make_package(files=None, folders=()):
    """An update package of a ZIP archive with these files and folders."""
    buf = io.BytesIO()
    with zipfile.ZipFile(buf, "w", zipfile.ZIP_DEFLATED) as z:
        for name in folders:
            z.writestr(zipfile.ZipInfo(name.rstrip("/") + "/"), b"")
        for name, data in (files or {}).items():
            z.writestr(name, data)
    return package_of(buf.getvalue())


def package_of(plain):
    """An update package: "UPD", format 1, plain length at 8, MD5 at 16, then
    the archive plain encrypted with CAST-128 ECB, last block zero-padded."""
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        from cryptography.hazmat.primitives.ciphers import Cipher, algorithms, modes
        padded = plain + b"\0" * (-len(plain) % 8)
        enc = Cipher(algorithms.CAST5(PACKAGE_KEY), modes.ECB()).encryptor()
        body = enc.update(padded) + enc.finalize()
    header = b"UPD\x01" + b"\0" * 4 + struct.pack("<I", len(plain)) + b"\0" * 4 + hashlib.md5(plain).digest()
    return header + body


def info_line(package_url, low="02000", high="02001"):
    return f"# test update information\r\nR {low} {high} {package_url}\r\n".encode()


class CheckerRun:
    """One run of Mervik.exe started by CheckerHost.exe, with its own
    temporary folder, current folder, notification log and trace file."""

    def __init__(self, wine, root: Path):
        self.wine = wine
        self.root = Path(root)
        self.temp = self.root / "temp"
        self.cwd = self.root / "cwd"
        self.host_folder = self.root / "host"
        for d in (self.temp, self.cwd, self.host_folder):
            d.mkdir(parents=True, exist_ok=True)
        self.log = self.root / "notifications.log"
        self.trace_file = self.root / "trace.txt"
        self.marker = self.root / "marker.txt"
        self.proc = None

    def start(self, url="", ver="02001", program=None, marker_sleep=None, checker=None, env=None, **options):
        w = self.wine
        program = program or w.winpath(w.bin / "Marker.exe")
        args = [f"checker={w.winpath(checker or w.bin / 'Mervik.exe')}", f"url={url}", f"ver={ver}",
                f"folder={w.winpath(self.host_folder)}\\", f"program={program}",
                f"log={w.winpath(self.log)}", f"trace={w.winpath(self.trace_file)}",
                f"tmp={w.winpath(self.temp)}", f"cwd={w.winpath(self.cwd)}"]
        args += [f"{k}={v}" for k, v in options.items()]
        extra_env = env or {}
        env = {"GLIMRA_MARKER": w.winpath(self.marker)}
        if marker_sleep:
            env["GLIMRA_MARKER_SLEEP"] = str(marker_sleep)
        env.update(extra_env)
        self.proc = w.start(w.bin / "CheckerHost.exe", *args, env=env)
        return self

    def host_exit(self, timeout=60):
        return self.proc.wait(timeout=timeout)

    # -- what the run left ------------------------------------------------------
    def notifications(self):
        """[(code, arg, ms)] in arrival order; host events ("exit", "cancel") as strings."""
        out = []
        if self.log.exists():
            for line in self.log.read_text().splitlines():
                parts = line.split()
                if parts and parts[0].isdigit():
                    out.append((int(parts[0]), int(parts[1]), int(parts[2])))
                elif parts:
                    out.append((parts[0], int(parts[1]), int(parts[-1])))
        return out

    def codes(self):
        return [n[0] for n in self.notifications() if isinstance(n[0], int)]

    def checker_exit(self):
        for n in self.notifications():
            if n[0] == "exit":
                return n[1]
        return None

    def trace(self):
        if not self.trace_file.exists():
            return ""
        return self.trace_file.read_bytes().decode("cp932", errors="replace").replace("\r\n", "\n")

    def wait_end(self, timeout=60):
        """Waits for the checker's last trace line and returns its exit code."""
        m = wait_until(lambda: re.search(r"^End process (-?\d+)$", self.trace(), re.M), timeout=timeout)
        return int(m[1])

    def leftovers(self):
        """Package files and unpack folders left in the run's temporary folder."""
        return sorted(p.name for p in self.temp.iterdir() if p.name.upper().startswith("LVK"))

    def marker_lines(self):
        return self.marker.read_text(errors="replace").splitlines() if self.marker.exists() else []


def wtool(wine, *args, timeout=60):
    """wtool with its output in a file instead of a pipe: the first window of
    a session starts Wine's desktop process, which inherits the output handles
    of the program that caused it and would hold a pipe open until it ends."""
    import subprocess
    import tempfile
    with tempfile.TemporaryFile() as out:
        subprocess.run(["wine", str(wine.bin / "wtool.exe"), *map(str, args)], env=wine.env, stdin=subprocess.DEVNULL,
                       stdout=out, stderr=subprocess.DEVNULL, timeout=timeout)
        out.seek(0)
        return out.read().decode("cp932", errors="replace")


def find_windows(wine, cls="-", title="-"):
    from harness.wine import _parse_windows
    return _parse_windows(wtool(wine, "find", cls, title, 0))


def children(wine, hwnd):
    from harness.wine import _parse_windows
    return _parse_windows(wtool(wine, "children", hex(hwnd)))


def send(wine, hwnd, msg, wparam=0, lparam=0):
    return int(wtool(wine, "send", hex(hwnd), msg, wparam, lparam).strip() or 0)


def post(wine, hwnd, msg, wparam=0, lparam=0):
    wtool(wine, "post", hex(hwnd), msg, wparam, lparam)

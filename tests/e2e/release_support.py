"""Releasing under Wine: the tree's version, the setup program run silently
through a batch file (NSIS wants /D= unquoted, as the last argument), the
version resource of an installed program, the uninstall key."""
import struct
import time
from pathlib import Path

UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Glimra"
PROGRAMS = ("Glimra.exe", "Lanvik.dll", "Mervik.exe", "Pellmark.exe", "Glimra.chm", "help/index.html")


def today() -> str:
    """LastConnectDate's text for today: set, it keeps the automatic check away."""
    t = time.localtime()
    return f"{t.tm_year:04d}{t.tm_mon:02d}{t.tm_mday:02d}"


def tree_version(build: Path) -> str:
    for line in (build / "CMakeCache.txt").read_text().splitlines():
        if line.startswith("GLIMRA_VERSION:"):
            return line.split("=", 1)[1]
    raise AssertionError("no GLIMRA_VERSION in the tree's cache")


def next_version(version: str) -> str:
    major, minor, patch = map(int, version.split("."))
    return f"{major}.{minor}.{patch + 1}"


def update_text(version: str) -> str:
    major, minor, patch = map(int, version.split("."))
    return f"{major:02d}{minor}{patch:02d}"


def file_version(path: Path) -> str:
    """MAJOR.MINOR.PATCH from the fixed part of a program's version resource."""
    data = path.read_bytes()
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    assert at > 0, f"{path} has no version resource"
    ms, ls = struct.unpack("<II", data[at + 8 : at + 16])
    return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}"


def run_batch(wine, folder: Path, line: str, timeout=120) -> int:
    """Runs one command line exactly as written; returns its exit code."""
    bat = folder / "run.bat"
    bat.write_bytes(f"@{line}\r\n@exit /b %ERRORLEVEL%\r\n".encode("cp932"))
    return wine.run("cmd", "/c", wine.winpath(bat), timeout=timeout).returncode


def install_silently(wine, setup: Path, target: Path) -> int:
    target.parent.mkdir(parents=True, exist_ok=True)
    return run_batch(wine, target.parent, f'"{wine.winpath(setup)}" /S /D={wine.winpath(target)}')

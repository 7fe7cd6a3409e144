"""Helpers shared by the font installation tests: test fonts, message boxes,
dialogs and the system font key under Wine."""
import shutil
import time
from pathlib import Path

from harness.wine import wait_until

DATA = Path(__file__).resolve().parents[1] / "install" / "data"
FONT_KEY = r"HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Fonts"
IDOK, IDCANCEL, IDYES, IDNO = 1, 2, 6, 7
WM_COMMAND = 0x0111
BM_CLICK = 0x00F5


def copy_fonts(folder: Path, *names, rename=None) -> Path:
    folder.mkdir(parents=True, exist_ok=True)
    for name in names:
        shutil.copy(DATA / name, folder / ((rename or {}).get(name, name)))
    return folder


def font_folder(wine) -> Path:
    return Path(wine.env["WINEPREFIX"]) / "drive_c" / "windows" / "Fonts"


def font_values(wine):
    """(name, data) of the system font key, in enumeration order."""
    r = wine.run("reg", "query", FONT_KEY)
    values = []
    for line in r.stdout.decode("cp932", errors="replace").splitlines():
        if "    REG_SZ    " in line:
            name, _, data = line.strip().partition("    REG_SZ    ")
            values.append((name, data))
    return values


def delete_font_value(wine, name):
    wine.run("reg", "delete", FONT_KEY, "/v", name, "/f")


def box(wine, caption, timeout=30.0):
    """The message box or dialog with that caption, and its children. The
    text of each static child is read whole (it may span several lines)."""
    win = wine.wait_window("#32770", caption, timeout=timeout)
    children = wine.children(win.hwnd)
    for c in children:
        if c.cls.lower() == "static" and c.text:
            c.text = wine.wtool("text", hex(c.hwnd))[:-1]
    return win, children


def box_text(children):
    return "\n".join(c.text for c in children if c.cls.lower() == "static" and c.text)


def answer(wine, win, button):
    wine.post(win.hwnd, WM_COMMAND, button)
    wait_until(lambda: not [w for w in wine.find_windows("#32770", "-") if w.hwnd == win.hwnd], timeout=15)


def gone(wine, caption):
    return not wine.find_windows("#32770", caption)


def settle(seconds=0.5):
    time.sleep(seconds)

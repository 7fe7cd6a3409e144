"""Shared by the test_export_* tests: one Glimra.exe started with chosen
settings, its frame and view, the clipboard helper and message boxes."""
import re

from harness.wine import wait_until

SETTINGS = r"HKCU\Software\VANTO\Glimra\Settings"
JAPANESE_SAMPLE = "Aaあぁアァ亜宇"


class Glimra:
    def __init__(self, wine, program=None, **settings):
        self.wine = wine
        for name, value in settings.items():
            wine.reg_set(SETTINGS, name, value)
        self.proc = wine.start(program or wine.bin / "Glimra.exe")
        self.frame = wine.wait_window("FwFrame128", "Glimra", timeout=60)
        self.view = None
        wait_until(self._painted, timeout=60, interval=0.3)

    def _painted(self):
        kids = self.wine.children(self.frame.hwnd)
        views = [c for c in kids if c.cls == "FwView"]
        boxes = [c for c in kids if c.id == 1000]
        if not views or not boxes or boxes[0].text == "":
            return False
        self.view = views[0]
        return True

    def command(self, cmd_id):
        self.wine.command(self.frame.hwnd, cmd_id)

    def close(self):
        self.wine.close(self.frame.hwnd)
        self.wine.wait_exit(self.proc, timeout=30)

    def dialogs(self):
        """Top-level dialog windows of any title (message boxes included)."""
        return [w for w in self.wine.find_windows("#32770") if w.visible]


def cliptool(wine, *args, check=True):
    r = wine.run(wine.bin / "cliptool.exe", *args, timeout=30)
    if check and r.returncode != 0:
        raise RuntimeError(f"cliptool {args} failed: {r.returncode}")
    return r.stdout if r.returncode == 0 else None


def clipboard_text(wine):
    out = cliptool(wine, "text", check=False)
    return None if out is None else out.decode("cp932")


def rtf_unescape(text):
    """RTF \\'xx escapes back to bytes, decoded as code page 932."""
    raw = re.sub(rb"\\'([0-9a-f]{2})", lambda m: bytes([int(m[1], 16)]), text.encode("latin-1"))
    return raw.decode("cp932")

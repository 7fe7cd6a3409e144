"""Shared by the test_export_* tests: one Glimra.exe started with chosen
settings, its frame and view, the clipboard helper and message boxes."""
import re

from harness.glimra import SETTINGS  # noqa: F401 (used by the tests)
from harness.glimra import Glimra as GlimraBase

JAPANESE_SAMPLE = "Aaあぁアァ亜宇"


class Glimra(GlimraBase):
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

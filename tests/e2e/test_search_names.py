"""Search as you type and English names in Glimra.exe under Wine: the find
bar that Ctrl+F opens narrows the list by Japanese, English (found only in
the faces' 'name' tables) and half-width names, keeps the selected face, and
Esc gives the whole list back; 表示 "英語名も表示" widens the labels."""
import sys
from pathlib import Path

from harness.glimra import QUERY_DIVIDER, QUERY_ROW_COUNT, QUERY_SELECTED_ROW
from harness.pixels import capture
from harness.wine import wait_until
from install_support import IDNO, answer, box, box_text
from test_viewer_main import WINDOW, Viewer

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "fontgen"))
import make_fonts  # noqa: E402

ROOT_KEY = r"HKCU\Software\VANTO\Glimra"
ID_TEMPINSTALL, ID_VIEW_ENGLISH_NAMES, ID_EDIT_FIND = 32775, 32814, 32815
FIND_BAR, FIND_TEXT = 133, 1002
WM_KEYDOWN, VK_DOWN, VK_ESCAPE = 0x0100, 0x28, 0x1B
OPEN_TITLE = "フォントの一時インストール"


class Searching(Viewer):
    def open_generated(self, folder, names):
        self.command(ID_TEMPINSTALL)
        self.wine.file_dialog(OPEN_TITLE, self.wine.winpath(folder), " ".join(f'"{n}"' for n in names))
        wait_until(lambda: not self.wine.find_windows("#32770", OPEN_TITLE), timeout=15)
        self.settle()

    def edit(self):
        return self.child(FIND_TEXT, "Edit")

    def search(self, text, rows):
        """Puts text into the find box; waits until the list has that many rows
        (names from the face tables arrive in the background)."""
        self.wine.set_text(self.edit().hwnd, text)
        wait_until(lambda: self.rows() == rows, timeout=30, interval=0.3)

    def label_right(self, path):
        """Right end of the text in the name column of the view."""
        view = next(c for c in self.wine.children(self.frame.hwnd) if c.hwnd == self.view.hwnd)
        divider = self.query(QUERY_DIVIDER)
        left, top = view.rect[0], view.rect[1]
        image = capture(self.wine.env["DISPLAY"], (left, top, left + divider - 2, view.rect[3]), path)
        right = 0
        for y in range(3, image.height - 3):  # inside the view's edge
            dark = [x for x in range(3, image.width - 3) if max(image.pixel(x, y)) < 100]
            if len(dark) < image.width // 2:  # not a line between rows
                right = max(dark + [right])
        return right


def test_find_bar_narrows_by_any_name_and_english_names_widen_labels(programs, clean_registry, fresh_server_after,
                                                                     tmp_path, shots):
    w = clean_registry
    fonts = tmp_path / "fonts"
    generated = [e["file"] for e in make_fonts.make(str(fonts), 3, omit=2)]
    # A wide name column, so that the English names fit beside the Japanese ones.
    w.reg_set(WINDOW, "Width1", 400)
    v = Searching(programs)
    v.open_generated(fonts, generated)
    everything = v.rows()
    assert not v.bar(FIND_BAR).visible  # hidden at start

    # Ctrl+F shows the bar and puts the caret in its box: a typed key lands there.
    v.keys("F+ctrl")
    assert v.bar(FIND_BAR).visible
    v.keys("X")
    assert v.edit().text.lower() == "x"
    assert v.rows() < everything  # narrowed at once

    # Typed character by character: hiragana finds the katakana name.
    v.wine.set_text(v.edit().hwnd, "")
    assert v.rows() == everything
    times = v.wine.wtool("type", hex(v.edit().hwnd), "ぐりむら").split()
    assert len(times) == 4
    assert v.rows() == 3 and v.edit().text == "ぐりむら"
    # English only in the fonts' name tables, in any case and width.
    v.search("GLIMRA test", 3)
    v.search("ｇｌｉｍｒａ　ｔｅｓｔ　０００２", 1)
    v.search("ｸﾞﾘﾑﾗ", 3)
    v.search("ipagothic", 1)
    w.screenshot(shots / "search_ipagothic.png")

    # The selected face stays selected while it stays in the list.
    v.search("グリムラ", 3)
    v.post_view(WM_KEYDOWN, VK_DOWN)
    assert v.query(QUERY_SELECTED_ROW) == 1
    v.search("グリムラ試験 00", 3)
    assert v.query(QUERY_SELECTED_ROW) == 1
    v.search("test 0001", 1)
    assert v.query(QUERY_SELECTED_ROW) == 0
    w.screenshot(shots / "search_narrowed.png")

    # English names beside the Japanese ones: the labels grow to the right.
    v.search("グリムラ", 3)
    plain = v.label_right(tmp_path / "plain.ppm")
    v.command(ID_VIEW_ENGLISH_NAMES)
    wait_until(lambda: v.label_right(tmp_path / "english.ppm") > plain + 40, timeout=15, interval=0.3)
    w.screenshot(shots / "search_english_names.png")
    assert w.reg_get(ROOT_KEY + r"\Search", "EnglishNames") == 1

    # Esc empties the box, hides the bar and gives back the whole list, still
    # on the face chosen in the narrowed one.
    w.post(v.edit().hwnd, WM_KEYDOWN, VK_ESCAPE)
    v.settle()
    assert not v.bar(FIND_BAR).visible
    assert v.rows() == everything
    assert v.query(QUERY_SELECTED_ROW) > 0
    assert v.selected_name() == "グリムラ試験 0001"

    # The find bar is no part of the saved bar layout.
    w.close(v.frame.hwnd)
    win, children = box(w, "Glimra")
    assert box_text(children).startswith("一時インストールしたフォントを解除しますか？")
    # Kept loaded: releasing them as the program ends has left this Wine's
    # server unable to start the next program now and then. The fixture's new
    # server drops them.
    answer(w, win, IDNO)
    assert w.wait_exit(v.proc, timeout=30) == 0
    bars = w.reg_get(ROOT_KEY + r"\ControlBar-Summary", "Bars")
    assert bars and [w.reg_get(ROOT_KEY + rf"\ControlBar-Bar{n}", "BarID") for n in range(bars)].count(FIND_BAR) == 0
    assert w.reg_get(ROOT_KEY + rf"\ControlBar-Bar{bars}", "BarID") is None

"""Glimra.exe under Wine: first start, bars, window placement, the saved
settings, scrolling, keys, wheel, clicks, the divider, the text input bar,
the list switches and favourites."""
import shutil
import time

import pytest

from harness.pixels import BLACK, GREEN, GREY, RED, capture, full_lines
from harness.wine import wait_until

SETTINGS = r"HKCU\Software\VANTO\Glimra\Settings"
WINDOW = r"HKCU\Software\VANTO\Glimra\Window"

WM_KEYDOWN, WM_VSCROLL, WM_MOUSEWHEEL = 0x0100, 0x0115, 0x020A
WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP = 0x0200, 0x0201, 0x0202
EM_SETSEL = 0x00B1
SB_THUMBPOSITION = 4
from harness.glimra import (QUERY_DIVIDER, QUERY_FONT_SIZE, QUERY_ROW_COUNT,  # noqa: F401
                            QUERY_SELECTED_ROW, QUERY_TOP_ROW, QUERY_VISIBLE_ROWS, Glimra)

ID_LANG_WESTERN, ID_LANG_JAPANESE, ID_LANG_ALL = 32777, 32778, 32779
ID_KIND_TEMPORARY, ID_KIND_REGISTERED = 32790, 32791
ID_MODE_STANDARD, ID_MODE_FAVOURITES, ID_MODE_CANDIDATES = 32806, 32802, 32803
ID_FAV_ADD, ID_FAV_REMOVE, ID_CAND_ADD = 32800, 32804, 32801
ID_VIEW_FONTSELECT = 32772

JAPANESE_SAMPLE = "Aaあぁアァ亜宇"


def lparam(x, y):
    return ((y & 0xFFFF) << 16) | (x & 0xFFFF)


class Viewer(Glimra):
    """Glimra.exe and the windows the tests talk to."""

    def child(self, ctrl_id, cls=None):
        kids = self.wine.children(self.frame.hwnd)
        return next(c for c in kids if c.id == ctrl_id and (cls is None or c.cls == cls))

    def bar(self, bar_id):
        return self.child(bar_id, "FwControlBar")

    def rows(self):
        return self.query(QUERY_ROW_COUNT)

    def top(self):
        return self.query(QUERY_TOP_ROW)

    def selected(self):
        return self.query(QUERY_SELECTED_ROW)

    def settle(self):
        """Waits until the view has handled everything posted so far."""
        self.wine.send(self.view.hwnd, 0)  # WM_NULL

    def command(self, cmd_id):
        super().command(cmd_id)
        self.settle()

    def keys(self, *keys):
        self.wine.wtool("keys", hex(self.view.hwnd), *keys)
        self.settle()

    def post_view(self, msg, wparam=0, lp=0):
        self.wine.post(self.view.hwnd, msg, wparam, lp)
        self.settle()

    def selected_name(self):
        """The selected face, read back through a favourite that is added and
        removed again (the view saves favourites at once)."""
        self.command(ID_FAV_ADD)
        name = wait_until(lambda: self.wine.reg_get(SETTINGS, "Favorite01"), timeout=10)
        self.command(ID_FAV_REMOVE)
        wait_until(lambda: self.wine.reg_get(SETTINGS, "Favorite01") == "", timeout=10)
        return name

    def close(self):
        assert super().close() == 0


@pytest.fixture
def viewer(programs, clean_registry):
    return lambda: Viewer(programs)


def test_first_start_window_bars_rows_and_sample(viewer, wine, shots):
    v = viewer()
    assert v.frame.width == 600 and v.frame.height == 768
    assert v.frame.text == "Glimra"
    main, fontbar = v.bar(59392), v.bar(32772)
    listbar, textbar = v.bar(32773), v.bar(32771)
    assert all(b.visible for b in (main, fontbar, listbar, textbar))
    # The font selection bar shares the main tool bar's row, right of it.
    assert fontbar.rect[1] == main.rect[1] and fontbar.rect[0] >= main.rect[2]
    assert listbar.rect[1] >= main.rect[3] and textbar.rect[1] >= listbar.rect[3]
    assert main.text == "ツールバー" and textbar.text == "テキスト入力バー"
    assert v.child(1000).text == JAPANESE_SAMPLE
    assert v.child(1001, "ComboBox").text == "24"
    assert v.top() == 0 and v.selected() == 0 and v.rows() >= 5
    assert 1 <= v.query(QUERY_VISIBLE_ROWS) < v.rows()
    # Every face of the prefix that is not a vertical-writing twin is a row;
    # the IPA fonts of the test machine are among them.
    v.keys("I")
    assert v.selected_name().startswith("IPA")
    wine.screenshot(shots / "viewer-first-start.png")
    v.close()

    for name, value in [("SelLangEN", 1), ("SelLangJA", 1), ("SelLangALL", 0), ("SelFontTMP", 1),
                        ("SelFontORG", 1), ("DispFontSize", 240), ("AutoUpdate", 1), ("FavMax", 20)]:
        assert wine.reg_get(SETTINGS, name) == value, name
    assert [wine.reg_get(SETTINGS, "Favorite%02d" % n) for n in range(1, 21)] == [""] * 20
    assert wine.reg_get(SETTINGS, "Favorite21") is None
    width1 = wine.reg_get(WINDOW, "Width1")
    # Just right of the widest face name, well inside the window.
    assert 40 < width1 < 400
    assert wine.reg_get(WINDOW, "Ver") == "02000"
    assert (wine.reg_get(WINDOW, "cx"), wine.reg_get(WINDOW, "cy")) == (600, 768)
    assert wine.reg_get(WINDOW, "x") == v.frame.rect[0] and wine.reg_get(WINDOW, "y") == v.frame.rect[1]
    assert wine.reg_get(WINDOW, "showCmd") == 1


def test_hidden_bar_stays_hidden_after_restart(viewer):
    v = viewer()
    v.command(ID_VIEW_FONTSELECT)
    assert not v.bar(32772).visible
    v.close()
    v = viewer()
    assert not v.bar(32772).visible
    assert v.bar(59392).visible and v.bar(32771).visible
    v.command(ID_VIEW_FONTSELECT)
    assert v.bar(32772).visible
    v.close()


def test_window_near_the_right_edge_comes_back_on_screen(viewer, wine):
    wine.reg_set(WINDOW, "x", 1900)
    wine.reg_set(WINDOW, "y", 20)
    v = viewer()
    assert v.frame.rect[0] == 1320 and v.frame.rect[1] == 20
    v.close()
    wine.reg_set(WINDOW, "x", 1887)  # less than 1920 - 32: left alone
    v = viewer()
    assert v.frame.rect[0] == 1887
    v.close()


def test_keys_page_home_end_and_letter_jump(viewer):
    v = viewer()
    n = v.rows()
    v.keys("0x23+ctrl")  # Ctrl+End: the last row alone at the top, selected
    assert v.top() == n - 1 and v.selected() == n - 1
    last = v.selected_name()
    v.keys("0x22")  # Page Down at the end does nothing
    assert v.top() == n - 1
    v.keys("0x24")  # Home without Control does nothing
    assert v.top() == n - 1
    v.keys("0x24+ctrl")
    assert v.top() == 0 and v.selected() == 0
    first = v.selected_name()
    assert first != last
    page = v.query(QUERY_VISIBLE_ROWS)
    v.keys("0x22")
    assert v.top() == page
    v.keys("0x21")
    assert v.top() == 0

    v.keys("0x24+ctrl")
    v.keys("I")
    jumped = v.selected_name()
    assert jumped.upper().startswith("I")
    index = v.selected()
    assert v.top() == index
    v.keys("0x28")  # Down moves the selection, then I goes back to the same face
    assert v.selected() == index + 1
    v.keys("I")
    assert v.selected_name() == jumped and v.top() == index == v.selected()
    v.close()


def test_wheel_halves_add_up_and_thumb_scrolls(viewer):
    v = viewer()
    v.post_view(WM_VSCROLL, (5 << 16) | SB_THUMBPOSITION)
    assert v.top() == 5
    v.post_view(WM_MOUSEWHEEL, 60 << 16)
    assert v.top() == 5
    v.post_view(WM_MOUSEWHEEL, 60 << 16)
    assert v.top() == 4
    v.post_view(WM_MOUSEWHEEL, (-360 & 0xFFFF) << 16)
    assert v.top() == 7
    v.close()


def test_click_partly_visible_row_and_drag_divider(viewer, wine, shots):
    v = viewer()
    width1 = None
    # The bottom pixel row of the view belongs to the row cut off there.
    client_h = v.view.height - 4
    v.post_view(WM_LBUTTONDOWN, 1, lparam(400, client_h - 2))
    v.post_view(WM_LBUTTONUP, 0, lparam(400, client_h - 2))
    assert v.top() == 1
    # The selection went one past the cut-off row and was pulled back to the
    # last complete row.
    assert v.selected() == v.query(QUERY_VISIBLE_ROWS)
    v.post_view(WM_LBUTTONDOWN, 1, lparam(400, 5))
    v.post_view(WM_LBUTTONUP, 0, lparam(400, 5))
    assert v.selected() == 1
    width1 = v.query(QUERY_DIVIDER)
    v.post_view(WM_LBUTTONDOWN, 1, lparam(width1, 5))
    v.post_view(WM_MOUSEMOVE, 1, lparam(300, 5))
    wine.screenshot(shots / "viewer-divider-dragged.png")
    v.post_view(WM_MOUSEMOVE, 1, lparam(3000, 5))
    v.post_view(WM_LBUTTONUP, 0, lparam(3000, 5))
    at_right = v.query(QUERY_DIVIDER)
    client_w = v.view.width - 4
    # Client width - 1: the scroll bar takes some of the view's width.
    assert client_w - 30 < at_right < client_w
    v.post_view(WM_LBUTTONDOWN, 1, lparam(at_right, 5))
    v.post_view(WM_MOUSEMOVE, 1, lparam(-40, 5))
    v.post_view(WM_LBUTTONUP, 0, lparam(-40, 5))
    assert v.query(QUERY_DIVIDER) == 0
    v.close()
    assert wine.reg_get(WINDOW, "Width1") == 0


def test_typed_sample_text_and_size(viewer, wine, shots):
    v = viewer()
    wine.set_text(v.child(1000).hwnd, "表示テスト Text")
    size_edit = next(c for c in wine.children(v.child(1001, "ComboBox").hwnd) if c.cls == "Edit")
    x, y = (size_edit.rect[0] + size_edit.rect[2]) // 2, (size_edit.rect[1] + size_edit.rect[3]) // 2
    wine.wtool("click", x, y)
    wine.send(size_edit.hwnd, EM_SETSEL, 0, -1 & 0xFFFFFFFF)
    wine.wtool("keys", hex(size_edit.hwnd), "1", "0", "0xBE", "5")
    v.settle()
    assert v.child(1001, "ComboBox").text == "10.5"
    assert v.query(QUERY_FONT_SIZE) == 105
    wine.screenshot(shots / "viewer-typed-sample.png")
    v.close()
    assert wine.reg_get(SETTINGS, "DispFontSize") == 105


def test_language_and_kind_switches(viewer, wine, shots):
    v = viewer()
    everything = v.rows()
    v.command(ID_LANG_WESTERN)
    japanese_only = v.rows()
    assert 0 < japanese_only < everything
    v.command(ID_LANG_JAPANESE)
    assert v.rows() == 0
    wine.screenshot(shots / "viewer-empty-list.png")
    assert v.child(1000).text == "Sample string"
    v.command(ID_LANG_ALL)
    assert v.rows() >= everything
    v.command(ID_LANG_ALL)
    v.command(ID_LANG_WESTERN)
    v.command(ID_LANG_JAPANESE)
    assert v.rows() == everything
    assert v.child(1000).text == JAPANESE_SAMPLE

    v.command(ID_KIND_REGISTERED)  # only temporary fonts: none loaded
    assert v.rows() == 0
    v.command(ID_KIND_TEMPORARY)  # the only kind shown goes off: the other comes on
    assert v.rows() == everything
    v.close()
    assert wine.reg_get(SETTINGS, "SelFontTMP") == 0
    assert wine.reg_get(SETTINGS, "SelFontORG") == 1


def toolbar_state(wine, bar, cmd_id):
    tb = next(c for c in wine.children(bar.hwnd) if c.cls == "ToolbarWindow32")
    for line in wine.wtool("toolbar-buttons", hex(tb.hwnd)).splitlines():
        parts = line.split()
        if int(parts[1]) == cmd_id:
            return "enabled=1" in line, "checked=1" in line
    raise AssertionError("no button %d" % cmd_id)


def test_favourites_up_to_the_limit_and_favourites_mode(viewer, wine, shots):
    wine.reg_set(SETTINGS, "FavMax", 3)
    v = viewer()
    time.sleep(1)
    for _ in range(3):
        assert toolbar_state(wine, v.bar(59392), ID_FAV_ADD)[0]
        v.command(ID_FAV_ADD)
        v.keys("0x28")
    names = [wine.reg_get(SETTINGS, "Favorite%02d" % n) for n in (1, 2, 3)]
    assert all(names) and len(set(names)) == 3
    # Full: the command is refused (disabled), nothing more is stored.
    wait_until(lambda: not toolbar_state(wine, v.bar(59392), ID_FAV_ADD)[0], timeout=10)
    v.command(ID_FAV_ADD)
    assert wine.reg_get(SETTINGS, "Favorite04") is None
    v.command(ID_CAND_ADD)
    v.keys("0x26")
    v.keys("0x26")
    v.command(ID_CAND_ADD)
    v.post_view(WM_VSCROLL, (1 << 16) | SB_THUMBPOSITION)
    v.settle()
    time.sleep(0.5)
    wine.screenshot(shots / "viewer-marks-and-selection.png")

    v.command(ID_MODE_FAVOURITES)
    assert v.rows() == 3
    wait_until(lambda: toolbar_state(wine, v.bar(32773), ID_MODE_FAVOURITES)[1], timeout=10)
    v.command(ID_MODE_CANDIDATES)
    assert v.rows() == 2
    v.command(ID_MODE_STANDARD)
    assert v.rows() > 3
    v.close()


def test_favourite_survives_a_killed_process(viewer, wine):
    v = viewer()
    v.keys("0x28")
    v.command(ID_FAV_ADD)
    name = wait_until(lambda: wine.reg_get(SETTINGS, "Favorite01"), timeout=10)
    v.proc.kill()
    v.proc.wait(timeout=10)
    v = viewer()
    v.command(ID_MODE_FAVOURITES)
    assert v.rows() == 1
    assert wine.reg_get(SETTINGS, "Favorite01") == name
    v.close()


def test_paste_replaces_the_sample_text(viewer, wine):
    v = viewer()
    wine.wtool("set-clipboard-text", "貼り付け Paste")
    v.command(57637)  # the view has the focus: the clipboard text becomes the sample
    wait_until(lambda: v.child(1000).text == "貼り付け Paste", timeout=10)
    v.close()


def test_help_says_when_its_pages_are_missing(programs, clean_registry, tmp_path):
    # Under Wine help opens the pages beside the program in the browser
    # (test_release_setup); a copy of the program without them says so.
    wine = programs
    lonely = tmp_path / "Glimra.exe"
    shutil.copy(wine.bin / "Glimra.exe", lonely)
    for dll in wine.bin.glob("*.dll"):  # the libraries it loads with it
        shutil.copy(dll, tmp_path / dll.name)
    proc = wine.launch(lonely)
    frame = wine.wait_window("FwFrame128", "Glimra", timeout=60, pid=proc.pid)
    wine.post(frame.hwnd, 0x0111, 57670)
    box = wine.wait_window("#32770", "Glimra", timeout=20, pid=proc.pid)
    message = next(c for c in wine.children(box.hwnd) if c.text.startswith("Not Exist Html Help File"))
    full = wine.wtool("text", hex(message.hwnd))
    assert "File Path [ %s ]" % wine.winpath(tmp_path / "help" / "index.html") in full, full
    wine.command(box.hwnd, 1)  # OK: the frame stays usable
    wait_until(lambda: not wine.find_windows("#32770", "Glimra"), timeout=10)
    wine.close(frame.hwnd)
    assert wine.wait_exit(proc, timeout=30) == 0


def test_stored_values_out_of_range_are_clamped_at_start(viewer, wine):
    wine.reg_set(SETTINGS, "DispFontSize", 5)
    wine.reg_set(WINDOW, "Width1", 5000)
    wine.reg_set(SETTINGS, "DispText", "保存された Text")
    v = viewer()
    assert v.child(1001, "ComboBox").text == "6"
    assert v.child(1000).text == "保存された Text"
    # Client width - 2: the sample column keeps a sliver.
    assert v.view.width - 4 - 30 < v.query(QUERY_DIVIDER) < v.view.width - 4
    v.close()
    assert wine.reg_get(SETTINGS, "DispFontSize") == 60


def rows_on_screen(image, width):
    """(top, h) of every complete row: the bands above the black bottom lines
    (at top + h + 4), found by their first width pixels."""
    rows, top = [], 0
    for first, last in full_lines(image, below=1, x1=width):
        rows.append((top, first - 4 - top))
        top = last + 1
    return rows


def test_temporary_font_frames_divider_and_marks_on_screen(viewer, wine, tmp_path, shots):
    from install_support import IDYES, answer, box, box_text, copy_fonts

    for n, face in enumerate(("DejaVu Sans", "DejaVu Serif", "IPAゴシック"), start=1):
        wine.reg_set(SETTINGS, "Favorite%02d" % n, face)
    fonts = copy_fonts(tmp_path / "fonts", "GlimraAlpha.ttf")
    v = viewer()
    before = v.rows()
    v.command(32775)
    wine.file_dialog("フォントの一時インストール", wine.winpath(fonts), '"GlimraAlpha.ttf"')
    wait_until(lambda: v.rows() == before + 1, timeout=30)
    v.keys("G")  # the temporary face, a favourite and a candidate
    v.command(ID_FAV_ADD)
    v.command(ID_CAND_ADD)
    v.command(ID_MODE_FAVOURITES)
    assert v.rows() == 4 and v.top() == 0
    v.keys("0x28", "0x28", "0x28")
    assert v.selected() == 3
    v.keys("0x24+ctrl")  # back to the first row; the list does not scroll
    assert v.top() == 0 and v.selected() == 0

    w = v.query(QUERY_DIVIDER)
    left, top, right, bottom = v.view.rect
    image = capture(wine.env["DISPLAY"], (left + 2, top + 2, right - 2, bottom - 2), tmp_path / "view.ppm")
    wine.screenshot(shots / "viewer-temporary-font.png")
    rows = rows_on_screen(image, w)
    # The client width R: the bottom lines end where the scroll bar begins.
    line = rows[0][0] + rows[0][1] + 4
    r = next(x for x in range(image.width) if image.pixel(x, line) != BLACK)
    assert len(rows) == 4, rows
    assert not image.where(RED, 0, rows[1][0], r, image.height), "the old selection frame is gone"
    temporary = []
    marks_right = []
    for k, (y, h) in enumerate(rows):
        band = range(y, y + h + 4)
        divider = RED if k == 0 else GREY
        assert all(image.pixel(w + 1, yy) == divider for yy in band), (k, divider)
        if k == 0:  # the selection frame around the sample cell
            for x, yy in ((w + 2, y + h // 2), (r - 1, y + h // 2), ((w + r) // 2, y), ((w + r) // 2, y + h + 3)):
                assert image.pixel(x, yy) == RED, (x, yy)
        if all(image.pixel(x, yy) == GREEN for x, yy in ((0, y + h // 2), (w - 1, y + h // 2), (w // 2, y),
                                                         (w // 2, y + h + 3))):
            temporary.append(k)
        # The marks: green, under the black face name, inside the name cell.
        name = image.where(BLACK, 2, y + 2, w - 2, y + h + 2)
        marks = image.where(GREEN, 2, y + 2, w - 2, y + h + 2)
        assert name and marks, k
        assert min(yy for _, yy in marks) > max(yy for _, yy in name), k
        marks_right.append(max(x for x, _ in marks))
    assert len(temporary) == 1
    # Only the candidate has the exclamation mark after its star.
    others = [x for k, x in enumerate(marks_right) if k != temporary[0]]
    assert marks_right[temporary[0]] > max(others) + 5

    wine.close(v.frame.hwnd)
    win, children = box(wine, "Glimra")
    assert box_text(children).startswith("一時インストールしたフォントを解除しますか？")
    answer(wine, win, IDYES)
    assert wine.wait_exit(v.proc, timeout=30) == 0
    assert wine.reg_get(SETTINGS, "Favorite04") == "Glimra Test Alpha"


def test_right_click_selects_the_row_and_opens_the_context_menu(viewer, wine):
    v = viewer()
    # Rows are at least a few pixels high: y 60 lies in row 1 or 2 of the list.
    wine.post(v.view.hwnd, 0x0204, 2, lparam(400, 60))  # WM_RBUTTONDOWN
    menu = wine.wait_window("#32768", timeout=20)
    assert menu.visible
    wine.wtool("keys", hex(v.frame.hwnd), "0x1B")  # Escape closes the menu
    wait_until(lambda: not [w for w in wine.find_windows("#32768") if w.visible], timeout=10)
    assert v.selected() > 0
    v.close()

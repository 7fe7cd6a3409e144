"""The framework under Wine, driven through FrameworkDemo.exe: bars and
docking, commands from tool bar buttons and their enable state, bar layout
kept across runs, the invalid-argument report, dialogs, printing to the
cups-pdf queue and the print preview."""
import re
import subprocess
import time
from pathlib import Path

import pytest

from harness.printing import new_pdf, pdf_state
from harness.wine import wait_until

KEY = r"HKCU\Software\VANTO\FrameworkDemo"
WM_COMMAND, WM_CLOSE, BM_CLICK = 0x0111, 0x0010, 0x00F5
ID_COUNT_UP, ID_COUNT_DOWN, ID_COUNT_RESET = 32780, 32781, 32782
ID_BAD_INDEX, ID_SHOW_DIALOG, ID_SHOW_SHEET, ID_TOGGLE_MARK, ID_THROW_OTHER = 32783, 32784, 32785, 32786, 32787
ID_VIEW_DIALOGBAR, ID_VIEW_SECONDBAR, ID_VIEW_NOHANDLER = 32771, 32772, 32773
ID_FILE_PRINT_DIRECT, ID_FILE_PRINT_PREVIEW, ID_VIEW_TOOLBAR = 57608, 57609, 59392


class Demo:
    def __init__(self, wine):
        self.wine = wine
        self.proc = wine.start(wine.bin / "FrameworkDemo.exe")
        self.frame = wine.wait_window("FwFrame128", timeout=30)
        wait_until(lambda: self.status().startswith("count="), timeout=10)

    def children(self):
        return self.wine.children(self.frame.hwnd)

    def child(self, cls, id_):
        return next(c for c in self.children() if c.cls == cls and c.id == id_)

    def status(self):
        try:
            return self.child("Static", 1002).text
        except StopIteration:
            return ""

    def state(self):
        return dict(part.split("=", 1) for part in self.status().split(" ") if "=" in part)

    def command(self, cmd_id):
        self.wine.command(self.frame.hwnd, cmd_id)

    def buttons(self, bar_id):
        tb = self.child("ToolbarWindow32", bar_id)
        result = {}
        for line in self.wine.wtool("toolbar-buttons", hex(tb.hwnd)).splitlines():
            index, cid, rect, enabled, checked = line.split()
            x0, y0, x1, y1 = map(int, rect.split(","))
            result[int(cid)] = dict(rect=(x0, y0, x1, y1), enabled=enabled.endswith("1"),
                                    checked=checked.endswith("1"))
        return result

    def click_button(self, bar_id, cmd_id):
        x0, y0, x1, y1 = self.buttons(bar_id)[cmd_id]["rect"]
        self.wine.wtool("click", (x0 + x1) // 2, (y0 + y1) // 2)

    def close(self):
        self.wine.close(self.frame.hwnd)
        assert self.wine.wait_exit(self.proc, timeout=20) == 0


@pytest.fixture
def demo(programs, clean_registry):
    d = Demo(programs)
    yield d


def message_box(wine, timeout=10):
    return wine.wait_window("#32770", "FrameworkDemo", timeout=timeout)


def test_frame_shows_two_bars_on_one_row_dialog_bar_and_view(demo, shots):
    main = demo.child("FwControlBar", ID_VIEW_TOOLBAR)
    second = demo.child("FwControlBar", ID_VIEW_SECONDBAR)
    inputbar = demo.child("FwControlBar", ID_VIEW_DIALOGBAR)
    view = demo.child("FwView", 0xE900)
    assert main.rect[1] == second.rect[1] and second.rect[0] >= main.rect[2]
    assert inputbar.rect[1] >= main.rect[3]
    assert view.rect[1] >= inputbar.rect[3]
    assert main.text == "ツールバー"
    # The enable handlers reached the buttons on idle: nothing to count down or reset yet.
    buttons = demo.buttons(ID_VIEW_TOOLBAR)
    assert buttons[ID_COUNT_UP]["enabled"] and not buttons[ID_COUNT_DOWN]["enabled"]
    assert not buttons[ID_COUNT_RESET]["enabled"]
    demo.wine.screenshot(shots / "framework_frame.png")


def test_tool_bar_buttons_run_commands_and_a_disabled_one_does_nothing(demo):
    demo.click_button(ID_VIEW_TOOLBAR, ID_COUNT_DOWN)  # disabled at 0
    time.sleep(0.5)
    assert demo.state()["count"] == "0"
    demo.click_button(ID_VIEW_TOOLBAR, ID_COUNT_UP)
    wait_until(lambda: demo.state()["count"] == "1")
    wait_until(lambda: demo.buttons(ID_VIEW_TOOLBAR)[ID_COUNT_DOWN]["enabled"])
    demo.click_button(ID_VIEW_TOOLBAR, ID_COUNT_DOWN)
    wait_until(lambda: demo.state()["count"] == "0")
    wait_until(lambda: not demo.buttons(ID_VIEW_TOOLBAR)[ID_COUNT_DOWN]["enabled"])
    # A disabled command posted like a menu choice is refused too.
    demo.command(ID_COUNT_DOWN)
    demo.command(ID_VIEW_NOHANDLER)
    time.sleep(0.5)
    assert demo.state()["count"] == "0"
    # The check state follows its handler on the second bar.
    demo.click_button(ID_VIEW_SECONDBAR, ID_TOGGLE_MARK)
    wait_until(lambda: demo.state()["mark"] == "1")
    wait_until(lambda: demo.buttons(ID_VIEW_SECONDBAR)[ID_TOGGLE_MARK]["checked"])


def test_accelerator_and_dialog_bar_notifications_reach_the_view(demo):
    demo.wine.wtool("keys", hex(demo.frame.hwnd), "U+ctrl")
    wait_until(lambda: demo.state()["count"] == "1")
    edit = demo.child("Edit", 1000)
    demo.wine.set_text(edit.hwnd, "abc")
    wait_until(lambda: demo.state()["text"] == "abc")


def test_hidden_bar_stays_hidden_after_restart(programs, clean_registry):
    wine = programs
    demo = Demo(wine)
    demo.command(ID_VIEW_SECONDBAR)
    wait_until(lambda: not demo.child("FwControlBar", ID_VIEW_SECONDBAR).visible)
    # The view grows into the room; the other bars keep their places.
    assert demo.child("FwControlBar", ID_VIEW_TOOLBAR).visible
    demo.close()
    assert wine.reg_get(KEY + r"\Window", "Ver") == "1"
    assert wine.reg_get(KEY + r"\ControlBar-Summary", "Bars") == 3

    demo = Demo(wine)
    assert not demo.child("FwControlBar", ID_VIEW_SECONDBAR).visible
    assert demo.child("FwControlBar", ID_VIEW_DIALOGBAR).visible
    demo.command(ID_VIEW_SECONDBAR)  # back again, on its old row
    wait_until(lambda: demo.child("FwControlBar", ID_VIEW_SECONDBAR).visible)
    main = demo.child("FwControlBar", ID_VIEW_TOOLBAR)
    assert demo.child("FwControlBar", ID_VIEW_SECONDBAR).rect[1] == main.rect[1]
    demo.close()


def test_invalid_index_is_reported_and_the_program_goes_on(demo):
    demo.command(ID_COUNT_UP)
    wait_until(lambda: demo.state()["count"] == "1")
    demo.command(ID_BAD_INDEX)
    box = message_box(demo.wine)
    texts = [c.text for c in demo.wine.children(box.hwnd)]
    assert "無効な引数が発生しました。" in texts
    demo.wine.close(box.hwnd)
    wait_until(lambda: not demo.wine.find_windows("#32770", "FrameworkDemo"))
    assert demo.state()["count"] == "1" and demo.state()["name"] == ""  # nothing changed
    demo.command(ID_COUNT_UP)
    wait_until(lambda: demo.state()["count"] == "2")

    demo.command(ID_THROW_OTHER)
    box = message_box(demo.wine)
    # Other errors show their own text under a general line (only the first line is listed here).
    assert any(c.text.startswith("エラーが発生しました。") for c in demo.wine.children(box.hwnd))
    demo.wine.close(box.hwnd)
    wait_until(lambda: not demo.wine.find_windows("#32770", "FrameworkDemo"))
    demo.command(ID_COUNT_UP)
    wait_until(lambda: demo.state()["count"] == "3")


def test_modal_dialog_and_property_sheet(demo):
    demo.command(ID_SHOW_DIALOG)
    dlg = demo.wine.wait_window("#32770", "デモダイアログ")
    assert not demo.wine.find_windows("FwFrame128")[0].enabled  # owner disabled while modal
    edit = next(c for c in demo.wine.children(dlg.hwnd) if c.id == 1003)
    demo.wine.set_text(edit.hwnd, "山田")
    ok = next(c for c in demo.wine.children(dlg.hwnd) if c.id == 1)
    demo.wine.post(ok.hwnd, BM_CLICK)
    wait_until(lambda: demo.state()["name"] == "山田")
    assert demo.wine.find_windows("FwFrame128")[0].enabled

    demo.command(ID_SHOW_SHEET)
    sheet = demo.wine.wait_window("#32770", "設定")
    kids = demo.wine.children(sheet.hwnd)
    assert not any(c.text == "適用(&A)" and c.visible for c in kids)  # no Apply button
    check = next(c for c in kids if c.id == 1004)
    demo.wine.send(check.hwnd, BM_CLICK)
    ok = next(c for c in kids if c.id == 1)
    demo.wine.post(ok.hwnd, BM_CLICK)
    wait_until(lambda: demo.state()["mark"] == "1")


def _ink(ppm: Path) -> int:
    data = ppm.read_bytes()
    # P6 header: magic, width, height, maxval, then RGB bytes.
    parts = data.split(maxsplit=4)
    pixels = parts[4]
    return sum(1 for i in range(0, len(pixels), 3) if pixels[i] < 128)


def test_printing_writes_the_pages_of_the_view(demo, printer, tmp_path):
    before = pdf_state(printer)
    demo.command(ID_FILE_PRINT_DIRECT)
    pdf = new_pdf(printer, before, timeout=60)
    info = subprocess.run(["pdfinfo", str(pdf)], capture_output=True, text=True).stdout
    assert re.search(r"^Pages:\s+3$", info, re.M)
    subprocess.run(["pdftoppm", "-r", "40", str(pdf), str(tmp_path / "page")], check=True, timeout=60)
    pages = sorted(tmp_path.glob("page-*.ppm"))
    assert len(pages) == 3
    inks = [_ink(p) for p in pages]
    # 50 lines on the first two pages, 20 on the last: every page has its rows.
    assert inks[0] > 0 and inks[2] > 0 and inks[2] < inks[0]


def test_printing_without_a_printer_says_so(no_printer, programs, clean_registry):
    demo = Demo(programs)
    for command in (ID_FILE_PRINT_DIRECT, ID_FILE_PRINT_PREVIEW):
        demo.command(command)
        box = message_box(demo.wine)
        assert any(c.text.startswith("プリンタがインストールされていません。") for c in demo.wine.children(box.hwnd))
        demo.wine.close(box.hwnd)
        wait_until(lambda: not demo.wine.find_windows("#32770", "FrameworkDemo"))
    assert not demo.wine.find_windows("FwPrintPreview")
    demo.close()


def test_print_preview_pages_through_and_closes(demo, printer, shots):
    demo.command(ID_FILE_PRINT_PREVIEW)
    preview = demo.wine.wait_window("FwPrintPreview", timeout=20)
    assert not demo.wine.find_windows("FwFrame128")[0].enabled

    def page_text():
        return next(c.text for c in demo.wine.children(preview.hwnd) if c.id == 6)

    wait_until(lambda: page_text() == "ページ 1 / 3")
    demo.wine.screenshot(shots / "framework_preview.png")
    nxt = next(c for c in demo.wine.children(preview.hwnd) if c.id == 2)
    demo.wine.send(nxt.hwnd, BM_CLICK)
    demo.wine.send(nxt.hwnd, BM_CLICK)
    wait_until(lambda: page_text() == "ページ 3 / 3")
    assert not next(c for c in demo.wine.children(preview.hwnd) if c.id == 2).enabled
    zoom = next(c for c in demo.wine.children(preview.hwnd) if c.id == 4)
    demo.wine.send(zoom.hwnd, BM_CLICK)
    demo.wine.screenshot(shots / "framework_preview_zoom.png")
    close = next(c for c in demo.wine.children(preview.hwnd) if c.id == 5)
    demo.wine.post(close.hwnd, BM_CLICK)
    wait_until(lambda: not demo.wine.find_windows("FwPrintPreview"))
    wait_until(lambda: demo.wine.find_windows("FwFrame128")[0].enabled)
    demo.command(ID_COUNT_UP)
    wait_until(lambda: demo.state()["count"] == "1")


def test_bar_dragged_by_its_gripper_docks_on_the_left_and_stays_there(programs, clean_registry, shots):
    wine = programs
    demo = Demo(wine)
    bar = demo.child("FwControlBar", ID_VIEW_SECONDBAR)
    view = demo.child("FwView", 0xE900)
    grip = (bar.rect[0] + 4, (bar.rect[1] + bar.rect[3]) // 2)
    drop = (view.rect[0] + 3, (view.rect[1] + view.rect[3]) // 2)
    wine.wtool("drag", *grip, *drop)
    wait_until(lambda: demo.child("FwControlBar", ID_VIEW_SECONDBAR).height >
                       demo.child("FwControlBar", ID_VIEW_SECONDBAR).width)
    moved = demo.child("FwControlBar", ID_VIEW_SECONDBAR)
    view = demo.child("FwView", 0xE900)
    assert moved.rect[2] <= view.rect[0]  # the view gave way on the left
    wine.screenshot(shots / "framework_left_bar.png")
    demo.close()

    demo = Demo(wine)
    again = demo.child("FwControlBar", ID_VIEW_SECONDBAR)
    assert again.height > again.width and again.rect[2] <= demo.child("FwView", 0xE900).rect[0]
    demo.close()

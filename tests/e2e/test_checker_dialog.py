"""The checker's progress dialog under Wine: opened by LVK_CMD_OPEN_DIALOG or
at a stand-alone start, it shows the phase and the progress, ignores Enter,
Esc and close requests, and its Cancel button cancels the run."""
import os
import time

import pytest

from harness.checker_run import (CANCELLED, DOWNLOADED, CheckerRun, children, find_windows, info_line,
                                 make_package, post, send, wtool)
from harness.http import Answer
from harness.pixels import capture
from harness.wine import wait_until

WM_CLOSE, WM_KEYDOWN, WM_SYSCOMMAND = 0x0010, 0x0100, 0x0112
SC_CLOSE, VK_RETURN, VK_ESCAPE = 0xF060, 0x0D, 0x1B
PBM_GETRANGE, PBM_GETPOS = 0x0407, 0x0408
CHECKING = "最新のアップデートをチェック中です"
DOWNLOADING = "アップデートデータをダウンロード中です"


@pytest.fixture
def run(programs, tmp_path):
    return CheckerRun(programs, tmp_path)


def progress_dialog(wine, timeout=30):
    def find():
        return [w for w in find_windows(wine, "#32770") if w.text == "自動アップデート" and w.visible]
    return wait_until(find, timeout=timeout)[0]


def controls(wine, dlg):
    return {c.id: c for c in children(wine, dlg.hwnd)}


def phase_text(wine, dlg):
    return controls(wine, dlg)[1003].text


def bar_fill(wine, bar, path):
    """Pixels along the middle of the bar that differ from its empty right end."""
    image = capture(wine.env["DISPLAY"], bar.rect, path)
    y, empty = image.height // 2, image.pixel(image.width - 4, image.height // 2)
    return sum(1 for x in range(2, image.width - 4) if image.pixel(x, y) != empty)


def test_dialog_shows_download_progress_ignores_keys_and_cancels(run, http_server, shots):
    wine = run.wine
    # 40 s of download: the Cancel button ends it long before, even on a busy machine.
    package = make_package({"setupeasy.bat": b"@echo x\r\n", "payload.bin": os.urandom(400000)})
    http_server.route("/pkg.upd", Answer(body=package, chunk=1024, delay=0.1))
    http_server.route("/info.dat", Answer(body=info_line(http_server.url("/pkg.upd"))))
    run.start(http_server.url("/info.dat"), onask="dialog", owner=1)

    dlg = progress_dialog(wine)
    wait_until(lambda: phase_text(wine, dlg) == DOWNLOADING, timeout=20)
    c = controls(wine, dlg)
    assert c[1001].text == "キャンセル" and c[1001].visible
    assert not c[1004].visible and not c[1005].visible and not c[1006].visible
    assert c[1002].rect[1] >= dlg.rect[3] - 5  # the focus dummy lies below the visible area
    assert send(wine, c[1000].hwnd, PBM_GETRANGE, 0, 0) == len(package)
    pos = wait_until(lambda: send(wine, c[1000].hwnd, PBM_GETPOS) or None, timeout=20)
    assert 0 < pos < len(package)
    wine.screenshot(shots / "checker_progress_download.png")
    filled = bar_fill(wine, c[1000], shots / "checker_progress_bar_1.ppm")

    # Enter, Esc, WM_CLOSE and Alt+F4's system command leave it open.
    post(wine, c[1002].hwnd, WM_KEYDOWN, VK_RETURN, 0)
    post(wine, dlg.hwnd, WM_KEYDOWN, VK_ESCAPE, 0)
    post(wine, dlg.hwnd, WM_CLOSE)
    post(wine, dlg.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0)
    time.sleep(1.0)
    assert any(w.hwnd == dlg.hwnd for w in find_windows(wine, "#32770"))
    assert CANCELLED not in run.codes()
    later = send(wine, c[1000].hwnd, PBM_GETPOS)
    assert later > pos  # the download went on meanwhile
    # ... and the bar on the screen grew with it, block by block.
    assert bar_fill(wine, c[1000], shots / "checker_progress_bar_2.ppm") > filled

    wtool(wine, "command", hex(dlg.hwnd), 1001)
    assert run.host_exit(timeout=60) == 0
    codes = run.codes()
    assert CANCELLED in codes and DOWNLOADED not in codes
    assert "GetMessage 6568 2700 0" in run.trace()
    assert not any(w.hwnd == dlg.hwnd for w in find_windows(wine, "#32770"))
    assert run.checker_exit() == 0
    assert run.leftovers() == []


def test_stand_alone_start_shows_checking_text(run, http_server, shots):
    wine = run.wine
    # No Content-Length and a pause before the connection closes: the
    # information fetch takes a few seconds.
    http_server.route("/info.dat", Answer(body=info_line(http_server.url("/missing.upd")), content_length=False,
                                          delay=12))
    run.start(http_server.url("/info.dat"), standalone=1)
    dlg = progress_dialog(wine)
    assert phase_text(wine, dlg) == CHECKING
    wine.screenshot(shots / "checker_progress_checking.png")
    assert run.host_exit(timeout=60) == 0
    assert run.checker_exit() == 0
    assert not any(w.hwnd == dlg.hwnd for w in find_windows(wine, "#32770"))

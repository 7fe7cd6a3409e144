"""Glimra.exe's update check under Wine: Lanvik.dll starts Mervik.exe, which
the alias file in the viewer's working folder sends to a loopback server."""
import os
import time

import pytest

from harness.checker_run import info_line, make_package
from harness.glimra import QUERY_UPDATE_STATE, Glimra
from harness.http import Answer
from harness.wine import wait_until

APP_KEY = r"HKCU\Software\VANTO\Glimra"
ID_UPDATE_CHECK = 32793
IDOK, IDYES, IDNO = 1, 6, 7

NO_UPDATE_TEXT = "最新のアップデートはありません."
# wtool lists one line of a window's text: the question's first line.
QUESTION_FIRST_LINE = "新しいアップデートがあります."
DOWNLOAD_FAILED_TEXT = "アップデートのダウンロードに失敗しました."
EXIT_QUESTION_START = "一時インストールしたフォントを解除しますか"


def today():
    t = time.localtime()
    return f"{t.tm_year:04d}{t.tm_mon:02d}{t.tm_mday:02d}"


class Viewer(Glimra):
    """Glimra.exe started in a working folder whose alias file points the
    checker at the test server's information file."""

    def __init__(self, wine, folder, info_url):
        folder.mkdir(parents=True, exist_ok=True)
        (folder / "Mervik.alias").write_text(f"# test server\nURL * {info_url}\n")
        self.folder = folder
        super().__init__(wine, cwd=folder)

    def state(self):
        return self.query(QUERY_UPDATE_STATE)

    def menu_check(self):
        self.wine.post(self.frame.hwnd, 0x0111, ID_UPDATE_CHECK)  # WM_COMMAND

    def boxes(self):
        """Visible message boxes of the viewer: [(window, text)]."""
        out = []
        for w in self.wine.find_windows("#32770", "Glimra"):
            if w.visible and w.text == "Glimra":
                texts = [c.text for c in self.wine.children(w.hwnd) if c.cls == "Static" and c.text]
                out.append((w, "\n".join(texts)))
        return out

    def wait_box(self, timeout=60):
        return wait_until(lambda: self.boxes() or None, timeout=timeout)[0]

    def answer(self, box, button):
        self.wine.command(box.hwnd, button)
        wait_until(lambda: all(w.hwnd != box.hwnd for w, _ in self.boxes()), timeout=15)

    def wait_idle(self, timeout=60):
        wait_until(lambda: self.state() == 0, timeout=timeout, interval=0.3)


def serve_update(http_server, package, **answer):
    http_server.route("/pkg.upd", Answer(body=package, **answer))
    http_server.route("/info.dat", Answer(body=info_line(http_server.url("/pkg.upd"))))
    return http_server.url("/info.dat")


@pytest.fixture
def fresh(programs, clean_registry):
    return programs


def test_menu_check_without_update_tells_once_and_enables_the_command_again(fresh, http_server, tmp_path):
    wine = fresh
    # No applicable line for 02001.
    http_server.route("/info.dat", Answer(body=info_line("http://127.0.0.1:1/x.upd", "03000", "03999")))
    wine.reg_set(APP_KEY + r"\Settings", "AutoUpdate", 0)
    v = Viewer(wine, tmp_path / "cwd", http_server.url("/info.dat"))
    time.sleep(1)
    assert v.state() == 0 and not http_server.requests  # switch off: no automatic check
    assert wine.reg_get(APP_KEY + r"\AutoUpdate", "LastConnectDate") is None

    v.menu_check()
    box, text = v.wait_box()
    assert text == NO_UPDATE_TEXT
    assert v.state() != 0  # still waiting for the end of the run
    v.answer(box, IDOK)
    v.wait_idle()
    time.sleep(1.5)
    assert v.boxes() == []
    assert [p for p, _ in http_server.requests] == ["/info.dat"]
    # The alias step logged the replacement in the viewer's working folder.
    assert "URL http://update.vanto.example/update/glimra2/AutoUpdate.dat -> " in \
        (v.folder / "Mervik.log").read_text()

    # Enabled again: a second check runs and tells the same once more.
    v.menu_check()
    box, text = v.wait_box()
    assert text == NO_UPDATE_TEXT
    v.answer(box, IDOK)
    v.wait_idle()
    assert len(http_server.requests) == 2


def test_automatic_check_against_failing_server_is_silent_and_runs_once_a_day(fresh, http_server, tmp_path):
    wine = fresh
    v = Viewer(wine, tmp_path / "cwd", http_server.url("/missing.dat"))
    wait_until(lambda: http_server.requests, timeout=60)
    v.wait_idle()
    time.sleep(1.5)
    assert v.boxes() == []
    assert wine.reg_get(APP_KEY + r"\AutoUpdate", "LastConnectDate") == today()

    wine.close(v.frame.hwnd)
    assert wine.wait_exit(v.proc, timeout=30) == 0
    v2 = Viewer(wine, tmp_path / "cwd", http_server.url("/missing.dat"))
    time.sleep(3)
    assert v2.state() == 0
    assert len(http_server.requests) == 1


def test_full_road_yes_downloads_ends_viewer_installs_and_restarts(fresh, http_server, tmp_path, shots):
    wine = fresh
    marker = tmp_path / "installer.txt"
    out = wine.winpath(marker)
    bat = f'@echo installer %*>> "{out}"\r\n@if exist "%~dp0payload.bin" echo payload found>> "{out}"\r\n'.encode()
    package = make_package({"setupeasy.bat": bat, "payload.bin": os.urandom(120000)})
    # Slow enough for the progress dialog to be seen.
    url = serve_update(http_server, package, chunk=2048, delay=0.05)
    v = Viewer(wine, tmp_path / "cwd", url)

    box, text = v.wait_box()
    assert text == QUESTION_FIRST_LINE
    wine.screenshot(shots / "update_question.png")
    v.answer(box, IDYES)

    def progress():
        return [w for w in wine.find_windows("#32770", "自動アップデート") if w.visible]
    wait_until(progress, timeout=30)
    time.sleep(1)
    wine.screenshot(shots / "update_progress.png")

    # LVK_READY ends the viewer at once: no exit question, exit code 0.
    assert wine.wait_exit(v.proc, timeout=120) == 0
    ended = time.time()
    assert not [w for w, t in v.boxes() if t.startswith(EXIT_QUESTION_START)]
    lines = wait_until(lambda: marker.exists() and marker.read_text().splitlines(), timeout=60)
    assert lines[0].startswith("installer ") and lines[1] == "payload found"
    assert marker.stat().st_mtime >= ended - 1
    # The checker starts the viewer again; with today's check recorded it stays quiet.
    again = wine.wait_window("FwFrame128", "Glimra", timeout=60)
    assert wine.reg_get(APP_KEY + r"\AutoUpdate", "LastConnectDate") == today()
    time.sleep(2)
    assert v.boxes() == []
    wine.close(again.hwnd)
    wait_until(lambda: not wine.find_windows("FwFrame128", "Glimra"), timeout=30)


def test_no_cancels_the_run_and_shows_nothing_more(fresh, http_server, tmp_path):
    wine = fresh
    url = serve_update(http_server, make_package({"setupeasy.bat": b"@echo x\r\n"}))
    wine.reg_set(APP_KEY + r"\Settings", "AutoUpdate", 0)
    v = Viewer(wine, tmp_path / "cwd", url)
    v.menu_check()
    box, text = v.wait_box()
    assert text == QUESTION_FIRST_LINE
    v.answer(box, IDNO)
    # Without the cancel the checker would wait for an answer for ever.
    v.wait_idle(timeout=30)
    time.sleep(1.5)
    assert v.boxes() == []
    assert [p for p, _ in http_server.requests] == ["/info.dat"]
    assert v.proc.poll() is None


def test_download_failure_after_yes_is_told_exactly_once(fresh, http_server, tmp_path):
    wine = fresh
    package = make_package({"setupeasy.bat": b"@echo x\r\n", "payload.bin": os.urandom(20000)})
    url = serve_update(http_server, package, cut_after=5000)
    wine.reg_set(APP_KEY + r"\Settings", "AutoUpdate", 0)
    v = Viewer(wine, tmp_path / "cwd", url)
    v.menu_check()
    box, _ = v.wait_box()
    v.answer(box, IDYES)
    box, text = v.wait_box()
    assert text == DOWNLOAD_FAILED_TEXT
    v.answer(box, IDOK)
    v.wait_idle()
    time.sleep(1.5)
    assert v.boxes() == []
    assert v.proc.poll() is None

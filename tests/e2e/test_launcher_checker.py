"""Lanvik.dll with the real checker Mervik.exe beside the test host, against a
loopback HTTP server: the reports of a whole run reach the host in order."""
import shutil

import pytest

from harness.http import Answer
from test_launcher_relay import Host

STARTED, INFO_FAILED, NO_UPDATE, ASK, CANCELLED, FINISHED = 1000, 1290, 1320, 1340, 1700, 9000
SIZE, PROGRESS, DOWNLOADED, UPDATE_FAILED = 1440, 1442, 1480, 1490
INFO = "/update/glimra2/AutoUpdate.dat"


@pytest.fixture
def host_folder(tmp_path, wine):
    d = tmp_path / "host"
    d.mkdir()
    shutil.copy(wine.bin / "Lanvik.dll", d)
    shutil.copy(wine.bin / "Mervik.exe", d)
    shutil.copy(wine.build / "tests" / "launcher" / "LanvikHost.exe", d)
    return d


def run_check(wine, folder, url, *args):
    host = Host(wine, folder, "--mode", "both", "--address", url, "--do", "start", *args)
    lines = host.finish(timeout=60)
    assert "start 1" in lines
    assert host.reports("callback") == host.reports("window")
    return [code for code, _ in host.reports("window")]


def test_no_applicable_update(programs, host_folder, http_server):
    # Only versions up to 02000 get a package; the host is 02001.
    http_server.route(INFO, Answer(body=b"# Glimra\r\nR 00000 02000 http://127.0.0.1:9/p.upd\r\n"))
    assert run_check(programs, host_folder, http_server.url(INFO)) == [STARTED, NO_UPDATE, FINISHED]
    assert [path for path, _ in http_server.requests] == [INFO]


def test_information_file_missing(programs, host_folder, http_server):
    assert run_check(programs, host_folder, http_server.url(INFO)) == [
        STARTED, INFO_FAILED, FINISHED]


def test_update_declined_with_cancel(programs, host_folder, http_server):
    http_server.route(INFO, Answer(body=b"R 00000 99999 http://127.0.0.1:9/p.upd\r\n"))
    codes = run_check(programs, host_folder, http_server.url(INFO), "--on", f"{ASK}=cancel")
    assert codes == [STARTED, ASK, CANCELLED, FINISHED]
    # The package was never asked for.
    assert [path for path, _ in http_server.requests] == [INFO]


def test_accepted_update_downloads_under_the_progress_dialog(programs, host_folder, http_server,
                                                             shots):
    # The package is no real one: it downloads, then fails to unpack.
    http_server.route(INFO, Answer(body=b"R 00000 99999 " + http_server.url("/p.upd").encode()))
    http_server.route("/p.upd", Answer(body=b"x" * 30000, chunk=1024, delay=0.05))
    host = Host(programs, host_folder, "--mode", "window", "--address", http_server.url(INFO),
                "--do", "start", "--on", f"{ASK}=open+continue")
    host.expect(f"report {PROGRESS}")
    # The open answer reached the checker: its dialog shows while the download runs.
    dialogs = [w for w in programs.find_windows("#32770") if w.visible]
    programs.screenshot(shots / "launcher_progress.png")
    lines = host.finish(timeout=60)
    assert dialogs
    assert "answer open 1" in lines and "answer continue 1" in lines
    reports = host.reports()
    codes = [code for code, _ in reports]
    assert codes[:3] == [STARTED, ASK, SIZE] and reports[2] == (SIZE, 30000)
    assert codes[-3:] == [DOWNLOADED, UPDATE_FAILED, FINISHED]
    progress = [param for code, param in reports if code == PROGRESS]
    assert progress == sorted(progress) and progress[-1] == 30000

"""Lanvik.dll with the real checker Mervik.exe beside the test host, against a
loopback HTTP server: the reports of a whole run reach the host in order."""
import shutil

import pytest

from harness.http import Answer
from test_launcher_relay import Host

STARTED, INFO_FAILED, NO_UPDATE, ASK, CANCELLED, FINISHED = 1000, 1290, 1320, 1340, 1700, 9000
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

"""Mervik.exe end to end: update runs against a loopback HTTP server, driven
through the CheckerHost test host, which owns the relay thread."""
import os
import re
import time

import pytest

from harness.checker_run import (ASK_UPDATE, CANCELLED, DOWNLOAD_PROGRESS, DOWNLOAD_SIZE, DOWNLOADED,
                                 INFO_FAILED, NO_UPDATE, READY, STARTED, UPDATE_FAILED, CheckerRun,
                                 info_line, make_package)
from harness.http import Answer
from harness.wine import wait_until


@pytest.fixture
def run(programs, tmp_path):
    return CheckerRun(programs, tmp_path)


def installer_bat(run):
    """A setupeasy.bat that records its arguments and what it found beside it."""
    out = run.wine.winpath(run.root / "installer.txt")
    return (f'@echo installer %*>> "{out}"\r\n'
            f'@if exist "%~dp0payload.bin" echo payload found>> "{out}"\r\n').encode()


def serve(http_server, package, content_length=True, **answer):
    http_server.route("/pkg.upd", Answer(body=package, content_length=content_length, **answer))
    http_server.route("/info.dat", Answer(body=info_line(http_server.url("/pkg.upd"))))
    return http_server.url("/info.dat")


def sends(trace, code):
    return [int(a) for a in re.findall(rf"^SendLvkMessage {code} (\d+)$", trace, re.M)]


def test_stand_alone_run_downloads_unpacks_installs_and_restarts_host(run, http_server):
    payload = os.urandom(6000)
    package = make_package({"setupeasy.bat": installer_bat(run), "payload.bin": payload})
    url = serve(http_server, package)
    run.start(url, standalone=1)
    assert run.host_exit() == 0
    assert run.checker_exit() == 0
    assert run.codes() == []  # stand-alone: nobody to tell

    trace = run.trace()
    assert sends(trace, DOWNLOAD_SIZE) == [len(package)]
    progress = sends(trace, DOWNLOAD_PROGRESS)
    assert progress == sorted(progress) and progress[-1] == len(package) and len(progress) >= len(package) // 1024
    assert "GetMessage 6568 2220 0" in trace  # it answered its own question
    order = [trace.index(s) for s in ("SendLvkMessage 1480 0", "SendLvkMessage 1800 0", "Parent process ended.",
                                      "setupeasy.bat", "End process 0")]
    assert order == sorted(order)

    installed = (run.root / "installer.txt").read_text().splitlines()
    assert installed[0].startswith("installer ")
    assert f'"{run.wine.winpath(run.host_folder)}\\"' in installed[0]
    assert installed[1] == "payload found"
    # The host program is started again, without arguments, after the installer;
    # its path is quoted, blanks or not.
    restarted = wait_until(run.marker_lines, timeout=20)
    assert len(restarted) == 1 and restarted[0].split(" ", 1)[1].endswith('Marker.exe"')
    assert run.leftovers() == []


def test_package_from_our_builder_installs(run, http_server):
    source = run.root / "release"
    (source / "data").mkdir(parents=True)
    (source / "setupeasy.bat").write_bytes(installer_bat(run))
    (source / "payload.bin").write_bytes(os.urandom(3000))
    (source / "data" / "fonts.txt").write_text("x")
    package = run.root / "glimra.upd"
    built = run.wine.run(run.wine.bin / "Mervpack.exe", run.wine.winpath(source), run.wine.winpath(package))
    assert built.returncode == 0, built.stderr
    url = serve(http_server, package.read_bytes())
    run.start(url, standalone=1)
    assert run.host_exit() == 0
    assert run.checker_exit() == 0
    assert (run.root / "installer.txt").read_text().splitlines()[1] == "payload found"
    assert run.leftovers() == []


def test_no_applicable_line_reports_no_update(run, http_server):
    http_server.route("/info.dat", Answer(body=info_line("http://127.0.0.1:1/x.upd", "03000", "03999")))
    run.start(http_server.url("/info.dat"))
    assert run.host_exit() == 0
    assert run.codes() == [STARTED, NO_UPDATE]
    assert run.checker_exit() == 0
    assert "info R 03000 03999 http://127.0.0.1:1/x.upd" in run.trace()
    assert run.leftovers() == []


def test_missing_information_file_reports_info_failed_without_error_trace(run, http_server):
    run.start(http_server.url("/missing.dat"))
    assert run.host_exit() == 0
    assert run.codes() == [STARTED, INFO_FAILED]
    assert run.checker_exit() == 0
    assert "Error:" not in run.trace()
    assert run.leftovers() == []


def test_server_without_content_length_gives_no_size_or_progress(run, http_server):
    package = make_package({"setupeasy.bat": installer_bat(run), "payload.bin": os.urandom(3000)})
    run.start(serve(http_server, package, content_length=False))
    assert run.wait_end() == 0
    assert run.codes() == [STARTED, ASK_UPDATE, DOWNLOADED, READY]
    trace = run.trace()
    assert trace.count("Download file size") == 1  # the information file's only
    assert "SendLvkMessage 1440" not in trace and "SendLvkMessage 1442" not in trace
    assert (run.root / "installer.txt").exists()


def test_cut_body_fails_the_update_and_removes_the_package(run, http_server):
    package = make_package({"setupeasy.bat": installer_bat(run), "payload.bin": os.urandom(8000)})
    run.start(serve(http_server, package, cut_after=3000))
    assert run.host_exit() == 0
    codes = run.codes()
    assert codes[:3] == [STARTED, ASK_UPDATE, DOWNLOAD_SIZE] and codes[-1] == UPDATE_FAILED
    assert DOWNLOADED not in codes
    assert run.checker_exit() == 0
    assert run.leftovers() == []


def test_cancel_during_slow_download_stops_at_once(run, http_server):
    package = make_package({"setupeasy.bat": b"@echo x\r\n", "payload.bin": os.urandom(40000)})
    run.start(serve(http_server, package, chunk=1024, delay=0.05), cancelat=4096)
    assert run.host_exit(timeout=60) == 0
    notes = run.notifications()
    codes = run.codes()
    assert CANCELLED in codes and DOWNLOADED not in codes and READY not in codes
    cancel_at = next(n[2] for n in notes if n[0] == "cancel")
    cancelled_at = next(n[2] for n in notes if n[0] == CANCELLED)
    assert cancelled_at - cancel_at < 1000  # answered at once, not after the download
    # No progress after the cancel was answered.
    assert codes[codes.index(CANCELLED) + 1:] == []
    trace = run.trace()
    assert "Connect Canceled" in trace
    assert "Done total size" not in trace.split("MtxCancel", 1)[1]
    assert run.checker_exit() == 0
    assert run.leftovers() == []


def test_host_ending_while_asking_ends_run_without_notification(run, http_server):
    package = make_package({"setupeasy.bat": b"@echo x\r\n"})
    run.start(serve(http_server, package), onask="exit")
    assert run.host_exit() == 3
    assert run.wait_end() == 0
    trace = run.trace()
    after = trace.split("Parent process ended.", 1)[1]
    assert "SendLvkMessage" not in after
    assert "MtxEndParent\nMtxExit\n" in after
    assert run.codes() == [STARTED, ASK_UPDATE]
    assert not any(p.endswith("/pkg.upd") for p, _ in http_server.requests)
    assert run.leftovers() == []


def test_host_ending_while_checking_waits_for_the_worker_then_ends_quietly(run, http_server):
    # The information file arrives slowly: no Content-Length, the connection
    # stays open for a while after the body.
    http_server.route("/info.dat", Answer(body=info_line("http://127.0.0.1:1/x.upd"), content_length=False,
                                          delay=3))
    run.start(http_server.url("/info.dat"), exiton=STARTED)
    assert run.host_exit() == 5
    assert run.wait_end() == 0
    trace = run.trace()
    after = trace.split("Parent process ended.", 1)[1]
    # The worker's completion, whether or not its transfer saw the cancel in time, ends the run.
    assert "MtxEndParent\n" in after and re.search(r"MtxCompDownloadInfo -?1\nMtxExit\n", after)
    assert "SendLvkMessage" not in after
    assert run.leftovers() == []


def test_replacement_program_runs_on_its_own_and_keeps_unpack_folder(run, http_server):
    marker_exe = (run.wine.bin / "Marker.exe").read_bytes()
    package = make_package({"Mervnext.exe": marker_exe, "setup.exe": marker_exe, "data/new.dll": b"x" * 100})
    run.start(serve(http_server, package), marker_sleep=3000)
    assert run.wait_end() == 0
    trace = run.trace()
    lines = wait_until(run.marker_lines, timeout=20)
    # Started with our command line, and still running when the checker ended.
    assert len(lines) == 1 and "Mervnext.exe\"" in lines[0], lines
    assert re.search(r'Mervnext\.exe" \d+ "Z:.*\\LVK\w+\\" "Z:.*\\host\\" "Z:.*Marker\.exe"$', lines[0])
    assert "setup.exe" not in trace
    kept = run.leftovers()
    assert len(kept) == 1 and (run.temp / kept[0]).is_dir()
    assert (run.temp / kept[0] / "data" / "new.dll").exists()
    wait_until(lambda: len(run.marker_lines()) == 2, timeout=15)


def test_package_without_installer_fails_with_exit_code_one(run, http_server):
    package = make_package({"readme.txt": b"nothing to run", "data.bin": os.urandom(40000)}, folders=["setup.exe"])
    run.start(serve(http_server, package))
    assert run.wait_end() == 1
    codes = run.codes()
    assert codes[:3] == [STARTED, ASK_UPDATE, DOWNLOAD_SIZE] and codes[-2:] == [DOWNLOADED, READY]
    # Every block reaches the host, in order, once, and each is traced.
    progress = [n[1] for n in run.notifications() if n[0] == DOWNLOAD_PROGRESS]
    assert codes[3:-2] == [DOWNLOAD_PROGRESS] * len(progress)
    assert progress == sends(run.trace(), DOWNLOAD_PROGRESS)
    steps = [b - a for a, b in zip([0] + progress, progress)]
    assert all(0 < s <= 1024 for s in steps) and progress[-1] == len(package)
    assert "ExecProgram" not in run.trace()
    assert run.leftovers() == []


def test_wrong_field_count_ends_with_one_and_creates_nothing(run):
    run.start(raw="http://127.0.0.1:1/i.dat 02001 0 0 Z:\\x\\")
    assert run.host_exit() == 0
    assert run.checker_exit() == 1
    assert run.trace().count("\n") == 1 and run.trace().startswith("Start GetCommandLine=")
    assert run.leftovers() == []


def test_host_that_cannot_be_opened_ends_the_run(run):
    run.start("http://127.0.0.1:1/i.dat", pid=4000000)
    assert run.host_exit() == 0
    assert run.checker_exit() == 1
    assert "Host process 4000000 cannot be opened." in run.trace()
    assert run.codes() == []
    assert run.leftovers() == []


def test_alias_file_replaces_url_and_version_and_logs_it(run, http_server):
    http_server.route("/real.dat", Answer(body=info_line("http://127.0.0.1:1/x.upd", "07000", "07000")))
    real = http_server.url("/real.dat")
    (run.cwd / "Mervik.alias").write_bytes(
        b"# redirect the test run\r\n"
        b"VER 99999 11111\r\n"
        b"URL * " + real.encode() + b"\r\n"
        b"URL * http://127.0.0.1:1/second.dat\r\n"
        b"  ver 00001 07000  \r\n")
    run.start("http://127.0.0.1:1/never.dat", ver="00001")
    assert run.host_exit() == 0
    # The line for 07000 applies; its package server does not answer.
    assert run.codes() == [STARTED, ASK_UPDATE, UPDATE_FAILED]
    trace = run.trace()
    assert "Begin AutoUpdate http://127.0.0.1:1/never.dat 00001" in trace
    assert f"Connecting {real}" in trace and "Update Check MyVer=07000" in trace
    log = (run.cwd / "Mervik.log").read_bytes()
    assert re.fullmatch(rb"\d{4}/\d\d/\d\d \d\d:\d\d:\d\d\r\n"
                        rb"URL http://127.0.0.1:1/never.dat -> " + re.escape(real.encode()) + rb"\r\n"
                        rb"VER 00001 -> 07000\r\n", log), log


def test_no_alias_file_leaves_no_log(run, http_server):
    (run.cwd / "Mervik.log").write_text("from an earlier run\n")
    run.start(http_server.url("/missing.dat"))
    assert run.host_exit() == 0
    assert not (run.cwd / "Mervik.log").exists()

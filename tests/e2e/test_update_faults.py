"""The update road under faults: the real Mervik.exe (with the CheckerHost
test host, with Lanvik.dll and its test host, and with Glimra itself) against
the loopback server with faults switched per request. For every fault and
phase one row says what the host must see; each row checks that the checker
ends within BOUND of the fault (or of the cancel, or of the host's end), that
no host call blocked, and that nothing of the run is left in the temporary
folder. The measured times are written to fault_bounds.txt in the build tree."""
import io
import os
import re
import shutil
import signal
import struct
import time
import zipfile
import zlib
from dataclasses import dataclass, field
from pathlib import Path
from typing import Callable

import pytest

from harness.checker_run import (ASK_UPDATE, CANCELLED, DOWNLOAD_PROGRESS, DOWNLOAD_SIZE, DOWNLOADED,
                                 INFO_FAILED, NO_UPDATE, READY, STARTED, UPDATE_FAILED, CheckerRun,
                                 info_line, make_package, package_of)
from harness.http import Answer
from harness.wine import wait_until
from test_launcher_relay import Host

FINISHED = 9000
# The checker's transfers give up after 10 s without progress; a cancel or
# the host's end stops a blocked transfer at once where the system allows it,
# within those 10 s in every case. The rest is Wine starting and ending
# processes on a busy machine.
BOUND = 18.0
SLOW = dict(chunk=1024, delay=0.05)  # 20 KiB/s: a download still running seconds later


# -- packages -----------------------------------------------------------------
def high_ratio_package():
    """About 1 MiB of package whose one entry inflates to 1 GiB of zeros. The
    deflate stream repeats one fully flushed block of 1 MiB of zeros, so it
    costs no 1 GiB of compression here."""
    c = zlib.compressobj(9, zlib.DEFLATED, -15)
    piece = c.compress(bytes(1 << 20)) + c.flush(zlib.Z_FULL_FLUSH)
    data = piece * 1024 + b"\x03\x00"  # an empty final block
    crc = 0
    zero = bytes(1 << 24)
    for _ in range(64):
        crc = zlib.crc32(zero, crc)
    name, size = b"payload.bin", 1 << 30
    local = struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, 0, 8, 0, 0x21, crc, len(data), size, len(name), 0) + name
    central = struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, 0, 8, 0, 0x21, crc, len(data), size,
                          len(name), 0, 0, 0, 0, 0, 0) + name
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, 1, 1, len(central), len(local) + len(data), 0)
    return package_of(local + data + central + end)


def stored_package(name, data):
    """A package whose archive stores data as it is: big, and quick to make."""
    buf = io.BytesIO()
    with zipfile.ZipFile(buf, "w", zipfile.ZIP_STORED) as z:
        z.writestr(name, data)
    return package_of(buf.getvalue())


def marker_bat(path):
    return f'@echo ran %*>> "{path}"\r\n'.encode()


# -- processes and folders of the prefix ------------------------------------------
def mervik_processes(wine):
    """Unix pids of the Mervik.exe processes of this build's Wine prefix."""
    prefix = f"WINEPREFIX={wine.env['WINEPREFIX']}".encode()
    pids = []
    for d in Path("/proc").iterdir():
        if not d.name.isdigit():
            continue
        try:
            # Wine names the process after its program (comm) and shows the
            # Windows command line as its own.
            if (d / "comm").read_text().strip() != "Mervik.exe" and b"Mervik.exe" not in (d / "cmdline").read_bytes():
                continue
            if prefix not in (d / "environ").read_bytes().split(b"\0"):
                continue
            if "\nState:\tZ" in (d / "status").read_text():
                continue
        except OSError:
            continue
        pids.append(int(d.name))
    return pids


def prefix_temp_entries(wine):
    """LVK* and UPD* names in the prefix's temporary folders (Glimra and the
    launcher's test host use the prefix's own %TEMP%)."""
    names = set()
    for temp in prefix_temps(wine):
        names |= {p.name for p in temp.iterdir() if p.name.upper().startswith(("LVK", "UPD"))}
    return names


def prefix_temps(wine):
    users = Path(wine.env["WINEPREFIX"]) / "drive_c" / "users"
    return list(users.glob("*/AppData/Local/Temp")) + list(users.glob("*/Temp"))


def remove_from_prefix_temp(wine, names):
    for temp in prefix_temps(wine):
        for name in names:
            path = temp / name
            if path.is_dir():
                shutil.rmtree(path)
            elif path.exists():
                path.unlink()


def wait_checker_gone(wine, timeout):
    wait_until(lambda: not mervik_processes(wine), timeout=timeout, interval=0.05)
    return time.monotonic()


# -- the table ------------------------------------------------------------------------
@dataclass
class Row:
    name: str
    host: str                      # "checker" (CheckerHost), "lanvik" (LanvikHost), "glimra"
    info: object = None            # Answer(s) for /info.dat; None: an update line for /pkg.upd
    package: object = None         # Answer(s) for /pkg.upd
    options: dict = field(default_factory=dict)   # CheckerHost options
    args: list = field(default_factory=list)      # LanvikHost arguments
    codes: list = None             # the notifications, in order (progress collapsed)
    trigger: str = "start"         # start, stall_headers, stall_body, reset, cancel, host-exit, kill-host,
                                   # kill-checker
    trace: str | None = None       # a trace line the run must write
    act: Callable | None = None    # the row's own steps and checks (folders, markers)
    at_least: float = 0.0          # the bound must not be met too early (a timeout is at work)


def _garbage(n):
    return bytes((i * 7 + 3) & 0xFF for i in range(n))


ROWS = [
    Row("information fetch: 404", "checker", info=Answer(status=404), codes=[STARTED, INFO_FAILED]),
    Row("information fetch: stall before headers, the host cancels", "checker",
        info=Answer(stall_headers=True), options={"cancelafter": 1500}, codes=[STARTED, CANCELLED],
        trigger="cancel"),
    Row("asking: the host ends", "checker", package=Answer(body=b"never asked for"), options={"onask": "exit"},
        codes=[STARTED, ASK_UPDATE], trigger="host-exit"),
    Row("download: 500", "checker", package=Answer(status=500, body=b"boom"),
        codes=[STARTED, ASK_UPDATE, UPDATE_FAILED]),
    Row("download: body cut short", "checker", package=Answer(body=_garbage(30000), cut_after=12000),
        codes=[STARTED, ASK_UPDATE, DOWNLOAD_SIZE, DOWNLOAD_PROGRESS, UPDATE_FAILED]),
    # The pauses let the checker read what came before the reset: Wine drops
    # received data that the program has not read yet once a reset arrives.
    Row("download: connection reset", "checker",
        package=Answer(body=_garbage(30000), reset_at=12000, chunk=4000, delay=0.3),
        codes=[STARTED, ASK_UPDATE, DOWNLOAD_SIZE, DOWNLOAD_PROGRESS, UPDATE_FAILED]),
    Row("download: stall mid-body, no cancel", "checker", package=Answer(body=_garbage(30000), stall_at=5000),
        codes=[STARTED, ASK_UPDATE, DOWNLOAD_SIZE, DOWNLOAD_PROGRESS, UPDATE_FAILED], trigger="stall_body",
        at_least=8.0),
    Row("download: stall mid-body, then the host cancels", "checker", package=Answer(body=_garbage(30000), stall_at=5000),
        options={"cancelat": 4096}, codes=[STARTED, ASK_UPDATE, DOWNLOAD_SIZE, DOWNLOAD_PROGRESS, CANCELLED],
        trigger="cancel"),
    Row("download: drip, then the unpack fails and says why", "checker",
        package=Answer(body=_garbage(3000), content_length=False, chunk=64, delay=0.02),
        codes=[STARTED, ASK_UPDATE, DOWNLOADED, UPDATE_FAILED], trace="Unpack error:not a package (mark)"),
    Row("download: the host ends at the first progress report", "checker", package=Answer(body=_garbage(200000), **SLOW),
        options={"exiton": DOWNLOAD_PROGRESS}, codes=[STARTED, ASK_UPDATE, DOWNLOAD_SIZE, DOWNLOAD_PROGRESS],
        trigger="host-exit"),
    Row("download: the host is killed", "checker", package=Answer(body=_garbage(200000), **SLOW),
        codes=[STARTED, ASK_UPDATE, DOWNLOAD_SIZE, DOWNLOAD_PROGRESS], trigger="kill-host"),
    Row("unpacking: the host ends", "checker",
        package=lambda: Answer(body=stored_package("payload.bin", os.urandom(16 << 20)), content_length=False),
        options={"exiton": DOWNLOADED}, codes=[STARTED, ASK_UPDATE, DOWNLOADED], trigger="host-exit"),
    Row("unpacking: 1 MiB that inflates to 1 GiB", "checker",
        package=lambda: Answer(body=high_ratio_package(), content_length=False),
        codes=[STARTED, ASK_UPDATE, DOWNLOADED, UPDATE_FAILED],
        trace="Unpack error:archive unpacks to 1073741824 bytes, more than the limit of 268435456"),
    Row("installer wait: stale LVK folders, a host path with a space", "checker", act=lambda *a: stale_and_space(*a),
        codes=[STARTED, ASK_UPDATE, DOWNLOAD_SIZE, DOWNLOAD_PROGRESS, DOWNLOADED, READY], trigger="host-exit"),
    Row("LVK_Cancel from a report handler after the checker has ended", "lanvik",
        info=Answer(body=info_line("http://127.0.0.1:9/p.upd", "03000", "03999")),
        args=["--on", f"{NO_UPDATE}=timedcancel"], codes=[STARTED, NO_UPDATE, FINISHED]),
    Row("download: the checker is killed, the host gets 9000", "lanvik", package=Answer(body=_garbage(200000), **SLOW),
        args=["--on", f"{ASK_UPDATE}=continue"],
        codes=[STARTED, ASK_UPDATE, DOWNLOAD_SIZE, DOWNLOAD_PROGRESS, FINISHED], trigger="kill-checker"),
    Row("download: the launcher's host ends at the first progress report", "lanvik",
        package=Answer(body=_garbage(200000), **SLOW),
        args=["--on", f"{ASK_UPDATE}=continue", "--on", f"{DOWNLOAD_PROGRESS}=exit"],
        codes=[STARTED, ASK_UPDATE, DOWNLOAD_SIZE, DOWNLOAD_PROGRESS], trigger="host-exit"),
    Row("download: Glimra is closed at the first progress report", "glimra",
        # Random bytes: a pattern would deflate to a package fetched at once.
        package=lambda: Answer(body=make_package({"setupeasy.bat": b"@echo x\r\n", "payload.bin": os.urandom(200000)}),
                               **SLOW),
        trigger="host-exit"),
]


def collapse(codes):
    """Runs of progress reports count as one."""
    out = []
    for c in codes:
        if not (c == DOWNLOAD_PROGRESS and out and out[-1] == DOWNLOAD_PROGRESS):
            out.append(c)
    return out


def serve(http_server, row):
    package = row.package() if callable(row.package) else row.package
    if package is not None:
        http_server.route("/pkg.upd", package)
    http_server.route("/info.dat", row.info or Answer(body=info_line(http_server.url("/pkg.upd"))))
    return http_server.url("/info.dat")


# -- the three hosts ----------------------------------------------------------------------
def run_with_checker_host(wine, tmp_path, http_server, row):
    run = CheckerRun(wine, tmp_path)
    extra = row.act(run, http_server, "before") if row.act else {}
    url = serve(http_server, row)
    options = {k: str(v) for k, v in {**row.options, **extra.get("options", {})}.items()}
    run.start(url=url, program=extra.get("program"), env=extra.get("env"), **options)
    t0 = time.monotonic()

    if row.trigger == "kill-host":
        wait_until(lambda: DOWNLOAD_PROGRESS in run.codes(), timeout=30)
        run.proc.send_signal(signal.SIGKILL)
        t0 = time.monotonic()
    elif row.trigger == "host-exit":
        wait_until(lambda: run.proc.poll() is not None, timeout=60, interval=0.05)
        t0 = time.monotonic()
    end_code = run.wait_end(timeout=60)
    t_end = wait_checker_gone(wine, timeout=BOUND)
    if row.trigger in ("stall_headers", "stall_body", "reset"):
        t0 = http_server.fault_time(row.trigger)
    elif row.trigger == "cancel":
        t0 = _cancel_time(run, t0)
    if run.proc.poll() is None:  # the host waits for the checker: it must end too
        assert run.host_exit(timeout=BOUND) == 0
    trace = run.trace()
    assert collapse(run.codes()) == row.codes, trace
    assert end_code in (0, 1)
    if row.trace:
        assert row.trace in trace
    kept = row.act(run, http_server, "after") if row.act else set()
    # The support traces (Mervik-<start>-<pid>.log, the newest few) stay on purpose.
    left = {p.name for p in run.temp.iterdir() if not re.fullmatch(r"Mervik-[0-9-]+\.log", p.name)} - kept
    assert not left, f"left in %TEMP%: {sorted(left)}"
    return t_end - t0


def _cancel_time(run, started):
    for n in run.notifications():
        if n[0] == "cancel":
            # The log counts from the host's start, a little after `started`:
            # the bound comes out a little longer than it is.
            return started + n[2] / 1000.0
    raise AssertionError("the host never cancelled")


def run_with_lanvik_host(wine, host_folder, http_server, row):
    before = prefix_temp_entries(wine)
    url = serve(http_server, row)
    host = Host(wine, host_folder, "--mode", "window", "--address", url, "--do", "start", *row.args)
    t0 = time.monotonic()
    if row.trigger == "kill-checker":
        host.expect(f"report {DOWNLOAD_PROGRESS}", timeout=30)
        pids = wait_until(lambda: mervik_processes(wine), timeout=10)
        for pid in pids:
            os.kill(pid, signal.SIGKILL)
        t0 = time.monotonic()
        host.expect(f"report {FINISHED}", timeout=BOUND)
        t_end = time.monotonic()
    elif row.trigger == "host-exit":
        host.expect("end", timeout=60)
        host.proc.wait(timeout=BOUND)
        t0 = time.monotonic()
        t_end = wait_checker_gone(wine, timeout=BOUND)
    else:
        host.expect(f"report {FINISHED}", timeout=60)
        t_end = time.monotonic()
    if row.trigger == "host-exit":
        lines = host.lines
    else:
        lines = host.finish(timeout=BOUND)
        wait_checker_gone(wine, timeout=BOUND)
    assert collapse([c for c, _ in host.reports()]) == row.codes, lines
    timed = [l for l in lines if l.startswith("timed cancel")]
    for line in timed:  # LVK_Cancel answered at once, with "nothing to cancel"
        _, _, result, ms = line.split()
        assert result == "0" and int(ms) < 500, line
    new = prefix_temp_entries(wine) - before
    if row.trigger == "kill-checker":
        # A killed checker cannot clean up: its package file and unpack
        # folder stay (and are removed here), nothing else.
        assert all(n.upper().startswith("LVK") for n in new) and len(new) <= 2, new
        remove_from_prefix_temp(wine, new)
    else:
        assert not new, new
    return t_end - t0


def run_with_glimra(wine, tmp_path, http_server, row):
    from test_update_viewer import APP_KEY, IDYES, Viewer
    before = prefix_temp_entries(wine)
    url = serve(http_server, row)
    wine.reg_set(APP_KEY + r"\Settings", "AutoUpdate", 0)
    v = Viewer(wine, tmp_path / "cwd", url)
    v.menu_check()
    box, _ = v.wait_box()
    v.answer(box, IDYES)
    wait_until(lambda: any(p == "/pkg.upd" for p, _ in http_server.requests), timeout=30)
    wait_until(lambda: [w for w in wine.find_windows("#32770", "自動アップデート") if w.visible], timeout=30)
    wine.close(v.frame.hwnd)
    assert wine.wait_exit(v.proc, timeout=30) == 0
    t0 = time.monotonic()
    t_end = wait_checker_gone(wine, timeout=BOUND)
    wait_until(lambda: not [w for w in wine.find_windows("#32770", "自動アップデート") if w.visible], timeout=10)
    assert prefix_temp_entries(wine) <= before
    return t_end - t0


# -- rows with steps of their own ------------------------------------------------------------
def stale_and_space(run, http_server, phase):
    """Before: the host program in a folder with a space beside a decoy at the
    first space, and LVK folders of earlier runs, each with an installer of
    its own, under the names the checker is about to be given (the test host
    leaves them). After: no stale installer ran, the host itself was
    restarted, and only the stale folders are left."""
    stale_log = run.root / "stale.txt"
    stale_bat = run.temp / "stale.bat"
    if phase == "before":
        stale_bat.write_bytes(marker_bat(run.wine.winpath(stale_log)))
        spaced = run.root / "a b"
        spaced.mkdir()
        shutil.copy(run.wine.bin / "Marker.exe", spaced / "Marker.exe")
        shutil.copy(run.wine.bin / "Marker.exe", run.root / "a.exe")
        installer = marker_bat(run.wine.winpath(run.root / "installer.txt"))
        http_server.route("/pkg.upd", Answer(body=make_package({"setupeasy.bat": installer})))
        return {"program": run.wine.winpath(spaced / "Marker.exe"), "env": {"GLIMRA_MARKER_MODULE": "1"},
                "options": {"stale": 4000, "stalebat": run.wine.winpath(stale_bat)}}
    assert not stale_log.exists()
    assert (run.root / "installer.txt").read_text().startswith("ran ")
    modules = wait_until(lambda: [l for l in run.marker_lines() if " module " in l], timeout=20)
    assert len(modules) == 1 and modules[0].endswith("\\a b\\Marker.exe"), modules
    old = stale_bat.read_bytes()
    stale = {p.name for p in run.temp.iterdir()
             if p.is_dir() and (p / "setupeasy.bat").is_file() and (p / "setupeasy.bat").read_bytes() == old}
    assert len(stale) > 3000
    return stale | {stale_bat.name}


# -- the test ------------------------------------------------------------------------------------
@pytest.fixture(scope="module")
def bounds():
    measured = []
    yield measured
    out = Path(os.environ.get("GLIMRA_BUILD", ".")) / "fault_bounds.txt"
    out.write_text("".join(f"{name}\t{seconds:.2f} s\n" for name, seconds in measured))


@pytest.fixture
def host_folder(tmp_path, wine):
    d = tmp_path / "lanvik"
    d.mkdir()
    for f in (wine.bin / "Lanvik.dll", wine.bin / "Mervik.exe", wine.build / "tests" / "launcher" / "LanvikHost.exe"):
        shutil.copy(f, d)
    return d


@pytest.mark.parametrize("row", ROWS, ids=[r.name for r in ROWS])
def test_fault(row, programs, tmp_path, http_server, host_folder, bounds, request):
    if row.host == "glimra":
        request.getfixturevalue("clean_registry")
    if row.host == "checker":
        seconds = run_with_checker_host(programs, tmp_path, http_server, row)
    elif row.host == "lanvik":
        seconds = run_with_lanvik_host(programs, host_folder, http_server, row)
    else:
        seconds = run_with_glimra(programs, tmp_path, http_server, row)
    http_server.release()
    bounds.append((row.name, seconds))
    assert row.at_least <= seconds <= BOUND, f"{row.name}: {seconds:.1f} s"

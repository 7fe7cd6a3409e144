"""Lanvik.dll in a host process: starting runs, the run mutex, the relay of
reports and the answers to the checker.

Each test copies the test host (LanvikHost.exe) and Lanvik.dll into a folder
of its own, with FakeMervik.exe as Mervik.exe where a checker should exist.
The fake checker plays LVK_FAKE_SCRIPT and logs what it saw to LVK_FAKE_LOG."""
import queue
import shutil
import subprocess
import threading
from pathlib import Path

import pytest

from harness.wine import wait_until

STARTED, ASK, SIZE, PROGRESS, DOWNLOADED, CANCELLED, READY, ERROR, FINISHED = (
    1000, 1340, 1440, 1442, 1480, 1700, 1800, 1900, 9000)
CMD_CONTINUE, CMD_OPEN, CMD_CANCEL = 2220, 2420, 2700
ADDRESS = "http://127.0.0.1/update/glimra2/AutoUpdate.dat"


class Host:
    """A running LanvikHost.exe: commands on stdin, its lines on stdout."""

    def __init__(self, wine, folder, *args, script="", log=None):
        env = dict(wine.env, LVK_FAKE_SCRIPT=script)
        if log is not None:
            env["LVK_FAKE_LOG"] = wine.winpath(log)
        self.proc = subprocess.Popen(["wine", str(folder / "LanvikHost.exe"), *args], cwd=folder,
                                     env=env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL)
        wine.started.append(self.proc)
        self.lines = []
        self._queue = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()
        self.pid = int(self.expect("pid ").split()[1])
        self.thread = int(self.expect("thread ").split()[1])

    def _read(self):
        for raw in self.proc.stdout:
            self._queue.put(raw.decode("cp932").rstrip("\r\n"))
        self._queue.put(None)

    def send(self, command):
        self.proc.stdin.write(command.encode("cp932") + b"\n")
        self.proc.stdin.flush()

    def expect(self, prefix, timeout=20):
        """Reads lines until one starts with prefix and returns it."""
        while True:
            try:
                line = self._queue.get(timeout=timeout)
            except queue.Empty:
                raise AssertionError(f"no line {prefix!r}; so far: {self.lines}") from None
            if line is None:
                raise AssertionError(f"host ended without {prefix!r}; lines: {self.lines}")
            self.lines.append(line)
            if line.startswith(prefix):
                return line

    def finish(self, timeout=20):
        """Waits for the host to end; returns every line it printed."""
        self.expect("end", timeout)
        self.proc.stdin.close()
        assert self.proc.wait(timeout=timeout) == 0
        return self.lines

    def reports(self, via="window"):
        """(code, parameter) of the reports that arrived the given way."""
        return [(int(f[1]), int(f[2])) for f in (l.split() for l in self.lines)
                if f[0] == "report" and f[3] == via]


def read_log(path):
    return path.read_text(encoding="cp932").splitlines() if path.exists() else []


@pytest.fixture
def folder(tmp_path, wine):
    """A host folder with the test host and the library, but no checker."""
    def make(name="host", checker=True):
        d = tmp_path / name
        d.mkdir()
        shutil.copy(wine.bin / "Lanvik.dll", d)
        shutil.copy(wine.build / "tests" / "launcher" / "LanvikHost.exe", d)
        shutil.copy(wine.build / "tests" / "launcher" / "LanvikLoader.exe", d)
        if checker:
            shutil.copy(wine.build / "tests" / "launcher" / "FakeMervik.exe", d / "Mervik.exe")
        return d
    return make


def test_missing_checker_gives_error_then_finished(programs, folder):
    d = folder(checker=False)
    host = Host(programs, d, "--mode", "both", "--do", "answers,badargs,start")
    lines = host.finish()
    # No run yet: the answers go nowhere; unusable arguments start nothing.
    assert [l for l in lines if l.startswith("answer")] == [
        "answer continue 0", "answer open 0", "answer close 0", "answer cancel 0"]
    bad = [l for l in lines if l.startswith("bad ")]
    assert len(bad) == 6 and all(l.endswith(" 0") for l in bad)
    assert "start 1" in lines
    assert host.reports("window") == [(ERROR, 0), (FINISHED, 0)]
    assert host.reports("callback") == [(ERROR, 0), (FINISHED, 0)]
    # The callback comes first, on the relay thread, with the user value;
    # the window gets the report on its own thread.
    reports = [l for l in lines if l.startswith("report")]
    assert [l.split()[3] for l in reports] == ["callback", "window", "callback", "window"]
    callback = [l.split() for l in reports if " callback " in l]
    assert all(f[4] == "other" and f[5] == "user=77" for f in callback)
    assert all(l.endswith(" window main") for l in reports if " window " in l)


def test_reports_relayed_in_order_and_answers_reach_the_checker(programs, folder, tmp_path):
    # A folder whose name holds trail bytes 0x5C ("表"): the host folder and
    # the checker path must still be cut at the real separator.
    d = folder("表示テスト")
    log = tmp_path / "checker.log"
    script = ";".join([f"post {STARTED}", f"post {ASK}", f"wait {CMD_CONTINUE}",
                       f"post {SIZE}:5000", f"post {PROGRESS}:1024", f"post {PROGRESS}:5000",
                       f"post {DOWNLOADED}", f"post {READY}", "waithost"])
    # As the viewer does: answer from inside the report handler, and end the
    # process at once on LVK_READY.
    host = Host(programs, d, "--mode", "both", "--do", "start",
                "--on", f"{ASK}=open+continue", "--on", f"{READY}=exit",
                script=script, log=log)
    lines = host.finish()
    assert host.reports("window") == [(STARTED, 0), (ASK, 0), (SIZE, 5000), (PROGRESS, 1024),
                                      (PROGRESS, 5000), (DOWNLOADED, 0), (READY, 0)]
    assert host.reports("callback") == host.reports("window")
    assert "answer open 1" in lines and "answer continue 1" in lines

    wait_until(lambda: "exit" in read_log(log))
    entries = read_log(log)
    relay = {l.split()[6] for l in lines if " callback " in l}
    assert len(relay) == 1
    winfolder = programs.winpath(d) + "\\"
    assert entries[:8] == [
        "fields 7",
        f"field 0 {winfolder}Mervik.exe",
        f"field 1 {ADDRESS}",
        "field 2 02001",
        f"field 3 {host.pid}",
        f"field 4 {relay.pop().removeprefix('tid=')}",
        f"field 5 {winfolder}",
        f"field 6 {winfolder}LanvikHost.exe",
    ]
    got = [l for l in entries if l.startswith("got ")]
    hwnd = int(got[0].split()[2])
    assert got == [f"got {CMD_OPEN} {hwnd}", f"got {CMD_CONTINUE} 0"] and hwnd != 0
    # Every report reached the relay, and the checker saw the host end.
    assert all(l.endswith(" 1") for l in entries if l.startswith("posted"))
    assert "host ended" in entries


def test_second_start_refused_while_a_run_lasts(programs, folder, tmp_path):
    d = folder()
    script = f"post {STARTED};wait {CMD_CANCEL};post {CANCELLED}"
    # Inside the handling of LVK_FINISHED the run still lasts, but its
    # checker is gone: a start is refused and no answer is posted.
    host = Host(programs, d, "--mode", "window", "--do", "start,second",
                "--on", f"{FINISHED}=second+answers", "--exit-on-finished", "2", script=script)
    assert host.expect("start") == "start 1"
    assert host.expect("second") == "second 0"
    host.expect(f"report {STARTED}")
    host.send("cancel")
    assert host.expect("answer cancel") == "answer cancel 1"
    host.expect(f"report {FINISHED}")
    assert host.expect("second") == "second 0"
    assert [host.expect("answer") for _ in range(4)] == [
        "answer continue 0", "answer open 0", "answer close 0", "answer cancel 0"]
    # Once the run has ended a start succeeds again, and a new checker runs.
    host.send("restart")
    assert host.expect("restart", timeout=30).startswith("restart 1")
    host.expect(f"report {STARTED}")
    host.send("answers")  # continue, open, close and cancel all reach it
    lines = host.finish()
    first = lines.index("answer continue 1")
    assert lines[first:first + 4] == ["answer continue 1", "answer open 1", "answer close 1",
                            "answer cancel 1"]
    assert host.reports() == [(STARTED, 0), (CANCELLED, 0), (FINISHED, 0)] * 2


def test_one_run_per_address_across_processes(programs, folder):
    d = folder()
    script = f"post {STARTED};wait {CMD_CANCEL};post {CANCELLED}"
    first = Host(programs, d, "--do", "start", script=script)
    assert first.expect("start") == "start 1"
    first.expect(f"report {STARTED}")

    same = Host(programs, d, "--do", "start", "--exit-on-finished", "0", script=script)
    assert same.expect("start") == "start 0"
    same.send("answers")
    assert same.expect("answer cancel") == "answer cancel 0"
    same.send("quit")
    same.finish()

    other = Host(programs, d, "--address", ADDRESS + "2", "--do", "start", script=script)
    assert other.expect("start") == "start 1"
    other.expect(f"report {STARTED}")
    other.send("cancel")
    other.finish()
    assert other.reports() == [(STARTED, 0), (CANCELLED, 0), (FINISHED, 0)]

    first.send("cancel")
    first.finish()
    # The run's end frees the address for every process.
    again = Host(programs, d, "--do", "start", script=script)
    assert again.expect("start") == "start 1"
    again.expect(f"report {STARTED}")
    again.send("cancel")
    again.finish()


def test_host_without_window_or_callback_still_runs_the_checker(programs, folder, tmp_path):
    d = folder()
    log = tmp_path / "checker.log"
    host = Host(programs, d, "--mode", "none", "--do", "start", "--exit-on-finished", "0",
                script=f"post {STARTED};post {ASK}", log=log)
    assert host.expect("start") == "start 1"
    wait_until(lambda: read_log(log).count("exit") == 1)
    # The run ends unseen; the next start shows it did.
    host.send("restart")
    assert host.expect("restart", timeout=30).startswith("restart 1")
    wait_until(lambda: read_log(log).count("exit") == 2)
    assert read_log(log).count(f"posted {STARTED} 0 1") == 2
    host.send("quit")
    host.finish()
    assert host.reports("window") == [] and host.reports("callback") == []


def test_wide_start_passes_the_address_in_the_ansi_code_page(programs, folder, tmp_path):
    d = folder()
    log = tmp_path / "checker.log"
    address = "http://127.0.0.1/更新/表/AutoUpdate.dat"
    host = Host(programs, d, "--mode", "callback", "--address", address, "--do", "startw",
                script="exit 5", log=log)
    lines = host.finish()
    assert "start 1" in lines
    # A checker that ends with no report still ends the run.
    assert host.reports("callback") == [(FINISHED, 0)]
    entries = read_log(log)
    assert f"field 1 {address}" in entries and "fields 7" in entries


def test_library_freed_by_its_host_while_a_run_lasts(programs, folder):
    # The relay and watcher threads keep the library loaded until they end.
    d = folder()
    env = {"LVK_FAKE_SCRIPT": f"sleep 300;post {STARTED};sleep 100"}
    r = programs.run(d / "LanvikLoader.exe", ADDRESS, cwd=d, env=env, timeout=30)
    assert r.returncode == 0, r.stderr.decode(errors="replace")
    assert r.stdout.decode().splitlines() == [
        "start 1", "freed", f"report {STARTED} 0", f"report {FINISHED} 0", "end"]

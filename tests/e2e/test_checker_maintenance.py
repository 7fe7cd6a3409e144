"""Mervik.exe's maintenance form: -waitprocess, -remove and -exec, which an
installer that runs on its own uses to finish an update."""
import subprocess
import tempfile
import time

from harness.wine import wait_until


def mervik(wine, *args, env=None, timeout=60):
    """Runs the checker to its end; its output goes to a file, so that a
    program it started and left running does not hold the run open."""
    with tempfile.TemporaryFile() as out:
        e = dict(wine.env, **(env or {}))
        code = subprocess.run(["wine", str(wine.bin / "Mervik.exe"), *args], env=e, stdout=out,
                              stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, timeout=timeout).returncode
        out.seek(0)
        return code, out.read().decode("cp932", errors="replace")


def marker_env(wine, marker, sleep=None):
    env = {"GLIMRA_MARKER": wine.winpath(marker)}
    if sleep:
        env["GLIMRA_MARKER_SLEEP"] = str(sleep)
    return env


def test_waitprocess_waits_for_the_process_to_end(programs, tmp_path):
    wine = programs
    marker = tmp_path / "marker.txt"
    wine.start(wine.bin / "Marker.exe", "sleep", "2500", env=marker_env(wine, marker))
    line = wait_until(lambda: marker.exists() and marker.read_text().strip(), timeout=30)
    pid = line.split()[0]
    code, out = mervik(wine, "-waitprocess", pid)
    assert code == 0
    assert marker.read_text().splitlines()[-1] == f"{pid} done"  # ended before we returned
    assert "Begin AutoUpdate" not in out


def test_waitprocess_for_unknown_process_returns_at_once(wine):
    start = time.monotonic()
    assert mervik(wine, "-waitprocess", "4000000")[0] == 0
    assert time.monotonic() - start < 20


def test_remove_deletes_a_tree_with_read_only_and_hidden_files(wine, tmp_path):
    top = tmp_path / "unpacked"
    (top / "sub" / "deeper").mkdir(parents=True)
    for f in (top / "a.txt", top / "sub" / "b.txt", top / "sub" / "deeper" / "c.txt"):
        f.write_text("x")
    wine.run("cmd", "/c", "attrib", "+r", "+h", wine.winpath(top / "sub" / "b.txt"))
    code, _ = mervik(wine, "-remove", wine.winpath(top) + "\\")
    assert code == 0
    assert not top.exists()
    assert mervik(wine, "-remove", wine.winpath(tmp_path / "absent"))[0] == 0


def test_exec_starts_the_rest_of_the_line_without_waiting(programs, tmp_path):
    wine = programs
    marker = tmp_path / "marker.txt"
    start = time.monotonic()
    code, out = mervik(wine, "-exec", wine.winpath(wine.bin / "Marker.exe"), "one", "two three",
                       env=marker_env(wine, marker, 4000))
    assert code == 0
    assert time.monotonic() - start < 4
    line = wait_until(lambda: marker.exists() and marker.read_text().splitlines(), timeout=30)[0]
    assert line.split(" ", 1)[1].endswith("Marker.exe one two three")  # quotes were removed
    assert "ExecProgram " in out
    wait_until(lambda: len(marker.read_text().splitlines()) == 2, timeout=30)


def test_options_in_a_normal_line_make_a_maintenance_run(wine, tmp_path):
    folder = tmp_path / "gone"
    folder.mkdir()
    code, out = mervik(wine, "http://127.0.0.1:1/i.dat", "02001", "0", "0", "Z:\\h\\", "-remove",
                       wine.winpath(folder), "-waitprocess")
    assert code == 0
    assert not folder.exists()
    assert "Begin AutoUpdate" not in out and "MtxInit" not in out


def test_six_or_eight_fields_end_with_one(wine):
    assert mervik(wine, "http://127.0.0.1:1/i.dat", "02001", "0", "0", "Z:\\h\\")[0] == 1
    assert mervik(wine, "http://127.0.0.1:1/i.dat", "02001", "0", "0", "Z:\\h\\", "Z:\\h\\g.exe", "x")[0] == 1

"""The product's whole life under Wine: the tree's setup program installs
Glimra silently into a folder with a space, the user adds a favourite,
release.sh publishes the next version, signed, to the loopback server,
Mervpack --check agrees, the installed Glimra (its checker built with the
publisher's key) offers the update and checks the signature, the setup
program inside the package installs it as the update installer, the
restarted Glimra is the new version with the user's settings, and the
uninstaller removes it all."""
import os
import shutil
import subprocess
import time
from pathlib import Path

import pytest

from harness.glimra import Glimra
from harness.http import Answer
from harness.signing import TEST_KEY, pem, verify
from harness.wine import wait_until
from release_support import (PROGRAMS, UNINSTALL_KEY, file_version, install_silently, next_version, today,
                             tree_version, update_text)

APP_KEY = r"HKCU\Software\VANTO\Glimra"
SETTINGS, WINDOW = APP_KEY + r"\Settings", APP_KEY + r"\Window"
ID_FAV_ADD, ID_UPDATE_CHECK, ID_APP_ABOUT = 32800, 32793, 57664
IDOK, IDYES = 1, 6
QUESTION_FIRST_LINE = "新しいアップデートがあります."
NO_UPDATE_TEXT = "最新のアップデートはありません."
PLACEMENT = {"x": 140, "y": 60, "cx": 620, "cy": 700}


def message_boxes(wine):
    """Visible message boxes captioned Glimra: [(window, first static text)]."""
    out = []
    for w in wine.find_windows("#32770", "Glimra"):
        if w.visible and w.text == "Glimra":
            texts = [c.text for c in wine.children(w.hwnd) if c.cls == "Static" and c.text]
            out.append((w, texts[0] if texts else ""))
    return out


def wait_box(wine, text, timeout=90):
    return wait_until(lambda: next((w for w, t in message_boxes(wine) if t == text), None), timeout=timeout)


def about_version(wine, frame):
    wine.post(frame.hwnd, 0x0111, ID_APP_ABOUT)  # WM_COMMAND
    about = wine.wait_window("#32770", "バージョン情報", timeout=30)
    text = next(c.text for c in wine.children(about.hwnd) if c.id == 1008)
    wine.command(about.hwnd, IDOK)
    wait_until(lambda: not [w for w in wine.find_windows("#32770", "バージョン情報") if w.visible], timeout=15)
    return text


# What our programs leave in the temporary folder when they fail to clean
# up: the checker's package and unpack folder, the package reader's
# decrypted archive, NSIS's plug-in folder.
LEFTOVER_PREFIXES = ("lvk", "upd", "ns")


@pytest.fixture
def private_temp(wine, tmp_path):
    """A temporary folder of the test's own for every program started from
    now on (Wine takes TEMP and TMP from the registry, not from the caller)."""
    temp = tmp_path / "temp"
    temp.mkdir()
    key = r"HKCU\Environment"
    saved = {name: wine.reg_get(key, name) for name in ("TEMP", "TMP")}
    for name in saved:
        wine.reg_set(key, name, wine.winpath(temp))
    yield temp
    for name, value in saved.items():
        if value is not None:
            wine.reg_set(key, name, value)


def close_viewers(wine):
    for frame in wine.find_windows("FwFrame128", "Glimra"):
        wine.close(frame.hwnd)


def publish(build, version, base, key_file):
    """release.sh into the build root's release folder, for the architecture
    of the tree under test, the package signed with the key file; returns
    that folder."""
    env = dict(os.environ, GLIMRA_BUILD_ROOT=str(build.parent), GLIMRA_SIGNING_KEY=str(key_file),
               GLIMRA_RELEASE_ARCH=(build / "wine-arch").read_text().strip())
    r = subprocess.run(["bash", str(Path(__file__).resolve().parents[2] / "scripts" / "release.sh"), version, base],
                       env=env, capture_output=True, text=True, timeout=1500)
    assert r.returncode == 0, r.stdout[-4000:] + r.stderr[-4000:]
    return build.parent / "release" / version


def test_install_upgrade_through_the_published_update_and_uninstall(programs, clean_registry, http_server,
                                                                    private_temp, tmp_path):
    wine = programs
    try:
        upgrade(wine, http_server, private_temp, tmp_path)
    finally:
        close_viewers(wine)  # the restarted Glimra is the checker's child, not the harness's


def upgrade(wine, http_server, temp, tmp_path):
    build = wine.build
    old = tree_version(build)
    new = next_version(old)
    target = tmp_path / "Program Files" / "Glimra Test"

    # Installed silently: programs, help, uninstall key.
    assert install_silently(wine, build / "setup" / f"Glimra-{old}-setup.exe", target) == 0
    assert all((target / p).is_file() for p in PROGRAMS)
    assert file_version(target / "Glimra.exe") == old
    assert wine.reg_get(UNINSTALL_KEY, "DisplayVersion") == old
    assert wine.reg_get(UNINSTALL_KEY, "UninstallString") == f'"{wine.winpath(target)}\\uninstall.exe"'
    # A publisher's build: the checker carries the test publisher's key.
    shutil.copyfile(build / "tests" / "MervikTestKey.exe", target / "Mervik.exe")

    # First start (no automatic check today): a favourite, a window placement.
    wine.reg_set(APP_KEY + r"\AutoUpdate", "LastConnectDate", today())
    for name, value in PLACEMENT.items():
        wine.reg_set(WINDOW, name, value)
    plain = tmp_path / "plain"
    plain.mkdir()
    v = Glimra(wine, program=target / "Glimra.exe", cwd=plain)
    wine.wtool("keys", hex(v.view.hwnd), "0x28")
    v.command(ID_FAV_ADD)
    favourite = wait_until(lambda: wine.reg_get(SETTINGS, "Favorite01"), timeout=10)
    assert v.close() == 0

    # The next version published with release.sh, and checked as a client of this one meets it.
    base = http_server.url("/update/glimra2")
    started = time.monotonic()
    key_file = tmp_path / "publisher.pem"
    key_file.write_bytes(pem(TEST_KEY))
    out = publish(build, new, base, key_file)
    print(f"release.sh {new}: {time.monotonic() - started:.0f} s")
    package = f"glimra-{update_text(new)}.upd"
    assert sorted(p.name for p in out.iterdir()) == sorted(["AutoUpdate.dat", package, f"Glimra-{new}-setup.exe"])
    assert verify((out / package).read_bytes()) == update_text(new).encode()
    for name in ("AutoUpdate.dat", package):
        http_server.route(f"/update/glimra2/{name}", Answer(body=(out / name).read_bytes()))
    check = subprocess.run([str(build.parent / "native" / "bin" / "Mervpack"), "--check", f"{base}/AutoUpdate.dat",
                            update_text(old)], capture_output=True, text=True, timeout=120)
    assert check.returncode == 0, check.stdout + check.stderr
    assert f"PASSED: a client of version {update_text(old)} installs {base}/{package} with setupeasy.exe" in check.stdout

    # The automatic check of the next start offers it; Yes ends Glimra, the update installer runs.
    cwd = tmp_path / "cwd"
    cwd.mkdir()
    (cwd / "Mervik.alias").write_text(f"URL * {base}/AutoUpdate.dat\n")
    wine.reg_delete(APP_KEY + r"\AutoUpdate")
    checked = len(http_server.requests)  # Mervpack --check fetched the package too
    v = Glimra(wine, program=target / "Glimra.exe", cwd=cwd)
    wine.command(wait_box(wine, QUESTION_FIRST_LINE).hwnd, IDYES)
    assert wine.wait_exit(v.proc, timeout=240) == 0  # the download included

    # Glimra started again by the checker: the new version, the user's settings.
    frame = wine.wait_window("FwFrame128", "Glimra", timeout=120)
    assert file_version(target / "Glimra.exe") == new
    assert about_version(wine, frame) == new
    assert wine.reg_get(UNINSTALL_KEY, "DisplayVersion") == new
    assert wine.reg_get(SETTINGS, "Favorite01") == favourite
    x, y = PLACEMENT["x"], PLACEMENT["y"]
    assert frame.rect == (x, y, x + PLACEMENT["cx"], y + PLACEMENT["cy"])
    assert {name: wine.reg_get(WINDOW, name) for name in PLACEMENT} == PLACEMENT
    # No second offer: this version is outside the published range.
    wine.post(frame.hwnd, 0x0111, ID_UPDATE_CHECK)
    wine.command(wait_box(wine, NO_UPDATE_TEXT).hwnd, IDOK)
    assert [p for p, _ in http_server.requests[checked:]].count(f"/update/glimra2/{package}") == 1
    wine.close(frame.hwnd)
    wait_until(lambda: not wine.find_windows("FwFrame128", "Glimra"), timeout=30)

    # Nothing of the run left: the old checker set aside is gone, and the
    # temporary folder holds only the checkers' support traces.
    wait_until(lambda: not (target / "Mervik.old").exists(), timeout=30)
    wait_until(lambda: not [p for p in temp.iterdir() if p.name.lower().startswith(LEFTOVER_PREFIXES)], timeout=30)
    traces = [p for p in temp.iterdir() if p.name.startswith("Mervik-") and p.suffix == ".log"]
    assert len(traces) >= 3  # the update run, the check of the new version, the removal of the old checker
    texts = [p.read_text(errors="replace") for p in traces]
    run_trace = next((t for t in texts if "ExecProgram" in t and "setupeasy.exe" in t), "")
    assert f"Package signature good, version {update_text(new)}\n" in run_trace

    # Uninstalled: files and the uninstall key gone.
    r = wine.run(target / "uninstall.exe", "/S")
    assert r.returncode == 0
    wait_until(lambda: not target.exists(), timeout=60)
    wait_until(lambda: wine.reg_get(UNINSTALL_KEY, "DisplayVersion") is None, timeout=30)

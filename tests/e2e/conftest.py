import os
import subprocess
from pathlib import Path

import pytest

from harness.http import ScriptedServer
from harness.wine import Wine

BUILD = Path(os.environ.get("GLIMRA_BUILD", Path(__file__).resolve().parents[2] / "build" / "win32"))
SHOTS = BUILD / "shots"
ROOT = Path(__file__).resolve().parents[2]


@pytest.fixture(scope="session")
def wine():
    w = Wine(BUILD)
    yield w
    w.stop()


@pytest.fixture
def programs(wine):
    """Stops whatever a test started, even when it failed half-way."""
    yield wine
    wine.stop()


@pytest.fixture
def fresh_server_after(wine):
    """A new Wine server once the test is done: fonts a test loaded and kept
    for the session stay in the server, where later tests would see them."""
    yield wine
    wine.stop()
    subprocess.run([str(ROOT / "scripts" / "wine-session"), "restart", str(BUILD)], check=True, timeout=120,
                   stdout=subprocess.DEVNULL, stdin=subprocess.DEVNULL)


@pytest.fixture
def clean_registry(wine):
    """Our settings key removed before the test."""
    wine.reg_delete(r"HKCU\Software\VANTO")
    yield wine


@pytest.fixture
def http_server():
    s = ScriptedServer()
    yield s
    s.close()


@pytest.fixture
def shots():
    SHOTS.mkdir(parents=True, exist_ok=True)
    return SHOTS


@pytest.fixture(scope="session", autouse=True)
def printer():
    """The CUPS queue "PDF" (cups-pdf) running; yields the folder its PDFs land in.

    A Windows program under Wine reads the list of printers once, when it
    starts, so the queue must be there before any test starts a program: on a
    fresh machine a program started earlier would never see it."""
    subprocess.run([str(ROOT / "scripts" / "printer.sh"), "start"], check=True, timeout=60)
    out = Path(subprocess.run([str(ROOT / "scripts" / "printer.sh"), "dir"], check=True, capture_output=True,
                              text=True).stdout.strip())
    out.mkdir(parents=True, exist_ok=True)
    yield out


@pytest.fixture
def no_printer(printer):
    """The queue taken away for one test (programs started in it see no printer) and set up again after it."""
    subprocess.run(["lpadmin", "-x", "PDF"], check=True, timeout=60)
    yield
    subprocess.run([str(ROOT / "scripts" / "printer.sh"), "start"], check=True, timeout=60)

"""Signed update packages end to end: Mervik built with a publisher key (the
test build MervikTestKey.exe) against packages signed by an independent
Python signer, and the ordinary Mervik.exe, built without a key."""
import os

import pytest

from harness.checker_run import DOWNLOADED, READY, UPDATE_FAILED, CheckerRun, info_line, make_package
from harness.http import Answer
from harness.signing import OTHER_KEY, sign


@pytest.fixture
def run(programs, tmp_path):
    return CheckerRun(programs, tmp_path)


def keyed(run):
    return run.wine.build / "tests" / "MervikTestKey.exe"


def plain_package(run):
    out = run.wine.winpath(run.root / "installer.txt")
    return make_package({"setupeasy.bat": f'@echo installed>> "{out}"\r\n'.encode(), "payload.bin": os.urandom(5000)})


def serve(http_server, package):
    http_server.route("/pkg.upd", Answer(body=package))
    http_server.route("/info.dat", Answer(body=info_line(http_server.url("/pkg.upd"))))
    return http_server.url("/info.dat")


def test_signed_package_installs_with_the_key(run, http_server):
    run.start(serve(http_server, sign(plain_package(run))), standalone=1, checker=keyed(run))
    assert run.wait_end() == 0
    assert "Package signature good, version 02002" in run.trace()
    assert (run.root / "installer.txt").read_text().strip() == "installed"
    assert run.leftovers() == []


def test_signed_package_installs_without_a_key(run, http_server):
    run.start(serve(http_server, sign(plain_package(run))), standalone=1)
    assert run.wait_end() == 0
    assert "Package signature" not in run.trace()
    assert (run.root / "installer.txt").read_text().strip() == "installed"


# Every kind of damage is refused by the same portable check (tests/signature);
# here two show that the program carries the key and acts on the refusal.
CASES = {
    "other key": (lambda p: sign(p, key=OTHER_KEY), "signature does not verify"),
    "older version": (lambda p: sign(p, b"02001"),
                      "signed version 02001 is not above the installed version 02001"),
}


@pytest.mark.parametrize("case", CASES)
def test_refused_package_fails_the_run_and_unpacks_nothing(run, http_server, case):
    damage, reason = CASES[case]
    run.start(serve(http_server, damage(plain_package(run))), checker=keyed(run))
    assert run.host_exit() == 0
    assert run.codes()[-2:] == [DOWNLOADED, UPDATE_FAILED]
    assert READY not in run.codes()
    assert run.checker_exit() == 1
    trace = run.trace()
    assert f"MtxRefusePackage {reason}\n" in trace
    assert "ExecProgram" not in trace and not (run.root / "installer.txt").exists()
    assert run.leftovers() == [] and not list(run.temp.glob("UPD*"))

"""Mervpack, the package builder, run natively: what it writes is read back
with python3-cryptography, zipfile and hashlib; what it must refuse leaves
nothing behind. MERVPACK names the program."""
import hashlib
import io
import os
import struct
import subprocess
import sys
import time
import zipfile
from pathlib import Path

import pytest
from cryptography.hazmat.primitives import serialization
from cryptography.hazmat.primitives.ciphers import Cipher, algorithms, modes

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "e2e"))
from harness.signing import verify  # noqa: E402

pytestmark = pytest.mark.filterwarnings("ignore:.*CAST5")
MERVPACK = os.environ.get("MERVPACK", "Mervpack")


def run(*args):
    return subprocess.run([MERVPACK, *map(str, args)], capture_output=True, text=True, errors="replace")


def open_package(path: Path) -> zipfile.ZipFile:
    data = path.read_bytes()
    assert data[:4] == b"UPD\x01"
    length = struct.unpack("<I", data[8:12])[0]
    assert (len(data) - 32) % 8 == 0 and len(data) - 32 >= length
    dec = Cipher(algorithms.CAST5(b"qzw|random text;"), modes.ECB()).decryptor()
    plain = (dec.update(data[32:]) + dec.finalize())[:length]
    assert hashlib.md5(plain).digest() == data[16:32]
    return zipfile.ZipFile(io.BytesIO(plain))


def raw_name(info: zipfile.ZipInfo) -> bytes:
    assert not info.flag_bits & 0x800  # no UTF-8 flag: names are code page 932
    return info.filename.encode("cp437")


def make_zip(path: Path, entries):
    with zipfile.ZipFile(path, "w") as z:
        for name, data in entries:
            z.writestr(zipfile.ZipInfo(name, (2024, 1, 2, 3, 4, 6)), data)


def test_folder_becomes_a_package_with_cp932_names_times_and_data(tmp_path):
    src = tmp_path / "src"
    (src / "日本語" / "空").mkdir(parents=True)
    (src / "setup.exe").write_bytes(b"MZ" + os.urandom(70000))
    (src / "日本語" / "表示ソフト.txt").write_bytes("表示\r\n".encode("cp932") * 5000)
    stamp = time.mktime((2021, 6, 7, 8, 9, 10, 0, 0, -1))
    os.utime(src / "setup.exe", (stamp, stamp))
    r = run(src, tmp_path / "out.upd")
    assert r.returncode == 0, r.stderr
    z = open_package(tmp_path / "out.upd")
    names = {raw_name(i): i for i in z.infolist()}
    assert set(names) == {b"setup.exe", "日本語/".encode("cp932"), "日本語/空/".encode("cp932"),
                          "日本語/表示ソフト.txt".encode("cp932")}
    assert z.read(names[b"setup.exe"]) == (src / "setup.exe").read_bytes()
    assert z.read(names["日本語/表示ソフト.txt".encode("cp932")]) == (src / "日本語" / "表示ソフト.txt").read_bytes()
    assert names[b"setup.exe"].date_time == (2021, 6, 7, 8, 9, 10)
    assert z.testzip() is None


def test_zip_source_is_taken_as_it_is_and_the_update_line_appended(tmp_path):
    make_zip(tmp_path / "in.zip", [("setup.bat", b"@echo off\r\n"), ("sub/", b"")])
    info = tmp_path / "AutoUpdate.dat"
    info.write_bytes(b"# Glimra updates\r\nR 01000 01999 http://example.com/old.upd")  # no final line break
    r = run("--info", info, "--from", "02000", "--to", "02001", "--url", "http://example.com:8080/glimra2/p.upd",
            tmp_path / "in.zip", tmp_path / "p.upd")
    assert r.returncode == 0, r.stderr
    assert (tmp_path / "p.upd").read_bytes()[32:] != b""
    z = open_package(tmp_path / "p.upd")
    assert z.read("setup.bat") == b"@echo off\r\n"
    # The package body is the source archive byte for byte.
    data = (tmp_path / "p.upd").read_bytes()
    assert struct.unpack("<I", data[8:12])[0] == (tmp_path / "in.zip").stat().st_size
    assert info.read_bytes() == (b"# Glimra updates\r\nR 01000 01999 http://example.com/old.upd\r\n"
                                 b"R 02000 02001 http://example.com:8080/glimra2/p.upd\r\n")


@pytest.mark.parametrize("name", ["../evil.txt", "..\\evil.txt", "C:\\evil.txt", "/evil.txt", "a/../../evil.txt",
                                  "CON", "x" * 520])
def test_unsafe_entry_names_are_refused(tmp_path, name):
    make_zip(tmp_path / "in.zip", [("setup.exe", b"MZ"), (name, b"evil")])
    r = run(tmp_path / "in.zip", tmp_path / "p.upd")
    assert r.returncode == 1 and "refused" in r.stderr
    assert not (tmp_path / "p.upd").exists()


def test_damaged_archive_and_missing_installer_are_refused(tmp_path):
    make_zip(tmp_path / "in.zip", [("setup.exe", b"A" * 5000)])
    data = bytearray((tmp_path / "in.zip").read_bytes())
    data[data.find(b"A" * 100) + 7] ^= 0xFF
    (tmp_path / "bad.zip").write_bytes(bytes(data))
    r = run(tmp_path / "bad.zip", tmp_path / "p.upd")
    assert r.returncode == 1 and "damaged" in r.stderr
    make_zip(tmp_path / "noinst.zip", [("readme.txt", b"hello")])
    r = run(tmp_path / "noinst.zip", tmp_path / "p.upd")
    assert r.returncode == 1 and "installer" in r.stderr
    assert not (tmp_path / "p.upd").exists()
    r = run("--allow-no-installer", tmp_path / "noinst.zip", tmp_path / "p.upd")
    assert r.returncode == 0 and open_package(tmp_path / "p.upd").read("readme.txt") == b"hello"


@pytest.mark.parametrize("low,high,url,why", [
    ("2000", "02001", "http://h/p.upd", "digits"),
    ("02002", "02001", "http://h/p.upd", "greater"),
    ("02000", "02001", "HTTP://h/p.upd", "http://"),
    ("02000", "02001", "http://h/a:b/p.upd", "':'"),
    ("02000", "02001", "http://h:99999/p.upd", "port"),
    ("02000", "02001", "http://h/my file.upd", "spaces"),
    ("02 000", "02001", "http://h/p.upd", "spaces"),
])
def test_update_lines_the_checker_would_misread_are_refused(tmp_path, low, high, url, why):
    make_zip(tmp_path / "in.zip", [("setup.exe", b"MZ")])
    info = tmp_path / "AutoUpdate.dat"
    info.write_bytes(b"# keep\r\n")
    r = run("--info", info, "--from", low, "--to", high, "--url", url, tmp_path / "in.zip", tmp_path / "p.upd")
    assert r.returncode == 1 and why in r.stderr
    assert info.read_bytes() == b"# keep\r\n"
    assert not (tmp_path / "p.upd").exists()


def test_update_line_with_the_same_range_is_replaced_where_it_stands(tmp_path):
    make_zip(tmp_path / "in.zip", [("setup.exe", b"MZ")])
    info = tmp_path / "AutoUpdate.dat"
    info.write_bytes(b"# Glimra\r\nR 00000 02002 http://h/wide.upd\nR 02000 02001 http://h/stale.upd\r"
                     b"r \"02000\" 02001 http://h/stale2.upd\r\nR 01000 01999 http://h/old.upd\r\n")
    r = run("--info", info, "--from", "02000", "--to", "02001", "--url", "http://h/new.upd", tmp_path / "in.zip",
            tmp_path / "p.upd")
    assert r.returncode == 0, r.stderr
    assert "replaced" in r.stdout and "removed 1" in r.stdout
    # The wider line before it still wins for 02000 to 02001: the publisher is told.
    assert "warning" in r.stderr and "R 00000 02002 http://h/wide.upd" in r.stderr
    assert info.read_bytes() == (b"# Glimra\r\nR 00000 02002 http://h/wide.upd\r\nR 02000 02001 http://h/new.upd\r\n"
                                 b"R 01000 01999 http://h/old.upd\r\n")
    r = run("--info", info, "--from", "02002", "--to", "02003", "--url", "http://h/next.upd", tmp_path / "in.zip",
            tmp_path / "p.upd")
    assert r.returncode == 0 and "appended" in r.stdout
    assert info.read_bytes().endswith(b"R 01000 01999 http://h/old.upd\r\nR 02002 02003 http://h/next.upd\r\n")


@pytest.fixture
def served(tmp_path):
    """A loopback HTTP server for the files of tmp_path/www; yields its base URL."""
    import functools
    import http.server
    import threading
    www = tmp_path / "www"
    www.mkdir()
    handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=str(www))
    handler.log_message = lambda *a: None
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    yield f"http://127.0.0.1:{server.server_address[1]}"
    server.shutdown()
    server.server_close()


def test_check_reports_what_a_client_of_each_version_gets(tmp_path, served):
    www = tmp_path / "www"
    src = tmp_path / "src"
    src.mkdir()
    (src / "setupeasy.exe").write_bytes(b"MZ" + os.urandom(30000))
    info = www / "AutoUpdate.dat"
    r = run("--info", info, "--from", "00000", "--to", "02001", "--url", f"{served}/glimra-02002.upd", src,
            www / "glimra-02002.upd")
    assert r.returncode == 0, r.stderr

    r = run("--check", f"{served}/AutoUpdate.dat", "02001")
    assert r.returncode == 0, r.stdout
    assert f"PASSED: a client of version 02001 installs {served}/glimra-02002.upd with setupeasy.exe" in r.stdout
    assert "waited for" in r.stdout and f"info R 00000 02001 {served}/glimra-02002.upd" in r.stdout

    r = run("--check", f"{served}/AutoUpdate.dat", "02002")
    assert r.returncode == 3 and "no update" in r.stdout

    data = bytearray((www / "glimra-02002.upd").read_bytes())
    data[200] ^= 0x01
    (www / "glimra-02002.upd").write_bytes(bytes(data))
    r = run("--check", f"{served}/AutoUpdate.dat", "02001")
    assert r.returncode == 1 and "FAILED" in r.stdout and "does not read back" in r.stdout

    (www / "glimra-02002.upd").unlink()
    r = run("--check", f"{served}/AutoUpdate.dat", "02001")
    assert r.returncode == 1 and "status 404" in r.stdout
    r = run("--check", "http://127.0.0.1:1/AutoUpdate.dat", "02001")
    assert r.returncode == 1 and "connection failed" in r.stdout
    assert run("--check", f"{served}/AutoUpdate.dat").returncode == 2


def test_usage(tmp_path):
    r = run()
    assert r.returncode == 2 and "Usage:" in r.stderr
    r = run("--help")
    assert r.returncode == 0 and "--info" in r.stdout and "setup.exe" in r.stdout
    r = run("--info", tmp_path / "a", tmp_path, tmp_path / "p.upd")
    assert r.returncode == 2 and "go together" in r.stderr
    r = run(tmp_path / "missing", tmp_path / "p.upd")
    assert r.returncode == 1


def test_signed_package_verifies_with_an_independent_verifier(tmp_path):
    key = tmp_path / "publisher.pem"
    subprocess.run(["openssl", "genpkey", "-algorithm", "ed25519", "-out", key], check=True)
    private = serialization.load_pem_private_key(key.read_bytes(), None)
    public = private.public_key().public_bytes(serialization.Encoding.Raw, serialization.PublicFormat.Raw).hex()
    src = tmp_path / "src"
    src.mkdir()
    (src / "setup.bat").write_bytes(b"@echo x\r\n")
    r = run("--sign", key, "--new-version", "02002", src, tmp_path / "signed.upd")
    assert r.returncode == 0, r.stderr
    assert f"signed for version 02002 by key {public}" in r.stdout
    signed = (tmp_path / "signed.upd").read_bytes()
    assert verify(signed, private) == b"02002"

    # Built unsigned on one machine, signed on another.
    assert run(src, tmp_path / "later.upd").returncode == 0
    unsigned = (tmp_path / "later.upd").read_bytes()
    assert unsigned == signed[:len(unsigned)]
    r = run("--sign", key, "--new-version", "02003", tmp_path / "later.upd")
    assert r.returncode == 0, r.stderr
    assert verify((tmp_path / "later.upd").read_bytes(), private) == b"02003"
    again = run("--sign", key, "--new-version", "02004", tmp_path / "later.upd")
    assert again.returncode == 1 and "already" in again.stderr
    assert verify((tmp_path / "later.upd").read_bytes(), private) == b"02003"


@pytest.mark.parametrize("args, key, code, why", [
    (["--sign", "KEY"], b"", 2, "--new-version"),
    (["--new-version", "02002"], b"", 2, "--sign"),
    (["--sign", "KEY", "--new-version", "0 2"], b"", 2, "printable"),
    (["--sign", "KEY", "--new-version", "02002"], b"not a key", 1, "not an Ed25519 private key"),
    (["--sign", "KEY", "--new-version", "02002"], bytes(32) + bytes(range(32)), 1, "not the public key"),
])
def test_signing_requests_that_cannot_work_write_nothing(tmp_path, args, key, code, why):
    (tmp_path / "key").write_bytes(key)
    src = tmp_path / "src"
    src.mkdir()
    (src / "setup.bat").write_bytes(b"@echo x\r\n")
    r = run(*[tmp_path / "key" if a == "KEY" else a for a in args], src, tmp_path / "out.upd")
    assert r.returncode == code and why in r.stderr, r.stderr
    assert not (tmp_path / "out.upd").exists()

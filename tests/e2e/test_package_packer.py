"""The Windows builds of Mervpack and of the package reader under Wine, in
the Japanese locale: names travel as code page 932 from the publisher's
folder into the package and back out into the unpack folder."""
import hashlib
import io
import os
import struct
import time
import zipfile

import pytest

from cryptography.hazmat.primitives.ciphers import Cipher, algorithms, modes

pytestmark = pytest.mark.filterwarnings("ignore:.*CAST5")


def plain_archive(path):
    data = path.read_bytes()
    length = struct.unpack("<I", data[8:12])[0]
    dec = Cipher(algorithms.CAST5(b"qzw|random text;"), modes.ECB()).decryptor()
    plain = (dec.update(data[32:]) + dec.finalize())[:length]
    assert data[:4] == b"UPD\x01" and hashlib.md5(plain).digest() == data[16:32]
    return zipfile.ZipFile(io.BytesIO(plain))


def tree(root):
    out = {}
    for dirpath, dirnames, filenames in os.walk(root):
        rel = os.path.relpath(dirpath, root)
        for d in dirnames:
            out[os.path.normpath(os.path.join(rel, d)) + "/"] = None
        for f in filenames:
            p = os.path.join(dirpath, f)
            out[os.path.normpath(os.path.join(rel, f))] = (open(p, "rb").read(), int(os.stat(p).st_mtime))
    return out


def test_windows_packer_and_reader_keep_japanese_names_data_and_times(wine, tmp_path):
    src = tmp_path / "src"
    (src / "日本語" / "表示").mkdir(parents=True)
    (src / "setup.exe").write_bytes(b"MZ" + os.urandom(50000))
    (src / "日本語" / "表示ソフト.txt").write_bytes("ソフト\r\n".encode("cp932") * 3000)
    (src / "日本語" / "表示" / "データ.bin").write_bytes(os.urandom(200000))
    stamp = int(time.mktime((2022, 3, 4, 5, 6, 8, 0, 0, -1)))
    for p in src.rglob("*"):
        if p.is_file():
            os.utime(p, (stamp, stamp))
    pkg = tmp_path / "update.upd"
    r = wine.run(wine.bin / "Mervpack.exe", wine.winpath(src), wine.winpath(pkg))
    assert r.returncode == 0, r.stderr.decode("cp932", "replace")

    names = {i.filename.encode("cp437") for i in plain_archive(pkg).infolist()}
    assert "日本語/表示/データ.bin".encode("cp932") in names
    assert "日本語/表示ソフト.txt".encode("cp932") in names

    out = tmp_path / "out"
    r = wine.run(wine.build / "tests" / "package_unpack.exe", wine.winpath(pkg), wine.winpath(out))
    assert r.returncode == 0, r.stdout.decode("cp932", "replace")
    assert tree(out) == tree(src)


def test_windows_reader_refuses_unsafe_and_damaged_packages(wine, tmp_path):
    fixtures = wine.build / "tests" / "package" / "fixtures"
    for name in ("unsafe_dotdot", "unsafe_drive", "unsafe_root_back", "unsafe_middle", "unsafe_device", "bad_crc",
                 "bad_digest", "short_body"):
        work = tmp_path / name
        work.mkdir()
        r = wine.run(wine.build / "tests" / "package_unpack.exe", wine.winpath(fixtures / (name + ".upd")),
                     wine.winpath(work / "out"))
        assert r.returncode == 1, name
        assert list(work.iterdir()) == [], name
    assert not (tmp_path / "evil.txt").exists()


def test_windows_packer_usage_and_refusal(wine, tmp_path):
    r = wine.run(wine.bin / "Mervpack.exe", "--help")
    assert r.returncode == 0 and b"--info" in r.stdout
    with zipfile.ZipFile(tmp_path / "bad.zip", "w") as z:
        z.writestr("setup.exe", b"MZ")
        z.writestr("..\\evil.txt", b"x")
    r = wine.run(wine.bin / "Mervpack.exe", wine.winpath(tmp_path / "bad.zip"), wine.winpath(tmp_path / "p.upd"))
    assert r.returncode == 1 and b"refused" in r.stderr
    assert not (tmp_path / "p.upd").exists()

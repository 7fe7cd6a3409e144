#!/usr/bin/python3
"""Makes update packages for the reader's tests without any code of ours:
CAST5 from python3-cryptography, ZIP archives from zipfile, MD5 from hashlib.

Usage: make_fixtures.py <output folder>

Writes <name>.upd files and manifest.txt, which lists what good.upd must
unpack to: "D <hex name>" for folders, "F <hex name> <md5> <mtime> <mtime in
JST-9>" for files (names as cp932 bytes in hex, times as epoch seconds of the
entry's local time in this host's zone and in JST-9).
"""
import hashlib
import io
import os
import struct
import sys
import time
import warnings
import zipfile

from cryptography.hazmat.primitives.ciphers import Cipher, algorithms, modes

KEY = b"qzw|random text;"
warnings.filterwarnings("ignore", message=".*CAST5")


def encrypt(data: bytes) -> bytes:
    padded = data + b"\0" * (-len(data) % 8)
    enc = Cipher(algorithms.CAST5(KEY), modes.ECB()).encryptor()
    return enc.update(padded) + enc.finalize()


def package(archive: bytes, *, mark=b"UPD", fmt=1, length=None, digest=None, tail=b"") -> bytes:
    length = len(archive) if length is None else length
    digest = hashlib.md5(archive).digest() if digest is None else digest
    header = mark + bytes([fmt]) + b"\0" * 4 + struct.pack("<I", length) + b"\0" * 4 + digest
    return header + encrypt(archive) + tail


def make_zip(entries) -> bytes:
    """entries: (name as cp932 bytes, data or None for a folder, date_time, method).

    zipfile stores non-ASCII names as UTF-8, so each name goes in as an ASCII
    stand-in of the same length and is replaced by its cp932 bytes afterwards
    (the CRC covers the data only)."""
    buf = io.BytesIO()
    swaps = []
    with zipfile.ZipFile(buf, "w") as z:
        for i, (name, data, date_time, method) in enumerate(entries):
            if all(b < 0x80 for b in name):
                arcname = name.decode("ascii")
            else:
                stand_in = ("~%04d~" % i).ljust(len(name), "~")
                assert len(stand_in) == len(name)
                swaps.append((stand_in.encode("ascii"), name))
                arcname = stand_in
                if data is None:
                    arcname = stand_in[:-1] + "/"
            info = zipfile.ZipInfo(arcname, date_time=date_time)
            info.compress_type = method
            if data is None:
                info.external_attr = 0o40755 << 16 | 0x10
                z.writestr(info, b"")
            else:
                z.writestr(info, data)
    out = buf.getvalue()
    for stand_in, name in swaps:
        if name.endswith(b"/"):
            stand_in = stand_in[:-1] + b"/"
        assert out.count(stand_in) == 2
        out = out.replace(stand_in, name)
    return out


def declare_sizes(archive: bytes, size: int) -> bytes:
    """The archive with every entry's uncompressed size, in its local and
    central headers, replaced by size (the data stays as it is)."""
    out = bytearray(archive)
    for signature, offset in ((b"PK\x03\x04", 22), (b"PK\x01\x02", 24)):
        i = out.find(signature)
        while i >= 0:
            out[i + offset:i + offset + 4] = struct.pack("<I", size)
            i = out.find(signature, i + 4)
    return bytes(out)


def epoch(date_time, zone=None):
    saved = os.environ.get("TZ")
    if zone:
        os.environ["TZ"] = zone
        time.tzset()
    try:
        return int(time.mktime(date_time + (0, 0, -1)))
    finally:
        if zone:
            if saved is None:
                del os.environ["TZ"]
            else:
                os.environ["TZ"] = saved
            time.tzset()


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    D, S = zipfile.ZIP_DEFLATED, zipfile.ZIP_STORED
    rnd = bytes((i * 7919 + (i >> 3) * 31) & 0xFF for i in range(200_000))
    text = ("更新プログラム readme\r\n" * 3000).encode("cp932")
    good = [
        ("setup.exe".encode(), b"MZ" + rnd[:5000], (2023, 11, 5, 14, 30, 10), S),
        ("docs/".encode(), None, (2023, 11, 5, 14, 30, 0), S),
        ("docs/readme.txt".encode(), text, (2022, 1, 2, 3, 4, 6), D),
        ("日本語/".encode("cp932"), None, (2021, 6, 7, 8, 9, 10), S),
        # "表" and "ソ" end in the byte 0x5C, which must not split the name.
        ("日本語/表示ソフト.txt".encode("cp932"), rnd[:150_000], (2021, 6, 7, 8, 9, 12), D),
        ("bin\\sub\\data.bin".encode(), rnd[100:170_000], (2020, 2, 29, 23, 59, 58), D),
        ("empty.dat".encode(), b"", (2019, 12, 31, 0, 0, 0), S),
    ]
    archive = make_zip(good)
    with open(os.path.join(out, "manifest.txt"), "w") as m:
        for name, data, dt, _ in good:
            path = name.decode("cp932").replace("\\", "/").encode("cp932")
            if data is None:
                m.write("D %s\n" % path.rstrip(b"/").hex())
            else:
                m.write("F %s %s %d %d\n" % (path.hex(), hashlib.md5(data).hexdigest(), epoch(dt), epoch(dt, "JST-9")))

    small = make_zip([(b"setup.bat", b"@echo off\r\n", (2024, 1, 1, 0, 0, 0), D)])
    bad_crc = bytearray(make_zip([(b"a.txt", b"first file\r\n", (2024, 1, 1, 0, 0, 0), S),
                                  (b"b.txt", b"A" * 1000 + b"B" * 1000, (2024, 1, 1, 0, 0, 0), S)]))
    i = bad_crc.find(b"A" * 100)
    bad_crc[i + 10] ^= 0xFF
    bad_inflate = bytearray(make_zip([(b"a.txt", b"first file\r\n", (2024, 1, 1, 0, 0, 0), S),
                                      (b"b.bin", rnd[:50_000], (2024, 1, 1, 0, 0, 0), D)]))
    j = bad_inflate.find(b"b.bin") + 5 + 100
    bad_inflate[j:j + 64] = b"\xff" * 64
    bzip = make_zip([(b"setup.bat", b"x" * 100, (2024, 1, 1, 0, 0, 0), zipfile.ZIP_BZIP2)])
    not_zip = rnd[:4096]

    files = {
        "good": package(archive),
        "good_extra": package(archive, tail=encrypt(b"extra data after the archive")),
        "good_junk_tail": package(archive, tail=b"\x01\x02\x03"),
        "short": b"UPD\x01" + b"\0" * 27,
        "bad_mark": package(small, mark=b"UPX"),
        "format2": package(small, fmt=2),
        "short_body": package(small, length=len(small) + 64),
        "bad_digest": package(small, digest=bytes(16)),
        "not_zip": package(not_zip),
        "empty": package(b""),
        "bad_crc": package(bytes(bad_crc)),
        "bad_inflate": package(bytes(bad_inflate)),
        "bzip2": package(bzip),
        "only_folders": package(make_zip([(b"a/", None, (2024, 1, 1, 0, 0, 0), S),
                                          (b"a/b/c/", None, (2024, 1, 1, 0, 0, 0), S)])),
        "name_519": package(make_zip([(b"n" * 200 + b"/" + b"m" * 200 + b"/" + b"k" * 117,
                                       b"ok", (2024, 1, 1, 0, 0, 0), S)])),
        "name_520": package(make_zip([(b"n" * 520, b"x", (2024, 1, 1, 0, 0, 0), S)])),
        "name_4000": package(make_zip([(b"n" * 4000, b"x", (2024, 1, 1, 0, 0, 0), S)])),
    }
    # Declared sizes: two entries that add up to more than the reader's
    # ceiling, and an entry that holds far more than it declares.
    two = make_zip([(b"a.bin", b"a" * 1000, (2024, 1, 1, 0, 0, 0), D),
                    (b"b.bin", b"b" * 1000, (2024, 1, 1, 0, 0, 0), D)])
    files["declared_too_large"] = package(declare_sizes(two, 150 << 20))
    files["larger_than_declared"] = package(declare_sizes(
        make_zip([(b"setup.bat", b"\0" * 300_000, (2024, 1, 1, 0, 0, 0), D)]), 1000))
    # Cut body: the length covers a block that is not there in full.
    full = package(small)
    files["cut_block"] = full[:-3]
    unsafe = {
        "dotdot": b"../evil.txt",
        "dotdot_back": b"..\\evil.txt",
        "drive": b"C:\\evil.txt",
        "drive_relative": b"C:evil.txt",
        "root_back": b"\\evil.txt",
        "root_slash": b"/tmp/evil.txt",
        "middle": b"a/../../evil.txt",
        "dots_spaces": b"a/.. /evil.txt",
        "stream": b"setup.bat:hidden",
        "device": b"sub/CON.txt",
    }
    for key, name in unsafe.items():
        # A harmless entry first: nothing at all may be written.
        files["unsafe_" + key] = package(make_zip([(b"first.txt", b"first", (2024, 1, 1, 0, 0, 0), S),
                                                  (name, b"evil", (2024, 1, 1, 0, 0, 0), S)]))
    for key, data in files.items():
        with open(os.path.join(out, key + ".upd"), "wb") as f:
            f.write(data)
    with open(os.path.join(out, "good.zip"), "wb") as f:
        f.write(archive)


if __name__ == "__main__":
    main()

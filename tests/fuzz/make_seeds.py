#!/usr/bin/python3
"""Seed corpus for the package fuzzer: small archives (odd first byte: the
fuzzer wraps them into a valid package) and whole packages (even first byte).

Usage: make_seeds.py <fixture folder> <seed folder>"""
import io
import os
import sys
import zipfile

fixtures, seeds = sys.argv[1], sys.argv[2]
os.makedirs(seeds, exist_ok=True)


def put(name, data):
    with open(os.path.join(seeds, name), "wb") as f:
        f.write(data)


for n in sorted(os.listdir(fixtures)):
    path = os.path.join(fixtures, n)
    if n.endswith(".upd") and os.path.getsize(path) < 20000:
        put("pkg-" + n, b"\0" + open(path, "rb").read())

for i, names in enumerate([["setup.exe"], ["a/", "a/b.txt"], ["x/y/z.bin", "setup.bat"], ["../x"]]):
    buf = io.BytesIO()
    with zipfile.ZipFile(buf, "w") as z:
        for n in names:
            info = zipfile.ZipInfo(n, (2024, 5, 6, 7, 8, 10))
            info.compress_type = zipfile.ZIP_DEFLATED if i % 2 else zipfile.ZIP_STORED
            z.writestr(info, b"" if n.endswith("/") else (n * 20).encode())
    put("zip-%d" % i, b"\1" + buf.getvalue())

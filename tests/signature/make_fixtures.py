#!/usr/bin/python3
"""Makes signed update packages for the signature tests with an independent
signer (tests/e2e/harness: zipfile, CAST5 and Ed25519 from cryptography).

Usage: make_fixtures.py <output folder>

Writes <name>.upd files and keys.txt (the test key's public half in the forms
the checker's build option takes, one per line)."""
import base64
import hashlib
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "e2e"))
from harness.checker_run import make_package  # noqa: E402
from harness.signing import OTHER_KEY, TEST_KEY, block_prefix, pem, public_hex, sign  # noqa: E402
from cryptography.hazmat.primitives import serialization  # noqa: E402


def flip(data: bytes, offset: int) -> bytes:
    b = bytearray(data)
    b[offset] ^= 0x04
    return bytes(b)


def main(out: Path):
    out.mkdir(parents=True, exist_ok=True)
    payload = b"".join(hashlib.sha256(bytes([i])).digest() for i in range(100))
    plain = make_package({"setup.bat": b"@echo signed\r\n", "payload.bin": payload})
    good = sign(plain)
    body_end = len(plain)
    # Many reads of the package reader, more than the hashing thread queues.
    big = b"".join(hashlib.sha256(i.to_bytes(4, "little")).digest() for i in range(48 * 1024))
    large = sign(make_package({"setup.bat": b"@echo signed\r\n", "payload.bin": big}))
    packages = {
        "good": good,
        "unsigned": plain,
        "large": large,
        "large_body_bit": flip(large, len(large) // 2),
        "mark_bit": flip(good, 1),                 # not a package to the reader
        "header_bit": flip(good, 20),              # in the MD5 field
        "length_bit": flip(good, 8),               # moves the block
        "body_bit": flip(good, body_end // 2),
        "version_bit": flip(good, body_end + 9),   # "02002" -> "06002"
        "signature_bit": flip(good, len(good) - 10),
        "other_key": sign(plain, key=OTHER_KEY),
        "older": sign(plain, b"02001"),
        "long_version": sign(plain, b"1" * 32),
        "trailing": good + b"\0",
        "cut_signature": good[:-1],
        "bad_mark": plain + b"SIX" + good[body_end + 3:],
        "bad_algorithm": flip(good, body_end + 4),
        "empty_version": plain + block_prefix(b"") + bytes(64),
    }
    for name, data in packages.items():
        (out / f"{name}.upd").write_bytes(data)
    raw = TEST_KEY.public_key().public_bytes(serialization.Encoding.Raw, serialization.PublicFormat.Raw)
    der = TEST_KEY.public_key().public_bytes(serialization.Encoding.DER,
                                             serialization.PublicFormat.SubjectPublicKeyInfo)
    pem_public = TEST_KEY.public_key().public_bytes(serialization.Encoding.PEM,
                                             serialization.PublicFormat.SubjectPublicKeyInfo)
    forms = [public_hex(TEST_KEY), public_hex(TEST_KEY).upper(), base64.b64encode(raw).decode(),
             base64.b64encode(der).decode(), pem_public.decode().replace("\n", " ")]
    (out / "keys.txt").write_text("\n".join(forms) + "\n")
    # The private key in the forms Mervpack --sign reads.
    seed = TEST_KEY.private_bytes(serialization.Encoding.Raw, serialization.PrivateFormat.Raw,
                                  serialization.NoEncryption())
    (out / "test_key.pem").write_bytes(pem(TEST_KEY))
    (out / "test_key.raw32").write_bytes(seed)
    (out / "test_key.raw64").write_bytes(seed + raw)
    (out / "mismatched.raw64").write_bytes(seed + bytes(32))


if __name__ == "__main__":
    main(Path(sys.argv[1]))

"""An independent signer for update packages: python3-cryptography's Ed25519
and hashlib's BLAKE2b, no code of ours.

The block after the encrypted body: "SIG", format 1, algorithm 1, version
length n, two zero bytes, the version text, then the Ed25519 signature of
CONTEXT + BLAKE2b-512(every byte of the file before the signature)."""
import hashlib
import struct

from cryptography.hazmat.primitives.asymmetric.ed25519 import Ed25519PrivateKey
from cryptography.hazmat.primitives import serialization

CONTEXT = b"GlimraUpdateSig1"


def key_from(label: str) -> Ed25519PrivateKey:
    """A fixed key for tests, derived from a label."""
    return Ed25519PrivateKey.from_private_bytes(hashlib.sha256(label.encode()).digest())


# The checker test build carries this key's public half (tests/signature/CMakeLists.txt).
TEST_KEY = key_from("Glimra test publisher")
OTHER_KEY = key_from("Glimra other publisher")


def public_hex(key: Ed25519PrivateKey) -> str:
    return key.public_key().public_bytes(serialization.Encoding.Raw, serialization.PublicFormat.Raw).hex()


def pem(key: Ed25519PrivateKey) -> bytes:
    """The private key as `openssl genpkey -algorithm ed25519` writes it."""
    return key.private_bytes(serialization.Encoding.PEM, serialization.PrivateFormat.PKCS8,
                             serialization.NoEncryption())


def block_prefix(version: bytes, fmt=1, algorithm=1) -> bytes:
    return b"SIG" + bytes([fmt, algorithm, len(version)]) + b"\0\0" + version


def sign(package: bytes, version: bytes = b"02002", key: Ed25519PrivateKey = TEST_KEY) -> bytes:
    """The package with its signature block appended."""
    signed = package + block_prefix(version)
    return signed + key.sign(CONTEXT + hashlib.blake2b(signed, digest_size=64).digest())


def verify(package: bytes, key: Ed25519PrivateKey = TEST_KEY) -> bytes:
    """Checks a signed package as the checker does; returns the signed version
    (raises on a bad signature or block)."""
    length = struct.unpack_from("<I", package, 8)[0]
    start = 32 + (length + 7) // 8 * 8
    block = package[start:]
    assert block[:6] == b"SIG\x01\x01" + bytes([block[5]]) and block[6:8] == b"\0\0", block[:8]
    n = block[5]
    assert len(block) == 8 + n + 64
    key.public_key().verify(block[8 + n:], CONTEXT + hashlib.blake2b(package[:start + 8 + n], digest_size=64).digest())
    return block[8:8 + n]

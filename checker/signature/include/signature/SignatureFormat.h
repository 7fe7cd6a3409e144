#pragma once
// The signature block a publisher appends to an update package, right after
// the encrypted body (at 32 + the archive length rounded up to 8 bytes), up to
// the end of the file. The package header keeps its length field, so a checker
// without a publisher key reads the package as before and ignores the block.
//
//    0   3  "SIG"
//    3   1  block format, 1
//    4   1  algorithm, 1: Ed25519 over a BLAKE2b-512 digest
//    5   1  n, length of the version text, 1..32
//    6   2  zero
//    8   n  version text: the highest version the package installs
//  8+n  64  Ed25519 signature
//
// Signed message: the 16 bytes of kContext, then the BLAKE2b-512 digest (64
// bytes, no key) of every byte of the file before the signature: the package
// header, the whole encrypted body, the block's first 8 bytes and the version.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace signature {

inline constexpr char kBlockMark[3] = {'S', 'I', 'G'};
inline constexpr std::uint8_t kBlockFormat = 1;
inline constexpr std::uint8_t kAlgorithmEd25519Blake2b = 1;
inline constexpr std::size_t kFixedSize = 8;
inline constexpr std::size_t kMaxVersion = 32;
inline constexpr std::size_t kSignatureSize = 64;
inline constexpr std::size_t kDigestSize = 64;
inline constexpr std::size_t kMaxBlockSize = kFixedSize + kMaxVersion + kSignatureSize;
// Keeps a signature made for this purpose from meaning anything elsewhere
// (a plain BLAKE2b-then-Ed25519 file signature, for one).
inline constexpr char kContext[16] = {'G', 'l', 'i', 'm', 'r', 'a', 'U', 'p', 'd', 'a', 't', 'e', 'S', 'i', 'g', '1'};

// A version text fit for the block: 1..32 printable ASCII characters without
// spaces (it must also fit a field of the update-information file).
bool IsSignableVersion(std::string_view version);

}  // namespace signature

#pragma once
// Layout of an update package: a 32-byte plain header, then the ZIP archive
// encrypted with CAST-128 in ECB mode, the last block padded.
//
//   0  3  "UPD"
//   3  1  format number, 1
//   4  4  not examined by the reader (zero)
//   8  4  length of the plain archive, little-endian
//  12  4  not examined by the reader (zero)
//  16 16  MD5 digest of the plain archive
#include <cstddef>
#include <cstdint>

namespace package {

inline constexpr std::size_t kHeaderSize = 32;
inline constexpr char kMark[3] = {'U', 'P', 'D'};
inline constexpr std::uint8_t kFormat = 1;
inline constexpr std::size_t kLengthOffset = 8;
inline constexpr std::size_t kDigestOffset = 16;

// The fixed package key: the 16 bytes of "qzw|random text;", no terminator.
inline constexpr std::uint8_t kPackageKey[16] = {'q', 'z', 'w', '|', 'r', 'a', 'n', 'd',
                                                 'o', 'm', ' ', 't', 'e', 'x', 't', ';'};

// Reading and writing are done in chunks of this size; it bounds the memory
// an unpack needs, whatever the package size.
inline constexpr std::size_t kChunkSize = 65536;

// Most bytes one package may unpack to, all entries together: far above
// any update of ours, far below what a crafted archive (deflate packs 1 GiB
// of zeros into 1 MiB) could fill a disk with.
inline constexpr std::uint64_t kMaxUnpackedSize = 256ull << 20;

// Longest entry name the reader accepts, in bytes.
inline constexpr std::size_t kMaxEntryName = 519;

}  // namespace package

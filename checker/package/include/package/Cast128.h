#pragma once
// CAST-128 block cipher (RFC 2144): 64-bit blocks, keys of 5 to 16 bytes,
// used here in ECB mode. The key schedule is computed once per key so that a
// block costs only the sixteen table-driven rounds.
#include <cstddef>
#include <cstdint>

namespace package {

class Cast128 {
 public:
  static constexpr std::size_t kBlockSize = 8;
  static constexpr std::size_t kMaxKeySize = 16;
  static constexpr std::size_t kMinKeySize = 5;

  Cast128() = default;
  Cast128(const void* key, std::size_t length) { SetKey(key, length); }

  // Runs the key schedule. Keys shorter than 16 bytes are padded with zeros;
  // keys of up to 10 bytes use 12 rounds. Returns false for a length outside
  // 5..16 (the object then keeps its previous key).
  bool SetKey(const void* key, std::size_t length);

  void EncryptBlock(const std::uint8_t in[kBlockSize], std::uint8_t out[kBlockSize]) const;
  void DecryptBlock(const std::uint8_t in[kBlockSize], std::uint8_t out[kBlockSize]) const;

  // ECB over the whole blocks of data, in place; a trailing partial block is
  // left untouched.
  void EncryptBlocks(std::uint8_t* data, std::size_t size) const;
  void DecryptBlocks(std::uint8_t* data, std::size_t size) const;

 private:
  std::uint32_t mask_[16] = {};
  std::uint8_t rotate_[16] = {};
  int rounds_ = 16;
};

}  // namespace package

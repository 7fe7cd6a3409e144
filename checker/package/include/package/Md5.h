#pragma once
// MD5 message digest (RFC 1321), fed incrementally.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace package {

using Md5Digest = std::array<std::uint8_t, 16>;

class Md5 {
 public:
  Md5() { Reset(); }
  void Reset();
  void Update(const void* data, std::size_t size);
  // Pads, returns the digest and resets the object for a new message.
  Md5Digest Finish();

  static Md5Digest Of(const void* data, std::size_t size);

 private:
  void Transform(const std::uint8_t* block);

  std::uint32_t state_[4];
  std::uint64_t length_;  // bytes seen so far
  std::uint8_t buffer_[64];
  std::size_t buffered_;
};

// Lower-case hexadecimal form, as md5sum prints it.
std::string ToHex(const Md5Digest& digest);

}  // namespace package

#include "package/Cast128.h"

#include <cstring>

namespace package {
namespace {

#include "Cast128Sboxes.inc"

#define S1 kSbox[0]
#define S2 kSbox[1]
#define S3 kSbox[2]
#define S4 kSbox[3]
#define S5 kSbox[4]
#define S6 kSbox[5]
#define S7 kSbox[6]
#define S8 kSbox[7]

inline std::uint32_t Rol(std::uint32_t v, unsigned n) {
  n &= 31;
  return n == 0 ? v : (v << n) | (v >> (32 - n));
}

inline std::uint32_t Load(const std::uint8_t* p) {
  return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

inline void Store(std::uint8_t* p, std::uint32_t v) {
  p[0] = std::uint8_t(v >> 24);
  p[1] = std::uint8_t(v >> 16);
  p[2] = std::uint8_t(v >> 8);
  p[3] = std::uint8_t(v);
}

inline unsigned B0(std::uint32_t v) { return v >> 24; }
inline unsigned B1(std::uint32_t v) { return (v >> 16) & 0xFF; }
inline unsigned B2(std::uint32_t v) { return (v >> 8) & 0xFF; }
inline unsigned B3(std::uint32_t v) { return v & 0xFF; }

// The three round functions; Ia is the most significant byte of I.
inline std::uint32_t F1(std::uint32_t d, std::uint32_t m, unsigned r) {
  std::uint32_t i = Rol(m + d, r);
  return ((S1[B0(i)] ^ S2[B1(i)]) - S3[B2(i)]) + S4[B3(i)];
}
inline std::uint32_t F2(std::uint32_t d, std::uint32_t m, unsigned r) {
  std::uint32_t i = Rol(m ^ d, r);
  return ((S1[B0(i)] - S2[B1(i)]) + S3[B2(i)]) ^ S4[B3(i)];
}
inline std::uint32_t F3(std::uint32_t d, std::uint32_t m, unsigned r) {
  std::uint32_t i = Rol(m - d, r);
  return ((S1[B0(i)] + S2[B1(i)]) ^ S3[B2(i)]) - S4[B3(i)];
}

// One half of the key schedule: 16 sub-keys from the key words x[0..3],
// which it leaves updated for the next half.
void ScheduleHalf(std::uint32_t x[4], std::uint32_t k[16]) {
  std::uint32_t z[4];
  auto xb = [&](int i) { return (x[i >> 2] >> (24 - 8 * (i & 3))) & 0xFF; };
  auto zb = [&](int i) { return (z[i >> 2] >> (24 - 8 * (i & 3))) & 0xFF; };
  for (int pass = 0; pass < 2; ++pass) {
    std::uint32_t* out = k + pass * 8;
    z[0] = x[0] ^ S5[xb(0xD)] ^ S6[xb(0xF)] ^ S7[xb(0xC)] ^ S8[xb(0xE)] ^ S7[xb(0x8)];
    z[1] = x[2] ^ S5[zb(0x0)] ^ S6[zb(0x2)] ^ S7[zb(0x1)] ^ S8[zb(0x3)] ^ S8[xb(0xA)];
    z[2] = x[3] ^ S5[zb(0x7)] ^ S6[zb(0x6)] ^ S7[zb(0x5)] ^ S8[zb(0x4)] ^ S5[xb(0x9)];
    z[3] = x[1] ^ S5[zb(0xA)] ^ S6[zb(0x9)] ^ S7[zb(0xB)] ^ S8[zb(0x8)] ^ S6[xb(0xB)];
    if (pass == 0) {
      out[0] = S5[zb(0x8)] ^ S6[zb(0x9)] ^ S7[zb(0x7)] ^ S8[zb(0x6)] ^ S5[zb(0x2)];
      out[1] = S5[zb(0xA)] ^ S6[zb(0xB)] ^ S7[zb(0x5)] ^ S8[zb(0x4)] ^ S6[zb(0x6)];
      out[2] = S5[zb(0xC)] ^ S6[zb(0xD)] ^ S7[zb(0x3)] ^ S8[zb(0x2)] ^ S7[zb(0x9)];
      out[3] = S5[zb(0xE)] ^ S6[zb(0xF)] ^ S7[zb(0x1)] ^ S8[zb(0x0)] ^ S8[zb(0xC)];
    } else {
      out[0] = S5[zb(0x3)] ^ S6[zb(0x2)] ^ S7[zb(0xC)] ^ S8[zb(0xD)] ^ S5[zb(0x9)];
      out[1] = S5[zb(0x1)] ^ S6[zb(0x0)] ^ S7[zb(0xE)] ^ S8[zb(0xF)] ^ S6[zb(0xC)];
      out[2] = S5[zb(0x7)] ^ S6[zb(0x6)] ^ S7[zb(0x8)] ^ S8[zb(0x9)] ^ S7[zb(0x2)];
      out[3] = S5[zb(0x5)] ^ S6[zb(0x4)] ^ S7[zb(0xA)] ^ S8[zb(0xB)] ^ S8[zb(0x6)];
    }
    x[0] = z[2] ^ S5[zb(0x5)] ^ S6[zb(0x7)] ^ S7[zb(0x4)] ^ S8[zb(0x6)] ^ S7[zb(0x0)];
    x[1] = z[0] ^ S5[xb(0x0)] ^ S6[xb(0x2)] ^ S7[xb(0x1)] ^ S8[xb(0x3)] ^ S8[zb(0x2)];
    x[2] = z[1] ^ S5[xb(0x7)] ^ S6[xb(0x6)] ^ S7[xb(0x5)] ^ S8[xb(0x4)] ^ S5[zb(0x1)];
    x[3] = z[3] ^ S5[xb(0xA)] ^ S6[xb(0x9)] ^ S7[xb(0xB)] ^ S8[xb(0x8)] ^ S6[zb(0x3)];
    if (pass == 0) {
      out[4] = S5[xb(0x3)] ^ S6[xb(0x2)] ^ S7[xb(0xC)] ^ S8[xb(0xD)] ^ S5[xb(0x8)];
      out[5] = S5[xb(0x1)] ^ S6[xb(0x0)] ^ S7[xb(0xE)] ^ S8[xb(0xF)] ^ S6[xb(0xD)];
      out[6] = S5[xb(0x7)] ^ S6[xb(0x6)] ^ S7[xb(0x8)] ^ S8[xb(0x9)] ^ S7[xb(0x3)];
      out[7] = S5[xb(0x5)] ^ S6[xb(0x4)] ^ S7[xb(0xA)] ^ S8[xb(0xB)] ^ S8[xb(0x7)];
    } else {
      out[4] = S5[xb(0x8)] ^ S6[xb(0x9)] ^ S7[xb(0x7)] ^ S8[xb(0x6)] ^ S5[xb(0x3)];
      out[5] = S5[xb(0xA)] ^ S6[xb(0xB)] ^ S7[xb(0x5)] ^ S8[xb(0x4)] ^ S6[xb(0x7)];
      out[6] = S5[xb(0xC)] ^ S6[xb(0xD)] ^ S7[xb(0x3)] ^ S8[xb(0x2)] ^ S7[xb(0x8)];
      out[7] = S5[xb(0xE)] ^ S6[xb(0xF)] ^ S7[xb(0x1)] ^ S8[xb(0x0)] ^ S8[xb(0xD)];
    }
  }
}

}  // namespace

bool Cast128::SetKey(const void* key, std::size_t length) {
  if (length < kMinKeySize || length > kMaxKeySize) return false;
  std::uint8_t bytes[kMaxKeySize] = {};
  std::memcpy(bytes, key, length);
  std::uint32_t x[4] = {Load(bytes), Load(bytes + 4), Load(bytes + 8), Load(bytes + 12)};
  std::uint32_t rotations[16];
  ScheduleHalf(x, mask_);
  ScheduleHalf(x, rotations);
  for (int i = 0; i < 16; ++i) rotate_[i] = std::uint8_t(rotations[i] & 31);
  rounds_ = length <= 10 ? 12 : 16;
  return true;
}

// Round i (0-based) uses function type i % 3; the halves swap every round.
#define CAST_ROUND(l, r, i, F) l ^= F(r, mask_[i], rotate_[i])

void Cast128::EncryptBlock(const std::uint8_t in[kBlockSize], std::uint8_t out[kBlockSize]) const {
  std::uint32_t l = Load(in), r = Load(in + 4);
  CAST_ROUND(l, r, 0, F1);
  CAST_ROUND(r, l, 1, F2);
  CAST_ROUND(l, r, 2, F3);
  CAST_ROUND(r, l, 3, F1);
  CAST_ROUND(l, r, 4, F2);
  CAST_ROUND(r, l, 5, F3);
  CAST_ROUND(l, r, 6, F1);
  CAST_ROUND(r, l, 7, F2);
  CAST_ROUND(l, r, 8, F3);
  CAST_ROUND(r, l, 9, F1);
  CAST_ROUND(l, r, 10, F2);
  CAST_ROUND(r, l, 11, F3);
  if (rounds_ > 12) {
    CAST_ROUND(l, r, 12, F1);
    CAST_ROUND(r, l, 13, F2);
    CAST_ROUND(l, r, 14, F3);
    CAST_ROUND(r, l, 15, F1);
  }
  Store(out, r);
  Store(out + 4, l);
}

void Cast128::DecryptBlock(const std::uint8_t in[kBlockSize], std::uint8_t out[kBlockSize]) const {
  std::uint32_t l = Load(in), r = Load(in + 4);
  if (rounds_ > 12) {
    CAST_ROUND(l, r, 15, F1);
    CAST_ROUND(r, l, 14, F3);
    CAST_ROUND(l, r, 13, F2);
    CAST_ROUND(r, l, 12, F1);
  }
  CAST_ROUND(l, r, 11, F3);
  CAST_ROUND(r, l, 10, F2);
  CAST_ROUND(l, r, 9, F1);
  CAST_ROUND(r, l, 8, F3);
  CAST_ROUND(l, r, 7, F2);
  CAST_ROUND(r, l, 6, F1);
  CAST_ROUND(l, r, 5, F3);
  CAST_ROUND(r, l, 4, F2);
  CAST_ROUND(l, r, 3, F1);
  CAST_ROUND(r, l, 2, F3);
  CAST_ROUND(l, r, 1, F2);
  CAST_ROUND(r, l, 0, F1);
  Store(out, r);
  Store(out + 4, l);
}

void Cast128::EncryptBlocks(std::uint8_t* data, std::size_t size) const {
  for (std::size_t i = 0; i + kBlockSize <= size; i += kBlockSize) EncryptBlock(data + i, data + i);
}

void Cast128::DecryptBlocks(std::uint8_t* data, std::size_t size) const {
  for (std::size_t i = 0; i + kBlockSize <= size; i += kBlockSize) DecryptBlock(data + i, data + i);
}

}  // namespace package

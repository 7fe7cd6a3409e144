// CAST-128 against the vectors of RFC 2144, MD5 against the suite of RFC 1321.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "package/Cast128.h"
#include "package/Md5.h"

using package::Cast128;
using package::Md5;

namespace {

std::vector<std::uint8_t> Hex(const std::string& hex) {
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    out.push_back(std::uint8_t(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return out;
}

std::string ToHexString(const std::uint8_t* p, std::size_t n) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string s;
  for (std::size_t i = 0; i < n; ++i) {
    s += kDigits[p[i] >> 4];
    s += kDigits[p[i] & 15];
  }
  return s;
}

struct Vector {
  const char* key;
  const char* cipher;
};

TEST(Cast128, SingleBlockVectorsForAllKeySizes) {
  const Vector vectors[] = {
      {"0123456712345678234567893456789A", "238B4FE5847E44B2"},  // 128 bits
      {"01234567123456782345", "EB6A711A2C02271B"},              // 80 bits, 12 rounds
      {"0123456712", "7AC816D16E9B302E"},                        // 40 bits
  };
  const auto plain = Hex("0123456789ABCDEF");
  for (const Vector& v : vectors) {
    auto key = Hex(v.key);
    Cast128 cast(key.data(), key.size());
    std::uint8_t block[8];
    cast.EncryptBlock(plain.data(), block);
    EXPECT_EQ(ToHexString(block, 8), v.cipher) << v.key;
    cast.DecryptBlock(block, block);
    EXPECT_EQ(0, std::memcmp(block, plain.data(), 8)) << v.key;
  }
}

// The "full maintenance test" of RFC 2144 B.2: a million rounds in which each
// key encrypts the other, so every sub-key and S-box entry is exercised.
TEST(Cast128, FullMaintenanceTest) {
  auto a = Hex("0123456712345678234567893456789A");
  auto b = Hex("0123456712345678234567893456789A");
  for (int i = 0; i < 1000000; ++i) {
    Cast128 withB(b.data(), 16);
    withB.EncryptBlocks(a.data(), 16);
    Cast128 withA(a.data(), 16);
    withA.EncryptBlocks(b.data(), 16);
  }
  EXPECT_EQ(ToHexString(a.data(), 16), "EEA9D0A249FD3BA6B3436FB89D6DCA92");
  EXPECT_EQ(ToHexString(b.data(), 16), "B2C95EB00C31AD7180AC05B8E83D696E");
}

TEST(Cast128, RefusesKeysOutsideFiveToSixteenBytesAndLeavesPartialBlocks) {
  Cast128 cast;
  std::uint8_t key[17] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17};
  EXPECT_FALSE(cast.SetKey(key, 4));
  EXPECT_FALSE(cast.SetKey(key, 17));
  ASSERT_TRUE(cast.SetKey(key, 16));
  std::uint8_t data[13] = {0};
  cast.EncryptBlocks(data, sizeof data);
  for (int i = 8; i < 13; ++i) EXPECT_EQ(data[i], 0) << i;
  cast.DecryptBlocks(data, sizeof data);
  for (int i = 0; i < 13; ++i) EXPECT_EQ(data[i], 0) << i;
}

TEST(Md5, Rfc1321TestSuite) {
  const std::pair<std::string, std::string> suite[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& [text, digest] : suite) EXPECT_EQ(package::ToHex(Md5::Of(text.data(), text.size())), digest) << text;
}

// Feeding in pieces must not depend on where the pieces end, around the
// 56- and 64-byte boundaries of the padding in particular.
TEST(Md5, PiecewiseEqualsWhole) {
  std::vector<std::uint8_t> data(300);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = std::uint8_t(i * 37 + 11);
  for (std::size_t length : {55u, 56u, 63u, 64u, 65u, 119u, 120u, 300u}) {
    const auto whole = Md5::Of(data.data(), length);
    for (std::size_t split = 0; split <= length; split += 7) {
      Md5 md5;
      md5.Update(data.data(), split);
      md5.Update(data.data() + split, length - split);
      EXPECT_EQ(md5.Finish(), whole) << length << " split " << split;
    }
  }
}

}  // namespace

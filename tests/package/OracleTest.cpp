// Our CAST-128 and MD5 against independent implementations on random data:
// the openssl command line, python3-cryptography and md5sum. Native only.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "package/Cast128.h"
#include "package/Md5.h"

namespace {

std::string Shell(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    if (pclose(p) != 0) out = "failed: " + command;
  }
  return out;
}

class Oracle : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/package-oracle-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    std::mt19937 rng(20240501);
    data_.resize(96 * 1024 + 40);  // several 64 KiB chunks' worth, whole blocks
    for (auto& b : data_) b = std::uint8_t(rng());
    for (auto& b : key_) b = std::uint8_t(rng());
    Write("plain.bin", data_);
  }
  void TearDown() override { Shell("rm -rf '" + dir_ + "'"); }

  void Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(dir_ + "/" + name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  std::vector<std::uint8_t> Read(const std::string& name) {
    std::ifstream in(dir_ + "/" + name, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
  }
  std::string KeyHex() const {
    std::string s;
    char b[3];
    for (auto k : key_) {
      std::snprintf(b, sizeof b, "%02x", k);
      s += b;
    }
    return s;
  }

  std::string dir_;
  std::vector<std::uint8_t> data_;
  std::uint8_t key_[16];
};

TEST_F(Oracle, Cast128AgreesWithOpenssl) {
  std::string out = Shell("openssl enc -cast5-ecb -provider legacy -provider default -nopad -K " + KeyHex() + " -in '" +
                          dir_ + "/plain.bin' -out '" + dir_ + "/openssl.bin' 2>&1");
  ASSERT_EQ(out.find("failed"), std::string::npos) << out;
  std::vector<std::uint8_t> ours = data_;
  package::Cast128(key_, 16).EncryptBlocks(ours.data(), ours.size());
  EXPECT_TRUE(ours == Read("openssl.bin"));
}

TEST_F(Oracle, Cast128DecryptsWhatPythonCryptographyEncrypts) {
  std::string script =
      "import sys,warnings;warnings.simplefilter('ignore');"
      "from cryptography.hazmat.primitives.ciphers import Cipher,algorithms,modes;"
      "e=Cipher(algorithms.CAST5(bytes.fromhex(sys.argv[1])),modes.ECB()).encryptor();"
      "d=open(sys.argv[2],'rb').read();open(sys.argv[3],'wb').write(e.update(d)+e.finalize())";
  std::string out = Shell("/usr/bin/python3 -c \"" + script + "\" " + KeyHex() + " '" + dir_ + "/plain.bin' '" + dir_ +
                          "/python.bin' 2>&1");
  ASSERT_EQ(out.find("failed"), std::string::npos) << out;
  std::vector<std::uint8_t> theirs = Read("python.bin");
  ASSERT_EQ(theirs.size(), data_.size());
  package::Cast128(key_, 16).DecryptBlocks(theirs.data(), theirs.size());
  EXPECT_TRUE(theirs == data_);
}

TEST_F(Oracle, Md5AgreesWithMd5sumOnManyLengths) {
  for (std::size_t length : {0u, 1u, 55u, 56u, 64u, 1000u, 65536u, 98344u}) {
    std::vector<std::uint8_t> part(data_.begin(), data_.begin() + length);
    Write("part.bin", part);
    std::string sum = Shell("md5sum '" + dir_ + "/part.bin'").substr(0, 32);
    EXPECT_EQ(package::ToHex(package::Md5::Of(part.data(), part.size())), sum) << length;
  }
}

}  // namespace

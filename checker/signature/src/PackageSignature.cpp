#include "signature/PackageSignature.h"

#include <sodium.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "checker/Trace.h"
#include "checker/UpdateInfo.h"
#include "package/PackageFormat.h"
#include "signature/SignatureFormat.h"

namespace signature {
namespace {

using package::ReadFull;

class Digest {
 public:
  Digest() { crypto_generichash_init(&state_, nullptr, 0, kDigestSize); }
  void Update(const std::uint8_t* data, std::size_t size) { crypto_generichash_update(&state_, data, size); }
  // The message the signature covers: the context, then the digest.
  std::array<std::uint8_t, sizeof kContext + kDigestSize> Message() {
    std::array<std::uint8_t, sizeof kContext + kDigestSize> message;
    std::memcpy(message.data(), kContext, sizeof kContext);
    crypto_generichash_final(&state_, message.data() + sizeof kContext, kDigestSize);
    return message;
  }

 private:
  crypto_generichash_state state_;
};

// Feeds the package header and the whole encrypted body to the digest.
// "" or the reason why the package is too short or unreadable.
std::string DigestHeaderAndBody(package::InputFile& in, Digest& digest) {
  std::uint8_t header[package::kHeaderSize];
  long got = ReadFull(in, header, sizeof header);
  if (got < 0) return "cannot read the package file";
  if (got != long(sizeof header)) return "package shorter than its header";
  digest.Update(header, sizeof header);
  const std::uint8_t* l = header + package::kLengthOffset;
  const std::uint64_t length =
      std::uint32_t(l[0]) | (std::uint32_t(l[1]) << 8) | (std::uint32_t(l[2]) << 16) | (std::uint32_t(l[3]) << 24);
  std::uint64_t rest = (length + 7) & ~std::uint64_t(7);  // the cipher's last block is padded
  std::vector<std::uint8_t> buffer(package::kChunkSize);
  while (rest > 0) {
    std::size_t want = rest < buffer.size() ? std::size_t(rest) : buffer.size();
    got = ReadFull(in, buffer.data(), want);
    if (got < 0) return "cannot read the package file";
    if (std::size_t(got) != want) return "package shorter than its length";
    digest.Update(buffer.data(), want);
    rest -= want;
  }
  return {};
}

// Checks the block's fixed part and size; "" or what is wrong with it.
std::string CheckBlock(const std::uint8_t* block, std::size_t size) {
  if (size == 0) return "no signature block";
  if (size < kFixedSize + kSignatureSize || std::memcmp(block, kBlockMark, sizeof kBlockMark) != 0)
    return "malformed signature block (no block mark)";
  if (block[3] != kBlockFormat || block[4] != kAlgorithmEd25519Blake2b)
    return "malformed signature block (unknown format or algorithm)";
  const std::size_t n = block[5];
  if (block[6] != 0 || block[7] != 0 || n == 0 || n > kMaxVersion ||
      !IsSignableVersion(std::string_view(reinterpret_cast<const char*>(block) + kFixedSize, n)))
    return "malformed signature block (version field)";
  if (size != kFixedSize + n + kSignatureSize) return "malformed signature block (size)";
  return {};
}

bool Start() { return sodium_init() >= 0; }

}  // namespace

bool IsSignableVersion(std::string_view version) {
  if (version.empty() || version.size() > kMaxVersion) return false;
  for (char c : version)
    if (c <= ' ' || c > '~') return false;
  return true;
}

Verdict VerifyPackage(const std::string& packageFile, const PublicKey& key, package::FileSystem& fs) {
  Verdict v;
  if (!Start()) {
    v.reason = "the signature library cannot start";
    return v;
  }
  std::unique_ptr<package::InputFile> in = fs.OpenForReading(packageFile);
  if (!in) {
    v.reason = "cannot open the package file";
    return v;
  }
  Digest digest;
  v.reason = DigestHeaderAndBody(*in, digest);
  if (!v.reason.empty()) return v;
  // One byte more than the largest block shows bytes after it.
  std::uint8_t block[kMaxBlockSize + 1];
  long got = ReadFull(*in, block, sizeof block);
  if (got < 0) {
    v.reason = "cannot read the package file";
    return v;
  }
  v.reason = CheckBlock(block, std::size_t(got));
  if (!v.reason.empty()) return v;
  const std::size_t signedPart = kFixedSize + block[5];
  digest.Update(block, signedPart);
  auto message = digest.Message();
  if (crypto_sign_verify_detached(block + signedPart, message.data(), message.size(), key.data()) != 0) {
    v.reason = "signature does not verify";
    return v;
  }
  v.good = true;
  v.version.assign(reinterpret_cast<const char*>(block) + kFixedSize, block[5]);
  return v;
}

bool SignPackage(const std::string& packageFile, const SecretKey& key, std::string_view version, std::string* error,
                 package::FileSystem& fs) {
  if (!IsSignableVersion(version)) {
    *error = "the signed version must be 1 to 32 printable characters without spaces";
    return false;
  }
  if (!Start()) {
    *error = "the signature library cannot start";
    return false;
  }
  std::vector<std::uint8_t> block(kFixedSize);
  std::memcpy(block.data(), kBlockMark, sizeof kBlockMark);
  block[3] = kBlockFormat;
  block[4] = kAlgorithmEd25519Blake2b;
  block[5] = std::uint8_t(version.size());
  block.insert(block.end(), version.begin(), version.end());
  Digest digest;
  {
    std::unique_ptr<package::InputFile> in = fs.OpenForReading(packageFile);
    if (!in) {
      *error = "cannot open " + packageFile;
      return false;
    }
    std::string problem = DigestHeaderAndBody(*in, digest);
    std::uint8_t more;
    if (problem.empty() && ReadFull(*in, &more, 1) != 0) problem = "it already has bytes after its body (signed?)";
    if (!problem.empty()) {
      *error = "cannot sign " + packageFile + ": " + problem;
      return false;
    }
  }
  digest.Update(block.data(), block.size());
  auto message = digest.Message();
  unsigned char pk[crypto_sign_PUBLICKEYBYTES];
  unsigned char sk[crypto_sign_SECRETKEYBYTES];
  crypto_sign_seed_keypair(pk, sk, key.seed.data());
  block.resize(block.size() + kSignatureSize);
  crypto_sign_detached(block.data() + block.size() - kSignatureSize, nullptr, message.data(), message.size(), sk);
  sodium_memzero(sk, sizeof sk);

  std::FILE* out = std::fopen(packageFile.c_str(), "ab");
  bool ok = out && std::fwrite(block.data(), 1, block.size(), out) == block.size();
  ok = out && std::fclose(out) == 0 && ok;
  if (!ok) *error = "cannot append the signature to " + packageFile;
  return ok;
}

Admission AdmitPackage(const std::string& packageFile, const std::string& callerVersion, const char* keyText) {
  Admission a;
  if (!keyText || !*keyText) {
    a.admitted = true;
    return a;
  }
  std::optional<PublicKey> key = ParsePublicKey(keyText);
  if (!key) {
    a.reason = "the publisher key built into this program is unusable";
    return a;
  }
  Verdict v = VerifyPackage(packageFile, *key);
  if (!v.good) {
    a.reason = v.reason;
    return a;
  }
  a.checked = true;
  a.version = v.version;
  if (checker::CompareVersion(v.version, callerVersion) <= 0) {
    a.reason = "signed version " + v.version + " is not above the installed version " + callerVersion;
    return a;
  }
  a.admitted = true;
  return a;
}

std::string PackageRefusal(const std::string& packageFile, const std::string& callerVersion, const char* keyText) {
  Admission a = AdmitPackage(packageFile, callerVersion, keyText);
  if (a.admitted && a.checked) checker::Trace("Package signature good, version %s\n", a.version.c_str());
  return a.admitted ? std::string() : a.reason;
}

}  // namespace signature

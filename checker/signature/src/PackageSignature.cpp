#include "signature/PackageSignature.h"

#include <sodium.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "BackgroundHasher.h"
#include "checker/Trace.h"
#include "checker/UpdateInfo.h"
#include "package/PackageFormat.h"
#include "signature/SignatureFormat.h"

namespace signature {

// BLAKE2b-512 over a package's header and body, fed in file order; the
// hashing itself runs beside the caller.
class PackageDigest {
 public:
  PackageDigest()
      : hasher_([this](const std::uint8_t* data, std::size_t size) {
          crypto_generichash_update(&hash_.state, data, size);
        }) {}
  void Update(const std::uint8_t* data, std::size_t size) {
    if (fed_ < sizeof header_) {
      const std::size_t n = std::min<std::uint64_t>(size, sizeof header_ - fed_);
      std::memcpy(header_ + fed_, data, n);
    }
    hasher_.Add(data, size);
    fed_ += size;
  }
  // Reads and digests what has not come yet of the header and the whole
  // encrypted body. "" or the reason why the package is too short or
  // unreadable.
  std::string ReadRest(package::InputFile& in);
  // The message the signature covers: the context, then the digest.
  std::array<std::uint8_t, sizeof kContext + kDigestSize> Message() {
    std::array<std::uint8_t, sizeof kContext + kDigestSize> message;
    std::memcpy(message.data(), kContext, sizeof kContext);
    hasher_.Finish();
    crypto_generichash_final(&hash_.state, message.data() + sizeof kContext, kDigestSize);
    return message;
  }

 private:
  // Initialised before the hasher's thread starts; the hasher goes first.
  struct State {
    State() { crypto_generichash_init(&state, nullptr, 0, kDigestSize); }
    crypto_generichash_state state;
  } hash_;
  std::uint8_t header_[package::kHeaderSize];
  std::uint64_t fed_ = 0;
  BackgroundHasher hasher_;
};

namespace {

using package::ReadFull;

bool Start() { return sodium_init() >= 0; }

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

}  // namespace

std::string PackageDigest::ReadRest(package::InputFile& in) {
  std::vector<std::uint8_t> buffer(package::kChunkSize);
  if (fed_ < sizeof header_) {
    long got = ReadFull(in, buffer.data(), sizeof header_ - fed_);
    if (got < 0) return "cannot read the package file";
    Update(buffer.data(), std::size_t(got));
    if (fed_ < sizeof header_) return "package shorter than its header";
  }
  const std::uint8_t* l = header_ + package::kLengthOffset;
  const std::uint64_t length =
      std::uint32_t(l[0]) | (std::uint32_t(l[1]) << 8) | (std::uint32_t(l[2]) << 16) | (std::uint32_t(l[3]) << 24);
  const std::uint64_t end = sizeof header_ + ((length + 7) & ~std::uint64_t(7));  // the last cipher block is padded
  if (fed_ > end) return "package read beyond its body";
  while (fed_ < end) {
    const std::size_t want = end - fed_ < buffer.size() ? std::size_t(end - fed_) : buffer.size();
    long got = ReadFull(in, buffer.data(), want);
    if (got < 0) return "cannot read the package file";
    Update(buffer.data(), std::size_t(got));
    if (std::size_t(got) != want) return "package shorter than its length";
  }
  return {};
}

SignatureCheck::SignatureCheck(const PublicKey& key) : key_(key) {
  if (Start()) digest_ = std::make_unique<PackageDigest>();
}

SignatureCheck::~SignatureCheck() = default;

void SignatureCheck::Read(const std::uint8_t* data, std::size_t size) {
  if (digest_) digest_->Update(data, size);
}

std::string SignatureCheck::Judge(package::InputFile& in) {
  version_.clear();
  if (!digest_) return "the signature library cannot start";
  std::string problem = digest_->ReadRest(in);
  if (!problem.empty()) return problem;
  // One byte more than the largest block shows bytes after it.
  std::uint8_t block[kMaxBlockSize + 1];
  long got = ReadFull(in, block, sizeof block);
  if (got < 0) return "cannot read the package file";
  problem = CheckBlock(block, std::size_t(got));
  if (!problem.empty()) return problem;
  const std::size_t signedPart = kFixedSize + block[5];
  digest_->Update(block, signedPart);
  auto message = digest_->Message();
  digest_.reset();  // its digest is spent
  if (crypto_sign_verify_detached(block + signedPart, message.data(), message.size(), key_.data()) != 0)
    return "signature does not verify";
  version_.assign(reinterpret_cast<const char*>(block) + kFixedSize, block[5]);
  return {};
}

bool IsSignableVersion(std::string_view version) {
  if (version.empty() || version.size() > kMaxVersion) return false;
  for (char c : version)
    if (c <= ' ' || c > '~') return false;
  return true;
}

Verdict VerifyPackage(const std::string& packageFile, const PublicKey& key, package::FileSystem& fs) {
  Verdict v;
  std::unique_ptr<package::InputFile> in = fs.OpenForReading(packageFile);
  if (!in) {
    v.reason = "cannot open the package file";
    return v;
  }
  SignatureCheck check(key);
  v.reason = check.Judge(*in);
  v.good = v.reason.empty();
  v.version = check.Version();
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
  PackageDigest digest;
  {
    std::unique_ptr<package::InputFile> in = fs.OpenForReading(packageFile);
    if (!in) {
      *error = "cannot open " + packageFile;
      return false;
    }
    std::string problem = digest.ReadRest(*in);
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

namespace {

// The signature check of a keyed checker: a good signature for a version
// above the caller's, traced.
class AdmissionCheck : public SignatureCheck {
 public:
  AdmissionCheck(const PublicKey& key, const std::string& callerVersion)
      : SignatureCheck(key), callerVersion_(callerVersion) {}
  std::string Judge(package::InputFile& in) override {
    refusal_ = SignatureCheck::Judge(in);
    if (refusal_.empty() && checker::CompareVersion(Version(), callerVersion_) <= 0)
      refusal_ = "signed version " + Version() + " is not above the installed version " + callerVersion_;
    if (refusal_.empty()) checker::Trace("Package signature good, version %s\n", Version().c_str());
    return refusal_;
  }
  const std::string& Refusal() const { return refusal_; }

 private:
  std::string callerVersion_;
  std::string refusal_;
};

}  // namespace

UnpackResult UnpackAdmitted(const std::string& packageFile, const std::string& unpackFolder,
                            const std::string& callerVersion, const char* keyText, const std::atomic<bool>* abort) {
  UnpackResult r;
  if (!keyText || !*keyText) {
    r.result = package::Unpack(packageFile, unpackFolder, &r.reason, abort);
    return r;
  }
  std::optional<PublicKey> key = ParsePublicKey(keyText);
  if (!key) {
    r.refused = true;
    r.reason = "the publisher key built into this program is unusable";
    return r;
  }
  AdmissionCheck check(*key, callerVersion);
  r.result = package::Unpack(packageFile, unpackFolder, &r.reason, abort, &check);
  r.refused = r.result != 1 && !check.Refusal().empty();
  return r;
}

}  // namespace signature

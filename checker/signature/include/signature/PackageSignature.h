#pragma once
// Signing an update package and checking its signature, streaming through the
// file in 64 KiB chunks as the package reader does.
#include <atomic>
#include <memory>
#include <string>
#include <string_view>

#include "package/FileSystem.h"
#include "package/PackageUnpacker.h"
#include "signature/Ed25519Keys.h"

namespace signature {

struct Verdict {
  bool good = false;
  std::string version;  // the signed version, when good
  std::string reason;   // why not, otherwise
};

// Checks the block at the end of the package against the key.
Verdict VerifyPackage(const std::string& packageFile, const PublicKey& key,
                      package::FileSystem& fs = package::SystemFileSystem());

// Appends a signature block for version to a package that has none. False
// with a reason in *error: nothing is appended when the package or the
// arguments are refused; a failed write may leave part of a block.
bool SignPackage(const std::string& packageFile, const SecretKey& key, std::string_view version, std::string* error,
                 package::FileSystem& fs = package::SystemFileSystem());

// Checks a package's signature on the bytes the package reader reads, as
// they pass (see package::PackageReadHook); Judge reads what the reader has
// left of the header and body, then the block.
class SignatureCheck : public package::PackageReadHook {
 public:
  explicit SignatureCheck(const PublicKey& key);
  ~SignatureCheck() override;
  SignatureCheck(const SignatureCheck&) = delete;
  SignatureCheck& operator=(const SignatureCheck&) = delete;

  void Read(const std::uint8_t* data, std::size_t size) override;
  std::string Judge(package::InputFile& in) override;
  // The signed version, once Judge has found the signature good.
  const std::string& Version() const { return version_; }

 private:
  std::unique_ptr<class PackageDigest> digest_;
  PublicKey key_;
  std::string version_;
};

// The package worker's unpack of a downloaded package: package::Unpack, and,
// with the publisher key the checker was built with (keyText; null or empty
// for none), the signature checked in the same pass, before anything is
// extracted. The package must carry a good signature for a version above
// callerVersion (compared as the update-information file compares versions),
// so that an older genuine package cannot be replayed. A good signature is
// traced.
struct UnpackResult {
  int result = 0;        // 1 unpacked, else 0 (the unpack folder removed)
  bool refused = false;  // by the signature check
  std::string reason;    // why not, when 0
};
UnpackResult UnpackAdmitted(const std::string& packageFile, const std::string& unpackFolder,
                            const std::string& callerVersion, const char* keyText,
                            const std::atomic<bool>* abort = nullptr);

}  // namespace signature

#pragma once
// Signing an update package and checking its signature, streaming through the
// file in 64 KiB chunks as the package reader does.
#include <string>
#include <string_view>

#include "package/FileSystem.h"
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

// The checker's decision on a downloaded package. keyText is the publisher key
// the checker was built with; without one (null or empty) every package is
// admitted unchecked. With one, the package must carry a good signature for a
// version above callerVersion (compared as the update-information file
// compares versions), so that an older genuine package cannot be replayed.
struct Admission {
  bool admitted = false;
  bool checked = false;  // a signature was verified
  std::string version;   // the signed version, when checked
  std::string reason;    // why not, when refused
};
Admission AdmitPackage(const std::string& packageFile, const std::string& callerVersion, const char* keyText);

// The package worker's question, answered with AdmitPackage: "" to unpack,
// else the reason of the refusal. A good signature is traced.
std::string PackageRefusal(const std::string& packageFile, const std::string& callerVersion, const char* keyText);

}  // namespace signature

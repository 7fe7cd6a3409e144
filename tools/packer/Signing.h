#pragma once
// Mervpack's signing step: --sign <key file> --new-version <version>.
#include <string>

namespace packer {

struct SigningRequest {
  std::string keyFile;
  std::string version;  // the highest version the package installs
  bool Requested() const { return !keyFile.empty() || !version.empty(); }
};

// "" when the request is complete, else what is missing.
std::string CheckSigningRequest(const SigningRequest& request);

// Signs the package (which must not be signed yet) and reads the signature
// back with the key's public half. On success *publicKeyHex names that key.
bool SignPackageFile(const SigningRequest& request, const std::string& packageFile, std::string* publicKeyHex,
                     std::string* error);

}  // namespace packer

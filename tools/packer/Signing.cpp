#include "Signing.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <optional>

#include "signature/Ed25519Keys.h"
#include "signature/PackageSignature.h"
#include "signature/SignatureFormat.h"

namespace packer {
namespace {

// A key file is small; anything larger is not one.
bool ReadKeyFile(const std::string& path, std::string* contents) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  char buffer[4096];
  std::size_t n = std::fread(buffer, 1, sizeof buffer, f);
  bool whole = n < sizeof buffer && !std::ferror(f);
  std::fclose(f);
  contents->assign(buffer, whole ? n : 0);
  std::fill(std::begin(buffer), std::end(buffer), '\0');
  return whole;
}

}  // namespace

std::string CheckSigningRequest(const SigningRequest& request) {
  if (request.keyFile.empty()) return "--new-version needs --sign <key file>";
  if (request.version.empty()) return "--sign needs --new-version <version the package installs>";
  if (!signature::IsSignableVersion(request.version))
    return "the new version must be 1 to 32 printable characters without spaces";
  return {};
}

bool SignPackageFile(const SigningRequest& request, const std::string& packageFile, std::string* publicKeyHex,
                     std::string* error) {
  std::string contents;
  if (!ReadKeyFile(request.keyFile, &contents)) {
    *error = "cannot read the key file " + request.keyFile;
    return false;
  }
  std::string problem;
  std::optional<signature::SecretKey> key = signature::ParsePrivateKey(contents, &problem);
  std::fill(contents.begin(), contents.end(), '\0');
  if (!key) {
    *error = request.keyFile + ": " + problem;
    return false;
  }
  if (!signature::SignPackage(packageFile, *key, request.version, error)) return false;
  const signature::PublicKey publicKey = signature::PublicKeyOf(*key);
  signature::Verdict verdict = signature::VerifyPackage(packageFile, publicKey);
  if (!verdict.good || verdict.version != request.version) {
    *error = "the signed package does not verify: " + verdict.reason;
    return false;
  }
  *publicKeyHex = signature::ToHex(publicKey);
  return true;
}

}  // namespace packer

// The signature check of a downloaded package, with the publisher key this
// program was built with (none: every package is admitted, as before).
#include "checker/Win32Platform.h"
#include "signature/PackageSignature.h"
#include "signature/PublisherKey.h"

namespace checker {

std::string Win32Platform::PackageRefusal(const std::string& packageFile, const std::string& callerVersion) {
  return signature::PackageRefusal(packageFile, callerVersion, signature::PublisherKeyText());
}

}  // namespace checker

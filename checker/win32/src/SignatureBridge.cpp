// The signature check of a downloaded package, with the publisher key this
// program was built with (none: every package is admitted, as before).
#include "checker/Trace.h"
#include "checker/Win32Platform.h"
#include "signature/PackageSignature.h"
#include "signature/PublisherKey.h"

namespace checker {

std::string Win32Platform::PackageRefusal(const std::string& packageFile, const std::string& callerVersion) {
  signature::Admission a = signature::AdmitPackage(packageFile, callerVersion, signature::PublisherKeyText());
  if (a.admitted && a.checked) Trace("Package signature good, version %s\n", a.version.c_str());
  return a.admitted ? std::string() : a.reason;
}

}  // namespace checker

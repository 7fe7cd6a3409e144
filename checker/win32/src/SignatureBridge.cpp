// The unpack of a downloaded package with the publisher key this program was
// built with (none: every package is unpacked, as before).
#include "checker/Trace.h"
#include "checker/Win32Platform.h"
#include "signature/PackageSignature.h"
#include "signature/PublisherKey.h"

namespace checker {

int Win32Platform::UnpackDownload(const std::string& packageFile, const std::string& unpackFolder,
                                  const std::string& callerVersion, std::string* refusal) {
  const char* key = signature::PublisherKeyText();
  if (!key || !*key) return Unpack(packageFile, unpackFolder);
  signature::UnpackResult r = signature::UnpackAdmitted(packageFile, unpackFolder, callerVersion, key, &abort_);
  if (r.refused) {
    *refusal = r.reason;
  } else if (r.result != 1) {
    Trace("Unpack error:%s\n", r.reason.c_str());
  }
  return r.result;
}

}  // namespace checker

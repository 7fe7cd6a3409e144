// The package reader lives in its own target; this file is the only place
// that knows its interface.
#include "checker/Win32Platform.h"

#include "checker/Trace.h"
#include "package/PackageUnpacker.h"

namespace checker {
bool RemoveFolderTree(const std::string& folder) { return package::RemoveFolder(folder); }
bool IsFilePath(const std::string& path) { return package::IsFile(path); }
int UnpackPackage(const std::string& packageFile, const std::string& unpackFolder, const std::atomic<bool>* abort) {
  std::string reason;
  int result = package::Unpack(packageFile, unpackFolder, &reason, abort);
  if (result != 1) Trace("Unpack error:%s\n", reason.c_str());
  return result;
}
}  // namespace checker

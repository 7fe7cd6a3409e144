// The package reader lives in its own target; this file is the only place
// that knows its interface.
#include "checker/Win32Platform.h"

#if GLIMRA_HAVE_PACKAGE
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

#else
// Until the package reader is part of the build no package unpacks.
namespace checker {
bool IsFilePath(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}
bool RemoveFolderTree(const std::string& folder) { return RemoveDirectoryA(folder.c_str()) != FALSE; }
int UnpackPackage(const std::string&, const std::string&, const std::atomic<bool>*) { return 0; }
}  // namespace checker
#endif

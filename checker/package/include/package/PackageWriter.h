#pragma once
// Writing an update package from a plain ZIP archive: the header with mark,
// format, length and MD5, then the archive encrypted with the package key.
#include <string>

#include "package/FileSystem.h"

namespace package {

// Returns false with a reason in *error. Archives of 4 GiB or more do not fit
// the 32-bit length field and are refused.
bool WritePackage(const std::string& archiveFile, const std::string& packageFile, std::string* error,
                  FileSystem& fs = SystemFileSystem());

}  // namespace package

#pragma once
// Turning a publisher's folder into a ZIP archive for a package, and checking
// an archive the publisher brings, with the rules of the package reader.
#include <string>
#include <vector>

#include "package/PackageUnpacker.h"

namespace packer {

struct Options {
  bool rawNames = false;  // natively: keep file names as they are on disk
  bool store = false;     // no compression
};

// Writes a ZIP archive of everything below folder (entries relative to it,
// '/' separators, code page 932 names, last-write times as local time).
bool ZipFolder(const std::string& folder, const std::string& zipFile, const Options& options, std::string* error);

// Reads every entry of the archive as the reader will (names, methods, data
// and CRC); entries receives the list.
bool CheckArchive(const std::string& zipFile, std::vector<package::ArchiveEntry>* entries, std::string* error);

// The installer the checker would start from this archive, "" when none.
std::string FindInstaller(const std::vector<package::ArchiveEntry>& entries);

// Whether the checker waits for that installer and then starts the viewer
// again (setupeasy.bat, setupeasy.exe).
bool InstallerIsWaitedFor(const std::string& name);

// Decrypts the package into a temporary file and checks it as the checker
// will: header, length, MD5 digest, then every entry's name, data and CRC.
bool VerifyPackage(const std::string& packageFile, std::vector<package::ArchiveEntry>* entries, std::string* error);

bool IsFolder(const std::string& path);

}  // namespace packer

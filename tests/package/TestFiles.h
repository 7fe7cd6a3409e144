#pragma once
// Small file helpers for the package tests, on Windows (run under Wine) and
// natively. Paths are code page 932 bytes; '/' works on both.
#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testfiles {

// Every file and folder below root, relative, '/'-separated, folders with a
// trailing '/', sorted.
std::vector<std::string> ListTree(const std::string& root);
bool Exists(const std::string& path);
std::string ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::string& data);
bool MakeFolder(const std::string& path);
// Last-write time in seconds since 1970 (UTC), -1 when unknown.
long long ModifiedTime(const std::string& path);
// A fresh empty folder for one test.
std::string NewScratchFolder(const std::string& tag);
void RemoveTree(const std::string& path);
// Points the temporary folder of this process (TMP, TEMP, TMPDIR) at folder.
void SetTempFolder(const std::string& folder);

}  // namespace testfiles

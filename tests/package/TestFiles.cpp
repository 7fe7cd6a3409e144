#include "TestFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <unistd.h>
#endif

namespace testfiles {
namespace {

std::vector<std::string> Children(const std::string& folder) {
  std::vector<std::string> names;
#ifdef _WIN32
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    std::string n = fd.cFileName;
    if (n != "." && n != "..") names.push_back(n);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
#else
  if (DIR* d = opendir(folder.c_str())) {
    while (dirent* e = readdir(d)) {
      std::string n = e->d_name;
      if (n != "." && n != "..") names.push_back(n);
    }
    closedir(d);
  }
#endif
  return names;
}

bool IsFolder(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == S_IFDIR;
}

void Walk(const std::string& root, const std::string& rel, std::vector<std::string>* out) {
  for (const std::string& name : Children(rel.empty() ? root : root + "/" + rel)) {
    std::string r = rel.empty() ? name : rel + "/" + name;
    if (IsFolder(root + "/" + r)) {
      out->push_back(r + "/");
      Walk(root, r, out);
    } else {
      out->push_back(r);
    }
  }
}

}  // namespace

std::vector<std::string> ListTree(const std::string& root) {
  std::vector<std::string> out;
  Walk(root, "", &out);
  std::sort(out.begin(), out.end());
  return out;
}

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::string& data) {
  std::ofstream(path, std::ios::binary).write(data.data(), std::streamsize(data.size()));
}

bool MakeFolder(const std::string& path) {
#ifdef _WIN32
  return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
#else
  return mkdir(path.c_str(), 0755) == 0;
#endif
}

long long ModifiedTime(const std::string& path) {
#ifdef _WIN32
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  ULARGE_INTEGER t;
  t.LowPart = data.ftLastWriteTime.dwLowDateTime;
  t.HighPart = data.ftLastWriteTime.dwHighDateTime;
  return (long long)(t.QuadPart / 10000000ULL) - 11644473600LL;
#else
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? (long long)st.st_mtime : -1;
#endif
}

std::string NewScratchFolder(const std::string& tag) {
  static int counter = 0;
  // Taken once: the tests move the temporary folder around.
  static const std::string root = [] {
#ifdef _WIN32
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    std::string r = std::string(base) + "pkgtest-" + std::to_string(GetCurrentProcessId());
#else
    const char* t = std::getenv("TMPDIR");
    std::string r = std::string(t && *t ? t : "/tmp") + "/pkgtest-" + std::to_string(getpid());
#endif
    MakeFolder(r);
    return r;
  }();
  std::string folder = root + "/" + tag + "-" + std::to_string(++counter);
  RemoveTree(folder);
  MakeFolder(folder);
  return folder;
}

void RemoveTree(const std::string& path) {
  for (const std::string& name : Children(path)) {
    std::string full = path + "/" + name;
    if (IsFolder(full)) {
      RemoveTree(full);
    } else {
#ifdef _WIN32
      SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
#endif
      std::remove(full.c_str());
    }
  }
#ifdef _WIN32
  RemoveDirectoryA(path.c_str());
#else
  rmdir(path.c_str());
#endif
}

void SetTempFolder(const std::string& folder) {
#ifdef _WIN32
  std::string native = folder;
  std::replace(native.begin(), native.end(), '/', '\\');
  SetEnvironmentVariableA("TMP", native.c_str());
  SetEnvironmentVariableA("TEMP", native.c_str());
#else
  setenv("TMPDIR", folder.c_str(), 1);
#endif
}

}  // namespace testfiles

#include "SourceTree.h"

#include <unzip.h>
#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>

#include "checker/Installer.h"
#include "common/Cp932.h"
#include "package/EntryName.h"
#include "package/PackageFormat.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <iconv.h>
#include <sys/stat.h>
#endif

namespace packer {
namespace {

struct SourceItem {
  std::string path;  // on disk
  std::string name;  // in the archive
  bool folder;
  unsigned long dosDate;
};

#ifdef _WIN32
bool List(const std::string& folder, const std::string& prefix, std::vector<SourceItem>* items, std::string* error) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) {
    *error = "cannot list " + folder;
    return false;
  }
  std::vector<WIN32_FIND_DATAA> found;
  do {
    std::string n = fd.cFileName;
    if (n != "." && n != "..") found.push_back(fd);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  std::sort(found.begin(), found.end(), [](const WIN32_FIND_DATAA& a, const WIN32_FIND_DATAA& b) {
    return std::string(a.cFileName) < b.cFileName;
  });
  for (const WIN32_FIND_DATAA& f : found) {
    SourceItem item;
    item.path = folder + "\\" + f.cFileName;
    item.folder = (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    item.name = prefix + f.cFileName + (item.folder ? "/" : "");
    FILETIME local;
    WORD date = 0, time = 0;
    FileTimeToLocalFileTime(&f.ftLastWriteTime, &local);
    FileTimeToDosDateTime(&local, &date, &time);
    item.dosDate = (unsigned long)date << 16 | time;
    items->push_back(item);
    if (item.folder && !List(item.path, item.name, items, error)) return false;
  }
  return true;
}
#else
// Linux file names are UTF-8; the checker writes the names as code page 932.
bool ToCp932(const std::string& utf8, std::string* out) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == iconv_t(-1)) return false;
  std::string in = utf8;
  out->assign(in.size() * 2 + 4, '\0');
  char* src = in.data();
  std::size_t srcLeft = in.size();
  char* dst = out->data();
  std::size_t dstLeft = out->size();
  std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (rc == std::size_t(-1)) return false;
  out->resize(out->size() - dstLeft);
  return true;
}

bool List(const std::string& folder, const std::string& prefix, const Options& options, std::vector<SourceItem>* items,
          std::string* error) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) {
    *error = "cannot list " + folder;
    return false;
  }
  std::vector<std::string> names;
  while (dirent* e = readdir(dir)) {
    std::string n = e->d_name;
    if (n != "." && n != "..") names.push_back(n);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  for (const std::string& n : names) {
    SourceItem item;
    item.path = folder + "/" + n;
    struct stat st;
    if (stat(item.path.c_str(), &st) != 0) {
      *error = "cannot read " + item.path;
      return false;
    }
    item.folder = S_ISDIR(st.st_mode);
    std::string name = n;
    if (!options.rawNames && !ToCp932(n, &name)) {
      *error = "file name not convertible to code page 932 (see --raw-names): " + item.path;
      return false;
    }
    item.name = prefix + name + (item.folder ? "/" : "");
    std::tm tm{};
    localtime_r(&st.st_mtime, &tm);
    if (tm.tm_year < 80) tm = std::tm{0, 0, 0, 1, 0, 80, 0, 0, 0, 0, nullptr};
    item.dosDate = (unsigned long)((tm.tm_year - 80) << 9 | (tm.tm_mon + 1) << 5 | tm.tm_mday) << 16 |
                   (unsigned long)(tm.tm_hour << 11 | tm.tm_min << 5 | tm.tm_sec / 2);
    items->push_back(item);
    if (item.folder && !List(item.path, item.name, options, items, error)) return false;
  }
  return true;
}
#endif

struct ZipWriter {
  zipFile zip = nullptr;
  ~ZipWriter() {
    if (zip) zipClose(zip, nullptr);
  }
};

}  // namespace

bool IsFolder(const std::string& path) {
#ifdef _WIN32
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
#else
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
#endif
}

bool ZipFolder(const std::string& folder, const std::string& zipFile, const Options& options, std::string* error) {
  std::vector<SourceItem> items;
#ifdef _WIN32
  if (!List(folder, "", &items, error)) return false;
#else
  if (!List(folder, "", options, &items, error)) return false;
#endif
  if (items.empty()) {
    *error = "the folder is empty: " + folder;
    return false;
  }
  for (const SourceItem& item : items) {
    package::NameProblem problem = package::CheckEntryName(item.name);
    if (problem != package::NameProblem::kNone) {
      *error = std::string(package::Describe(problem)) + ": " + item.path;
      return false;
    }
  }
  ZipWriter writer;
  writer.zip = zipOpen64(zipFile.c_str(), APPEND_STATUS_CREATE);
  if (!writer.zip) {
    *error = "cannot create " + zipFile;
    return false;
  }
  std::vector<char> buffer(package::kChunkSize);
  for (const SourceItem& item : items) {
    zip_fileinfo info{};
    info.dosDate = item.dosDate;
    info.external_fa = item.folder ? 0x10 : 0x20;
    std::FILE* in = nullptr;
    long long size = 0;
    if (!item.folder) {
      in = std::fopen(item.path.c_str(), "rb");
      if (!in) {
        *error = "cannot read " + item.path;
        return false;
      }
      std::fseek(in, 0, SEEK_END);
      size = std::ftell(in);
      std::fseek(in, 0, SEEK_SET);
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(in, [](std::FILE* f) { return f ? std::fclose(f) : 0; });
    const bool deflate = !item.folder && !options.store && size > 0;
    if (zipOpenNewFileInZip64(writer.zip, item.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                              deflate ? Z_DEFLATED : 0, deflate ? Z_DEFAULT_COMPRESSION : 0,
                              size >= 0xFFFFFFFFLL) != ZIP_OK) {
      *error = "cannot add " + item.path;
      return false;
    }
    if (in) {
      std::size_t n;
      while ((n = std::fread(buffer.data(), 1, buffer.size(), in)) > 0) {
        if (zipWriteInFileInZip(writer.zip, buffer.data(), unsigned(n)) != ZIP_OK) {
          *error = "cannot write " + zipFile;
          return false;
        }
      }
      if (std::ferror(in)) {
        *error = "cannot read " + item.path;
        return false;
      }
    }
    if (zipCloseFileInZip(writer.zip) != ZIP_OK) {
      *error = "cannot write " + zipFile;
      return false;
    }
  }
  int rc = zipClose(writer.zip, nullptr);
  writer.zip = nullptr;
  if (rc != ZIP_OK) {
    *error = "cannot write " + zipFile;
    return false;
  }
  return true;
}

bool CheckArchive(const std::string& zipFile, std::vector<package::ArchiveEntry>* entries, std::string* error) {
  if (!package::ListArchive(zipFile, entries, error)) return false;
  unzFile zip = unzOpen64(zipFile.c_str());
  if (!zip) {
    *error = "not a readable ZIP archive";
    return false;
  }
  std::vector<char> buffer(package::kChunkSize);
  bool ok = true;
  std::size_t i = 0;
  for (int rc = entries->empty() ? UNZ_END_OF_LIST_OF_FILE : unzGoToFirstFile(zip); ok && rc == UNZ_OK;
       rc = unzGoToNextFile(zip), ++i) {
    const std::string& name = (*entries)[i].name;
    if ((*entries)[i].folder) continue;
    if (unzOpenCurrentFile(zip) != UNZ_OK) {
      *error = "cannot read entry " + name;
      ok = false;
      break;
    }
    int n;
    while ((n = unzReadCurrentFile(zip, buffer.data(), unsigned(buffer.size()))) > 0) {
    }
    if (unzCloseCurrentFile(zip) != UNZ_OK || n < 0) {
      *error = "damaged entry " + name;
      ok = false;
    }
  }
  unzClose(zip);
  return ok;
}

std::string FindInstaller(const std::vector<package::ArchiveEntry>& entries) {
  for (const checker::InstallerCandidate& candidate : checker::kInstallerCandidates)
    for (const package::ArchiveEntry& e : entries)
      if (!e.folder && cp932::EqualsNoCase(e.name, candidate.name)) return e.name;
  return std::string();
}

bool InstallerIsWaitedFor(const std::string& name) {
  for (const checker::InstallerCandidate& candidate : checker::kInstallerCandidates)
    if (cp932::EqualsNoCase(name, candidate.name)) return candidate.waited;
  return false;
}

bool VerifyPackage(const std::string& packageFile, std::vector<package::ArchiveEntry>* entries, std::string* error) {
  package::FileSystem& fs = package::SystemFileSystem();
  std::string plain = fs.MakeTempFile();
  if (plain.empty()) {
    *error = "cannot create a temporary file";
    return false;
  }
  package::CPackageUnpacker reader;
  reader.SetKey(package::kPackageKey, 16);
  bool ok = reader.DecryptAndVerify(packageFile, plain) == 1;
  if (!ok)
    *error = reader.LastError();
  else
    ok = CheckArchive(plain, entries, error);
  fs.RemoveFile(plain);
  return ok;
}

}  // namespace packer

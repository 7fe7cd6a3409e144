// Win32 file system of the reader: ANSI functions, code page 932 paths.
#include <windows.h>

#include <vector>

#include "common/Paths.h"
#include "package/FileSystem.h"
#include "win/Handles.h"

namespace package {
namespace {

class Win32Input : public InputFile {
 public:
  explicit Win32Input(HANDLE h) : h_(h) {}
  long Read(void* buffer, std::size_t size) override {
    DWORD got = 0;
    if (!ReadFile(h_.Get(), buffer, DWORD(size), &got, nullptr)) return -1;
    return long(got);
  }

 private:
  win::UniqueHandle h_;
};

class Win32Output : public OutputFile {
 public:
  explicit Win32Output(HANDLE h) : h_(h) {}
  bool Write(const void* data, std::size_t size) override {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
      DWORD put = 0;
      if (!WriteFile(h_.Get(), p, DWORD(size), &put, nullptr) || put == 0) return false;
      p += put;
      size -= put;
    }
    return true;
  }
  bool SetLastWriteTime(std::uint16_t dosDate, std::uint16_t dosTime) override {
    FILETIME local, utc;
    if (!DosDateTimeToFileTime(dosDate, dosTime, &local)) return false;
    if (!LocalFileTimeToFileTime(&local, &utc)) return false;
    return SetFileTime(h_.Get(), nullptr, nullptr, &utc) != FALSE;
  }
  bool Close(bool toDisk) override {
    bool ok = !toDisk || FlushFileBuffers(h_.Get()) != FALSE;
    return h_.Close() && ok;
  }

 private:
  win::UniqueHandle h_;
};

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

class Win32FileSystem : public FileSystem {
 public:
  std::unique_ptr<InputFile> OpenForReading(const std::string& path) override {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32Input>(h);
  }
  std::unique_ptr<OutputFile> CreateForWriting(const std::string& path) override {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32Output>(h);
  }
  bool Exists(const std::string& path) override { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }
  bool IsFile(const std::string& path) override {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool IsFolder(const std::string& path) override {
    DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool MakeFolder(const std::string& path) override { return CreateDirectoryA(path.c_str(), nullptr) != FALSE; }
  bool RemoveFile(const std::string& path) override { return DeleteFileA(path.c_str()) != FALSE; }
  bool RemoveFolderTree(const std::string& folder) override {
    std::vector<std::string> files, folders;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA(paths::Join(folder, "*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        std::string full = paths::Join(folder, name);
        SetFileAttributesA(full.c_str(), fd.dwFileAttributes & ~DWORD(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
        // A junction is removed as a link, never entered: its target lies
        // outside the folder.
        if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
          folders.push_back(full);
        else if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          RemoveDirectoryA(full.c_str());
        else
          files.push_back(full);
      } while (FindNextFileA(find, &fd));
      FindClose(find);
    }
    for (const std::string& f : files) DeleteFileA(f.c_str());
    for (const std::string& f : folders) RemoveFolderTree(f);
    return RemoveDirectoryA(folder.c_str()) != FALSE;
  }
  bool FreeSpace(const std::string& folder, std::uint64_t* bytes) override {
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExA(folder.c_str(), &available, nullptr, nullptr)) return false;
    *bytes = available.QuadPart;
    return true;
  }
  std::string MakeTempFile() override {
    char folder[MAX_PATH + 1];
    DWORD n = GetTempPathA(MAX_PATH, folder);
    if (n == 0 || n > MAX_PATH) return std::string();
    char name[MAX_PATH + 1];
    if (GetTempFileNameA(folder, "UPD", 0, name) == 0) return std::string();
    return std::string(name);
  }
};

}  // namespace

FileSystem& SystemFileSystem() {
  static Win32FileSystem fs;
  return fs;
}

}  // namespace package

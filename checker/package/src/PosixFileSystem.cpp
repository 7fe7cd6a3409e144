// POSIX file system: the native build of the reader (tests, package builder,
// fuzzer). Paths are code page 932 bytes; '\\' separators are turned into
// '/' character by character so that a trail byte 0x5C stays as it is.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "common/Cp932.h"
#include "package/FileSystem.h"

namespace package {
namespace {

std::string NativePath(const std::string& path) {
  std::string out = path;
  for (std::size_t i = 0; i < out.size(); i = cp932::Next(out, i))
    if (out[i] == '\\' && !cp932::IsDoubleByteAt(out, i)) out[i] = '/';
  return out;
}

class PosixInput : public InputFile {
 public:
  explicit PosixInput(int fd) : fd_(fd) {}
  ~PosixInput() override { ::close(fd_); }
  long Read(void* buffer, std::size_t size) override {
    for (;;) {
      ssize_t n = ::read(fd_, buffer, size);
      if (n >= 0) return long(n);
      if (errno != EINTR) return -1;
    }
  }

 private:
  int fd_;
};

class PosixOutput : public OutputFile {
 public:
  explicit PosixOutput(int fd) : fd_(fd) {}
  ~PosixOutput() override {
    if (fd_ >= 0) ::close(fd_);
  }
  bool Write(const void* data, std::size_t size) override {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
      ssize_t n = ::write(fd_, p, size);
      if (n < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      p += n;
      size -= std::size_t(n);
    }
    return true;
  }
  bool SetLastWriteTime(std::uint16_t dosDate, std::uint16_t dosTime) override {
    std::tm tm = {};
    tm.tm_year = ((dosDate >> 9) & 0x7F) + 80;
    tm.tm_mon = ((dosDate >> 5) & 0x0F) - 1;
    tm.tm_mday = dosDate & 0x1F;
    tm.tm_hour = (dosTime >> 11) & 0x1F;
    tm.tm_min = (dosTime >> 5) & 0x3F;
    tm.tm_sec = (dosTime & 0x1F) * 2;
    tm.tm_isdst = -1;
    if (tm.tm_mon < 0 || tm.tm_mon > 11 || tm.tm_mday == 0 || tm.tm_hour > 23 || tm.tm_min > 59 || tm.tm_sec > 59)
      return false;
    std::time_t t = std::mktime(&tm);
    if (t == std::time_t(-1)) return false;
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = t;
    times[1].tv_nsec = 0;
    return ::futimens(fd_, times) == 0;
  }
  // Natively (tests, tools, fuzzer) close() reports the write errors that
  // matter; syncing to the disk would only slow them down.
  bool Close(bool /*toDisk*/) override {
    bool ok = ::close(fd_) == 0;
    fd_ = -1;
    return ok;
  }

 private:
  int fd_;
};

class PosixFileSystem : public FileSystem {
 public:
  std::unique_ptr<InputFile> OpenForReading(const std::string& path) override {
    int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<PosixInput>(fd);
  }
  std::unique_ptr<OutputFile> CreateForWriting(const std::string& path) override {
    int fd = ::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixOutput>(fd);
  }
  bool Exists(const std::string& path) override {
    struct stat st;
    return ::lstat(NativePath(path).c_str(), &st) == 0;
  }
  bool IsFile(const std::string& path) override {
    struct stat st;
    return ::stat(NativePath(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
  }
  bool IsFolder(const std::string& path) override {
    struct stat st;
    return ::stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }
  bool MakeFolder(const std::string& path) override { return ::mkdir(NativePath(path).c_str(), 0755) == 0; }
  bool RemoveFile(const std::string& path) override { return ::unlink(NativePath(path).c_str()) == 0; }
  bool RemoveFolderTree(const std::string& path) override { return RemoveTree(NativePath(path)); }
  bool FreeSpace(const std::string& folder, std::uint64_t* bytes) override {
    struct statvfs st;
    if (::statvfs(NativePath(folder).c_str(), &st) != 0) return false;
    *bytes = std::uint64_t(st.f_bavail) * st.f_frsize;
    return true;
  }
  std::string MakeTempFile() override {
    const char* dir = std::getenv("TMPDIR");
    std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/UPDXXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) return std::string();
    ::close(fd);
    return std::string(name.data());
  }

 private:
  // Links are removed, never followed: a link inside the folder must not
  // lead the removal outside it.
  static bool RemoveTree(const std::string& folder) {
    std::vector<std::string> files, folders;
    if (DIR* dir = ::opendir(folder.c_str())) {
      while (struct dirent* e = ::readdir(dir)) {
        std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        std::string full = folder + "/" + name;
        struct stat st;
        if (::lstat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
          folders.push_back(full);
        else
          files.push_back(full);
      }
      ::closedir(dir);
    }
    for (const std::string& f : files) ::unlink(f.c_str());
    for (const std::string& f : folders) RemoveTree(f);
    return ::rmdir(folder.c_str()) == 0;
  }
};

}  // namespace

FileSystem& SystemFileSystem() {
  static PosixFileSystem fs;
  return fs;
}

}  // namespace package

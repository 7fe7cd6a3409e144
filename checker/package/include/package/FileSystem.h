#pragma once
// The few file operations the package reader needs, behind an interface so
// that the same code runs on Windows (Win32 API) and natively (POSIX) for
// tests, the package builder and the fuzzer.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace package {

class InputFile {
 public:
  virtual ~InputFile() = default;
  // Bytes read (0 at the end of the file), or -1 on a read error.
  virtual long Read(void* buffer, std::size_t size) = 0;
};

// Reads until size bytes or the end of the file; -1 on a read error.
inline long ReadFull(InputFile& in, std::uint8_t* buffer, std::size_t size) {
  std::size_t got = 0;
  while (got < size) {
    long n = in.Read(buffer + got, size - got);
    if (n < 0) return -1;
    if (n == 0) break;
    got += std::size_t(n);
  }
  return long(got);
}

class OutputFile {
 public:
  virtual ~OutputFile() = default;
  virtual bool Write(const void* data, std::size_t size) = 0;
  // Sets the last-write time from an MS-DOS date and time taken as local
  // time; the creation and last-access times stay as they are.
  virtual bool SetLastWriteTime(std::uint16_t dosDate, std::uint16_t dosTime) = 0;
  // Closes the file; with toDisk, first flushes it to the disk (extracted
  // files, which the installer needs after the checker has ended). False
  // when the data may not have been written.
  virtual bool Close(bool toDisk) = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Opens an existing file for reading, without sharing on Windows.
  virtual std::unique_ptr<InputFile> OpenForReading(const std::string& path) = 0;
  // Creates or truncates a file for writing, without sharing on Windows.
  virtual std::unique_ptr<OutputFile> CreateForWriting(const std::string& path) = 0;
  virtual bool Exists(const std::string& path) = 0;
  virtual bool IsFile(const std::string& path) = 0;
  virtual bool IsFolder(const std::string& path) = 0;
  // Creates one folder whose parent exists.
  virtual bool MakeFolder(const std::string& path) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  // Deletes the folder with everything below it; the result is that of the
  // final removal of the folder itself.
  virtual bool RemoveFolderTree(const std::string& path) = 0;
  // Creates a new empty file in the temporary folder, name prefix "UPD";
  // "" on failure.
  virtual std::string MakeTempFile() = 0;
  // Bytes free for this user on the volume of an existing folder; false
  // when the system cannot tell.
  virtual bool FreeSpace(const std::string& folder, std::uint64_t* bytes) {
    (void)folder;
    (void)bytes;
    return false;
  }
};

// The platform's file system.
FileSystem& SystemFileSystem();

}  // namespace package

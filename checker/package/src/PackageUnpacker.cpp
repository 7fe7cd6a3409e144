#include "package/PackageUnpacker.h"

#include <unzip.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "common/Cp932.h"
#include "common/Paths.h"
#include "package/Cast128.h"
#include "package/EntryName.h"
#include "package/Md5.h"
#include "package/PackageFormat.h"

namespace package {
namespace {

constexpr int kStored = 0;
constexpr int kDeflated = 8;

struct ZipCloser {
  unzFile zip;
  ~ZipCloser() {
    if (zip) unzClose(zip);
  }
};

bool ReadEntryInfo(unzFile zip, unz_file_info64* info, std::string* name) {
  char buffer[kMaxEntryName + 1];
  if (unzGetCurrentFileInfo64(zip, info, buffer, sizeof buffer, nullptr, 0, nullptr, 0) != UNZ_OK) return false;
  // minizip cuts a longer name to the buffer; the 520 bytes it leaves are
  // still too many, so the name check refuses it.
  std::size_t length = info->size_filename < sizeof buffer ? info->size_filename : sizeof buffer;
  name->assign(buffer, length);
  return true;
}

// "", "/", "\\", "C:", "C:\\" and the like: removing these would take far more
// than an unpack folder with it.
bool IsRootOrEmpty(const std::string& folder) {
  std::string_view rest = folder;
  if (rest.size() >= 2 && rest[1] == ':') rest.remove_prefix(2);
  for (char c : rest)
    if (c != '\\' && c != '/') return false;
  return true;
}

}  // namespace

bool ListArchive(const std::string& archiveFile, std::vector<ArchiveEntry>* entries, std::string* error) {
  entries->clear();
  unzFile zip = unzOpen64(archiveFile.c_str());
  if (!zip) {
    *error = "not a readable ZIP archive";
    return false;
  }
  ZipCloser closer{zip};
  unz_global_info64 global;
  if (unzGetGlobalInfo64(zip, &global) != UNZ_OK) {
    *error = "unreadable ZIP directory";
    return false;
  }
  if (global.number_entry == 0) return true;
  int rc = unzGoToFirstFile(zip);
  while (rc == UNZ_OK) {
    unz_file_info64 info;
    ArchiveEntry entry;
    if (!ReadEntryInfo(zip, &info, &entry.name)) {
      *error = "unreadable entry information";
      return false;
    }
    NameProblem problem = CheckEntryName(entry.name);
    if (problem != NameProblem::kNone) {
      *error = std::string(Describe(problem)) + ": " + entry.name.substr(0, 80);
      return false;
    }
    entry.folder = IsFolderName(entry.name);
    entry.size = info.uncompressed_size;
    entry.dosDate = std::uint32_t(info.dosDate);
    // Encrypted entries and methods other than stored and deflated cannot be
    // read; finding out now keeps the unpack folder untouched.
    if (!entry.folder &&
        ((info.flag & 1) != 0 || (info.compression_method != kStored && info.compression_method != kDeflated))) {
      *error = "entry that cannot be read (encrypted or unknown method): " + entry.name.substr(0, 80);
      return false;
    }
    entries->push_back(std::move(entry));
    rc = unzGoToNextFile(zip);
  }
  if (rc != UNZ_END_OF_LIST_OF_FILE) {
    *error = "unreadable entry information";
    return false;
  }
  if (entries->size() != global.number_entry) {
    *error = "ZIP directory and entry count disagree";
    return false;
  }
  return true;
}

CPackageUnpacker::CPackageUnpacker(FileSystem& fs) : fs_(fs) {}

CPackageUnpacker::~CPackageUnpacker() {
  if (!decryptedFile_.empty()) fs_.RemoveFile(decryptedFile_);
}

void CPackageUnpacker::SetKey(const void* key, int length) {
  if (length < 0 || length > int(sizeof key_)) {
    keyLength_ = -1;
    return;
  }
  std::memcpy(key_, key, std::size_t(length));
  keyLength_ = length;
}

int CPackageUnpacker::Fail(std::string reason) {
  error_ = std::move(reason);
  return 0;
}

int CPackageUnpacker::DecryptAndVerify(const std::string& packageFile, const std::string& outputFile) {
  error_.clear();
  Cast128 cipher;
  if (keyLength_ < 0 || !cipher.SetKey(key_, std::size_t(keyLength_))) return Fail("no usable key");
  std::unique_ptr<InputFile> in = fs_.OpenForReading(packageFile);
  if (!in) return Fail("cannot open the package file");
  std::unique_ptr<OutputFile> out = fs_.CreateForWriting(outputFile);
  if (!out) return Fail("cannot create the decrypted file");

  std::uint8_t header[kHeaderSize];
  long got = ReadFull(*in, header, kHeaderSize);
  if (hook_ && got > 0) hook_->Read(header, std::size_t(got));
  if (got != long(kHeaderSize)) return Conclude(*in, "package shorter than its header");
  if (std::memcmp(header, kMark, sizeof kMark) != 0) return Conclude(*in, "not a package (mark)");
  if (header[3] != kFormat) return Conclude(*in, "unknown package format");
  const std::uint8_t* l = header + kLengthOffset;
  const std::uint64_t length =
      std::uint32_t(l[0]) | (std::uint32_t(l[1]) << 8) | (std::uint32_t(l[2]) << 16) | (std::uint32_t(l[3]) << 24);

  Md5 md5;
  std::vector<std::uint8_t> buffer(kChunkSize);
  std::uint64_t written = 0;
  std::uint64_t rest = (length + Cast128::kBlockSize - 1) & ~std::uint64_t(Cast128::kBlockSize - 1);
  while (written < length) {
    if (Aborted()) return Fail("stopped");
    const std::size_t want = rest < buffer.size() ? std::size_t(rest) : buffer.size();
    got = ReadFull(*in, buffer.data(), want);
    if (got < 0) return Fail("cannot read the package file");
    if (hook_) hook_->Read(buffer.data(), std::size_t(got));
    rest -= std::uint64_t(got);
    // Only whole blocks can be decrypted; a cut last block leaves the
    // archive short, which the length check below reports.
    std::size_t whole = std::size_t(got) & ~std::size_t(Cast128::kBlockSize - 1);
    cipher.DecryptBlocks(buffer.data(), whole);
    std::size_t n = length - written < whole ? std::size_t(length - written) : whole;
    md5.Update(buffer.data(), n);
    if (!out->Write(buffer.data(), n)) return Fail("cannot write the decrypted file");
    written += n;
    if (std::size_t(got) < want) break;
  }
  if (!out->Close(false)) return Fail("cannot write the decrypted file");
  if (written != length) return Conclude(*in, "package body shorter than its length");
  Md5Digest digest = md5.Finish();
  if (std::memcmp(digest.data(), header + kDigestOffset, digest.size()) != 0) return Conclude(*in, "digest mismatch");
  return Conclude(*in, "");
}

int CPackageUnpacker::Conclude(InputFile& in, std::string problem) {
  if (hook_) {
    std::string refusal = hook_->Judge(in);
    if (!refusal.empty()) return Fail(std::move(refusal));
  }
  return problem.empty() ? 1 : Fail(std::move(problem));
}

bool CPackageUnpacker::RoomFor(std::uint64_t total, const std::string& folder, std::string* why) {
  if (total > kMaxUnpackedSize) {
    *why = "archive unpacks to " + std::to_string(total) + " bytes, more than the limit of " +
           std::to_string(kMaxUnpackedSize);
    return false;
  }
  // The unpack folder may not exist yet: ask the nearest folder that does.
  std::string probe = folder;
  for (int depth = 0; depth < 64 && !probe.empty(); ++depth) {
    std::uint64_t free = 0;
    if (fs_.FreeSpace(probe, &free)) {
      if (total <= free) return true;
      *why = "archive unpacks to " + std::to_string(total) + " bytes, more than the " + std::to_string(free) +
             " bytes free";
      return false;
    }
    std::string parent = paths::FolderOf(paths::EndsWithSeparator(probe) ? probe.substr(0, probe.size() - 1) : probe);
    if (parent == probe || parent.size() >= probe.size()) break;
    probe = parent;
  }
  return true;  // the system cannot tell: the writes themselves will
}

bool CPackageUnpacker::MakeFolders(const std::string& path) {
  for (std::size_t i = cp932::FindFirstOf(path, paths::kSeparators); i != std::string::npos;
       i = cp932::FindFirstOf(path, paths::kSeparators, i + 1)) {
    std::string prefix = path.substr(0, i + 1);
    if (!fs_.Exists(prefix)) fs_.MakeFolder(prefix);
  }
  return fs_.IsFolder(path);
}

int CPackageUnpacker::ExtractAll(const std::string& archiveFile, const std::string& targetFolder) {
  error_.clear();
  std::vector<ArchiveEntry> entries;
  std::string reason;
  if (!ListArchive(archiveFile, &entries, &reason)) return Fail(reason);
  if (entries.empty()) return 1;
  std::uint64_t total = 0;
  for (const ArchiveEntry& e : entries) {
    if (e.folder) continue;
    total = e.size > UINT64_MAX - total ? UINT64_MAX : total + e.size;  // sizes a crafted archive may choose
  }
  if (!RoomFor(total, targetFolder, &reason)) return Fail(reason);

  const std::string prefix = paths::WithSeparator(targetFolder);
  unzFile zip = unzOpen64(archiveFile.c_str());
  if (!zip) return Fail("not a readable ZIP archive");
  ZipCloser closer{zip};
  std::vector<std::uint8_t> buffer(kChunkSize);
  int rc = unzGoToFirstFile(zip);
  for (; rc == UNZ_OK; rc = unzGoToNextFile(zip)) {
    if (Aborted()) return Fail("stopped");
    unz_file_info64 info;
    std::string name;
    if (!ReadEntryInfo(zip, &info, &name)) return Fail("unreadable entry information");
    // The names were checked in the first pass; checking again costs nothing
    // and does not depend on the archive being the same.
    if (CheckEntryName(name) != NameProblem::kNone) return Fail("unsafe entry name");
    const std::string full = prefix + name;
    if (IsFolderName(name)) {
      if (!MakeFolders(full)) return Fail("cannot create folder " + full);
      continue;
    }
    if (unzOpenCurrentFile(zip) != UNZ_OK) return Fail("cannot open entry " + name);
    MakeFolders(paths::FolderWithSeparator(full));
    std::unique_ptr<OutputFile> out = fs_.CreateForWriting(full);
    if (!out) {
      unzCloseCurrentFile(zip);
      return Fail("cannot create file " + full);
    }
    const char* problem = nullptr;
    std::uint64_t written = 0;
    for (;;) {
      if (Aborted()) {
        problem = "stopped in entry ";
        break;
      }
      int n = unzReadCurrentFile(zip, buffer.data(), unsigned(buffer.size()));
      if (n < 0) {
        problem = "cannot read entry ";
        break;
      }
      if (n == 0) break;
      written += std::uint64_t(n);
      // The first pass judged the archive by the declared sizes.
      if (written > info.uncompressed_size) {
        problem = "entry larger than it declares: ";
        break;
      }
      if (!out->Write(buffer.data(), std::size_t(n))) {
        problem = "cannot write file ";
        break;
      }
    }
    // A CRC mismatch shows only when the entry is closed.
    if (unzCloseCurrentFile(zip) != UNZ_OK && !problem) problem = "damaged entry (CRC) ";
    if (!problem) {
      out->SetLastWriteTime(std::uint16_t(info.dosDate >> 16), std::uint16_t(info.dosDate & 0xFFFF));
      if (!out->Close(true)) problem = "cannot write file ";
    }
    if (problem) {
      out.reset();
      fs_.RemoveFile(full);
      return Fail(problem + name);
    }
  }
  if (rc != UNZ_END_OF_LIST_OF_FILE) return Fail("unreadable entry information");
  return 1;
}

int CPackageUnpacker::Unpack(const std::string& packageFile, const std::string& unpackFolder) {
  error_.clear();
  int result = 0;
  std::string reason;
  if (IsRootOrEmpty(unpackFolder)) {
    // Never remove a drive or the current folder on the way out.
    error_ = "no usable unpack folder";
    return 0;
  }
  if (keyLength_ < 0) {
    reason = "no key";
  } else {
    decryptedFile_ = fs_.MakeTempFile();
    if (decryptedFile_.empty()) {
      reason = "cannot create a temporary file";
    } else if (DecryptAndVerify(packageFile, decryptedFile_) == 0) {
      reason = error_;
    } else {
      result = ExtractAll(decryptedFile_, unpackFolder);
      reason = error_;
    }
  }
  if (!decryptedFile_.empty()) {
    fs_.RemoveFile(decryptedFile_);
    decryptedFile_.clear();
  }
  if (result == 0) fs_.RemoveFolderTree(unpackFolder);
  error_ = result ? std::string() : reason;
  return result;
}

int Unpack(const std::string& packageFile, const std::string& unpackFolder, std::string* reason,
           const std::atomic<bool>* abort, PackageReadHook* hook) {
  CPackageUnpacker unpacker;
  unpacker.SetKey(kPackageKey, int(sizeof kPackageKey));
  unpacker.SetAbortFlag(abort);
  unpacker.SetReadHook(hook);
  int result = unpacker.Unpack(packageFile, unpackFolder);
  if (reason) *reason = unpacker.LastError();
  return result;
}

int RemoveFolder(const std::string& folder) {
  if (IsRootOrEmpty(folder)) return 0;
  return SystemFileSystem().RemoveFolderTree(folder) ? 1 : 0;
}

bool IsFile(const std::string& path) { return SystemFileSystem().IsFile(path); }

}  // namespace package

#pragma once
// Reading an update package: decrypt and verify it into a temporary archive,
// then extract that archive into the unpack folder.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "package/FileSystem.h"

namespace package {

struct ArchiveEntry {
  std::string name;  // as stored, code page 932 bytes
  bool folder = false;
  std::uint64_t size = 0;     // uncompressed
  std::uint32_t dosDate = 0;  // high word date, low word time
};

// Opens the archive and reads every entry's information, checking each name.
// Nothing is written. Returns false with a reason in *error.
bool ListArchive(const std::string& archiveFile, std::vector<ArchiveEntry>* entries, std::string* error);

// Sees every byte of a package's header and body as the unpacker reads them
// and decides, before anything is extracted, whether the package may be: a
// signature check this way costs no second pass over the package.
class PackageReadHook {
 public:
  virtual ~PackageReadHook() = default;
  // The bytes in file order, from the first byte of the header on.
  virtual void Read(const std::uint8_t* data, std::size_t size) = 0;
  // Called once, after the body, or sooner when the unpacker finds the
  // package damaged; in goes on where the unpacker stopped reading. "" to go
  // on, else why the package is refused (this reason outranks the unpacker's).
  virtual std::string Judge(InputFile& in) = 0;
};

class CPackageUnpacker {
 public:
  explicit CPackageUnpacker(FileSystem& fs = SystemFileSystem());
  ~CPackageUnpacker();
  CPackageUnpacker(const CPackageUnpacker&) = delete;
  CPackageUnpacker& operator=(const CPackageUnpacker&) = delete;

  // Keeps a copy of the key; a length outside 0..16 leaves no key set.
  void SetKey(const void* key, int length);
  int KeyLength() const { return keyLength_; }
  // Once *abort is true, decryption and extraction stop at their next chunk
  // or entry and fail.
  void SetAbortFlag(const std::atomic<bool>* abort) { abort_ = abort; }
  // The hook DecryptAndVerify feeds and asks; null for none.
  void SetReadHook(PackageReadHook* hook) { hook_ = hook; }

  // Decrypts the package body into outputFile (created or truncated) and
  // checks the header, the length and the MD5 digest; reads no further than
  // the body, whose last cipher block is padded to 8 bytes. 1 or 0.
  int DecryptAndVerify(const std::string& packageFile, const std::string& outputFile);

  // Extracts every entry of the archive below targetFolder: a first pass
  // reads all entry information and refuses unsafe names, and archives whose
  // declared sizes add up to more than kMaxUnpackedSize or the free space of
  // the target's volume, before anything is written; a second one creates the
  // folders and files, and stops an entry that holds more than it declared.
  // 1 or 0.
  int ExtractAll(const std::string& archiveFile, const std::string& targetFolder);

  // The whole operation: decrypt into a temporary "UPD" file, verify,
  // extract, delete the temporary file; on failure the unpack folder is
  // removed. 1 or 0.
  int Unpack(const std::string& packageFile, const std::string& unpackFolder);

  // Why the last operation gave 0 ("" after a success).
  const std::string& LastError() const { return error_; }

 private:
  int Fail(std::string reason);
  // The end of DecryptAndVerify: the hook's refusal, else problem ("" for
  // none).
  int Conclude(InputFile& in, std::string problem);
  bool MakeFolders(const std::string& path);
  bool Aborted() const { return abort_ && abort_->load(); }
  // Room for `total` bytes below folder; *why says why not.
  bool RoomFor(std::uint64_t total, const std::string& folder, std::string* why);

  FileSystem& fs_;
  std::uint8_t key_[16] = {};
  int keyLength_ = -1;
  std::string decryptedFile_;
  std::string error_;
  const std::atomic<bool>* abort_ = nullptr;
  PackageReadHook* hook_ = nullptr;
};

// Unpacks packageFile into unpackFolder with the fixed package key. 1 when
// unpacked; 0 on any failure, the unpack folder then removed. The reason of a
// failure goes to *reason when given.
int Unpack(const std::string& packageFile, const std::string& unpackFolder, std::string* reason = nullptr,
           const std::atomic<bool>* abort = nullptr, PackageReadHook* hook = nullptr);

// Deletes the folder and everything below it; the result is that of the final
// removal of the folder itself (1 or 0). Single failures below are ignored.
int RemoveFolder(const std::string& folder);

// The path exists and is not a folder.
bool IsFile(const std::string& path);

}  // namespace package

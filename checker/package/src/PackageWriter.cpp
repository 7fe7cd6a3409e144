#include "package/PackageWriter.h"

#include <cstring>
#include <vector>

#include "package/Cast128.h"
#include "package/Md5.h"
#include "package/PackageFormat.h"

namespace package {

bool WritePackage(const std::string& archiveFile, const std::string& packageFile, std::string* error, FileSystem& fs) {
  std::vector<std::uint8_t> buffer(kChunkSize);
  // First pass: length and digest, which the header carries before the body.
  Md5 md5;
  std::uint64_t length = 0;
  {
    std::unique_ptr<InputFile> in = fs.OpenForReading(archiveFile);
    if (!in) {
      *error = "cannot open " + archiveFile;
      return false;
    }
    for (;;) {
      long n = in->Read(buffer.data(), buffer.size());
      if (n < 0) {
        *error = "cannot read " + archiveFile;
        return false;
      }
      if (n == 0) break;
      md5.Update(buffer.data(), std::size_t(n));
      length += std::uint64_t(n);
    }
  }
  if (length > 0xFFFFFFFFu) {
    *error = "archive of 4 GiB or more does not fit a package";
    return false;
  }
  std::uint8_t header[kHeaderSize] = {};
  std::memcpy(header, kMark, sizeof kMark);
  header[3] = kFormat;
  for (int i = 0; i < 4; ++i) header[kLengthOffset + i] = std::uint8_t(length >> (8 * i));
  Md5Digest digest = md5.Finish();
  std::memcpy(header + kDigestOffset, digest.data(), digest.size());

  std::unique_ptr<InputFile> in = fs.OpenForReading(archiveFile);
  std::unique_ptr<OutputFile> out = fs.CreateForWriting(packageFile);
  if (!in || !out) {
    *error = "cannot create " + packageFile;
    return false;
  }
  Cast128 cipher(kPackageKey, sizeof kPackageKey);
  bool ok = out->Write(header, sizeof header);
  std::uint64_t done = 0;
  while (ok && done < length) {
    std::size_t got = 0;
    while (got < buffer.size()) {
      long n = in->Read(buffer.data() + got, buffer.size() - got);
      if (n <= 0) break;
      got += std::size_t(n);
    }
    if (got == 0) break;
    done += got;
    // The last block is padded with zeros up to a whole block.
    std::size_t padded = (got + Cast128::kBlockSize - 1) & ~std::size_t(Cast128::kBlockSize - 1);
    std::memset(buffer.data() + got, 0, padded - got);
    cipher.EncryptBlocks(buffer.data(), padded);
    ok = out->Write(buffer.data(), padded);
    if (got < buffer.size()) break;
  }
  ok = out->Close(true) && ok;
  if (!ok || done != length) {
    out.reset();
    fs.RemoveFile(packageFile);
    *error = done != length ? archiveFile + " changed while it was packed" : "cannot write " + packageFile;
    return false;
  }
  return true;
}

}  // namespace package

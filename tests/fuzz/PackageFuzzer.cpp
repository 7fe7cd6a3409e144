// libFuzzer target: decrypt-and-verify plus extraction of whatever the fuzzer
// makes. The first byte chooses what the rest is:
//   even: a package file as it is (header, cipher, length checks);
//   odd:  the plain archive, wrapped in a valid package so that the digest
//         matches and the ZIP reader and the extraction are reached.
// After every run nothing may remain outside the unpack folder, the
// temporary file must be gone, and on failure the unpack folder too.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "package/Cast128.h"
#include "package/Md5.h"
#include "package/PackageFormat.h"
#include "package/PackageUnpacker.h"

namespace {

std::string g_root;

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* d = opendir(folder.c_str())) {
    while (dirent* e = readdir(d)) {
      std::string n = e->d_name;
      if (n != "." && n != "..") names.push_back(n);
    }
    closedir(d);
  }
  return names;
}

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

std::vector<std::uint8_t> Wrap(const std::uint8_t* archive, std::size_t size) {
  std::vector<std::uint8_t> out(package::kHeaderSize, 0);
  std::memcpy(out.data(), "UPD\x01", 4);
  for (int i = 0; i < 4; ++i) out[8 + i] = std::uint8_t(size >> (8 * i));
  package::Md5Digest d = package::Md5::Of(archive, size);
  std::memcpy(out.data() + 16, d.data(), 16);
  std::size_t body = (size + 7) & ~std::size_t(7);
  out.resize(package::kHeaderSize + body, 0);
  if (size) std::memcpy(out.data() + package::kHeaderSize, archive, size);
  package::Cast128(package::kPackageKey, 16).EncryptBlocks(out.data() + package::kHeaderSize, body);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char pattern[] = "/tmp/package-fuzz-XXXXXX";
  if (!mkdtemp(pattern)) std::abort();
  g_root = pattern;
  mkdir((g_root + "/tmp").c_str(), 0700);
  setenv("TMPDIR", (g_root + "/tmp").c_str(), 1);
  std::atexit([] { package::RemoveFolder(g_root); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::vector<std::uint8_t> file =
      (data[0] & 1) ? Wrap(data + 1, size - 1) : std::vector<std::uint8_t>(data + 1, data + size);
  const std::string packageFile = g_root + "/in.upd";
  const std::string out = g_root + "/out";
  if (FILE* f = std::fopen(packageFile.c_str(), "wb")) {
    std::fwrite(file.data(), 1, file.size(), f);
    std::fclose(f);
  }
  int result = package::Unpack(packageFile, out);
  Check(result == 0 || result == 1, "result is 1 or 0");
  Check(Names(g_root + "/tmp").empty(), "temporary file removed");
  for (const std::string& n : Names(g_root))
    Check(n == "tmp" || n == "in.upd" || (n == "out" && result == 1), "nothing outside the unpack folder");
  if (result == 1) package::RemoveFolder(out);
  std::remove(packageFile.c_str());
  return 0;
}

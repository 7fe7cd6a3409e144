// The cost of the signature check against the unpack it guards: builds a
// signed package of about 32 MiB (random and text files, deflated), then
// times, best of seven, the unpack without the check and with it (in the same
// pass), once as the checker unpacks (every file flushed to the disk) and
// once with the files left in the system's cache, where the check weighs
// most; and, for comparison, the check alone as a pass of its own. Natively
// and under Wine (bench/signature_bench[.exe]); prints figures.
#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif
#include <zip.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "package/PackageFormat.h"
#include "package/PackageUnpacker.h"
#include "package/PackageWriter.h"
#include "signature/PackageSignature.h"

namespace {

std::uint64_t g_state = 0x9E3779B97F4A7C15ull;
std::uint64_t NextRandom() {
  g_state ^= g_state << 13;
  g_state ^= g_state >> 7;
  g_state ^= g_state << 17;
  return g_state;
}

bool AddEntry(zipFile zip, const std::string& name, const std::string& data, int level) {
  zip_fileinfo info{};
  return zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, level, 1) ==
             ZIP_OK &&
         zipWriteInFileInZip(zip, data.data(), unsigned(data.size())) == ZIP_OK && zipCloseFileInZip(zip) == ZIP_OK;
}

bool MakeArchive(const std::string& path) {
  zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  if (!zip) return false;
  bool ok = AddEntry(zip, "setup.bat", "@echo bench\r\n", 6);
  std::string data(4u << 20, '\0');
  for (int i = 0; ok && i < 7; ++i) {  // 28 MiB that do not compress
    for (std::size_t j = 0; j + 8 <= data.size(); j += 8) {
      std::uint64_t r = NextRandom();
      std::copy_n(reinterpret_cast<const char*>(&r), 8, &data[j]);
    }
    ok = AddEntry(zip, "data/random" + std::to_string(i) + ".bin", data, 1);
  }
  static const char* const kWords[] = {"font ", "glyph ", "sample ", "kerning ", "update ", "viewer ", "\r\n", "size "};
  for (int i = 0; ok && i < 8; ++i) {  // 32 MiB of text, about 4 MiB deflated
    data.clear();
    while (data.size() < (4u << 20)) data += kWords[NextRandom() % 8];
    ok = AddEntry(zip, "docs/text" + std::to_string(i) + ".txt", data, 6);
  }
  return zipClose(zip, nullptr) == ZIP_OK && ok;
}

// Wall-clock and processor seconds of this process (<chrono> does not build
// with the code page 932 execution character set).
#ifdef _WIN32
double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return double(counter.QuadPart) / double(frequency.QuadPart);
}
double ProcessorTime() {
  FILETIME created, ended, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
  auto seconds = [](FILETIME t) { return double((std::uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7; };
  return seconds(kernel) + seconds(user);
}
double ThreadTime() {
  FILETIME created, ended, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
  auto seconds = [](FILETIME t) { return double((std::uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7; };
  return seconds(kernel) + seconds(user);
}
#else
double Seconds(clockid_t clock) {
  timespec ts;
  clock_gettime(clock, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}
double Now() { return Seconds(CLOCK_MONOTONIC); }
double ProcessorTime() { return Seconds(CLOCK_PROCESS_CPUTIME_ID); }
double ThreadTime() { return Seconds(CLOCK_THREAD_CPUTIME_ID); }
#endif

constexpr int kRounds = 7;

// The thread's processor time is the unpack's duration on a machine with a
// core to spare for the hashing thread, whatever else the machine runs.
struct Times {
  double wall = 1e9;
  double cpu = 1e9;
  double thread = 1e9;
};

// Adds one timed run of work to the best times.
template <typename F>
void Time(Times& best, F work) {
  double t0 = Now();
  double c0 = ProcessorTime();
  double u0 = ThreadTime();
  work();
  best.thread = std::min(best.thread, ThreadTime() - u0);
  best.cpu = std::min(best.cpu, ProcessorTime() - c0);
  best.wall = std::min(best.wall, Now() - t0);
}

long long FileSize(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return -1;
  std::fseek(f, 0, SEEK_END);
  long long size = std::ftell(f);
  std::fclose(f);
  return size;
}

// The system's file system, except that files are never flushed to the disk.
class CachedFileSystem : public package::FileSystem {
 public:
  std::unique_ptr<package::InputFile> OpenForReading(const std::string& path) override {
    return system_.OpenForReading(path);
  }
  std::unique_ptr<package::OutputFile> CreateForWriting(const std::string& path) override {
    struct Cached : package::OutputFile {
      std::unique_ptr<package::OutputFile> file;
      bool Write(const void* data, std::size_t size) override { return file->Write(data, size); }
      bool SetLastWriteTime(std::uint16_t date, std::uint16_t time) override {
        return file->SetLastWriteTime(date, time);
      }
      bool Close(bool) override { return file->Close(false); }
    };
    auto file = system_.CreateForWriting(path);
    if (!file) return nullptr;
    auto cached = std::make_unique<Cached>();
    cached->file = std::move(file);
    return cached;
  }
  bool Exists(const std::string& path) override { return system_.Exists(path); }
  bool IsFile(const std::string& path) override { return system_.IsFile(path); }
  bool IsFolder(const std::string& path) override { return system_.IsFolder(path); }
  bool MakeFolder(const std::string& path) override { return system_.MakeFolder(path); }
  bool RemoveFile(const std::string& path) override { return system_.RemoveFile(path); }
  bool RemoveFolderTree(const std::string& path) override { return system_.RemoveFolderTree(path); }
  std::string MakeTempFile() override { return system_.MakeTempFile(); }
  bool FreeSpace(const std::string& folder, std::uint64_t* bytes) override { return system_.FreeSpace(folder, bytes); }

 private:
  package::FileSystem& system_ = package::SystemFileSystem();
};

int Fail(const std::string& what) {
  std::fprintf(stderr, "signature_bench: %s\n", what.c_str());
  return 1;
}

}  // namespace

int main() {
  package::FileSystem& fs = package::SystemFileSystem();
  const std::string base = fs.MakeTempFile();
  if (base.empty()) return Fail("no temporary file");
  const std::string zip = base + ".zip", pkg = base + ".upd", folder = base + ".d";
  std::string error;
  signature::SecretKey key;
  key.seed.fill(7);
  if (!MakeArchive(zip)) return Fail("cannot write the archive");
  if (!package::WritePackage(zip, pkg, &error)) return Fail(error);
  fs.RemoveFile(zip);
  if (!signature::SignPackage(pkg, key, "02002", &error)) return Fail(error);
  const signature::PublicKey publicKey = signature::PublicKeyOf(key);
  std::printf("signed package: %.1f MiB (28 MiB random, 32 MiB text inside)\n", FileSize(pkg) / 1048576.0);

  CachedFileSystem cached;
  bool ok = true;
  auto unpack = [&](package::FileSystem& files, bool check) {
    signature::SignatureCheck signature(publicKey);
    package::CPackageUnpacker unpacker(files);
    unpacker.SetKey(package::kPackageKey, int(sizeof package::kPackageKey));
    if (check) unpacker.SetReadHook(&signature);
    if (unpacker.Unpack(pkg, folder) != 1) {
      ok = false;
      error = unpacker.LastError();
    }
    package::RemoveFolder(folder);
  };
  // The rounds take turns, so that a busy moment of the machine falls on
  // every kind alike.
  Times plain, checked, plainCached, checkedCached, check;
  for (int round = 0; round < kRounds; ++round) {
    Time(plain, [&] { unpack(fs, false); });
    Time(checked, [&] { unpack(fs, true); });
    Time(plainCached, [&] { unpack(cached, false); });
    Time(checkedCached, [&] { unpack(cached, true); });
    Time(check, [&] { ok = signature::VerifyPackage(pkg, publicKey).good && ok; });
  }
  fs.RemoveFile(pkg);
  fs.RemoveFile(base);
  if (!ok) return Fail("unpack or check failed: " + error);
  auto print = [](const char* what, const Times& without, const Times& with) {
    std::printf("%s\n", what);
    std::printf("  without the check: wall %.3f s, processor %.3f s, unpacking thread %.3f s\n", without.wall,
                without.cpu, without.thread);
    std::printf("  with the check:    wall %.3f s, processor %.3f s, unpacking thread %.3f s\n", with.wall, with.cpu,
                with.thread);
    auto share = [](double a, double b) { return 100.0 * (b - a) / a; };
    std::printf("  the check costs:   wall %+.1f %%, processor %+.1f %%, unpacking thread %+.1f %%\n",
                share(without.wall, with.wall), share(without.cpu, with.cpu), share(without.thread, with.thread));
  };
  print("unpack, files flushed to the disk", plain, checked);
  print("unpack, files left in the cache", plainCached, checkedCached);
  std::printf("check as a pass of its own: wall %.3f s = %.1f %% of the flushed unpack, %.1f %% of the cached one\n",
              check.wall, 100.0 * check.wall / plain.wall, 100.0 * check.wall / plainCached.wall);
  return 0;
}

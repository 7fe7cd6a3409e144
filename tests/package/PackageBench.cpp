// Benchmark of the package reader, native. Builds a package of about 64 MiB
// from mixed compressible and random files and times, in one run, our
// decrypt-and-verify plus extraction against the same work done by standard
// tools (openssl | md5sum, then unzip). Then measures the peak memory of an
// unpack of a 1 MiB and a 256 MiB package, each in a fresh process.
//
//   package_bench             the whole benchmark
//   package_bench --unpack <package> <folder>   one unpack (used internally)
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "package/PackageFormat.h"
#include "package/PackageUnpacker.h"
#include "package/PackageWriter.h"

namespace {

double Now() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

void Shell(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "failed: %s\n", command.c_str());
    std::exit(1);
  }
}

std::uint64_t g_state = 0x9E3779B97F4A7C15ull;
std::uint64_t NextRandom() {
  g_state ^= g_state << 13;
  g_state ^= g_state >> 7;
  g_state ^= g_state << 17;
  return g_state;
}

void WriteRandom(const std::string& path, std::size_t size) {
  std::vector<std::uint64_t> block(8192);
  FILE* f = std::fopen(path.c_str(), "wb");
  for (std::size_t done = 0; done < size;) {
    for (auto& v : block) v = NextRandom();
    std::size_t n = std::min(size - done, block.size() * 8);
    std::fwrite(block.data(), 1, n, f);
    done += n;
  }
  std::fclose(f);
}

void WriteText(const std::string& path, std::size_t size) {
  static const char* const kWords[] = {"font ", "glyph ", "sample ", "kerning ", "update ", "viewer ", "\r\n", "size "};
  std::string text;
  while (text.size() < size) text += kWords[NextRandom() % 8];
  text.resize(size);
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

long long FileSize(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? (long long)st.st_size : -1;
}

std::string KeyHex() {
  std::string s;
  char b[3];
  for (std::uint8_t k : package::kPackageKey) {
    std::snprintf(b, sizeof b, "%02x", k);
    s += b;
  }
  return s;
}

// Zips folder into zip (standard zip tool) and makes the package from it.
void MakePackage(const std::string& folder, const std::string& zip, const std::string& pkg, bool store) {
  Shell("cd '" + folder + "' && zip -q -r " + (store ? "-0 " : "") + "'" + zip + "' .");
  std::string error;
  if (!package::WritePackage(zip, pkg, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    std::exit(1);
  }
}

// Peak resident memory of one unpack in a fresh process, in KiB.
long PeakUnpackMemory(const char* self, const std::string& pkg, const std::string& out) {
  pid_t pid = fork();
  if (pid == 0) {
    execl(self, self, "--unpack", pkg.c_str(), out.c_str(), (char*)nullptr);
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "unpack of %s failed\n", pkg.c_str());
    std::exit(1);
  }
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--unpack") == 0) {
    std::string reason;
    int r = package::Unpack(argv[2], argv[3], &reason);
    if (r != 1) std::fprintf(stderr, "unpack: %s\n", reason.c_str());
    return r == 1 ? 0 : 1;
  }
  char pattern[] = "/tmp/package-bench-XXXXXX";
  if (!mkdtemp(pattern)) return 1;
  const std::string dir = pattern;
  setenv("TMPDIR", dir.c_str(), 1);

  // About 64 MiB of package: random files do not compress, text does.
  const std::string src = dir + "/src";
  Shell("mkdir -p '" + src + "/data' '" + src + "/docs'");
  for (int i = 0; i < 7; ++i) WriteRandom(src + "/data/random" + std::to_string(i) + ".bin", 8u << 20);
  WriteRandom(src + "/data/random7.bin", 5u << 19);
  for (int i = 0; i < 8; ++i) WriteText(src + "/docs/text" + std::to_string(i) + ".txt", 6u << 20);
  WriteText(src + "/setup.bat", 1000);
  const std::string pkg = dir + "/bench.upd";
  MakePackage(src, dir + "/bench.zip", pkg, false);
  const long long pkgSize = FileSize(pkg);
  const long long zipSize = FileSize(dir + "/bench.zip");
  std::printf("package: %.1f MiB (archive %.1f MiB; files inside: 58.5 MiB random, 48 MiB text)\n", pkgSize / 1048576.0,
              zipSize / 1048576.0);

  const std::string theirs =
      "tail -c +33 '" + pkg + "' | openssl enc -d -cast5-ecb -provider legacy -provider default -nopad -K " + KeyHex() +
      " | head -c " + std::to_string(zipSize) + " | tee '" + dir + "/plain.zip' | md5sum > /dev/null && unzip -q -o '" +
      dir + "/plain.zip' -d '" + dir + "/theirs'";
  double bestOurs = 1e9, bestTheirs = 1e9;
  for (int round = 0; round < 3; ++round) {
    Shell("rm -rf '" + dir + "/ours' '" + dir + "/theirs' '" + dir + "/plain.zip'; sync");
    double t0 = Now();
    std::string reason;
    if (package::Unpack(pkg, dir + "/ours", &reason) != 1) {
      std::fprintf(stderr, "our unpack failed: %s\n", reason.c_str());
      return 1;
    }
    double t1 = Now();
    Shell(theirs);
    double t2 = Now();
    bestOurs = std::min(bestOurs, t1 - t0);
    bestTheirs = std::min(bestTheirs, t2 - t1);
    std::printf("round %d: ours %.3f s, theirs %.3f s\n", round + 1, t1 - t0, t2 - t1);
  }
  Shell("diff -r '" + dir + "/ours' '" + dir + "/theirs'");
  std::printf("decrypt-and-verify + extraction: ours %.3f s, openssl|md5sum + unzip %.3f s, ratio ours/theirs %.2f\n",
              bestOurs, bestTheirs, bestOurs / bestTheirs);

  // Peak memory: a small and a large package, each unpacked by a fresh process.
  Shell("rm -rf '" + dir + "/ours' '" + dir + "/theirs' '" + dir + "/plain.zip' '" + src + "' '" + dir + "/bench.zip'");
  struct Case {
    const char* label;
    std::size_t size;
  } cases[] = {{"1 MiB", 1u << 20}, {"256 MiB", 256u << 20}};
  for (const Case& c : cases) {
    Shell("rm -rf '" + src + "' && mkdir -p '" + src + "'");
    WriteRandom(src + "/payload.bin", c.size - 4096);
    WriteText(src + "/setup.bat", 1000);
    const std::string mpkg = dir + "/mem.upd";
    Shell("rm -f '" + dir + "/mem.zip'");
    MakePackage(src, dir + "/mem.zip", mpkg, true);
    Shell("rm -rf '" + src + "' '" + dir + "/mem.zip'");
    long kib = PeakUnpackMemory(argv[0], mpkg, dir + "/memout");
    std::printf("peak memory of an unpack, %s package (%.1f MiB): %ld KiB\n", c.label, FileSize(mpkg) / 1048576.0, kib);
    Shell("rm -rf '" + dir + "/memout' '" + mpkg + "'");
  }
  Shell("rm -rf '" + dir + "'");
  return 0;
}

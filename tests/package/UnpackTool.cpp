// package_unpack <package> <folder>: one unpack with the fixed key, for the
// end-to-end tests of the Windows build. Prints the result and the reason of
// a failure; exit code 0 when unpacked.
#include <cstdio>
#include <string>

#include "package/PackageUnpacker.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: package_unpack <package> <folder>\n");
    return 2;
  }
  std::string reason;
  int result = package::Unpack(argv[1], argv[2], &reason);
  std::printf("result=%d %s\n", result, reason.c_str());
  return result == 1 ? 0 : 1;
}

#include "FontFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#ifdef _WIN32
#include <wchar.h>
#endif

namespace fontcover {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File Open(const std::string& path) {
#ifdef _WIN32
  // The path arrives as UTF-8 (see wmain); Windows opens wide names.
  std::wstring wide;
  for (std::size_t i = 0; i < path.size();) {
    unsigned char b = path[i];
    int extra = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
    char32_t c = extra == 0 ? b : b & (0x3F >> extra);
    for (int k = 1; k <= extra && i + k < path.size(); ++k) c = c << 6 | (path[i + k] & 0x3F);
    i += extra + 1;
    if (c >= 0x10000) {
      wide += wchar_t(0xD800 + ((c - 0x10000) >> 10));
      wide += wchar_t(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      wide += wchar_t(c);
    }
  }
  return File(_wfopen(wide.c_str(), L"rb"));
#else
  return File(std::fopen(path.c_str(), "rb"));
#endif
}

}  // namespace

fonttables::Result<std::vector<std::uint8_t>> ReadFile(const std::string& path) {
  using R = fonttables::Result<std::vector<std::uint8_t>>;
  File f = Open(path);
  if (!f) return R::Fail(std::string("cannot open: ") + std::strerror(errno));
  std::vector<std::uint8_t> data;
  std::uint8_t buffer[65536];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, f.get())) {
    if (data.size() + n > kMaxFileSize) return R::Fail("file too large to be a font");
    data.insert(data.end(), buffer, buffer + n);
  }
  if (std::ferror(f.get())) return R::Fail(std::string("cannot read: ") + std::strerror(errno));
  return data;
}

}  // namespace fontcover

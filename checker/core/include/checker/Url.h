#pragma once
// URL splitting for the HTTP transfer. Deliberately simple: the first ':'
// after "://" is the port colon, even inside the path.
#include <cstdint>
#include <string>
#include <string_view>

namespace checker {

struct UrlParts {
  std::string scheme;
  std::string host;
  std::uint16_t port = 0;  // 0: the scheme's default port
  std::string path;        // begins with '/'
};

// False when the URL has no "://".
bool SplitUrl(std::string_view url, UrlParts& parts);

// atoi-like: leading white space, an optional sign, then the leading digits;
// no digits give 0. Used for ports, Content-Length and process ids.
long ParseDecimal(std::string_view text);

}  // namespace checker

#include "checker/Url.h"

namespace checker {

long ParseDecimal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  unsigned long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + (text[i] - '0');
  return negative ? -static_cast<long>(value) : static_cast<long>(value);
}

bool SplitUrl(std::string_view url, UrlParts& parts) {
  std::size_t mark = url.find("://");
  if (mark == std::string_view::npos) return false;
  std::size_t after = mark + 3;
  parts.scheme = std::string(url.substr(0, mark));
  std::size_t colon = url.find(':', after);
  std::size_t slash = url.find('/', colon != std::string_view::npos ? colon : after);
  std::size_t hostEnd = colon != std::string_view::npos ? colon : slash;
  parts.host =
      std::string(url.substr(after, hostEnd == std::string_view::npos ? std::string_view::npos : hostEnd - after));
  parts.port = 0;
  if (colon != std::string_view::npos) {
    std::string_view digits =
        url.substr(colon + 1, slash == std::string_view::npos ? std::string_view::npos : slash - colon - 1);
    parts.port = static_cast<std::uint16_t>(ParseDecimal(digits));
  }
  parts.path = slash == std::string_view::npos ? std::string("/") : std::string(url.substr(slash));
  return true;
}

}  // namespace checker

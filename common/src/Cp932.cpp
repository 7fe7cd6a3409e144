#include "common/Cp932.h"

namespace cp932 {
namespace {

unsigned char Byte(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

// Full-width Latin small letters ａ-ｚ (82 81 - 82 9A) and their capitals
// Ａ-Ｚ (82 60 - 82 79): the only double-byte characters with a case.
constexpr unsigned kFullWidthSmallA = 0x8281, kFullWidthSmallZ = 0x829A, kFullWidthCaseOffset = 0x21;

// Code of the character at i for comparisons: a single byte folded to lower
// case, or lead*256+trail converted to upper case.
unsigned FoldedCode(std::string_view s, std::size_t i) {
  if (IsDoubleByteAt(s, i)) {
    unsigned code = (Byte(s, i) << 8) | Byte(s, i + 1);
    return (code >= kFullWidthSmallA && code <= kFullWidthSmallZ) ? code - kFullWidthCaseOffset : code;
  }
  unsigned char b = Byte(s, i);
  return (b >= 'A' && b <= 'Z') ? b + ('a' - 'A') : b;
}

template <typename Map>
std::string MapSingleBytes(std::string_view s, Map map) {
  std::string out(s);
  for (std::size_t i = 0; i < out.size(); i = Next(out, i)) {
    if (!IsDoubleByteAt(out, i)) out[i] = static_cast<char>(map(Byte(out, i)));
  }
  return out;
}

}  // namespace

bool IsDoubleByteAt(std::string_view s, std::size_t i) {
  return i + 1 < s.size() && IsLeadByte(Byte(s, i)) && IsTrailByte(Byte(s, i + 1));
}

std::size_t CharLengthAt(std::string_view s, std::size_t i) { return IsDoubleByteAt(s, i) ? 2 : 1; }

std::size_t Next(std::string_view s, std::size_t i) {
  if (i >= s.size()) return s.size();
  return i + CharLengthAt(s, i);
}

std::size_t Prev(std::string_view s, std::size_t i) {
  std::size_t prev = 0;
  for (std::size_t at = 0; at < i && at < s.size(); at = Next(s, at)) prev = at;
  return prev;
}

std::size_t CharCount(std::string_view s) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < s.size(); i = Next(s, i)) ++n;
  return n;
}

int Compare(std::string_view a, std::string_view b) {
  int c = a.compare(b);  // char_traits<char> compares as unsigned char
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

int CompareNoCase(std::string_view a, std::string_view b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    unsigned ca = FoldedCode(a, i), cb = FoldedCode(b, j);
    if (ca != cb) return ca < cb ? -1 : 1;
    i = Next(a, i);
    j = Next(b, j);
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

// Each character becomes a code whose bytes sort as its folded code does: a
// single byte below 0x80 stays one byte, any other single byte becomes 0x80
// and itself, a double-byte character its two (upper-cased) bytes, lead
// 0x81 and above. No code is the start of another, so keys compare as their
// names do.
void AppendSortKeyNoCase(std::string_view s, std::string& out) {
  for (std::size_t i = 0; i < s.size(); i = Next(s, i)) {
    unsigned code = FoldedCode(s, i);
    if (code > 0xFF) {
      out.push_back(static_cast<char>(code >> 8));
      out.push_back(static_cast<char>(code & 0xFF));
    } else {
      if (code >= 0x80) out.push_back(static_cast<char>(0x80));
      out.push_back(static_cast<char>(code));
    }
  }
}

std::string SortKeyNoCase(std::string_view s) {
  std::string key;
  key.reserve(s.size() + 8);
  AppendSortKeyNoCase(s, key);
  return key;
}

std::string ToUpper(std::string_view s) {
  return MapSingleBytes(s, [](unsigned char b) { return (b >= 'a' && b <= 'z') ? b - ('a' - 'A') : b; });
}

std::string ToLower(std::string_view s) {
  return MapSingleBytes(s, [](unsigned char b) { return (b >= 'A' && b <= 'Z') ? b + ('a' - 'A') : b; });
}

std::size_t Find(std::string_view hay, std::string_view needle, std::size_t from) {
  if (needle.empty()) return from <= hay.size() ? from : std::string_view::npos;
  for (std::size_t i = 0; i < hay.size(); i = Next(hay, i)) {
    if (i >= from && hay.substr(i, needle.size()) == needle) return i;
  }
  return std::string_view::npos;
}

std::size_t FindLastOf(std::string_view s, std::string_view set) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < s.size(); i = Next(s, i)) {
    if (!IsDoubleByteAt(s, i) && set.find(s[i]) != std::string_view::npos) found = i;
  }
  return found;
}

std::size_t FindFirstOf(std::string_view s, std::string_view set, std::size_t from) {
  for (std::size_t i = 0; i < s.size(); i = Next(s, i)) {
    if (i >= from && !IsDoubleByteAt(s, i) && set.find(s[i]) != std::string_view::npos) return i;
  }
  return std::string_view::npos;
}

bool EndsWithNoCase(std::string_view s, std::string_view suffix) {
  if (suffix.size() > s.size()) return false;
  std::size_t start = s.size() - suffix.size();
  // The suffix must begin where a character of s begins.
  std::size_t i = 0;
  while (i < start) i = Next(s, i);
  return i == start && CompareNoCase(s.substr(start), suffix) == 0;
}

}  // namespace cp932

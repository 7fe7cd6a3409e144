#pragma once
// Text rules of code page 932 (Shift-JIS), the code page of every string in
// the suite. A double-byte character is a lead byte followed by a trail byte;
// trail bytes overlap ASCII ('\\' is 0x5C, '@' is 0x40), so text must be
// walked character by character, never byte by byte.
#include <cstddef>
#include <string>
#include <string_view>

namespace cp932 {

constexpr bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

constexpr bool IsTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// True when s[i] and s[i + 1] form a legal double-byte character.
bool IsDoubleByteAt(std::string_view s, std::size_t i);

// Length in bytes (1 or 2) of the character that starts at s[i]. A lead byte
// without a legal trail byte counts as a single-byte character.
std::size_t CharLengthAt(std::string_view s, std::size_t i);

// Index of the character after the one at i (at most s.size()).
std::size_t Next(std::string_view s, std::size_t i);

// Index of the character that ends just before i (0 when i is 0). Walks from
// the start, the only safe way to step back in this code page.
std::size_t Prev(std::string_view s, std::size_t i);

// Number of characters in s.
std::size_t CharCount(std::string_view s);

// Byte-wise comparison: <0, 0, >0.
int Compare(std::string_view a, std::string_view b);

// Case-insensitive comparison: character by character, single-byte letters
// folded to lower case, double-byte characters compared by their 16-bit code
// after conversion to upper case (full-width ａ equals Ａ); a string that is a
// prefix of the other is the smaller. Returns <0, 0, >0.
int CompareNoCase(std::string_view a, std::string_view b);
inline bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

// A byte string whose byte-wise order is the CompareNoCase order of the
// names it is made from; names that differ only in letter case get equal
// keys. For sorting and hashing many names at once.
void AppendSortKeyNoCase(std::string_view s, std::string& out);
std::string SortKeyNoCase(std::string_view s);

// Upper- and lower-casing of the single-byte letters A-Z; double-byte
// characters (their trail bytes included) stay as they are.
std::string ToUpper(std::string_view s);
std::string ToLower(std::string_view s);

// Position of needle in hay at a character boundary, or npos. A match that
// would start on a trail byte is not a match.
std::size_t Find(std::string_view hay, std::string_view needle, std::size_t from = 0);

// Position of the last character of s that is one of the single-byte
// characters in set (for example "\\/"), or npos. Trail bytes never match.
std::size_t FindLastOf(std::string_view s, std::string_view set);

// Position of the first such character at or after from, or npos.
std::size_t FindFirstOf(std::string_view s, std::string_view set, std::size_t from = 0);

// True when s ends with suffix under the case-insensitive rule, the suffix
// beginning at a character boundary of s.
bool EndsWithNoCase(std::string_view s, std::string_view suffix);

}  // namespace cp932

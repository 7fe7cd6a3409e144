#include "FontFileInfo.h"

#include <cstdint>

#include "common/Cp932.h"

namespace pellmark {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Big-endian reads that refuse to go past the end of the data.
class Reader {
 public:
  explicit Reader(std::string_view data) : data_(data) {}
  bool Has(std::size_t offset, std::size_t size) const {
    return offset <= data_.size() && size <= data_.size() - offset;
  }
  std::uint16_t U16(std::size_t at) const { return static_cast<std::uint16_t>(Byte(at) << 8 | Byte(at + 1)); }
  std::uint32_t U32(std::size_t at) const { return static_cast<std::uint32_t>(U16(at)) << 16 | U16(at + 2); }

 private:
  unsigned Byte(std::size_t at) const { return static_cast<unsigned char>(data_[at]); }
  std::string_view data_;
};

constexpr std::uint32_t Tag(char a, char b, char c, char d) {
  return static_cast<std::uint32_t>(a) << 24 | static_cast<std::uint32_t>(b) << 16 |
         static_cast<std::uint32_t>(c) << 8 | static_cast<std::uint32_t>(d);
}

// Rank of a name record's language: lower is better; -1 when not usable.
int LanguageRank(std::uint16_t platform, std::uint16_t encoding, std::uint16_t language) {
  if (platform != 3 || (encoding != 1 && encoding != 0 && encoding != 10)) return -1;
  if (language == 0x0411) return 0;  // Japanese: what the system shows here
  if (language == 0x0409) return 1;
  return 2;
}

// The best full (4) or family (1) name of the font whose table directory
// starts at `font`.
std::u16string FontName(const Reader& r, std::size_t font) {
  if (!r.Has(font, 12)) return {};
  std::uint16_t tables = r.U16(font + 4);
  if (!r.Has(font + 12, std::size_t{tables} * 16)) return {};
  for (std::uint16_t t = 0; t < tables; ++t) {
    std::size_t entry = font + 12 + std::size_t{t} * 16;
    if (r.U32(entry) != Tag('n', 'a', 'm', 'e')) continue;
    std::size_t table = r.U32(entry + 8);
    if (!r.Has(table, 6)) return {};
    std::uint16_t count = r.U16(table + 2);
    std::size_t strings = table + r.U16(table + 4);
    if (!r.Has(table + 6, std::size_t{count} * 12)) return {};
    int bestScore = -1;
    std::size_t bestAt = 0, bestLength = 0;
    for (std::uint16_t n = 0; n < count; ++n) {
      std::size_t rec = table + 6 + std::size_t{n} * 12;
      std::uint16_t nameId = r.U16(rec + 6);
      if (nameId != 4 && nameId != 1) continue;
      int rank = LanguageRank(r.U16(rec), r.U16(rec + 2), r.U16(rec + 4));
      if (rank < 0) continue;
      // Full names first, then by language.
      int score = (nameId == 4 ? 0 : 10) + rank;
      std::size_t length = r.U16(rec + 8), at = strings + r.U16(rec + 10);
      if (length == 0 || length % 2 != 0 || !r.Has(at, length)) continue;
      if (bestScore < 0 || score < bestScore) {
        bestScore = score;
        bestAt = at;
        bestLength = length;
      }
    }
    std::u16string name;
    for (std::size_t i = 0; bestScore >= 0 && i < bestLength; i += 2)
      name.push_back(static_cast<char16_t>(r.U16(bestAt + i)));
    return name;
  }
  return {};
}

bool IsSfntVersion(std::uint32_t v) {
  return v == 0x00010000 || v == Tag('O', 'T', 'T', 'O') || v == Tag('t', 'r', 'u', 'e');
}

}  // namespace

namespace {

// Where the program name ends when it is written with programFile, or npos.
std::size_t EndOfProgramFile(std::string_view line, std::string_view programFile) {
  if (programFile.empty()) return std::string_view::npos;
  // Lower-casing keeps every byte in place, so positions carry over.
  std::size_t at = cp932::Find(cp932::ToLower(line), cp932::ToLower(programFile));
  if (at == std::string_view::npos) return at;
  // A whole file name: after a separator, a quote, a blank or nothing...
  if (at > 0) {
    std::size_t prev = cp932::Prev(line, at);
    char before = line[prev];
    if (prev != at - 1 || (before != '\\' && before != '/' && before != '"' && !IsBlank(before)))
      return std::string_view::npos;
  }
  // ...and followed by a quote, a blank or the end.
  std::size_t end = at + programFile.size();
  if (end < line.size() && line[end] == '"') ++end;
  if (end < line.size() && !IsBlank(line[end])) return std::string_view::npos;
  return end;
}

// The end of the first word, or of the quoted part that starts the line.
std::size_t EndOfFirstWord(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  if (i < line.size() && line[i] == '"') {
    std::size_t close = line.find('"', i + 1);
    return close == std::string_view::npos ? line.size() : close + 1;
  }
  while (i < line.size() && !IsBlank(line[i])) i = cp932::Next(line, i);
  return i;
}

}  // namespace

std::string PathFromCommandLine(std::string_view line, std::string_view programFile) {
  std::size_t i = EndOfProgramFile(line, programFile);
  if (i == std::string_view::npos) i = EndOfFirstWord(line);
  std::string_view rest = line.substr(i);
  while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
  while (!rest.empty() && IsBlank(rest.back())) rest.remove_suffix(1);
  if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') rest = rest.substr(1, rest.size() - 2);
  return std::string(rest);
}

std::vector<std::u16string> FaceNames(std::string_view data) {
  Reader r(data);
  std::vector<std::u16string> names;
  if (!r.Has(0, 12)) return names;
  std::uint32_t version = r.U32(0);
  if (version == Tag('t', 't', 'c', 'f')) {
    std::uint32_t fonts = r.U32(8);
    if (fonts == 0 || !r.Has(12, std::size_t{fonts} * 4)) return names;
    for (std::uint32_t f = 0; f < fonts; ++f) {
      std::size_t at = r.U32(12 + std::size_t{f} * 4);
      if (!r.Has(at, 4) || !IsSfntVersion(r.U32(at))) return {};
      std::u16string name = FontName(r, at);
      if (name.empty()) return {};
      names.push_back(std::move(name));
    }
    return names;
  }
  if (!IsSfntVersion(version)) return names;
  std::u16string name = FontName(r, 0);
  if (!name.empty()) names.push_back(std::move(name));
  return names;
}

std::string FontValueName(const std::vector<std::string>& faceNames, std::string_view fileTitle) {
  std::string value;
  for (const std::string& name : faceNames) {
    if (!value.empty()) value += " & ";
    value += name;
  }
  if (value.empty()) value = fileTitle;
  return value + " (TrueType)";
}

}  // namespace pellmark

#include "FontFileInfo.h"

#include <cstdint>

#include "common/Cp932.h"
#include "fonttables/Names.h"
#include "fonttables/Sfnt.h"

namespace pellmark {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The full name of a face (its family name when it has none): Japanese,
// else English, else another language; empty when unreadable.
std::u16string FaceName(fonttables::TableSource& tables) {
  std::optional<fonttables::Bytes> name = tables.Table(fonttables::MakeTag("name"));
  if (!name) return {};
  for (std::uint16_t id : {fonttables::kNameFull, fonttables::kNameFamily}) {
    fonttables::Result<fonttables::WindowsNames> names = fonttables::ReadWindowsNames(*name, id);
    if (!names) return {};
    if (!names->Preferred().empty()) return names->Preferred();
  }
  return {};
}

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
  const fonttables::Bytes file(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
  fonttables::Result<std::vector<std::size_t>> faces = fonttables::FaceOffsets(file);
  if (!faces) return {};
  std::vector<std::u16string> names;
  for (std::size_t offset : *faces) {
    fonttables::Result<fonttables::TableDirectory> tables = fonttables::TableDirectory::Read(file, offset);
    std::u16string name = tables ? FaceName(*tables) : std::u16string();
    // One damaged member makes the file unusable as a whole.
    if (name.empty()) return {};
    names.push_back(std::move(name));
  }
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

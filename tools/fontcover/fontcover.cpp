// fontcover: how much of each Japanese character set the faces of font files
// map, as CSV on standard output (UTF-8).
//
//   fontcover FILE...                  one line per face: counts per set
//   fontcover --names FILE...          one line per face: family names, vertical forms
//   fontcover --missing SET FILE...    one line per character of SET a face lacks
//   fontcover --sets                   each set's name, size and definition
//
// A file that cannot be read as a font is reported on standard error with
// its reason; the others are still listed and the exit code is 1.
#include <cstdio>
#include <string>
#include <vector>

#include "FontFile.h"
#include "coverage/Coverage.h"
#include "fonttables/Text.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

using coverage::CharacterSet;
using fonttables::Result;

enum class Mode { kCounts, kNames, kMissing };

std::string Csv(const std::string& field) {
  if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
  std::string quoted = "\"";
  for (char c : field) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

void Print(const std::vector<std::string>& fields) {
  std::string line;
  for (const std::string& f : fields) line += (line.empty() ? "" : ",") + Csv(f);
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stdout);
}

std::string Family(const fonttables::FamilyNames& names) {
  return fonttables::ToUtf8(names.japanese.empty() ? names.english : names.japanese);
}

std::string VerticalText(fonttables::VerticalForms forms) {
  std::string text = forms.vert ? "vert" : "";
  if (forms.vrt2) text += text.empty() ? "vrt2" : " vrt2";
  return text;
}

std::string CodePoint(char32_t c) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", unsigned(c));
  return text;
}

// One face's lines; the error when one of its tables is damaged.
Result<bool> ReportFace(Mode mode, const CharacterSet* set, const std::string& file, std::size_t index,
                        fonttables::TableSource& tables) {
  std::vector<std::string> row{file, std::to_string(index)};
  if (mode == Mode::kMissing) {
    Result<fonttables::CharacterMap> map = coverage::ReadCharacterMap(tables);
    if (!map) return Result<bool>::Fail(map.Error());
    for (char32_t c : coverage::Missing(*map, *set)) {
      std::string glyph;
      fonttables::AppendUtf8(glyph, c);
      Print({file, std::to_string(index), CodePoint(c), glyph});
    }
    return true;
  }
  Result<coverage::FaceReport> report = coverage::MeasureFace(tables);
  if (!report) return Result<bool>::Fail(report.Error());
  if (mode == Mode::kNames) {
    row.insert(row.end(), {fonttables::ToUtf8(report->names.japanese), fonttables::ToUtf8(report->names.english),
                           VerticalText(report->verticalForms)});
  } else {
    row.push_back(Family(report->names));
    for (std::size_t covered : report->covered) row.push_back(std::to_string(covered));
    row.push_back(std::to_string(report->ideographicVariations));
  }
  Print(row);
  return true;
}

bool ReportFile(Mode mode, const CharacterSet* set, const std::string& file) {
  auto fail = [&](const std::string& why) {
    std::fflush(stdout);
    std::fprintf(stderr, "fontcover: %s: %s\n", file.c_str(), why.c_str());
    return false;
  };
  Result<std::vector<std::uint8_t>> data = fontcover::ReadFile(file);
  if (!data) return fail(data.Error());
  Result<std::vector<std::size_t>> faces = fonttables::FaceOffsets(*data);
  if (!faces) return fail(faces.Error());
  bool ok = true;
  for (std::size_t i = 0; i < faces->size(); ++i) {
    Result<fonttables::TableDirectory> tables = fonttables::TableDirectory::Read(*data, (*faces)[i]);
    Result<bool> done = tables ? ReportFace(mode, set, file, i, *tables) : Result<bool>::Fail(tables.Error());
    if (!done) ok = fail((faces->size() > 1 ? "font " + std::to_string(i) + ": " : std::string()) + done.Error());
  }
  return ok;
}

int Usage() {
  std::fputs(
      "usage: fontcover FILE...\n"
      "       fontcover --names FILE...\n"
      "       fontcover --missing SET FILE...\n"
      "       fontcover --sets\n",
      stderr);
  return 2;
}

int Run(const std::vector<std::string>& args) {
  if (args.size() == 1 && args[0] == "--sets") {
    Print({"set", "size", "definition"});
    for (const CharacterSet& set : coverage::kCharacterSets)
      Print({set.name, std::to_string(set.chars.size()), set.definition});
    return 0;
  }
  Mode mode = Mode::kCounts;
  const CharacterSet* set = nullptr;
  std::size_t first = 0;
  if (!args.empty() && args[0] == "--names") {
    mode = Mode::kNames;
    first = 1;
  } else if (!args.empty() && args[0] == "--missing") {
    if (args.size() < 2 || !(set = coverage::FindSet(args[1]))) {
      std::fprintf(stderr, "fontcover: unknown set '%s' (fontcover --sets lists them)\n",
                   args.size() < 2 ? "" : args[1].c_str());
      return 2;
    }
    mode = Mode::kMissing;
    first = 2;
  }
  if (first >= args.size() || args[first].starts_with("--")) return Usage();
  if (mode == Mode::kCounts) {
    std::vector<std::string> header{"file", "index", "family"};
    for (const CharacterSet& s : coverage::kCharacterSets) header.push_back(s.name);
    header.push_back("ivs");
    Print(header);
  } else if (mode == Mode::kNames) {
    Print({"file", "index", "japanese", "english", "vertical"});
  } else {
    Print({"file", "index", "codepoint", "character"});
  }
  bool ok = true;
  for (std::size_t i = first; i < args.size(); ++i) ok = ReportFile(mode, set, args[i]) && ok;
  return ok ? 0 : 1;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // the same bytes as on Linux
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    std::u16string arg(argv[i], argv[i] + wcslen(argv[i]));
    args.push_back(fonttables::ToUtf8(arg));
  }
  return Run(args);
}
#else
int main(int argc, char** argv) { return Run(std::vector<std::string>(argv + 1, argv + argc)); }
#endif

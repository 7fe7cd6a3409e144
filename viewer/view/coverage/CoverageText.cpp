#include "CoverageText.h"

#include <vector>

#include "common/Cp932.h"
#include "fonttables/Text.h"

namespace coverageui {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string Join(const std::vector<std::string>& fields) {
  std::string line;
  for (const std::string& field : fields) line += (line.empty() ? "" : ",") + CsvField(field);
  line += kLineEnd;
  return line;
}

}  // namespace

int Percent(std::size_t covered, std::size_t total) {
  if (total == 0 || covered >= total) return 100;
  return static_cast<int>(covered * 100 / total);
}

std::string CoverageLine(const coverage::FaceReport& report, const LineWords& words) {
  auto part = [&](const std::string& word, coverage::SetIndex set) {
    return word + std::to_string(Percent(report.covered[set], coverage::kCharacterSets[set].chars.size())) + "%";
  };
  std::string line = part(words.joyo, coverage::kJoyo) + " " + part(words.jis2, coverage::kJis2);
  if (report.ideographicVariations > 0) line += " " + words.ivs + " " + std::to_string(report.ideographicVariations);
  return line;
}

std::vector<std::string> SplitBars(std::string_view text) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t next = cp932::Next(text, i);
    if (text[i] == '|')
      parts.emplace_back();
    else
      parts.back().append(text.substr(i, next - i));
    i = next;
  }
  return parts;
}

std::string MeasuredName(const std::string& face) { return !face.empty() && face[0] == '@' ? face.substr(1) : face; }

bool HasFullJoyo(const coverage::FaceReport& report) {
  return report.covered[coverage::kJoyo] == coverage::kCharacterSets[coverage::kJoyo].chars.size();
}

std::string CsvField(std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(field);
  std::string quoted = "\"";
  for (char c : field) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string CsvHeader() {
  std::vector<std::string> fields{"face", "family_ja", "family_en"};
  for (const coverage::CharacterSet& set : coverage::kCharacterSets) fields.emplace_back(set.name);
  fields.emplace_back("ivs");
  return Join(fields);
}

std::string CsvRow(std::string_view face, const coverage::FaceReport* report) {
  std::vector<std::string> fields{std::string(face)};
  if (!report) {
    fields.resize(3 + coverage::kSetCount + 1);
    return Join(fields);
  }
  fields.push_back(fonttables::ToUtf8(report->names.japanese));
  fields.push_back(fonttables::ToUtf8(report->names.english));
  for (std::size_t covered : report->covered) fields.push_back(std::to_string(covered));
  fields.push_back(std::to_string(report->ideographicVariations));
  return Join(fields);
}

}  // namespace coverageui

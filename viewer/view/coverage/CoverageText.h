#pragma once
// Texts of the coverage feature that need no window: the line under a face
// name, the lines of the CSV file, and the rule of the full-joyo filter.
// Portable: no windows.h.
#include <string>
#include <string_view>
#include <vector>

#include "coverage/Coverage.h"

namespace coverageui {

// Whole percent, rounded down: 100 only when nothing is missing.
int Percent(std::size_t covered, std::size_t total);

// The words of the line under a face name, from the resources (code page 932).
struct LineWords {
  std::string joyo;        // short name of the joyo kanji
  std::string jis2;        // short name of JIS level 2
  std::string ivs;         // label of the variation sequence count
  std::string pending;     // until the face is measured
  std::string unreadable;  // the face's tables could not be read
};

// "常用100% 第2水準98%", with " IVS n" when the face maps variation sequences.
std::string CoverageLine(const coverage::FaceReport& report, const LineWords& words);

// Parts of a code page 932 text separated by '|' (a trail byte may be 0x7C).
std::vector<std::string> SplitBars(std::string_view text);

// The face whose tables are measured for a face name: a vertical face
// ("@MS Mincho") has the tables of its horizontal one.
std::string MeasuredName(const std::string& face);

// True when the face maps every joyo kanji.
bool HasFullJoyo(const coverage::FaceReport& report);

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string CsvField(std::string_view field);
// The header line, CR LF ended: face, both family names, then every set.
std::string CsvHeader();
// One face's line (face name in UTF-8); without a report (a face that could
// not be read) the names and counts are left empty.
std::string CsvRow(std::string_view face, const coverage::FaceReport* report);

}  // namespace coverageui

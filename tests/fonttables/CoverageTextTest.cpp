// The coverage feature's texts: the line under a face name, the CSV lines,
// the full-joyo rule and the '|' lists of its resources.
#include <gtest/gtest.h>

#include "CoverageText.h"

using namespace coverageui;
using coverage::FaceReport;

namespace {

FaceReport Report(std::size_t joyo, std::size_t jis2, std::size_t ivs = 0) {
  FaceReport report;
  report.covered[coverage::kJoyo] = joyo;
  report.covered[coverage::kJis2] = jis2;
  report.ideographicVariations = ivs;
  return report;
}

}  // namespace

TEST(CoverageTextTest, LineRoundsDownSoThatOnlyCompleteSetsShow100) {
  const LineWords words{"J", "L2", "IVS", "...", "?"};
  struct Case {
    std::size_t joyo, jis2, ivs;
    const char* line;
  } cases[] = {
      {2136, 3390, 0, "J100% L2100%"}, {2135, 3389, 0, "J99% L299%"},  // one missing is not 100
      {0, 0, 0, "J0% L20%"},           {2126, 34, 9, "J99% L21% IVS 9"}, {2136, 3390, 14684, "J100% L2100% IVS 14684"},
  };
  for (const Case& c : cases) EXPECT_EQ(CoverageLine(Report(c.joyo, c.jis2, c.ivs), words), c.line) << c.line;
  EXPECT_EQ(Percent(5, 0), 100);
  EXPECT_EQ(Percent(7, 5), 100);
}

TEST(CoverageTextTest, FullJoyoMeansEveryJoyoKanjiAndVerticalFacesShareTables) {
  EXPECT_TRUE(HasFullJoyo(Report(2136, 0)));
  EXPECT_FALSE(HasFullJoyo(Report(2135, 3390)));
  EXPECT_FALSE(HasFullJoyo(Report(0, 0)));
  EXPECT_EQ(MeasuredName("@IPA Mincho"), "IPA Mincho");
  EXPECT_EQ(MeasuredName("IPA@"), "IPA@");
  EXPECT_EQ(MeasuredName(""), "");
}

TEST(CoverageTextTest, CsvHeaderRowsAndQuoting) {
  EXPECT_EQ(CsvHeader(), "face,family_ja,family_en,kana,nonkanji,jis1,jis2,joyo,jinmeiyo,jis3,jis4,ivs\r\n");
  const std::pair<const char*, const char*> fields[] = {
      {"plain", "plain"}, {"a,b", "\"a,b\""}, {"say \"hi\"", "\"say \"\"hi\"\"\""}, {"two\nlines", "\"two\nlines\""},
      {"", ""},
  };
  for (auto [in, out] : fields) EXPECT_EQ(CsvField(in), out) << in;

  FaceReport report = Report(2126, 3390, 9);
  report.covered[coverage::kKana] = 169;
  report.names.japanese = u"グリムラ試験, 0000";
  report.names.english = u"Glimra \"Test\"";
  EXPECT_EQ(CsvRow("\xE3\x82\xB0 face", &report),
            "\xE3\x82\xB0 face,\"\xE3\x82\xB0\xE3\x83\xAA\xE3\x83\xA0\xE3\x83\xA9\xE8\xA9\xA6\xE9\xA8\x93, 0000\","
            "\"Glimra \"\"Test\"\"\",169,0,0,3390,2126,0,0,0,9\r\n");
  // A face that could not be read keeps its line, every other field empty.
  EXPECT_EQ(CsvRow("Broken", nullptr), "Broken,,,,,,,,,,,\r\n");
}

TEST(CoverageTextTest, BarListsSplitOnCharactersNotBytes) {
  // "ポ" is 0x83 0x7C in code page 932: its trail byte is '|'.
  const std::vector<std::string> expected{"\x83\x7C", "a", "", ""};
  EXPECT_EQ(SplitBars("\x83\x7C|a||"), expected);
  EXPECT_EQ(SplitBars(""), std::vector<std::string>{""});
}

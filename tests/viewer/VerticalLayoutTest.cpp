// Vertical sample layout: which character goes to which column and where,
// columns counted from the right; the line about vertical forms.
#include "vertical/VerticalLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vertical {
namespace {

TEST(VerticalLayout, CharactersOfCodePage932TextStayWhole) {
  // "ソ" is 83 5C and "表" 95 5C: their trail bytes are backslashes.
  const std::string text = "Aソ\\表";
  EXPECT_EQ(SplitCharacters(text), (std::vector<std::string>{"A", "ソ", "\\", "表"}));
  EXPECT_TRUE(SplitCharacters("").empty());
  // A lead byte cut off at the end stays a character of its own.
  EXPECT_EQ(SplitCharacters("a\x82"), (std::vector<std::string>{"a", "\x82"}));
}

struct PlacementCase {
  const char* what;
  std::vector<int> advances;
  int columnLength;
  std::vector<std::pair<int, int>> expected;  // column, offset
};

TEST(VerticalLayout, CharactersRunDownAndWrapIntoTheNextColumnLeft) {
  const std::vector<PlacementCase> cases = {
      {"one column", {10, 10, 5}, 40, {{0, 0}, {0, 10}, {0, 20}}},
      {"exactly full, then wraps", {10, 10, 10, 10, 10}, 40, {{0, 0}, {0, 10}, {0, 20}, {0, 30}, {1, 0}}},
      {"half-width characters fill gaps", {20, 15, 5, 10}, 40, {{0, 0}, {0, 20}, {0, 35}, {1, 0}}},
      {"longer than a column: alone in its own", {10, 50, 10}, 40, {{0, 0}, {1, 0}, {2, 0}}},
      {"a column too short for anything", {10, 10}, 0, {{0, 0}, {1, 0}}},
      {"zero and negative advances take no room", {0, -5, 10}, 10, {{0, 0}, {0, 0}, {0, 0}}},
  };
  for (const PlacementCase& c : cases) {
    const std::vector<Placement> places = PlaceInColumns(c.advances, c.columnLength);
    ASSERT_EQ(places.size(), c.expected.size()) << c.what;
    for (std::size_t i = 0; i < places.size(); ++i) {
      EXPECT_EQ(places[i].column, c.expected[i].first) << c.what << " #" << i;
      EXPECT_EQ(places[i].offset, c.expected[i].second) << c.what << " #" << i;
    }
  }
}

TEST(VerticalLayout, ColumnsGoFromRightToLeft) {
  EXPECT_EQ(ColumnLeft(200, 0, 30), 170);
  EXPECT_EQ(ColumnLeft(200, 1, 30), 140);
  EXPECT_LT(ColumnLeft(200, 2, 30), ColumnLeft(200, 1, 30));
}

TEST(VerticalLayout, FormsLineNamesTheFeaturesFound) {
  auto line = [](bool vert, bool vrt2) {
    fonttables::VerticalForms forms;
    forms.vert = vert;
    forms.vrt2 = vrt2;
    return VerticalFormsLine(forms, "yes", "no");
  };
  EXPECT_EQ(line(false, false), "no");
  EXPECT_EQ(line(true, false), "yes (vert)");
  EXPECT_EQ(line(false, true), "yes (vrt2)");
  EXPECT_EQ(line(true, true), "yes (vert, vrt2)");
}

}  // namespace
}  // namespace vertical

// Coverage counts and missing characters against the generated sets.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "coverage/Coverage.h"

using namespace coverage;
using fonttables::CharacterMap;
using fonttables::CodeRange;

TEST(CharacterSetsTest, SizesAsDocumentedSortedAndUnique) {
  const std::pair<const char*, std::size_t> expected[] = {{"kana", 169},  {"nonkanji", 355}, {"jis1", 2965},
                                                          {"jis2", 3390}, {"joyo", 2136},    {"jinmeiyo", 863},
                                                          {"jis3", 1259}, {"jis4", 2436}};
  for (auto [name, size] : expected) {
    const CharacterSet* set = FindSet(name);
    ASSERT_NE(set, nullptr) << name;
    EXPECT_EQ(set->chars.size(), size) << name;
    EXPECT_TRUE(std::adjacent_find(set->chars.begin(), set->chars.end(), std::greater_equal<>()) == set->chars.end())
        << name;
  }
  EXPECT_EQ(FindSet("JOYO"), nullptr);
  EXPECT_EQ(FindSet("joyo")->chars.front(), U'\u4E00');  // 一
}

TEST(CoverageTest, CountsAndMissingAgree) {
  const CharacterSet& joyo = *FindSet("joyo");
  // Every joyo kanji except the first, the last and three in between.
  const std::vector<std::size_t> gaps = {0, 100, 101, 1500, joyo.chars.size() - 1};
  std::vector<CodeRange> ranges;
  for (std::size_t i = 0; i < joyo.chars.size(); ++i)
    if (std::find(gaps.begin(), gaps.end(), i) == gaps.end()) ranges.push_back({joyo.chars[i], joyo.chars[i]});
  CharacterMap map(ranges);
  EXPECT_EQ(CountCovered(map, joyo), joyo.chars.size() - gaps.size());
  std::vector<char32_t> expected;
  for (std::size_t i : gaps) expected.push_back(joyo.chars[i]);
  EXPECT_EQ(Missing(map, joyo), expected);

  CharacterMap everything({{0, 0x10FFFF}});
  for (const CharacterSet& set : kCharacterSets) {
    EXPECT_EQ(CountCovered(everything, set), set.chars.size()) << set.name;
    EXPECT_EQ(CountCovered(CharacterMap(), set), 0u) << set.name;
  }
}

#include "common/Cp932.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

// Literals below are compiled to code page 932: "ソ" is 83 5C, "表" 95 5C.
namespace {

TEST(Cp932Bytes, LeadAndTrailRanges) {
  EXPECT_FALSE(cp932::IsLeadByte(0x80));
  EXPECT_TRUE(cp932::IsLeadByte(0x81));
  EXPECT_TRUE(cp932::IsLeadByte(0x9F));
  EXPECT_FALSE(cp932::IsLeadByte(0xA0));  // half-width katakana start here
  EXPECT_FALSE(cp932::IsLeadByte(0xDF));
  EXPECT_TRUE(cp932::IsLeadByte(0xE0));
  EXPECT_TRUE(cp932::IsLeadByte(0xFC));
  EXPECT_FALSE(cp932::IsLeadByte(0xFD));

  EXPECT_FALSE(cp932::IsTrailByte(0x3F));
  EXPECT_TRUE(cp932::IsTrailByte(0x40));
  EXPECT_TRUE(cp932::IsTrailByte(0x7E));
  EXPECT_FALSE(cp932::IsTrailByte(0x7F));
  EXPECT_TRUE(cp932::IsTrailByte(0x80));
  EXPECT_TRUE(cp932::IsTrailByte(0xFC));
  EXPECT_FALSE(cp932::IsTrailByte(0xFD));
}

TEST(Cp932Stepping, StepsOverDoubleByteCharacters) {
  std::string s = "aソb";  // 61 83 5C 62
  ASSERT_EQ(s.size(), 4u);
  EXPECT_EQ(cp932::Next(s, 0), 1u);
  EXPECT_EQ(cp932::Next(s, 1), 3u);
  EXPECT_EQ(cp932::Next(s, 3), 4u);
  EXPECT_EQ(cp932::Next(s, 4), 4u);
  EXPECT_EQ(cp932::Prev(s, 3), 1u);
  EXPECT_EQ(cp932::Prev(s, 4), 3u);
  EXPECT_EQ(cp932::Prev(s, 0), 0u);
  EXPECT_EQ(cp932::CharCount(s), 3u);
}

TEST(Cp932Stepping, LoneOrBrokenLeadBytesAreSingleCharacters) {
  std::string endsOnLead = "a\x83";
  EXPECT_EQ(cp932::CharCount(endsOnLead), 2u);
  EXPECT_EQ(cp932::Next(endsOnLead, 1), 2u);
  std::string leadThenControl = "\x83\x20x";  // 0x20 is no trail byte
  EXPECT_EQ(cp932::CharLengthAt(leadThenControl, 0), 1u);
  EXPECT_EQ(cp932::CharCount(leadThenControl), 3u);
}

TEST(Cp932Compare, ExactIsByteWiseAndUnsigned) {
  EXPECT_EQ(cp932::Compare("abc", "abc"), 0);
  EXPECT_LT(cp932::Compare("ABC", "abc"), 0);
  EXPECT_LT(cp932::Compare("abc", "abcd"), 0);
  EXPECT_GT(cp932::Compare("\x83\x41", "z"), 0);  // bytes compare unsigned
}

TEST(Cp932Compare, NoCaseFoldsSingleByteLettersOnly) {
  EXPECT_EQ(cp932::CompareNoCase("Arial", "ARIAL"), 0);
  EXPECT_TRUE(cp932::EqualsNoCase("MS Gothic", "ms gothic"));
  // Full-width letters compare in upper case: ａ (82 81) equals Ａ (82 60),
  // and both sort before Ｂ (82 61).
  EXPECT_EQ(cp932::CompareNoCase("ａｂ", "ＡＢ"), 0);
  EXPECT_LT(cp932::CompareNoCase("ａ", "Ｂ"), 0);
  // Other double-byte characters are compared as they are.
  EXPECT_NE(cp932::CompareNoCase("ぁ", "あ"), 0);
  // Letters fold to lower case, so '[' and '_' (0x5B, 0x5F) sort before
  // every letter, upper or lower; folding to upper would put them after.
  EXPECT_LT(cp932::CompareNoCase("[", "a"), 0);
  EXPECT_LT(cp932::CompareNoCase("[", "A"), 0);
  EXPECT_LT(cp932::CompareNoCase("_", "Z"), 0);
}

TEST(Cp932Compare, NoCaseTreatsTrailBytesAsPartOfTheirCharacter) {
  // 83 61 is "ャ": its trail byte 0x61 must not be folded or compared as 'a'.
  EXPECT_NE(cp932::CompareNoCase("\x83\x61", "\x83\x41"), 0);
  // A double-byte character is greater than every single byte.
  EXPECT_GT(cp932::CompareNoCase("ア", "\xDF"), 0);
  EXPECT_GT(cp932::CompareNoCase("ア", "z"), 0);
}

TEST(Cp932Compare, PrefixIsSmaller) {
  EXPECT_LT(cp932::CompareNoCase("MS", "ms Mincho"), 0);
  EXPECT_GT(cp932::CompareNoCase("ＭＳ 明朝", "ＭＳ"), 0);
  EXPECT_EQ(cp932::CompareNoCase("", ""), 0);
  EXPECT_LT(cp932::CompareNoCase("", "a"), 0);
}

TEST(Cp932Compare, NoCaseOrdersAListConsistently) {
  std::vector<std::string> names = {"Tahoma",      "@ＭＳ 明朝",   "arial", "ＭＳ ゴシック",
                                    "Arial Black", "MS UI Gothic", "ｱ"};
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return cp932::CompareNoCase(a, b) < 0; });
  std::vector<std::string> expected = {"@ＭＳ 明朝", "arial", "Arial Black",  "MS UI Gothic",
                                       "Tahoma",     "ｱ",     "ＭＳ ゴシック"};
  EXPECT_EQ(names, expected);
}

TEST(Cp932Compare, SortKeysOrderAsTheNoCaseComparison) {
  // Every mix of characters from the classes that fold differently.
  const std::vector<std::string> parts = {"",         "a",        "A",        "[", "\xB1", "\x82\x81",
                                          "\x82\x60", "\x82\x61", "\x83\x5C", "@", "\x7F"};
  std::vector<std::string> names;
  for (const auto& x : parts)
    for (const auto& y : parts)
      for (const auto& z : parts) names.push_back(x + y + z);
  for (const auto& a : names) {
    for (const auto& b : names) {
      int byName = cp932::CompareNoCase(a, b);
      int byKey = cp932::Compare(cp932::SortKeyNoCase(a), cp932::SortKeyNoCase(b));
      ASSERT_EQ(byName, byKey) << a << " / " << b;
    }
  }
}

TEST(Cp932Case, UpperAndLowerLeaveDoubleByteCharactersAlone) {
  EXPECT_EQ(cp932::ToUpper("c:\\tools\\glimra.exe"), "C:\\TOOLS\\GLIMRA.EXE");
  EXPECT_EQ(cp932::ToLower("FONT.TTF"), "font.ttf");
  // 83 61 ("ャ") keeps its trail byte; the 'a' after it is a letter.
  EXPECT_EQ(cp932::ToUpper("\x83\x61"
                           "a"),
            "\x83\x61"
            "A");
  EXPECT_EQ(cp932::ToLower("\x82\x60"
                           "A"),
            "\x82\x60"
            "a");
  EXPECT_EQ(cp932::ToUpper("ｱｲｳ"), "ｱｲｳ");  // half-width katakana are no letters
  EXPECT_EQ(cp932::ToUpper("c:\\表\\ソフト"), "C:\\表\\ソフト");
}

TEST(Cp932Search, FindMatchesOnlyAtCharacterBoundaries) {
  std::string s =
      "\x83\x5C"
      "\\x";  // ソ then a real backslash
  EXPECT_EQ(cp932::Find(s, "\\"), 2u);
  EXPECT_EQ(cp932::Find("ＭＳ ゴシック", "ゴシック"), 5u);
  EXPECT_EQ(cp932::Find("abc", "d"), std::string::npos);
  // "\x5C\x83" would match across the boundary of two characters.
  EXPECT_EQ(cp932::Find("\x83\x5C\x83\x41", "\x5C\x83"), std::string::npos);
  EXPECT_EQ(cp932::Find("abcabc", "bc", 2), 4u);
}

TEST(Cp932Search, LastSeparatorIgnoresTrailBytes) {
  EXPECT_EQ(cp932::FindLastOf("C:\\表", "\\/"), 2u);
  EXPECT_EQ(cp932::FindLastOf("表", "\\"), std::string::npos);
  EXPECT_EQ(cp932::FindLastOf("a/b\\c", "\\/"), 3u);
  EXPECT_EQ(cp932::FindFirstOf("表/x", "/"), 2u);
}

TEST(Cp932Search, EndsWithNoCase) {
  EXPECT_TRUE(cp932::EndsWithNoCase("FONT.TTF", ".ttf"));
  EXPECT_FALSE(cp932::EndsWithNoCase("ttf", ".ttf"));
  // ".ttf" must not start on the trail byte of the character before it.
  EXPECT_TRUE(
      cp932::EndsWithNoCase("\x83\x74"
                            "tf",
                            "TF"));
  EXPECT_FALSE(
      cp932::EndsWithNoCase("\x83\x74"
                            "tf",
                            "ttf"));
  EXPECT_FALSE(cp932::EndsWithNoCase("\x83\x5C", "\\"));
}

}  // namespace

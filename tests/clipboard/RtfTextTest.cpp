#include "RtfText.h"

#include <gtest/gtest.h>

namespace {

const std::string kHead =
    "{\\rtf1\\ansi\\ansicpg932\\deff0\\deflang1033\\deflangfe1041{\\fonttbl{\\f0\\fscript\\fprq1\\fcharset";

TEST(RtfEncode, EscapesDoubleByteCharactersAndKeepsAscii) {
  EXPECT_EQ(RtfEncode("Aaあ"), "Aa\\'82\\'a0");
  // "ソ" and "表" have 0x5C as trail byte: part of the character, not a backslash.
  EXPECT_EQ(RtfEncode("ソ表"), "\\'83\\'5c\\'95\\'5c");
  EXPECT_EQ(RtfEncode(""), "");
}

TEST(RtfEncode, EscapesControlCharactersAndHighSingleBytes) {
  EXPECT_EQ(RtfEncode("a\\b{c}"), "a\\'5cb\\'7bc\\'7d");
  EXPECT_EQ(RtfEncode("\xB1"), "\\'b1");  // half-width katakana ｱ
  EXPECT_EQ(RtfEncode("x\xB1y"), "x\\'b1y");
  EXPECT_EQ(RtfEncode("\x80\xA0\xFD"), "\\'80\\'a0\\'fd");
}

TEST(RtfEncode, LoneLeadByteIsASingleByte) {
  // At the end, and before a byte that is no trail byte.
  EXPECT_EQ(RtfEncode("A\x82"), "A\\'82");
  EXPECT_EQ(RtfEncode("\x82\x20"
                      "b"),
            "\\'82 b");
  // Embedded zero byte inside the view is copied through, not a terminator.
  EXPECT_EQ(RtfEncode(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(RtfDocument, TemplateWithCharsetFaceBoldAndSize) {
  EXPECT_EQ(BuildRtfDocument("Aaあ", "ＭＳ 明朝", 240, 128, false),
            kHead + "128 \\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9;}}\r\n\\uc1\\pard\\f0\\fs48 Aa\\'82\\'a0}");
  EXPECT_EQ(BuildRtfDocument("x", "Arial", 240, 0, true), kHead + "0 Arial;}}\r\n\\uc1\\pard\\b\\f0\\fs48 x}");
}

TEST(RtfDocument, SizeInHalfPointsDropsTheRemainder) {
  EXPECT_NE(BuildRtfDocument("a", "F", 105, 0, false).find("\\f0\\fs21 a}"), std::string::npos);
  EXPECT_NE(BuildRtfDocument("a", "F", 244, 0, false).find("\\f0\\fs48 a}"), std::string::npos);
  EXPECT_NE(BuildRtfDocument("a", "F", 760, 0, false).find("\\f0\\fs152 a}"), std::string::npos);
}

TEST(RtfDocument, QuestionMarksOfACharset0RowAndEscapedSpecials) {
  // What the catalogue makes of "Aaあぁアァ亜宇" for a western face.
  const std::string doc = BuildRtfDocument("Aa??????", "Arial", 240, 0, false);
  EXPECT_NE(doc.find("\\fcharset0 Arial;"), std::string::npos);
  EXPECT_NE(doc.find("\\fs48 Aa??????}"), std::string::npos);
  const std::string special = BuildRtfDocument("{a\\b}", "F{x}", 100, 1, false);
  EXPECT_NE(special.find("\\fcharset1 F\\'7bx\\'7d;"), std::string::npos);
  EXPECT_NE(special.find("\\fs20 \\'7ba\\'5cb\\'7d}"), std::string::npos);
}

TEST(RtfDocument, PercentSignsAreText) {
  EXPECT_NE(BuildRtfDocument("100%s", "F%d", 100, 0, false).find("F%d;}}\r\n\\uc1\\pard\\f0\\fs20 100%s}"),
            std::string::npos);
}

TEST(SplitRuns, GroupsConsecutiveCharactersOfOneClass) {
  // "Ab" + "あ亜" + "ｱｲ" + "c" + "ア"
  const std::string s =
      "Abあ亜\xB1\xB2"
      "cア";
  const auto runs = SplitRunsByClass(s);
  ASSERT_EQ(runs.size(), 5u);
  EXPECT_EQ(runs[0].begin, 0u);
  EXPECT_EQ(runs[0].length, 2u);
  EXPECT_EQ(runs[0].kind, RunClass::LowSingleByte);
  EXPECT_EQ(runs[1].begin, 2u);
  EXPECT_EQ(runs[1].length, 4u);
  EXPECT_EQ(runs[1].kind, RunClass::DoubleByte);
  EXPECT_EQ(runs[2].begin, 6u);
  EXPECT_EQ(runs[2].length, 2u);
  EXPECT_EQ(runs[2].kind, RunClass::HighSingleByte);
  EXPECT_EQ(runs[3].kind, RunClass::LowSingleByte);
  EXPECT_EQ(runs[4].begin, 9u);
  EXPECT_EQ(runs[4].length, 2u);
  EXPECT_EQ(runs[4].kind, RunClass::DoubleByte);
}

TEST(SplitRuns, EmptyTextAndLoneLeadByte) {
  EXPECT_TRUE(SplitRunsByClass("").empty());
  const auto runs = SplitRunsByClass("a\x82");
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[1].kind, RunClass::HighSingleByte);
  EXPECT_EQ(runs[1].length, 1u);
}

}  // namespace

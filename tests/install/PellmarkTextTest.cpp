// Pellmark's command line and the face names it reads from font files. The
// fonts in data/ were written by fontTools (make_fonts.py), not by us.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "FontFileInfo.h"

namespace {

std::string ReadData(const std::string& name) {
  std::ifstream in(std::string(GLIMRA_INSTALL_DATA) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(PellmarkCommandLine, AllWordsAfterTheProgramFormThePath) {
  using pellmark::PathFromCommandLine;
  EXPECT_EQ(PathFromCommandLine("C:\\GLIMRA\\Pellmark.exe C:\\My Fonts\\a  b.ttf"), "C:\\My Fonts\\a  b.ttf");
  EXPECT_EQ(PathFromCommandLine("\"C:\\Program Files\\G\\Pellmark.exe\"   Z:\\f.ttf  "), "Z:\\f.ttf");
  EXPECT_EQ(PathFromCommandLine("Pellmark.exe \"C:\\My Fonts\\a.ttf\""), "C:\\My Fonts\\a.ttf");
  // A program folder with a trail byte 0x5C ("表") stays one word.
  EXPECT_EQ(PathFromCommandLine("C:\\\x95\x5C\\Pellmark.exe C:\\\x95\x5C\\x.ttf"), "C:\\\x95\x5C\\x.ttf");
}

TEST(PellmarkCommandLine, UnquotedProgramFolderWithSpaces) {
  using pellmark::PathFromCommandLine;
  EXPECT_EQ(PathFromCommandLine("C:\\PROGRAM FILES\\GLIMRA\\Pellmark.exe C:\\My Fonts\\a.ttf"), "C:\\My Fonts\\a.ttf");
  EXPECT_EQ(PathFromCommandLine("C:\\PROGRAM FILES\\GLIMRA\\PELLMARK.EXE D:\\x.ttf"), "D:\\x.ttf");
  // The first whole "Pellmark.exe" ends the program, even if the font path
  // names it again; a longer name containing it does not count.
  EXPECT_EQ(PathFromCommandLine("C:\\G\\Pellmark.exe D:\\Pellmark.exe dir\\a.ttf"), "D:\\Pellmark.exe dir\\a.ttf");
  EXPECT_EQ(PathFromCommandLine("C:\\G\\MyPellmark.exe D:\\a.ttf"), "D:\\a.ttf");
  EXPECT_EQ(PathFromCommandLine("C:\\G\\MyPellmark.exe D:\\a.ttf", "Pellmark.exe"), "D:\\a.ttf");
  // Written without ".exe": the first word is the program.
  EXPECT_EQ(PathFromCommandLine("Pellmark D:\\a b.ttf"), "D:\\a b.ttf");
}

TEST(PellmarkCommandLine, NoArgumentGivesNoPath) {
  EXPECT_EQ(pellmark::PathFromCommandLine("C:\\GLIMRA\\Pellmark.exe "), "");
  EXPECT_EQ(pellmark::PathFromCommandLine("Pellmark.exe"), "");
  EXPECT_EQ(pellmark::PathFromCommandLine(""), "");
}

TEST(PellmarkFaceNames, SingleFontGivesItsFullName) {
  auto names = pellmark::FaceNames(ReadData("GlimraAlpha.ttf"));
  ASSERT_EQ(names.size(), 1u);
  EXPECT_EQ(names[0], u"Glimra Test Alpha");
}

TEST(PellmarkFaceNames, JapaneseNamePreferred) {
  auto names = pellmark::FaceNames(ReadData("GlimraEpsilon.ttf"));
  ASSERT_EQ(names.size(), 1u);
  EXPECT_EQ(names[0], u"グリムラ試験イプシロン");
}

TEST(PellmarkFaceNames, CollectionGivesOneNamePerFont) {
  auto names = pellmark::FaceNames(ReadData("GlimraPair.ttc"));
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0], u"Glimra Test Beta");
  EXPECT_EQ(names[1], u"Glimra Test Gamma");
}

TEST(PellmarkFaceNames, DamagedOrForeignDataGivesNothing) {
  EXPECT_TRUE(pellmark::FaceNames(ReadData("NotAFont.ttf")).empty());
  EXPECT_TRUE(pellmark::FaceNames("").empty());
  std::string font = ReadData("GlimraAlpha.ttf");
  // Every truncation must be refused or read within bounds (ASan checks).
  for (std::size_t n = 0; n < font.size(); n += 7) pellmark::FaceNames(font.substr(0, n));
  std::string pair = ReadData("GlimraPair.ttc");
  pair[8] = '\x7F';  // a font count far beyond the data
  EXPECT_TRUE(pellmark::FaceNames(pair).empty());
}

TEST(PellmarkValueName, FacesJoinedOrFileTitle) {
  EXPECT_EQ(pellmark::FontValueName({"A", "B"}, "x"), "A & B (TrueType)");
  EXPECT_EQ(pellmark::FontValueName({}, "smallfnt"), "smallfnt (TrueType)");
}

}  // namespace

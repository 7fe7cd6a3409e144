// The catalogue on the fonts of the test prefix, and font files loaded and
// unloaded through it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestFontFiles.h"
#include "fonts/FontList.h"
#include "fonts/Win32FontSystem.h"

namespace {

const char kIpaGothic[] = "Z:\\usr\\share\\fonts\\opentype\\ipafont-gothic\\ipag.ttf";
const char kIpaMincho[] = "Z:\\usr\\share\\fonts\\opentype\\ipafont-mincho\\ipam.ttf";

bool Has(const std::vector<unsigned char>& sets, unsigned char c) {
  return std::find(sets.begin(), sets.end(), c) != sets.end();
}

const _FONTDEF* FindFace(const CFontList& list, const std::string& name) {
  for (const auto& font : list.MasterList())
    if (font->name == name) return font.get();
  return nullptr;
}

int VisibleIndex(const CFontList& list, const std::string& name) {
  for (int i = 0; i < list.GetCount(); ++i)
    if (list.GetName(i) == name) return i;
  return -1;
}

// A folder of its own under the temporary folder, removed with its files.
class TempFolder {
 public:
  TempFolder() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    path_ = std::string(base) + "glimra-fonts-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~TempFolder() {
    for (const std::string& file : files_) DeleteFileA(file.c_str());
    RemoveDirectoryA(path_.c_str());
  }
  std::string Write(const std::string& name, const FontBytes& bytes) {
    std::string file = path_ + "\\" + name;
    files_.push_back(file);
    return WriteFontFile(file, bytes) ? file : std::string();
  }

 private:
  std::string path_;
  std::vector<std::string> files_;
};

class SystemFontsTest : public ::testing::Test {
 protected:
  DisplaySettings settings;
  CFontList list{SystemFontSystem(), &settings};
};

TEST_F(SystemFontsTest, JapaneseFacesAreKnownByTheirCharacterSet) {
  list.Rebuild(true);
  ASSERT_GT(list.MasterList().size(), 10u);
  int ipa = 0, westernOnly = 0;
  for (const auto& font : list.MasterList()) {
    ASSERT_FALSE(font->charsets.empty());
    EXPECT_EQ(font->charsets.size(), font->weights.size());
    EXPECT_EQ(font->charsets.size(), font->italics.size());
    EXPECT_EQ(font->kind, kFontRegistered) << font->name;
    if (font->name.rfind("IPA", 0) == 0) {
      ++ipa;
      EXPECT_TRUE(Has(font->charsets, 128)) << font->name;
    }
    if (!Has(font->charsets, 128) && (Has(font->charsets, 0) || Has(font->charsets, 1))) ++westernOnly;
  }
  EXPECT_GE(ipa, 2);
  EXPECT_GE(westernOnly, 1);
  EXPECT_EQ(list.Baseline().size(), list.MasterList().size());

  // Vertical twins are catalogued but never listed; Japanese faces are drawn
  // with their Japanese entry.
  list.ApplyFilter({kFilterWestern, kFilterJapanese, kFilterRegistered, kFilterTemporary});
  bool sawVertical = false;
  for (const auto& font : list.MasterList()) sawVertical |= font->name[0] == '@';
  EXPECT_TRUE(sawVertical);
  for (int i = 0; i < list.GetCount(); ++i) {
    const _FONTDEF& font = list.GetFont(i);
    EXPECT_NE(font.name[0], '@');
    if (Has(font.charsets, 128)) {
      EXPECT_EQ(font.charsets[static_cast<std::size_t>(font.chosenEntry)], 128);
    }
  }

  // What the view draws with: a LOGFONTA that makes the face.
  const int row = VisibleIndex(list, list.GetName(0));
  LOGFONTA lf;
  FillLogFontA(list, row, lf);
  EXPECT_EQ(lf.lfHeight, 0);
  EXPECT_EQ(std::string(lf.lfFaceName), list.GetName(row));
  lf.lfHeight = -24;
  HFONT font = CreateFontIndirectA(&lf);
  EXPECT_NE(font, nullptr);
  if (font) DeleteObject(font);
}

TEST_F(SystemFontsTest, LoadedFontFileAddsTemporaryFacesUntilRemoved) {
  const FontBytes gothic = ReadFontFile(kIpaGothic);
  ASSERT_FALSE(gothic.empty()) << kIpaGothic;
  TempFolder folder;
  const std::string file = folder.Write("GlimraSolo.ttf", RenameFamily(gothic, "GlimraTestSolo"));
  ASSERT_FALSE(file.empty());

  list.Rebuild(true);
  ASSERT_EQ(FindFace(list, "GlimraTestSolo"), nullptr);
  EXPECT_GE(list.AddTempFontFile(file, file.c_str()), 1);

  const _FONTDEF* face = FindFace(list, "GlimraTestSolo");
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(face->kind, kFontTemporary);
  EXPECT_TRUE(Has(face->charsets, 128));
  ASSERT_FALSE(list.TempRecords().empty());
  for (const auto& temp : list.TempRecords()) {
    EXPECT_EQ(temp->path, file);
    EXPECT_NE(temp->name.find("GlimraTestSolo"), std::string::npos) << temp->name;
  }
  EXPECT_EQ(list.FindTempPath("glimratestsolo"), file);

  // Loading the same file again records nothing new.
  const std::size_t records = list.TempRecords().size();
  list.AddTempFontFile(file, file.c_str());
  EXPECT_EQ(list.TempRecords().size(), records);
  SystemFontSystem().UnloadFontFile(file);  // balances the second load

  EXPECT_NE(list.RemoveTempFontFile(file), 0);
  EXPECT_TRUE(list.TempRecords().empty());
  list.Rebuild(false);
  EXPECT_EQ(FindFace(list, "GlimraTestSolo"), nullptr);
}

TEST_F(SystemFontsTest, CollectionBringsEachOfItsFaces) {
  const FontBytes gothic = ReadFontFile(kIpaGothic);
  const FontBytes mincho = ReadFontFile(kIpaMincho);
  ASSERT_FALSE(gothic.empty());
  ASSERT_FALSE(mincho.empty());
  TempFolder folder;
  const std::string file =
      folder.Write("GlimraPair.ttc",
                   MakeCollection({RenameFamily(gothic, "GlimraTestPairA"), RenameFamily(mincho, "GlimraTestPairB")}));
  ASSERT_FALSE(file.empty());

  list.Rebuild(true);
  EXPECT_GE(list.AddTempFontFile(file, file.c_str()), 2);
  for (const char* name : {"GlimraTestPairA", "GlimraTestPairB"}) {
    const _FONTDEF* face = FindFace(list, name);
    ASSERT_NE(face, nullptr) << name;
    EXPECT_EQ(face->kind, kFontTemporary);
    EXPECT_EQ(list.FindTempPath(name), file);
  }
  // The view marks and finds a loaded face by its row.
  list.ApplyFilter({kFilterJapanese, kFilterTemporary});
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_EQ(list.TempPathAt(0), file);

  // Removal by path ignores letter case, as Windows paths do.
  std::string upper = file;
  std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; });
  EXPECT_NE(list.RemoveTempFontFile(upper), 0);
  EXPECT_TRUE(list.TempRecords().empty());
  list.Rebuild(false);
  EXPECT_EQ(FindFace(list, "GlimraTestPairA"), nullptr);
  EXPECT_EQ(FindFace(list, "GlimraTestPairB"), nullptr);
}

TEST_F(SystemFontsTest, RefusedFileGivesZeroAndNoRecord) {
  TempFolder folder;
  const std::string file = folder.Write("NotAFont.ttf", FontBytes(2048, 0x41));
  list.Rebuild(true);
  const std::size_t faces = list.MasterList().size();
  EXPECT_EQ(list.AddTempFontFile(file, file.c_str()), 0);
  EXPECT_TRUE(list.TempRecords().empty());
  EXPECT_EQ(list.MasterList().size(), faces);
}

}  // namespace

// The portable logic of font installation: loaded-file list, folder search,
// input checks of the search dialog, file dialog buffers, font file lookup
// and the catalogue side of loading, unloading and permanent installs.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "fonts/FakeFontSystem.h"
#include "install/FileDialogText.h"
#include "install/FindFontInput.h"
#include "install/FolderSearch.h"
#include "install/FontFileLookup.h"
#include "install/FontInstaller.h"
#include "install/InstallCommandTarget.h"
#include "install/LoadedFileList.h"
#include "res/ResourceIds.h"
#include "viewer/CommandState.h"

namespace {

// "表" ends in the trail byte 0x5C, "ソ" too: neither is a backslash.
const std::string kHyo = "\x95\x5C";
const std::string kSo = "\x83\x5C";

TEST(LoadedFileList, OnePathOnceWhateverTheCase) {
  LoadedFileList list;
  EXPECT_TRUE(list.Add("C:\\Fonts\\A.ttf"));
  EXPECT_TRUE(list.Add("C:\\Fonts\\b.ttf"));
  EXPECT_FALSE(list.Add("c:\\fonts\\a.TTF"));
  EXPECT_TRUE(list.Contains("C:\\FONTS\\B.TTF"));
  EXPECT_EQ(list.Paths(), (std::vector<std::string>{"C:\\Fonts\\A.ttf", "C:\\Fonts\\b.ttf"}));
  // Full-width letters fold too (ａ 82 81, Ａ 82 60); other double-byte
  // characters are compared as they are (ア 83 41, ァ 83 40).
  EXPECT_TRUE(list.Add("\x82\x81.ttf"));
  EXPECT_FALSE(list.Add("\x82\x60.ttf"));
  EXPECT_TRUE(list.Add("\x83\x41.ttf"));
  EXPECT_TRUE(list.Add("\x83\x40.ttf"));
  EXPECT_TRUE(list.RemoveFirst("c:\\fonts\\A.TTF"));
  EXPECT_FALSE(list.RemoveFirst("C:\\Fonts\\A.ttf"));
  EXPECT_EQ(list.size(), 4u);
}

// A scripted file system: folder (with its backslash) -> entries.
class FakeDirectories : public DirectoryLister {
 public:
  std::map<std::string, std::vector<Entry>> folders;
  std::vector<std::string> listed;
  bool List(const std::string& folder, const std::function<void(const Entry&)>& sink) override {
    listed.push_back(folder);
    auto it = folders.find(folder);
    if (it == folders.end()) return false;
    for (const Entry& e : it->second) sink(e);
    return true;
  }
};

TEST(FolderSearch, DepthFirstInListingOrder) {
  FakeDirectories fs;
  fs.folders["D:\\fonts\\"] = {{".", true}, {"..", true}, {"a.ttf", false}, {"sub", true}, {"z.otf", false}};
  fs.folders["D:\\fonts\\sub\\"] = {{"..", true}, {"deep", true}, {"b.TTC", false}};
  fs.folders["D:\\fonts\\sub\\deep\\"] = {{"C.TTF", false}, {"readme.txt", false}};
  SearchResult r;
  EXPECT_EQ(SearchFolder(fs, "D:\\fonts", {".ttf", ".ttc", ".otf"}, r), 4);
  EXPECT_EQ(r.found, (std::vector<std::string>{"D:\\fonts\\a.ttf", "D:\\fonts\\sub\\deep\\C.TTF",
                                               "D:\\fonts\\sub\\b.TTC", "D:\\fonts\\z.otf"}));
  EXPECT_EQ(r.count, 4);

  // With the trailing backslash typed: the same search.
  SearchResult again;
  EXPECT_EQ(SearchFolder(fs, "D:\\fonts\\", {".ttf", ".ttc", ".otf"}, again), 4);
  EXPECT_EQ(again.found, r.found);
}

TEST(FolderSearch, FolderLinksAreNotFollowed) {
  FakeDirectories fs;
  // Links back to the folder itself: followed, each would nest the search
  // again, and two of them would double the work at every level.
  fs.folders["D:\\cd\\"] = {
      {"self", true, true}, {"a.ttf", false}, {"again", true, true}, {"sub", true}, {"linked.ttf", false, true}};
  fs.folders["D:\\cd\\sub\\"] = {{"up", true, true}, {"b.ttf", false}};
  SearchResult r;
  EXPECT_EQ(SearchFolder(fs, "D:\\cd", {".ttf"}, r), 3);
  EXPECT_EQ(r.found, (std::vector<std::string>{"D:\\cd\\a.ttf", "D:\\cd\\sub\\b.ttf", "D:\\cd\\linked.ttf"}));
  EXPECT_EQ(fs.listed, (std::vector<std::string>{"D:\\cd\\", "D:\\cd\\sub\\"}));
}

TEST(FolderSearch, ExtensionRules) {
  EXPECT_TRUE(HasExtension(".ttf", ".ttf"));  // the whole name is the extension
  EXPECT_FALSE(HasExtension("ttf", ".ttf"));
  EXPECT_TRUE(HasExtension("FONT.TTF", ".ttf"));
  EXPECT_TRUE(HasExtension("font.ttf", ".TTF"));
  EXPECT_TRUE(HasExtension(kSo + ".Ttf", ".ttf"));
  EXPECT_FALSE(HasExtension("font.ttf.bak", ".ttf"));
  EXPECT_TRUE(HasExtension("x..otf", "..otf"));  // a typed dot stays
  EXPECT_FALSE(HasExtension("x.otf", "..otf"));
}

TEST(FolderSearch, FileCountedOnceAndUnlistableFoldersGiveNothing) {
  FakeDirectories fs;
  fs.folders["E:\\"] = {{"a.ttf", false}, {"locked", true}, {"b.fon", false}};
  SearchResult r;
  // a.ttf matches both entries of the list but is found once.
  EXPECT_EQ(SearchFolder(fs, "E:\\", {".ttf", ".TTF", ".fon"}, r), 2);
  EXPECT_EQ(r.found, (std::vector<std::string>{"E:\\a.ttf", "E:\\b.fon"}));
  SearchResult none;
  EXPECT_EQ(SearchFolder(fs, "F:\\missing", {".ttf"}, none), 0);
  EXPECT_TRUE(none.found.empty());
}

TEST(FolderSearch, FolderEndingInTrailByte5CGetsItsBackslash) {
  FakeDirectories fs;
  fs.folders["C:\\" + kHyo + "\\"] = {{kSo + ".ttf", false}};
  SearchResult r;
  EXPECT_EQ(SearchFolder(fs, "C:\\" + kHyo, {".ttf"}, r), 1);
  EXPECT_EQ(r.found, (std::vector<std::string>{"C:\\" + kHyo + "\\" + kSo + ".ttf"}));
}

TEST(FolderSearch, PathsBeyond259BytesAreSkippedAndReported) {
  FakeDirectories fs;
  std::string root = "C:\\" + std::string(240, 'r') + "\\";  // 244 bytes
  std::string longName = std::string(20, 'n') + ".ttf";      // root + it = 268
  std::string longFolder(14, 'd');                           // root + it + "\\*" = 260
  fs.folders[root] = {{"ok.ttf", false}, {longName, false}, {longFolder, true}, {"dd", true}};
  fs.folders[root + longFolder + "\\"] = {{"x.ttf", false}};
  fs.folders[root + "dd\\"] = {{"y.ttf", false}};
  SearchResult r;
  EXPECT_EQ(SearchFolder(fs, root, {".ttf"}, r), 2);
  EXPECT_EQ(r.found, (std::vector<std::string>{root + "ok.ttf", root + "dd\\y.ttf"}));
  EXPECT_EQ(r.tooLong, (std::vector<std::string>{root + longName, root + longFolder}));
  for (const std::string& p : fs.listed) EXPECT_LE(p.size() + 1, kMaxSearchPath);

  SearchResult tooLongStart;
  EXPECT_EQ(SearchFolder(fs, std::string(258, 'x'), {".ttf"}, tooLongStart), 0);
  EXPECT_EQ(tooLongStart.tooLong.size(), 1u);
}

TEST(FindFontInput, ExtensionsInBoxOrderWithTheOtherAsTyped) {
  FindFontInput in;
  EXPECT_EQ(SearchExtensions(in), (std::vector<std::string>{".ttf", ".ttc", ".fon", ".pfm", ".otf"}));
  in.ttf = in.fon = false;
  in.other = true;
  in.otherExtension = ".PfB";
  EXPECT_EQ(SearchExtensions(in), (std::vector<std::string>{".ttc", ".pfm", ".otf", "..PfB"}));
}

TEST(FindFontInput, ProblemsReportedInOrder) {
  std::set<std::string> existing = {"D:\\"};
  auto exists = [&](const std::string& p) { return existing.count(p) > 0; };
  FindFontInput in;
  in.ttf = in.ttc = in.fon = in.pfm = in.otf = false;
  in.other = true;  // checked, but its edit is empty
  EXPECT_EQ(CheckFindFontInput(in, exists), FindFontProblem::NoExtension);
  in.otherExtension = "pfb";
  EXPECT_EQ(CheckFindFontInput(in, exists), FindFontProblem::NoFolder);
  in.folder = "D:\\nowhere";
  EXPECT_EQ(CheckFindFontInput(in, exists), FindFontProblem::NoSuchFolder);
  in.folder = "D:\\" + std::string(255, 'x');
  EXPECT_EQ(CheckFindFontInput(in, exists), FindFontProblem::TooLong);
  in.folder = "D:\\";
  EXPECT_EQ(CheckFindFontInput(in, exists), FindFontProblem::None);
}

TEST(FileDialogText, OneFileOrAFolderWithNames) {
  const char one[] = "C:\\fonts\\a.ttf\0\0";
  FileDialogChoice c = ParseFileDialogResult(one, sizeof one);
  EXPECT_EQ(c.reportedPath, "C:\\fonts\\a.ttf");
  EXPECT_EQ(c.files, (std::vector<std::string>{"C:\\fonts\\a.ttf"}));

  const char several[] = "C:\\\0b.ttc\0a.ttf\0\0";
  c = ParseFileDialogResult(several, sizeof several);
  EXPECT_EQ(c.reportedPath, "C:\\");
  EXPECT_EQ(c.files, (std::vector<std::string>{"C:\\b.ttc", "C:\\a.ttf"}));

  std::string folder = "C:\\" + kHyo;
  std::string buf = folder + '\0' + "x.ttf" + '\0' + "y.ttf" + '\0' + '\0';
  c = ParseFileDialogResult(buf.data(), buf.size());
  EXPECT_EQ(c.files[0], folder + "\\x.ttf");

  EXPECT_TRUE(ParseFileDialogResult("\0\0", 2).files.empty());
}

TEST(FileDialogText, NeverReadsPastTheBuffer) {
  std::vector<char> full(64, 'a');  // no terminating zero at all
  FileDialogChoice c = ParseFileDialogResult(full.data(), full.size());
  EXPECT_EQ(c.reportedPath, std::string(64, 'a'));
}

TEST(FileDialogText, StartsInARememberedFolderOrPresetsTheName) {
  auto isFolder = [](const std::string& p) { return p == "C:\\fonts"; };
  FileDialogStart s = FileDialogStartFor("C:\\fonts", isFolder);
  EXPECT_EQ(s.initialFolder, "C:\\fonts");
  EXPECT_EQ(s.presetName, "");
  s = FileDialogStartFor("C:\\fonts\\a.ttf", isFolder);
  EXPECT_EQ(s.initialFolder, "");
  EXPECT_EQ(s.presetName, "C:\\fonts\\a.ttf");
  s = FileDialogStartFor("", isFolder);
  EXPECT_EQ(s.initialFolder, "");
  EXPECT_EQ(s.presetName, "");
  EXPECT_EQ(DialogFilter("A|*.a|B|*.*||"), std::string("A\0*.a\0B\0*.*\0\0", 13));
}

class FakeFontKey : public FontKeyReader {
 public:
  std::map<std::string, std::vector<Value>> keys;
  std::optional<std::vector<Value>> Values(const std::string& key) override {
    auto it = keys.find(key);
    if (it == keys.end()) return std::nullopt;
    return it->second;
  }
};

TEST(FontFileLookup, BareNamesJoinTheFontFolderFullPathsStay) {
  FakeFontKey reg;
  reg.keys[kNtFontKey] = {
      {"Version", false, false, ""},
      {"Arial Black (TrueType)", true, false, "ariblk.ttf"},
      {"Arial (TrueType)", true, false, "arial.ttf"},
      {"Huge (TrueType)", true, true, ""},
      {"Own Font (TrueType)", true, false, "D:\\fonts\\own.ttf"},
      {"ＭＳ ゴシック & ＭＳ Ｐゴシック (TrueType)", true, false, "msgothic.ttc"},
  };
  FontFileEnvironment env{reg, "C:\\WINDOWS\\Fonts"};
  EXPECT_EQ(LookUpFontFile(env, "Own Font", kNtFontKey), "D:\\fonts\\own.ttf");
  // The value made for the face, not the earlier one that contains its name.
  EXPECT_EQ(LookUpFontFile(env, "Arial", kNtFontKey), "C:\\WINDOWS\\Fonts\\arial.ttf");
  EXPECT_EQ(LookUpFontFile(env, "ＭＳ Ｐゴシック", kNtFontKey), "C:\\WINDOWS\\Fonts\\msgothic.ttc");
  EXPECT_EQ(LookUpFontFile(env, "arial", kNtFontKey), std::nullopt);  // case matters
  EXPECT_EQ(LookUpFontFile(env, "Version", kNtFontKey), std::nullopt);
  EXPECT_EQ(LookUpFontFile(env, "Arial", k9xFontKey), std::nullopt);  // no such key

  FontFileEnvironment noFolder{reg, ""};
  EXPECT_EQ(LookUpFontFile(noFolder, "Arial", kNtFontKey), std::nullopt);
  EXPECT_EQ(LookUpFontFile(noFolder, "Own Font", kNtFontKey), "D:\\fonts\\own.ttf");
}

TEST(FontFileLookup, AValueMadeForTheFaceWinsOverAnEarlierOneContainingIt) {
  FakeFontKey reg;
  reg.keys[kNtFontKey] = {
      {"C059 Bold Italic (TrueType)", true, false, "C059-BdIta.otf"},
      {"C059 Roman (TrueType)", true, false, "C059-Roman.otf"},
      {"C059 (Type 1)", true, false, "C059.pfm"},
      {"P052 Bold (OpenType)", true, false, "P052-Bold.otf"},
      {"P052 (OpenType)", true, false, "P052-Roman.otf"},
      {"Z003-MediumItalic (TrueType)", true, false, "Z003-MediumItalic.otf"},
      {"URWGothic-Book (TrueType)", true, false, "URWGothic-Book.otf"},  // as Wine names them
      {"Mono & Mono Wide & Mono Narrow (TrueType)", true, false, "mono.ttc"},
      {"Mono (TrueType)", true, false, "mono-single.ttf"},
      {"Sans Bold (TrueType)", true, false, "sans-bold.ttf"},
      {"Sans", true, false, "sans-bare.ttf"},  // no type suffix: contains only
      {"Serif (TrueType) Extra", true, false, "serif-extra.ttf"},
      {"Wide (Type 1)", true, false, "wide.pfm"},
      {"表 (TrueType)", true, false, "hyo.ttf"},
  };
  FontFileEnvironment env{reg, "C:\\W\\Fonts"};
  const struct {
    const char* face;
    const char* file;  // nullptr: not found
  } cases[] = {
      {"C059", "C:\\W\\Fonts\\C059-Roman.otf"},  // its regular style
      {"C059 Bold Italic", "C:\\W\\Fonts\\C059-BdIta.otf"},
      {"C059 Roman", "C:\\W\\Fonts\\C059-Roman.otf"},
      {"P052", "C:\\W\\Fonts\\P052-Roman.otf"},
      {"URWGothic", "C:\\W\\Fonts\\URWGothic-Book.otf"},
      {"Z003", "C:\\W\\Fonts\\Z003-MediumItalic.otf"},  // no regular style: contains it
      {"Mono", "C:\\W\\Fonts\\mono.ttc"},               // a member of the collection, met first
      {"Mono Wide", "C:\\W\\Fonts\\mono.ttc"},
      {"Mono Narrow", "C:\\W\\Fonts\\mono.ttc"},
      {"Sans", "C:\\W\\Fonts\\sans-bold.ttf"},  // no exact value: the first containing it
      {"Serif", "C:\\W\\Fonts\\serif-extra.ttf"},
      {"Wide", "C:\\W\\Fonts\\mono.ttc"},  // "Mono Wide" contains it
      {"表", "C:\\W\\Fonts\\hyo.ttf"},
      {"Bold", "C:\\W\\Fonts\\C059-BdIta.otf"},
      {"Missing", nullptr},
  };
  for (const auto& c : cases) {
    std::optional<std::string> expected;
    if (c.file) expected = c.file;
    EXPECT_EQ(LookUpFontFile(env, c.face, kNtFontKey), expected) << c.face;
  }
}

TEST(FontFileLookup, ATooLongValueDoesNotEndTheSearch) {
  FakeFontKey reg;
  reg.keys[kNtFontKey] = {{"Huge (TrueType)", true, true, ""}, {"After (TrueType)", true, false, "after.ttf"}};
  FontFileEnvironment env{reg, "C:\\W\\Fonts"};
  EXPECT_EQ(LookUpFontFile(env, "After", kNtFontKey), "C:\\W\\Fonts\\after.ttf");
  EXPECT_EQ(LookUpFontFile(env, "Huge", kNtFontKey), std::nullopt);
}

TEST(FontInfoTexts, KindAndFileForEachCase) {
  FakeFontKey reg;
  reg.keys[kNtFontKey] = {{"Alpha (TrueType)", true, false, "alpha.ttf"}};
  FontFileEnvironment env{reg, "C:\\W\\Fonts"};
  SystemVersion xp{true, 2, 5, 1};
  FontInfoTexts t = MakeFontInfoTexts("Alpha", "", false, xp, env);
  EXPECT_EQ(t.faceName, "Alpha");
  EXPECT_EQ(t.file, "C:\\W\\Fonts\\alpha.ttf");
  EXPECT_EQ(t.kind, kTextRegisteredFont);
  t = MakeFontInfoTexts("Beta", "", false, xp, env);
  EXPECT_EQ(t.file, kTextUnknownFile);
  EXPECT_EQ(t.kind, kTextRegisteredFont);
  t = MakeFontInfoTexts("Alpha", "Z:\\t\\alpha.ttf", true, xp, env);
  EXPECT_EQ(t.file, "Z:\\t\\alpha.ttf");
  EXPECT_EQ(t.kind, kTextTemporaryFont);
  t = MakeFontInfoTexts("Gamma", "", true, xp, env);  // temporary without a record
  EXPECT_EQ(t.file, "");
  t = MakeFontInfoTexts("Alpha", "", false, SystemVersion{}, env);
  EXPECT_EQ(t.file, kTextUnknownFile);
  EXPECT_EQ(t.kind, kTextInfoError);
}

TEST(SystemVersionRules, ClassicOnlyFor2000AndXp) {
  EXPECT_TRUE(IsClassicSystem({true, 2, 5, 0}));
  EXPECT_TRUE(IsClassicSystem({true, 2, 5, 1}));
  EXPECT_FALSE(IsClassicSystem({true, 2, 5, 2}));
  EXPECT_FALSE(IsClassicSystem({true, 2, 6, 1}));
  EXPECT_FALSE(IsClassicSystem({true, 1, 4, 10}));
  EXPECT_FALSE(IsClassicSystem({false, 2, 5, 1}));
  EXPECT_EQ(FontKeyFor({true, 1, 4, 90}), k9xFontKey);
  EXPECT_EQ(FontKeyFor({true, 1, 4, 3}), kNtFontKey);
  EXPECT_EQ(FontKeyFor({true, 2, 6, 1}), kNtFontKey);
}

class InstallerTest : public ::testing::Test {
 protected:
  InstallerTest() {
    system.Add("Arial", 0);
    system.files["C:\\f\\a.ttf"] = {{"Alpha", 0, 400, 0, "Regular"}};
    system.files["C:\\f\\pair.ttc"] = {{"Beta", 0, 400, 0, "Regular"}, {"Gamma", 128, 400, 0, "Regular"}};
    fonts.Rebuild(true);
  }
  int Row(const std::string& face) {
    for (int i = 0; i < fonts.GetCount(); ++i)
      if (fonts.GetName(i) == face) return i;
    return -1;
  }
  FakeFontSystem system;
  CFontList fonts{system};
  LoadedFileList loaded;
  FontInstaller installer{fonts, loaded};
};

TEST_F(InstallerTest, LoadsNewFontFilesOnceAndSkipsOthersSilently) {
  EXPECT_TRUE(installer.LoadFiles({"C:\\f\\pair.ttc", "C:\\f\\notes.txt", "C:\\f\\a.ttf"}));
  EXPECT_EQ(installer.Loaded().Paths(), (std::vector<std::string>{"C:\\f\\pair.ttc", "C:\\f\\a.ttf"}));
  EXPECT_EQ(fonts.GetFont(Row("Beta")).kind, kFontTemporary);
  EXPECT_EQ(fonts.GetFont(Row("Arial")).kind, kFontRegistered);
  // One record per face of the collection, both with the collection's path.
  EXPECT_EQ(fonts.FindTempPath("gamma"), "C:\\f\\pair.ttc");
  EXPECT_EQ(fonts.FindTempPath("Beta"), "C:\\f\\pair.ttc");

  int enumerations = system.enumerations;
  EXPECT_FALSE(installer.LoadFiles({"c:\\F\\A.TTF"}));
  EXPECT_EQ(system.enumerations, enumerations);  // nothing loaded, nothing rebuilt
  EXPECT_EQ(installer.Loaded().size(), 2u);
}

TEST_F(InstallerTest, RemoveAllUnloadsEachFileOnceAndResetsTheBaseline) {
  installer.LoadFiles({"C:\\f\\a.ttf", "C:\\f\\pair.ttc"});
  installer.RemoveAll();
  EXPECT_EQ(system.unloaded, (std::vector<std::string>{"C:\\f\\a.ttf", "C:\\f\\pair.ttc"}));
  EXPECT_TRUE(installer.Loaded().empty());
  EXPECT_TRUE(fonts.TempRecords().empty());
  // The fake keeps the faces listed (as Windows does for a font still in
  // use); after the reset they count as registered.
  for (int i = 0; i < fonts.GetCount(); ++i) EXPECT_EQ(fonts.GetFont(i).kind, kFontRegistered);
}

TEST_F(InstallerTest, PermanentInstallRuleAndEffect) {
  installer.LoadFiles({"C:\\f\\pair.ttc"});
  int beta = Row("Beta");
  EXPECT_EQ(installer.CanInstallPermanently(true, beta), true);
  EXPECT_EQ(installer.CanInstallPermanently(false, beta), false);
  EXPECT_EQ(installer.CanInstallPermanently(true, Row("Arial")), false);
  EXPECT_EQ(installer.CanInstallPermanently(true, fonts.GetCount()), false);
  EXPECT_EQ(installer.CanInstallPermanently(true, -1), std::nullopt);  // no row: state kept
  EXPECT_EQ(installer.CanInstallPermanently(false, -1), false);

  EXPECT_EQ(FontInstaller::PellmarkCommandLine("C:\\GLIMRA", fonts.TempPathAt(beta)),
            "C:\\GLIMRA\\Pellmark.exe C:\\f\\pair.ttc");
  installer.InstalledPermanently(beta, "C:\\F\\PAIR.TTC");
  EXPECT_EQ(fonts.GetFont(beta).kind, kFontRegistered);
  EXPECT_TRUE(installer.Loaded().empty());
  // Only the chosen face became registered.
  EXPECT_EQ(fonts.GetFont(Row("Gamma")).kind, kFontTemporary);
  // The empty path of a registered row finds nothing to change.
  installer.InstalledPermanently(Row("Arial"), "");
  EXPECT_EQ(FontInstaller::PellmarkCommandLine("C:\\GLIMRA", ""), "C:\\GLIMRA\\Pellmark.exe ");
}

// The view's installation commands with the dialogs scripted away.
class InstallCommandsTest : public InstallerTest, InstallCommandTarget::Site, InstallCommandTarget::Work {
 protected:
  int SelectedRow() const override { return row; }
  bool IsClassicSystem() const override { return classic; }
  void RefreshAndRepaint() override { calls.push_back("refresh"); }
  bool TempInstall() override { return installer.LoadFiles(chosen); }
  bool FolderInstall() override { return installer.LoadFiles(chosen); }
  bool PermanentInstall(int r) override {
    calls.push_back("install " + fonts.GetName(r));
    return true;
  }
  void ShowProperties(int r) override { calls.push_back("properties " + fonts.GetName(r)); }

  int row = -1;
  bool classic = true;
  std::vector<std::string> chosen;
  std::vector<std::string> calls;
  InstallCommandTarget commands{fonts, loaded, *this, *this};
};

TEST_F(InstallCommandsTest, UnloadingIsOfferedWhileSomethingIsLoaded) {
  EXPECT_FALSE(StateOf(commands, ID_FONT_TEMPUNINSTALL).enabled);
  EXPECT_TRUE(StateOf(commands, ID_FONT_TEMPINSTALL).enabled);
  EXPECT_TRUE(StateOf(commands, ID_FONT_FOLDERINSTALL).enabled);
  EXPECT_TRUE(RunCommand(commands, ID_FONT_TEMPINSTALL));  // cancelled: nothing to refresh
  chosen = {"C:\\f\\pair.ttc"};
  EXPECT_TRUE(RunCommand(commands, ID_FONT_FOLDERINSTALL));
  EXPECT_TRUE(StateOf(commands, ID_FONT_TEMPUNINSTALL).enabled);
  EXPECT_TRUE(RunCommand(commands, ID_FONT_TEMPUNINSTALL));
  EXPECT_EQ(system.unloaded, std::vector<std::string>{"C:\\f\\pair.ttc"});
  EXPECT_FALSE(StateOf(commands, ID_FONT_TEMPUNINSTALL).enabled);
  // A command that arrives all the same finds nothing to unload.
  EXPECT_TRUE(RunCommand(commands, ID_FONT_TEMPUNINSTALL));
  EXPECT_EQ(calls, (std::vector<std::string>{"refresh", "refresh"}));
}

TEST_F(InstallCommandsTest, PermanentInstallForATemporaryRowOnClassicSystems) {
  installer.LoadFiles({"C:\\f\\a.ttf"});
  EXPECT_TRUE(StateOf(commands, ID_FONT_PERMANENT).enabled);  // no row: the rule is the routing's
  row = Row("Arial");
  EXPECT_FALSE(StateOf(commands, ID_FONT_PERMANENT).enabled);
  row = Row("Alpha");
  EXPECT_TRUE(StateOf(commands, ID_FONT_PERMANENT).enabled);
  classic = false;
  EXPECT_FALSE(StateOf(commands, ID_FONT_PERMANENT).enabled);
  row = -1;
  EXPECT_FALSE(StateOf(commands, ID_FONT_PERMANENT).enabled);

  // The context menu runs both for any row; properties are always offered.
  row = Row("Arial");
  EXPECT_TRUE(StateOf(commands, ID_FONT_PROPERTIES).enabled);
  EXPECT_TRUE(RunCommand(commands, ID_FONT_PERMANENT));
  EXPECT_TRUE(RunCommand(commands, ID_FONT_PROPERTIES));
  EXPECT_EQ(calls, (std::vector<std::string>{"install Arial", "refresh", "properties Arial"}));
}

}  // namespace

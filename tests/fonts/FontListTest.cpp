// The font catalogue against a scripted font system.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "FakeFontSystem.h"
#include "common/Cp932.h"
#include "fonts/FontList.h"
#include "framework/InvalidArgument.h"

namespace {

const std::vector<int> kWesternJapaneseBoth = {kFilterWestern, kFilterJapanese, kFilterRegistered, kFilterTemporary};
const std::vector<int> kEverything = {kFilterAllLanguages, kFilterRegistered, kFilterTemporary};

std::vector<std::string> MasterNames(const CFontList& list) {
  std::vector<std::string> names;
  for (const auto& font : list.MasterList()) names.push_back(font->name);
  return names;
}

std::vector<std::string> VisibleNames(const CFontList& list) {
  std::vector<std::string> names;
  for (int i = 0; i < list.GetCount(); ++i) names.push_back(list.GetName(i));
  return names;
}

int VisibleIndex(const CFontList& list, const std::string& name) {
  for (int i = 0; i < list.GetCount(); ++i)
    if (list.GetName(i) == name) return i;
  return -1;
}

class FontListTest : public ::testing::Test {
 protected:
  FakeFontSystem system;
  DisplaySettings settings;
  CFontList list{system, &settings};
};

// The master list as the plain walk would build it: for each entry, walk from
// the start to the first name equal or greater (case-insensitive).
std::vector<std::string> ReferenceOrder(const std::vector<FontEntry>& entries) {
  std::vector<std::string> names;
  for (const FontEntry& e : entries) {
    auto at = names.begin();
    while (at != names.end() && cp932::CompareNoCase(*at, e.faceName) < 0) ++at;
    if (at == names.end() || cp932::CompareNoCase(*at, e.faceName) != 0) names.insert(at, e.faceName);
  }
  return names;
}

// --- ordering and case folding -------------------------------------------

TEST_F(FontListTest, MasterListIsSortedCaseInsensitivelyWithFirstSpelling) {
  system.Add("Tahoma", 0);
  system.Add("arial", 0);
  system.Add("ＭＳ ゴシック", 128);
  system.Add("ARIAL", 238);  // same face, later spelling
  system.Add("Arial Black", 0);
  system.Add("@ＭＳ ゴシック", 128);
  system.Add("ｱｲｳ", 128);  // half-width katakana: single bytes above ASCII
  list.Rebuild(true);
  EXPECT_EQ(MasterNames(list),
            (std::vector<std::string>{"@ＭＳ ゴシック", "arial", "Arial Black", "Tahoma", "ｱｲｳ", "ＭＳ ゴシック"}));
  EXPECT_EQ(list.MasterList()[1]->charsets, (std::vector<unsigned char>{0, 238}));
}

TEST_F(FontListTest, OrderMatchesTheLinearInsertionWalkOnMixedNames) {
  // Names built from a small alphabet so that case variants, prefixes and
  // double-byte characters with ASCII trail bytes (ソ = 83 5C) collide often.
  const std::vector<std::string> pieces = {"a", "A", "b", "B", "ソ", "表", "@", " ", "ｱ", "ａ", "Ａ", "1"};
  std::uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7fff; };
  for (int round = 0; round < 20; ++round) {
    system.entries.clear();
    for (int n = 0; n < 200; ++n) {
      std::string name;
      for (std::uint32_t len = 1 + next() % 4; len > 0; --len) name += pieces[next() % pieces.size()];
      system.Add(name, static_cast<unsigned char>(next() % 2 ? 0 : 128));
    }
    list.Rebuild(true);
    ASSERT_EQ(MasterNames(list), ReferenceOrder(system.entries)) << "round " << round;
  }
}

// --- one record per face --------------------------------------------------

TEST_F(FontListTest, EachFaceGetsOneRecordWithEntriesInEnumerationOrder) {
  const unsigned char sets[] = {0, 238, 204, 161, 162, 186, 128};
  for (unsigned char c : sets) system.Add("Courier New", c, c == 204 ? 700 : 400);
  system.Add("Serif", 0, 400, 1, "Regular");        // italic byte
  system.Add("Serif", 238, 400, 0, "iTaLiC");       // style name, any case
  system.Add("Serif", 204, 400, 0, "Bold Italic");  // not "Italic" itself
  list.Rebuild(true);
  ASSERT_EQ(list.MasterList().size(), 2u);
  const _FONTDEF& courier = *list.MasterList()[0];
  EXPECT_EQ(courier.charsets, std::vector<unsigned char>(std::begin(sets), std::end(sets)));
  EXPECT_EQ(courier.weights, (std::vector<int>{400, 400, 700, 400, 400, 400, 400}));
  EXPECT_EQ(courier.italics.size(), 7u);
  EXPECT_EQ(list.MasterList()[1]->italics, (std::vector<unsigned char>{1, 1, 0}));
}

// --- baseline and kinds ---------------------------------------------------

TEST_F(FontListTest, BaselineDecidesKindAcrossRebuilds) {
  system.Add("Arial", 0);
  system.Add("@Gothic", 128);
  list.Rebuild(true);
  EXPECT_EQ(list.Baseline(), (std::vector<std::string>{"@Gothic", "Arial"}));

  system.Add("New Face", 0);
  system.entries[0].faceName = "ARIAL";  // same face, other spelling
  list.Rebuild(false);
  EXPECT_EQ(list.Baseline(), (std::vector<std::string>{"@Gothic", "Arial"}));
  for (const auto& font : list.MasterList())
    EXPECT_EQ(font->kind, font->name == "New Face" ? kFontTemporary : kFontRegistered) << font->name;

  list.Rebuild(true);
  for (const auto& font : list.MasterList()) EXPECT_EQ(font->kind, kFontRegistered);
  EXPECT_EQ(list.Baseline().size(), 3u);
}

TEST_F(FontListTest, RebuildShowsEverythingAndClearsCandidates) {
  system.Add("Arial", 0);
  system.Add("Symbol", 2);
  system.Add("@Gothic", 128);
  list.Rebuild(true);
  // Character set 2 falls in no class, not even with all languages on.
  EXPECT_EQ(VisibleNames(list), (std::vector<std::string>{"Arial"}));
  list.SetCandidate(0, true);
  list.Rebuild(false);
  EXPECT_EQ(list.GetFont(0).candidate, 0);
}

// --- filters and entry choice ---------------------------------------------

TEST_F(FontListTest, EntryChoiceFollowsFilterClasses) {
  system.Add("Both", 0);
  system.Add("Both", 128);
  system.Add("Latin", 0);
  system.Add("Greek", 161);
  system.Add("Many", 0);
  system.Add("Many", 238);
  system.Add("Many", 204);
  system.Add("Many", 128);
  system.Add("Many", 161);
  list.Rebuild(true);

  list.ApplyFilter(kWesternJapaneseBoth);
  EXPECT_EQ(VisibleNames(list), (std::vector<std::string>{"Both", "Latin", "Many"}));
  EXPECT_EQ(list.GetFont(0).chosenEntry, 1);  // the 128 entry
  EXPECT_EQ(list.GetFont(1).chosenEntry, 0);

  list.ApplyFilter({kFilterAllLanguages, kFilterRegistered});
  EXPECT_EQ(list.GetFont(VisibleIndex(list, "Greek")).chosenEntry, 0);
  EXPECT_EQ(list.GetFont(VisibleIndex(list, "Many")).chosenEntry, 4);  // last at 128 or above

  list.ApplyFilter({kFilterAllLanguages, kFilterRegistered, kFilterTemporary});
  system.entries.resize(8);  // "Many" as (0, 238, 204, 128)
  list.Rebuild(true);
  EXPECT_EQ(list.GetFont(VisibleIndex(list, "Many")).chosenEntry, 3);

  list.ApplyFilter({kFilterJapanese, kFilterAllLanguages, kFilterRegistered});
  for (int i = 0; i < list.GetCount(); ++i)
    EXPECT_EQ(static_cast<std::size_t>(list.GetFont(i).chosenEntry), list.GetFont(i).charsets.size() - 1);

  list.ApplyFilter({161, kFilterRegistered});
  EXPECT_EQ(VisibleNames(list), (std::vector<std::string>{"Greek"}));
}

TEST_F(FontListTest, KindCodesAndLanguageCodesAreBothNeeded) {
  system.Add("Old", 0);
  list.Rebuild(true);
  system.Add("New", 0);
  list.Rebuild(false);

  list.ApplyFilter({kFilterRegistered, kFilterTemporary});
  EXPECT_EQ(list.GetCount(), 0);
  list.ApplyFilter({kFilterWestern, kFilterJapanese});
  EXPECT_EQ(list.GetCount(), 0);
  list.ApplyFilter({kFilterWestern, kFilterRegistered});
  EXPECT_EQ(VisibleNames(list), (std::vector<std::string>{"Old"}));
  list.ApplyFilter({kFilterWestern, kFilterTemporary});
  EXPECT_EQ(VisibleNames(list), (std::vector<std::string>{"New"}));
}

// --- list modes and favourites -------------------------------------------

TEST_F(FontListTest, ListModesShowFavouritesOrCandidatesOnly) {
  system.Add("Alpha", 0);
  system.Add("Beta", 0);
  system.Add("Gamma", 0);
  list.Rebuild(true);

  settings.ListMode = kListFavourites;
  list.ApplyFilter(kEverything);
  EXPECT_EQ(list.GetCount(), 0);

  settings.ListMode = kListStandard;
  list.ApplyFilter(kEverything);
  list.SetFavourite(0, true);
  list.SetCandidate(2, true);
  settings.ListMode = kListFavourites;
  list.ApplyFilter(kEverything);
  EXPECT_EQ(VisibleNames(list), (std::vector<std::string>{"Alpha"}));
  settings.ListMode = kListCandidates;
  list.ApplyFilter(kEverything);
  EXPECT_EQ(VisibleNames(list), (std::vector<std::string>{"Gamma"}));

  CFontList unbound(system);  // no settings: no list mode, no favourites
  unbound.Rebuild(true);
  EXPECT_EQ(unbound.GetCount(), 3);
  EXPECT_EQ(unbound.SetFavourite(0, true), 0);
  EXPECT_EQ(unbound.GetFont(0).favourite, 0);
}

TEST_F(FontListTest, NarrowingsLieOnTopOfSwitchesAndListModes) {
  for (const char* name : {"Alpha", "Beta", "Gamma", "Delta"}) system.Add(name, 0);
  list.Rebuild(true);
  list.SetFavourite(VisibleIndex(list, "Alpha"), true);
  list.SetFavourite(VisibleIndex(list, "Beta"), true);
  list.SetNarrowing(CFontList::kNarrowCoverage, [](const _FONTDEF& f) { return f.name != "Beta"; });
  list.SetNarrowing(CFontList::kNarrowSearch, [](const _FONTDEF& f) { return f.name.find('a') != std::string::npos; });
  list.ApplyFilter(kEverything);
  EXPECT_EQ(VisibleNames(list), (std::vector<std::string>{"Alpha", "Delta", "Gamma"}));
  EXPECT_EQ(list.FindVisible("Gamma"), 2);
  EXPECT_EQ(list.FindVisible("Beta"), -1);

  settings.ListMode = kListFavourites;
  list.ApplyFilter(kEverything);
  EXPECT_EQ(VisibleNames(list), (std::vector<std::string>{"Alpha"}));

  settings.ListMode = kListStandard;
  list.SetNarrowing(CFontList::kNarrowCoverage, nullptr);
  list.SetNarrowing(CFontList::kNarrowSearch, nullptr);
  list.ApplyFilter(kEverything);
  EXPECT_EQ(list.GetCount(), 4);
}

TEST_F(FontListTest, FavouritesAreRestoredByExactNameOnRebuild) {
  system.Add("Arial", 0);
  system.Add("Tahoma", 0);
  system.Add("ＭＳ 明朝", 128);
  settings.Favourites = {"", "arial", "ＭＳ 明朝", "Tahoma"};
  list.Rebuild(true);
  EXPECT_EQ(list.GetFont(VisibleIndex(list, "Arial")).favourite, 0);
  EXPECT_EQ(list.GetFont(VisibleIndex(list, "Tahoma")).favourite, 1);
  EXPECT_EQ(list.GetFont(VisibleIndex(list, "ＭＳ 明朝")).favourite, 1);
}

TEST_F(FontListTest, SetFavouriteKeepsTheListWithinFavMax) {
  system.Add("Alpha", 0);
  system.Add("Beta", 0);
  system.Add("Gamma", 0);
  list.Rebuild(true);
  settings.FavMax = 2;
  EXPECT_EQ(list.SetFavourite(0, true), 1);
  EXPECT_EQ(list.SetFavourite(0, true), 1);  // already there: not doubled
  EXPECT_EQ(list.SetFavourite(1, true), 1);
  EXPECT_EQ(list.SetFavourite(2, true), 1);  // over the limit: flag only
  EXPECT_EQ(settings.Favourites, (std::vector<std::string>{"Alpha", "Beta"}));
  EXPECT_EQ(list.GetFont(2).favourite, 1);

  list.SetFavourite(0, false);
  EXPECT_EQ(settings.Favourites, (std::vector<std::string>{"Beta"}));
  EXPECT_EQ(list.GetFont(0).favourite, 0);

  settings.FavMax = 0;
  list.SetFavourite(0, true);
  EXPECT_EQ(settings.Favourites, (std::vector<std::string>{"Beta"}));
}

// --- drawing data ---------------------------------------------------------

TEST_F(FontListTest, ConvertSampleKeepsDoubleByteTextOnlyForJapaneseEntries) {
  system.Add("Latin", 0);
  system.Add("Gothic", 0);
  system.Add("Gothic", 128);
  list.Rebuild(true);
  list.ApplyFilter(kWesternJapaneseBoth);
  // Aa, two double-byte characters (one with trail byte 0x5C), half-width
  // katakana, a lead byte without a legal trail, and a lead byte at the end.
  const std::string text = std::string("Aaあソｱ") + "\x81\x20" + "x" + "\x82";
  EXPECT_EQ(list.ConvertSample(VisibleIndex(list, "Latin"), text), std::string("Aa??ｱ") + "\x81\x20" + "x" + "\x82");
  EXPECT_EQ(list.ConvertSample(VisibleIndex(list, "Gothic"), text), text);
  EXPECT_EQ(list.ConvertSample(0, ""), "");
}

TEST_F(FontListTest, GetLogFontFillsTheChosenEntry) {
  system.Add("Gothic", 0, 400, 0);
  system.Add("Gothic", 128, 700, 1);
  // 30 bytes, then a double-byte character that would not fit in 31.
  system.Add(std::string(30, 'X') + "あ", 0);
  list.Rebuild(true);
  list.ApplyFilter(kWesternJapaneseBoth);

  FontLogFont lf;
  lf.height = 99;
  list.GetLogFont(VisibleIndex(list, "Gothic"), lf);
  EXPECT_EQ(lf.height, 0);
  EXPECT_EQ(lf.charset, 128);
  EXPECT_EQ(lf.weight, 700);
  EXPECT_EQ(lf.italic, 1);
  EXPECT_STREQ(lf.faceName, "Gothic");

  list.GetLogFont(VisibleIndex(list, std::string(30, 'X') + "あ"), lf);
  EXPECT_EQ(std::string(lf.faceName), std::string(30, 'X'));
}

// --- temporary records ----------------------------------------------------

TEST_F(FontListTest, LoadedFilesRecordTheFacesTheyBrought) {
  system.Add("Arial", 0);
  system.files["C:\\fonts\\pair.ttc"] = {{"Pair One", 0, 400, 0, ""}, {"Pair Two", 128, 400, 0, ""}};
  system.files["C:\\fonts\\again.ttf"] = {{"PAIR ONE", 0, 400, 0, ""}, {"Third", 0, 400, 0, ""}};
  list.Rebuild(true);

  EXPECT_EQ(list.AddTempFontFile("C:\\fonts\\pair.ttc", "C:\\fonts\\pair.ttc"), 2);
  ASSERT_EQ(list.TempRecords().size(), 2u);
  EXPECT_EQ(list.TempRecords()[0]->name, "Pair One");
  EXPECT_EQ(list.TempRecords()[1]->path, "C:\\fonts\\pair.ttc");
  EXPECT_EQ(list.GetFont(VisibleIndex(list, "Pair Two")).kind, kFontTemporary);

  // A face that is already recorded (in any spelling) gets no second record.
  EXPECT_EQ(list.AddTempFontFile("C:\\fonts\\again.ttf", "C:\\fonts\\again.ttf"), 2);
  ASSERT_EQ(list.TempRecords().size(), 3u);
  EXPECT_EQ(list.TempRecords()[2]->name, "Third");

  EXPECT_EQ(list.FindTempPath("pair two"), "C:\\fonts\\pair.ttc");
  EXPECT_EQ(list.FindTempPath("Missing"), "");
  EXPECT_EQ(list.TempPathAt(VisibleIndex(list, "Third")), "C:\\fonts\\again.ttf");
  EXPECT_EQ(list.TempPathAt(VisibleIndex(list, "Arial")), "");

  EXPECT_EQ(list.RemoveTempFontFile("c:\\FONTS\\PAIR.TTC"), 1);
  ASSERT_EQ(list.TempRecords().size(), 1u);
  EXPECT_EQ(list.TempRecords()[0]->name, "Third");
  EXPECT_EQ(system.unloaded, (std::vector<std::string>{"c:\\FONTS\\PAIR.TTC"}));
}

TEST_F(FontListTest, RefusedOrOwnerlessLoadsRecordNothing) {
  system.Add("Arial", 0);
  system.files["C:\\a.ttf"] = {{"Alpha", 0, 400, 0, ""}};
  list.Rebuild(true);

  EXPECT_EQ(list.AddTempFontFile("C:\\a.ttf", nullptr), 1);
  EXPECT_TRUE(list.TempRecords().empty());
  EXPECT_EQ(system.enumerations, 1);  // no owner, no rebuild

  system.Add("Sneaked In", 0);  // appears without coming from the file
  EXPECT_EQ(list.AddTempFontFile("C:\\broken.ttf", "C:\\broken.ttf"), 0);
  EXPECT_TRUE(list.TempRecords().empty());
  EXPECT_EQ(system.enumerations, 2);
}

TEST_F(FontListTest, MarkPermanentMakesTheFaceRegisteredForGood) {
  system.Add("Arial", 0);
  system.files["C:\\n.ttf"] = {{"Newcomer", 0, 400, 0, ""}};
  list.Rebuild(true);
  list.AddTempFontFile("C:\\n.ttf", "C:\\n.ttf");
  const int row = VisibleIndex(list, "Newcomer");
  list.MarkPermanent(row);
  EXPECT_EQ(list.GetFont(row).kind, kFontRegistered);
  EXPECT_TRUE(list.TempRecords().empty());
  list.ApplyFilter({kFilterWestern, kFilterTemporary});
  EXPECT_EQ(list.GetCount(), 0);
  list.ApplyFilter({kFilterWestern, kFilterRegistered});
  EXPECT_EQ(VisibleNames(list), (std::vector<std::string>{"Arial", "Newcomer"}));
  list.Rebuild(false);
  EXPECT_EQ(list.GetFont(VisibleIndex(list, "Newcomer")).kind, kFontRegistered);
}

// --- index errors ---------------------------------------------------------

TEST_F(FontListTest, IndexesOutsideTheVisibleListAreRefused) {
  system.Add("Arial", 0);
  system.Add("@Gothic", 128);  // in the master list, never visible
  list.Rebuild(true);
  ASSERT_EQ(list.GetCount(), 1);
  FontLogFont lf;
  for (int bad : {-1, 1, 2}) {
    EXPECT_THROW(list.GetName(bad), fw::InvalidArgumentError);
    EXPECT_THROW(list.GetLogFont(bad, lf), fw::InvalidArgumentError);
    EXPECT_THROW(list.ConvertSample(bad, "x"), fw::InvalidArgumentError);
    EXPECT_THROW(list.SetFavourite(bad, true), fw::InvalidArgumentError);
    EXPECT_THROW(list.SetCandidate(bad, true), fw::InvalidArgumentError);
    EXPECT_THROW(list.MarkPermanent(bad), fw::InvalidArgumentError);
    EXPECT_THROW(list.TempPathAt(bad), fw::InvalidArgumentError);
    EXPECT_THROW(list.GetFont(bad), fw::InvalidArgumentError);
  }
  EXPECT_TRUE(settings.Favourites.empty());
  EXPECT_EQ(list.Baseline().size(), 2u);

  list.ApplyFilter({kFilterRegistered});
  EXPECT_THROW(list.GetName(0), fw::InvalidArgumentError);
}

}  // namespace

// Display settings load and save on an in-memory profile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MemoryProfile.h"
#include "StoredSettings.h"

namespace {

TEST(Settings, EmptyProfileGivesTheDefaults) {
  MemoryProfile store;
  DisplaySettings s;
  s.Favourites = {"stale"};
  s.Width1 = 5;
  s.SelLangALL = 1;
  LoadSettings(s, store);
  EXPECT_EQ(Stored(s), Defaults());
  // Every value of the table is read, in order, from its own section.
  std::vector<std::string> expected = {"Window/Width1",       "Settings/SelLangEN",    "Settings/SelLangJA",
                                       "Settings/SelLangALL", "Settings/SelFontTMP",   "Settings/SelFontORG",
                                       "Settings/DispText",   "Settings/DispFontSize", "Settings/AutoUpdate",
                                       "Settings/FavMax"};
  for (int n = 1; n <= 20; ++n) expected.push_back("Settings/" + profile::FavoriteValueName(n));
  EXPECT_EQ(store.reads, expected);
}

TEST(Settings, SaveWritesEveryValueInOrderAndLoadReadsThemBack) {
  DisplaySettings s;
  s.Width1 = 321;
  s.SelLangEN = 0;
  s.SelLangJA = 0;
  s.SelLangALL = 1;
  s.SelFontTMP = 0;
  s.SelFontORG = 0;
  s.DispText = "ソフト表示 & text";
  s.DispFontSize = 105;
  s.AutoUpdate = 0;
  s.FavMax = 3;
  s.Favourites = {"ＭＳ ゴシック", "Arial"};
  s.ListMode = kListCandidates;

  MemoryProfile store;
  SaveSettings(s, store);
  EXPECT_EQ(store.writes, (std::vector<std::string>{"Window/Width1", "Settings/SelLangEN", "Settings/SelLangJA",
                                                    "Settings/SelLangALL", "Settings/SelFontTMP", "Settings/SelFontORG",
                                                    "Settings/DispText", "Settings/DispFontSize", "Settings/AutoUpdate",
                                                    "Settings/FavMax", "Settings/Favorite01", "Settings/Favorite02",
                                                    "Settings/Favorite03"}));
  EXPECT_EQ(std::get<std::string>(store.values[{"Settings", "Favorite03"}]), "");

  DisplaySettings back;
  LoadSettings(back, store);
  EXPECT_EQ(Stored(back), Stored(s));
  EXPECT_EQ(back.ListMode, kListStandard);  // never stored
}

TEST(Settings, FavouritesFollowFavMax) {
  MemoryProfile store;
  store.values[{"Settings", "FavMax"}] = 30;
  for (int n = 1; n <= 25; ++n) store.values[{"Settings", profile::FavoriteValueName(n)}] = "Face" + std::to_string(n);
  DisplaySettings s;
  LoadSettings(s, store);
  ASSERT_EQ(s.Favourites.size(), 25u);

  // Lowered to 20: the first 20 are written, 21 to 25 stay as they were and
  // are no longer read.
  s.FavMax = 20;
  store.writes.clear();
  SaveSettings(s, store);
  EXPECT_EQ(store.writes.back(), "Settings/Favorite20");
  EXPECT_EQ(std::get<std::string>(store.values[{"Settings", "Favorite21"}]), "Face21");
  LoadSettings(s, store);
  EXPECT_EQ(s.Favourites.size(), 20u);
  EXPECT_EQ(s.Favourites.back(), "Face20");
  EXPECT_EQ(profile::FavoriteValueName(100), "Favorite100");

  // FavMax 0 (or below): nothing read, nothing written.
  store.values[{"Settings", "FavMax"}] = 0;
  LoadSettings(s, store);
  EXPECT_TRUE(s.Favourites.empty());
  store.values[{"Settings", "FavMax"}] = -4;
  LoadSettings(s, store);
  EXPECT_TRUE(s.Favourites.empty());
  store.writes.clear();
  SaveSettings(s, store);
  EXPECT_EQ(store.writes.back(), "Settings/FavMax");
}

TEST(Settings, GapsCloseUpAndADamagedFavMaxDoesNotStall) {
  MemoryProfile store;
  store.values[{"Settings", "Favorite02"}] = "Second";
  store.values[{"Settings", "Favorite05"}] = "Fifth";
  DisplaySettings s;
  LoadSettings(s, store);
  EXPECT_EQ(s.Favourites, (std::vector<std::string>{"Second", "Fifth"}));

  store.values[{"Settings", "FavMax"}] = 2000000000;
  store.reads.clear();
  LoadSettings(s, store);
  EXPECT_EQ(s.FavMax, 2000000000);  // kept as stored
  EXPECT_EQ(store.reads.back(), "Settings/" + profile::FavoriteValueName(profile::kFavoritePositionLimit));
  store.writes.clear();
  SaveSettings(s, store);
  EXPECT_EQ(store.writes.size(), 10u + profile::kFavoritePositionLimit);
}

}  // namespace

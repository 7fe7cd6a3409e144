// Display settings in the real registry: HKCU\Software\VANTO\Glimra.
#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>

#include "StoredSettings.h"
#include "framework/RegistryProfile.h"

namespace {

const char kRoot[] = "Software\\VANTO\\Glimra";

struct RawValue {
  bool found = false;
  DWORD type = 0;
  std::string data;
};

RawValue ReadRaw(const std::string& section, const std::string& name) {
  RawValue raw;
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kRoot) + "\\" + section).c_str(), 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return raw;
  char buffer[512];
  DWORD size = sizeof buffer;
  raw.found =
      RegQueryValueExA(key, name.c_str(), nullptr, &raw.type, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS;
  if (raw.found) raw.data.assign(buffer, size);
  RegCloseKey(key);
  return raw;
}

int RawInt(const std::string& section, const std::string& name) {
  RawValue raw = ReadRaw(section, name);
  EXPECT_TRUE(raw.found) << name;
  EXPECT_EQ(raw.type, static_cast<DWORD>(REG_DWORD)) << name;
  DWORD value = 0;
  if (raw.data.size() == sizeof value) memcpy(&value, raw.data.data(), sizeof value);
  return static_cast<int>(value);
}

std::string RawString(const std::string& section, const std::string& name) {
  RawValue raw = ReadRaw(section, name);
  EXPECT_TRUE(raw.found) << name;
  EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ)) << name;
  return std::string(raw.data.c_str());
}

class RegistrySettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { SHDeleteKeyA(HKEY_CURRENT_USER, kRoot); }
  void TearDown() override { SHDeleteKeyA(HKEY_CURRENT_USER, kRoot); }
  fw::RegistryProfile store{"VANTO", "Glimra"};
};

TEST_F(RegistrySettingsTest, EmptyRegistryGivesTheDefaults) {
  DisplaySettings s;
  s.FavMax = 3;
  s.Favourites = {"left over"};
  LoadSettings(s, store);
  EXPECT_EQ(Stored(s), Defaults());
  // Reading creates nothing.
  HKEY key;
  EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kRoot, 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST_F(RegistrySettingsTest, EveryValueRoundTripsInItsSectionAndKind) {
  DisplaySettings s;
  s.Width1 = 412;
  s.SelLangEN = 0;
  s.SelLangJA = 1;
  s.SelLangALL = 1;
  s.SelFontTMP = 0;
  s.SelFontORG = 1;
  s.DispFontSize = 105;
  s.DispText = "表示ソフトの見本 Sample";
  s.AutoUpdate = 0;
  s.FavMax = 30;
  s.Favourites = {"ＭＳ ゴシック", "Arial", "IPAゴシック"};
  SaveSettings(s, store);

  EXPECT_EQ(RawInt("Window", "Width1"), 412);
  EXPECT_EQ(RawInt("Settings", "SelLangEN"), 0);
  EXPECT_EQ(RawInt("Settings", "SelLangALL"), 1);
  EXPECT_EQ(RawInt("Settings", "DispFontSize"), 105);
  EXPECT_EQ(RawInt("Settings", "FavMax"), 30);
  EXPECT_EQ(RawString("Settings", "DispText"), s.DispText);
  EXPECT_EQ(RawString("Settings", "Favorite01"), "ＭＳ ゴシック");
  EXPECT_EQ(RawString("Settings", "Favorite03"), "IPAゴシック");
  EXPECT_EQ(RawString("Settings", "Favorite30"), "");
  EXPECT_FALSE(ReadRaw("Settings", "Favorite31").found);
  EXPECT_FALSE(ReadRaw("Settings", "Favorite1").found);

  DisplaySettings back;
  LoadSettings(back, store);
  EXPECT_EQ(Stored(back), Stored(s));

  // A divider never set stays "not set" through the registry.
  s.Width1 = -1;
  SaveSettings(s, store);
  LoadSettings(back, store);
  EXPECT_EQ(back.Width1, -1);
}

TEST_F(RegistrySettingsTest, LoweredFavMaxLeavesHigherPositionsUntouched) {
  DisplaySettings s;
  s.FavMax = 30;
  for (int n = 1; n <= 25; ++n) s.Favourites.push_back("Face" + std::to_string(n));
  SaveSettings(s, store);

  DisplaySettings loaded;
  LoadSettings(loaded, store);
  ASSERT_EQ(loaded.Favourites.size(), 25u);
  loaded.FavMax = 20;
  SaveSettings(loaded, store);

  EXPECT_EQ(RawInt("Settings", "FavMax"), 20);
  EXPECT_EQ(RawString("Settings", "Favorite20"), "Face20");
  for (int n = 21; n <= 25; ++n)
    EXPECT_EQ(RawString("Settings", profile::FavoriteValueName(n)), "Face" + std::to_string(n));

  DisplaySettings again;
  LoadSettings(again, store);
  ASSERT_EQ(again.Favourites.size(), 20u);
  EXPECT_EQ(again.Favourites.front(), "Face1");
  EXPECT_EQ(again.Favourites.back(), "Face20");
}

TEST_F(RegistrySettingsTest, GapsInTheFavouritesCloseUp) {
  fw::RegistryProfile& raw = store;
  raw.WriteString("Settings", "Favorite01", "");
  raw.WriteString("Settings", "Favorite02", "Second");
  raw.WriteString("Settings", "Favorite04", "ＭＳ 明朝");
  DisplaySettings s;
  LoadSettings(s, store);
  EXPECT_EQ(s.Favourites, (std::vector<std::string>{"Second", "ＭＳ 明朝"}));

  // The next save writes them back without the gaps.
  SaveSettings(s, store);
  EXPECT_EQ(RawString("Settings", "Favorite01"), "Second");
  EXPECT_EQ(RawString("Settings", "Favorite02"), "ＭＳ 明朝");
  EXPECT_EQ(RawString("Settings", "Favorite04"), "");
}

}  // namespace

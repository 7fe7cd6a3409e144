#include "settings/DisplaySettings.h"

#include <algorithm>
#include <cstdio>

namespace profile {

std::string FavoriteValueName(int position) {
  char name[32];
  std::snprintf(name, sizeof name, "%s%02d", kFavoritePrefix, position);
  return name;
}

}  // namespace profile

namespace {

int FavoritePositions(int favMax) { return std::clamp(favMax, 0, profile::kFavoritePositionLimit); }

}  // namespace

void LoadSettings(DisplaySettings& s, const fw::ProfileStore& store) {
  using profile::kSettings;
  s.Width1 = store.GetInt(profile::kWindow, "Width1", -1);
  s.SelLangEN = store.GetInt(kSettings, "SelLangEN", 1);
  s.SelLangJA = store.GetInt(kSettings, "SelLangJA", 1);
  s.SelLangALL = store.GetInt(kSettings, "SelLangALL", 0);
  s.SelFontTMP = store.GetInt(kSettings, "SelFontTMP", 1);
  s.SelFontORG = store.GetInt(kSettings, "SelFontORG", 1);
  s.DispText = store.GetString(kSettings, "DispText", "");
  s.DispFontSize = store.GetInt(kSettings, "DispFontSize", 240);
  s.AutoUpdate = store.GetInt(kSettings, "AutoUpdate", 1);
  s.FavMax = store.GetInt(kSettings, "FavMax", 20);

  // Empty positions are skipped, so gaps left by hand edits close up.
  s.Favourites.clear();
  const int positions = FavoritePositions(s.FavMax);
  for (int n = 1; n <= positions; ++n) {
    std::string name = store.GetString(kSettings, profile::FavoriteValueName(n), "");
    if (!name.empty()) s.Favourites.push_back(std::move(name));
  }
}

void SaveSettings(const DisplaySettings& s, fw::ProfileStore& store) {
  using profile::kSettings;
  store.WriteInt(profile::kWindow, "Width1", s.Width1);
  store.WriteInt(kSettings, "SelLangEN", s.SelLangEN);
  store.WriteInt(kSettings, "SelLangJA", s.SelLangJA);
  store.WriteInt(kSettings, "SelLangALL", s.SelLangALL);
  store.WriteInt(kSettings, "SelFontTMP", s.SelFontTMP);
  store.WriteInt(kSettings, "SelFontORG", s.SelFontORG);
  // The sample text is kept too: a text the user typed should still be there
  // at the next start.
  store.WriteString(kSettings, "DispText", s.DispText);
  store.WriteInt(kSettings, "DispFontSize", s.DispFontSize);
  store.WriteInt(kSettings, "AutoUpdate", s.AutoUpdate);
  store.WriteInt(kSettings, "FavMax", s.FavMax);

  // Positions above FavMax are left as they are: neither written nor deleted.
  const int positions = FavoritePositions(s.FavMax);
  for (int n = 1; n <= positions; ++n) {
    const std::size_t i = static_cast<std::size_t>(n - 1);
    store.WriteString(kSettings, profile::FavoriteValueName(n), i < s.Favourites.size() ? s.Favourites[i] : "");
  }
}

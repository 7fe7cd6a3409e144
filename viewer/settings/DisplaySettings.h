#pragma once
// The view's display settings and their place in the profile (registry):
// section "Settings" for the display values and the numbered favourites,
// "Width1" in section "Window". Portable: no windows.h.
#include <string>
#include <vector>

#include "framework/ProfileStore.h"

// Sections and value names of the viewer's profile. The frame's window values
// and the update client's date live beside the display settings.
namespace profile {
inline constexpr const char* kSettings = "Settings";
inline constexpr const char* kWindow = "Window";
inline constexpr const char* kAutoUpdate = "AutoUpdate";
inline constexpr const char* kLastConnectDate = "LastConnectDate";
inline constexpr const char* kFavoritePrefix = "Favorite";

// "Favorite01" .. "Favorite99", "Favorite100", ...
std::string FavoriteValueName(int position);

// Positions walked at most when reading or writing the numbered favourites.
// The settings dialog offers 20 to 90; the bound keeps a damaged "FavMax"
// (say two thousand million) from stalling start-up and flooding the registry.
inline constexpr int kFavoritePositionLimit = 999;
}  // namespace profile

// List modes of the catalogue (never stored).
enum ListMode : int { kListStandard = 0, kListFavourites = 1, kListCandidates = 2 };

struct DisplaySettings {
  int Width1 = -1;  // x of the column divider; -1 until first set
  int SelLangEN = 1;
  int SelLangJA = 1;
  int SelLangALL = 0;
  int SelFontTMP = 1;
  int SelFontORG = 1;
  int DispFontSize = 240;  // tenths of a point
  std::string DispText;
  int AutoUpdate = 1;
  int FavMax = 20;
  std::vector<std::string> Favourites;  // oldest first
  int ListMode = kListStandard;
};

// Reads every display value (and "Width1") into settings, replacing the
// favourites; missing values take their defaults. ListMode is left alone.
void LoadSettings(DisplaySettings& settings, const fw::ProfileStore& store);

// Writes the record back: the display values, DispText, and the favourites
// numbered 1 to FavMax (empty strings past the end of the list).
void SaveSettings(const DisplaySettings& settings, fw::ProfileStore& store);

#pragma once
// The stored part of the display settings as one comparable value.
#include <string>
#include <tuple>
#include <vector>

#include "settings/DisplaySettings.h"

using StoredTuple = std::tuple<int, int, int, int, int, int, int, std::string, int, int, std::vector<std::string>>;

inline StoredTuple Stored(const DisplaySettings& s) {
  return {s.Width1,       s.SelLangEN, s.SelLangJA,  s.SelLangALL, s.SelFontTMP, s.SelFontORG,
          s.DispFontSize, s.DispText,  s.AutoUpdate, s.FavMax,     s.Favourites};
}

// An empty profile: -1, Western and Japanese on, all languages off, both
// kinds shown, 24 points, no text, automatic check on, 20 favourites at most.
inline StoredTuple Defaults() { return {-1, 1, 1, 0, 1, 1, 240, "", 1, 20, {}}; }

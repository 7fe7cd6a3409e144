#include "coverage/Coverage.h"

#include <algorithm>

namespace coverage {

using fonttables::CharacterMap;
using fonttables::MakeTag;
using fonttables::Result;

namespace {

// Walks the sorted set and the sorted ranges together: linear in both.
template <class Visit>
void ForEachMissing(const CharacterMap& map, const CharacterSet& set, Visit visit) {
  auto range = map.Ranges().begin(), end = map.Ranges().end();
  for (char32_t c : set.chars) {
    while (range != end && range->last < c) ++range;
    if (range == end || c < range->first) visit(c);
  }
}

}  // namespace

const CharacterSet* FindSet(std::string_view name) {
  for (const CharacterSet& set : kCharacterSets)
    if (name == set.name) return &set;
  return nullptr;
}

std::size_t CountCovered(const CharacterMap& map, const CharacterSet& set) {
  std::size_t missing = 0;
  ForEachMissing(map, set, [&](char32_t) { ++missing; });
  return set.chars.size() - missing;
}

std::vector<char32_t> Missing(const CharacterMap& map, const CharacterSet& set) {
  std::vector<char32_t> missing;
  ForEachMissing(map, set, [&](char32_t c) { missing.push_back(c); });
  return missing;
}

Result<CharacterMap> ReadCharacterMap(fonttables::TableSource& tables) {
  std::optional<fonttables::Bytes> cmap = tables.Table(MakeTag("cmap"));
  if (!cmap) return Result<CharacterMap>::Fail("the font has no character map (cmap)");
  return fonttables::ReadCmap(*cmap);
}

Result<FaceReport> MeasureFace(fonttables::TableSource& tables) {
  Result<CharacterMap> map = ReadCharacterMap(tables);
  if (!map) return Result<FaceReport>::Fail(map.Error());
  FaceReport report;
  for (std::size_t i = 0; i < kSetCount; ++i) report.covered[i] = CountCovered(*map, kCharacterSets[i]);
  report.ideographicVariations = map->IdeographicVariations();
  if (std::optional<fonttables::Bytes> name = tables.Table(MakeTag("name"))) {
    Result<fonttables::FamilyNames> names = fonttables::ReadFamilyNames(*name);
    if (!names) return Result<FaceReport>::Fail(names.Error());
    report.names = std::move(*names);
  }
  if (std::optional<fonttables::Bytes> gsub = tables.Table(MakeTag("GSUB"))) {
    Result<std::vector<fonttables::Tag>> features = fonttables::ReadFeatureTags(*gsub);
    if (!features) return Result<FaceReport>::Fail(features.Error());
    report.verticalForms = fonttables::FindVerticalForms(*features);
  }
  return report;
}

}  // namespace coverage

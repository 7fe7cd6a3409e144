#pragma once
// How much of each Japanese character set a face maps.
#include <array>
#include <vector>

#include "coverage/CharacterSets.h"
#include "fonttables/Cmap.h"
#include "fonttables/Gsub.h"
#include "fonttables/Names.h"
#include "fonttables/Sfnt.h"

namespace coverage {

std::size_t CountCovered(const fonttables::CharacterMap& map, const CharacterSet& set);
// The set's characters the face does not map, ascending.
std::vector<char32_t> Missing(const fonttables::CharacterMap& map, const CharacterSet& set);

struct FaceReport {
  fonttables::FamilyNames names;
  std::array<std::size_t, kSetCount> covered{};  // per SetIndex
  std::size_t ideographicVariations = 0;
  fonttables::VerticalForms verticalForms;
};

// Reads 'cmap' (required), 'name' and 'GSUB' (optional) of one face. Any
// damaged table that is present is an error: its message names the table.
fonttables::Result<FaceReport> MeasureFace(fonttables::TableSource& tables);

// The character map alone, for listing what a face lacks.
fonttables::Result<fonttables::CharacterMap> ReadCharacterMap(fonttables::TableSource& tables);

}  // namespace coverage

#pragma once
// The characters a face maps, from its 'cmap' table: the best Unicode
// subtable (format 12 for the full range, else format 4 for the BMP) and the
// Ideographic Variation Sequences of its format 14 subtable.
#include <vector>

#include "fonttables/Bytes.h"

namespace fonttables {

struct CodeRange {
  char32_t first, last;  // inclusive
};

class CharacterMap {
 public:
  CharacterMap() = default;
  // Any order, overlaps allowed: kept sorted, merged and disjoint.
  explicit CharacterMap(std::vector<CodeRange> ranges, std::size_t ideographicVariations = 0);

  bool Maps(char32_t c) const;
  const std::vector<CodeRange>& Ranges() const { return ranges_; }
  // Sequences base + U+E0100..U+E01EF the face maps (default ones included).
  std::size_t IdeographicVariations() const { return ivs_; }

 private:
  std::vector<CodeRange> ranges_;
  std::size_t ivs_ = 0;
};

// A face without a Unicode subtable (a symbol font) maps nothing; a damaged
// subtable that would be read is an error.
Result<CharacterMap> ReadCmap(Bytes cmap);

}  // namespace fonttables

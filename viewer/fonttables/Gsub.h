#pragma once
// The features a face's 'GSUB' table offers, for the vertical forms that
// vertical writing substitutes ('vert', 'vrt2').
#include <vector>

#include "fonttables/Bytes.h"

namespace fonttables {

// The feature tags of the feature list, in table order (repeats kept: one
// record per script system that uses the feature).
Result<std::vector<Tag>> ReadFeatureTags(Bytes gsub);

struct VerticalForms {
  bool vert = false, vrt2 = false;
  bool Any() const { return vert || vrt2; }
};
VerticalForms FindVerticalForms(const std::vector<Tag>& features);

}  // namespace fonttables

#pragma once
// Vertical text as the preview pane sets it: characters run top to bottom
// and wrap into the next column to the left; the first character sits at the
// top of the rightmost column. Portable: the pane measures, this places.
#include <string>
#include <string_view>
#include <vector>

#include "fonttables/Gsub.h"

namespace vertical {

// The characters of a code page 932 text, one string each (one or two bytes).
std::vector<std::string> SplitCharacters(std::string_view text);

struct Placement {
  int column = 0;  // 0 is the rightmost column
  int offset = 0;  // distance from the column's top
};

// Places characters of the given advances (along the column) into columns of
// `columnLength`: a character that would reach past the end starts the next
// column, unless it is the column's first (a character longer than a column
// still gets a column of its own rather than none).
std::vector<Placement> PlaceInColumns(const std::vector<int>& advances, int columnLength);

// Left edge of a column `pitch` wide, counted from the right edge `right`.
inline int ColumnLeft(int right, int column, int pitch) { return right - (column + 1) * pitch; }

// The pane's line about the face's vertical forms: `yes` followed by the
// features found, "(vert, vrt2)", or `no`.
std::string VerticalFormsLine(const fonttables::VerticalForms& forms, std::string_view yes, std::string_view no);

}  // namespace vertical

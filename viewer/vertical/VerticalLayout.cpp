#include "vertical/VerticalLayout.h"

#include "common/Cp932.h"

namespace vertical {

std::vector<std::string> SplitCharacters(std::string_view text) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t next = cp932::Next(text, i);
    out.emplace_back(text.substr(i, next - i));
    i = next;
  }
  return out;
}

std::vector<Placement> PlaceInColumns(const std::vector<int>& advances, int columnLength) {
  std::vector<Placement> out;
  out.reserve(advances.size());
  Placement at;
  for (int advance : advances) {
    if (at.offset > 0 && at.offset + advance > columnLength) {
      ++at.column;
      at.offset = 0;
    }
    out.push_back(at);
    at.offset += advance > 0 ? advance : 0;
  }
  return out;
}

std::string VerticalFormsLine(const fonttables::VerticalForms& forms, std::string_view yes, std::string_view no) {
  if (!forms.Any()) return std::string(no);
  std::string line(yes);
  line += " (";
  if (forms.vert) line += "vert";
  if (forms.vert && forms.vrt2) line += ", ";
  if (forms.vrt2) line += "vrt2";
  line += ")";
  return line;
}

}  // namespace vertical

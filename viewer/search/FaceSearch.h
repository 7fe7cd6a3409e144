#pragma once
// The catalogue's faces as the search bar narrows them: every face with its
// names is folded once (when the catalogue or its names change), and each
// keystroke marks the faces that match, so that the list filter asks one
// lookup per face.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "search/NameIndex.h"

namespace search {

class FaceSearch {
 public:
  // Replaces the faces (their names are folded here) and marks them for
  // the current text again. A name given twice keeps its first entry.
  // True when that changed which faces are kept.
  bool SetFaces(const std::vector<FaceNames>& faces);
  // The search text as typed (code page 932); nothing but spaces matches all.
  // True when that changed which faces are kept.
  bool SetText(std::string_view typed);
  // True while a text narrows the list.
  bool Narrowing() const { return !query_.empty(); }
  // Whether the face is kept: every face while nothing narrows, otherwise
  // the faces whose names contain the text; a face not given to SetFaces
  // is judged by its enumerated name alone.
  bool Keeps(const std::string& face) const;
  std::size_t FaceCount() const { return index_.size(); }

 private:
  // True when the text narrows and the marks changed.
  bool Mark();

  NameIndex index_;
  std::unordered_map<std::string, std::size_t> number_;  // face name -> index entry
  std::vector<char> match_;                              // per index entry
  Query query_{u""};
};

// What the label shows after the face name: " / " and the English family
// name, unless it is unknown or reads as the face name itself.
std::u16string EnglishSuffix(std::string_view faceName, std::u16string_view english);

}  // namespace search

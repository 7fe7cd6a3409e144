#include "search/FaceSearch.h"

#include "search/Fold.h"

namespace search {

bool FaceSearch::SetFaces(const std::vector<FaceNames>& faces) {
  index_.clear();
  number_.clear();
  number_.reserve(faces.size());
  for (const FaceNames& face : faces)
    if (number_.emplace(face.faceName, index_.size()).second) index_.Add(face);
  return Mark();
}

bool FaceSearch::SetText(std::string_view typed) {
  const bool narrowed = Narrowing();
  query_ = Query::FromCp932(typed);
  return Mark() || narrowed != Narrowing();
}

bool FaceSearch::Mark() {
  std::vector<char> before(index_.size(), 0);
  before.swap(match_);
  if (!query_.empty())
    for (std::size_t face : index_.Filter(query_)) match_[face] = 1;
  return !query_.empty() && before != match_;
}

bool FaceSearch::Keeps(const std::string& face) const {
  if (query_.empty()) return true;
  const auto found = number_.find(face);
  // A face that came after the names were folded: by its enumerated name.
  if (found == number_.end()) return query_.FoundIn(FoldCp932(face));
  return match_[found->second] != 0;
}

std::u16string EnglishSuffix(std::string_view faceName, std::u16string_view english) {
  if (english.empty() || Fold(english) == FoldCp932(faceName)) return {};
  return u" / " + std::u16string(english);
}

}  // namespace search

#include "search/NameIndex.h"

#include "search/Fold.h"

namespace search {

namespace {

// Spaces around what was typed are not part of the search.
std::u16string Trimmed(std::u16string folded) {
  const std::size_t first = folded.find_first_not_of(u' ');
  if (first == std::u16string::npos) return {};
  return folded.substr(first, folded.find_last_not_of(u' ') - first + 1);
}

}  // namespace

Query::Query(std::u16string_view typed) : folded_(Trimmed(Fold(typed))) {}

Query Query::FromCp932(std::string_view typed) {
  Query query;
  query.folded_ = Trimmed(FoldCp932(typed));
  return query;
}

bool Query::FoundIn(std::u16string_view foldedName) const {
  return foldedName.find(folded_) != std::u16string_view::npos;
}

void NameIndex::AddName(std::u16string folded) {
  const std::size_t first = firstName_.back();
  // The enumerated name is often the Japanese family name again.
  for (std::size_t i = first; i < names_.size(); ++i)
    if (std::u16string_view(text_).substr(names_[i].at, names_[i].length) == folded) return;
  if (folded.empty()) return;
  names_.push_back({text_.size(), folded.size()});
  text_ += folded;
}

void NameIndex::Add(const FaceNames& names) {
  firstName_.push_back(names_.size());
  AddName(FoldCp932(names.faceName));
  AddName(Fold(names.japanese));
  AddName(Fold(names.english));
}

void NameIndex::clear() {
  text_.clear();
  names_.clear();
  firstName_.clear();
}

bool NameIndex::Matches(std::size_t face, const Query& query) const {
  if (face >= size()) return false;
  if (query.empty()) return true;
  const std::size_t end = face + 1 < firstName_.size() ? firstName_[face + 1] : names_.size();
  const std::u16string_view text(text_);
  for (std::size_t i = firstName_[face]; i < end; ++i)
    if (query.FoundIn(text.substr(names_[i].at, names_[i].length))) return true;
  return false;
}

std::vector<std::size_t> NameIndex::Filter(const Query& query) const {
  std::vector<std::size_t> faces;
  for (std::size_t face = 0; face < size(); ++face)
    if (Matches(face, query)) faces.push_back(face);
  return faces;
}

}  // namespace search

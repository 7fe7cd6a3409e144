#pragma once
// Finding faces by any of their names as the user types: the names are
// folded once, when the list is built, so that a keystroke costs only the
// substring searches over the folded names.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace search {

// The names a face is known by; any of them may be empty.
struct FaceNames {
  std::string_view faceName;     // as GDI enumerates it, code page 932
  std::u16string_view japanese;  // family names from the face's 'name' table
  std::u16string_view english;
};

// Search text as the user typed it, folded.
class Query {
 public:
  explicit Query(std::u16string_view typed);
  static Query FromCp932(std::string_view typed);

  // An empty query (nothing typed but spaces) matches every face.
  bool empty() const { return folded_.empty(); }
  bool FoundIn(std::u16string_view foldedName) const;

 private:
  Query() = default;
  std::u16string folded_;
};

class NameIndex {
 public:
  // Adds a face; faces are numbered from 0 in the order added.
  void Add(const FaceNames& names);
  std::size_t size() const { return firstName_.size(); }
  void clear();

  // True when one of the face's names contains the query; false for a
  // number that is not a face's.
  bool Matches(std::size_t face, const Query& query) const;
  // The faces that match, in order; every face for an empty query.
  std::vector<std::size_t> Filter(const Query& query) const;

 private:
  struct Name {
    std::size_t at, length;
  };
  void AddName(std::u16string folded);

  std::u16string text_;                 // every folded name, one after another
  std::vector<Name> names_;             // the names in text_
  std::vector<std::size_t> firstName_;  // per face: its first entry in names_
};

}  // namespace search

#pragma once
// A face's family names from its 'name' table (name ID 1, what GDI
// enumerates): Japanese and English, Windows platform; the Macintosh
// Japanese name stands in when there is no Windows Japanese one.
#include <string>

#include "fonttables/Bytes.h"

namespace fonttables {

struct FamilyNames {
  std::u16string japanese;  // empty when the face has none
  std::u16string english;
};

// A damaged header or record list is an error; a single record whose text
// lies outside the table is skipped as if absent.
Result<FamilyNames> ReadFamilyNames(Bytes name);

inline constexpr std::uint16_t kNameFamily = 1, kNameFull = 4;

// The Windows-platform names with one name ID: Japanese, English, and the
// first of any other language. Errors as for ReadFamilyNames.
struct WindowsNames {
  std::u16string japanese, english, other;
  // Japanese, else English, else the other language; empty when none.
  const std::u16string& Preferred() const { return !japanese.empty() ? japanese : !english.empty() ? english : other; }
};
Result<WindowsNames> ReadWindowsNames(Bytes name, std::uint16_t nameId);

}  // namespace fonttables

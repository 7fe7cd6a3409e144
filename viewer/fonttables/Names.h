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

}  // namespace fonttables

#pragma once
// Tables of the font selected into a device context, through GetFontData:
// for a member of a collection, GDI returns that member's tables.
#include <windows.h>

#include <map>
#include <vector>

#include "fonttables/Sfnt.h"

namespace fonttables {

class GdiTableSource final : public TableSource {
 public:
  // `dc` must keep the face selected while tables are read.
  explicit GdiTableSource(HDC dc) : dc_(dc) {}
  std::optional<Bytes> Table(Tag tag) override;

 private:
  HDC dc_;
  std::map<Tag, std::vector<std::uint8_t>> tables_;
};

}  // namespace fonttables

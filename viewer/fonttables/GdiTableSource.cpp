#include "fonttables/GdiTableSource.h"

namespace fonttables {

namespace {
// No font table comes near this; a larger answer is not trusted.
constexpr DWORD kMaxTable = 256u << 20;
}  // namespace

std::optional<Bytes> GdiTableSource::Table(Tag tag) {
  auto found = tables_.find(tag);
  if (found != tables_.end()) return Bytes(found->second);
  // GetFontData takes the tag's bytes in file order as a little-endian DWORD.
  DWORD gdiTag = (tag >> 24) | (tag >> 8 & 0xFF00) | (tag << 8 & 0xFF0000) | (tag << 24);
  DWORD size = GetFontData(dc_, gdiTag, 0, nullptr, 0);
  if (size == GDI_ERROR || size > kMaxTable) return std::nullopt;
  std::vector<std::uint8_t> data(size);
  if (size != 0 && GetFontData(dc_, gdiTag, 0, data.data(), size) != size) return std::nullopt;
  return Bytes(tables_.emplace(tag, std::move(data)).first->second);
}

}  // namespace fonttables

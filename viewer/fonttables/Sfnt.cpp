#include "fonttables/Sfnt.h"

namespace fonttables {

namespace {

constexpr std::size_t kDirectoryHeader = 12, kDirectoryEntry = 16;

bool IsSfntVersion(std::uint32_t v) { return v == 0x00010000 || v == MakeTag("OTTO") || v == MakeTag("true"); }

}  // namespace

Result<std::vector<std::size_t>> FaceOffsets(Bytes file) {
  Reader r(file);
  if (!r.Has(0, 4)) return Result<std::vector<std::size_t>>::Fail("too short to be a font file");
  std::uint32_t version = r.U32(0);
  if (IsSfntVersion(version)) return std::vector<std::size_t>{0};
  if (version != MakeTag("ttcf")) return Result<std::vector<std::size_t>>::Fail("not a TrueType or OpenType font");
  if (!r.Has(0, 12)) return Result<std::vector<std::size_t>>::Fail("collection header is cut short");
  std::uint32_t count = r.U32(8);
  if (count == 0) return Result<std::vector<std::size_t>>::Fail("collection holds no fonts");
  if (count > kMaxCollectionFaces)
    return Result<std::vector<std::size_t>>::Fail("collection lists " + std::to_string(count) + " fonts, more than " +
                                                  std::to_string(kMaxCollectionFaces));
  if (!r.Has(12, std::uint64_t{count} * 4))
    return Result<std::vector<std::size_t>>::Fail("collection lists more fonts than the file holds");
  std::vector<std::size_t> offsets;
  offsets.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint32_t at = r.U32(12 + std::size_t{i} * 4);
    if (!r.Has(at, kDirectoryHeader))
      return Result<std::vector<std::size_t>>::Fail("collection member " + std::to_string(i) + " lies past the end");
    offsets.push_back(at);
  }
  return offsets;
}

Result<TableDirectory> TableDirectory::Read(Bytes file, std::size_t faceOffset) {
  Reader r(file);
  if (!r.Has(faceOffset, kDirectoryHeader)) return Result<TableDirectory>::Fail("table directory is cut short");
  if (!IsSfntVersion(r.U32(faceOffset))) return Result<TableDirectory>::Fail("not a TrueType or OpenType font");
  std::uint16_t count = r.U16(faceOffset + 4);
  if (!r.Has(faceOffset + kDirectoryHeader, std::uint64_t{count} * kDirectoryEntry))
    return Result<TableDirectory>::Fail("table directory lists more tables than the file holds");
  TableDirectory directory;
  directory.entries_.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t entry = faceOffset + kDirectoryHeader + i * kDirectoryEntry;
    Tag tag = r.U32(entry);
    std::uint32_t offset = r.U32(entry + 8), length = r.U32(entry + 12);
    if (!r.Has(offset, length)) return Result<TableDirectory>::Fail("table '" + TagText(tag) + "' lies past the end");
    directory.entries_.push_back({tag, r.Sub(offset, length)});
  }
  return directory;
}

std::optional<Bytes> TableDirectory::Table(Tag tag) {
  for (const Entry& e : entries_)
    if (e.tag == tag) return e.data;
  return std::nullopt;
}

}  // namespace fonttables

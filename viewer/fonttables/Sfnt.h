#pragma once
// The outer layer of a font file: the faces it holds (one for a plain
// TrueType/OpenType file, one per member of a 'ttcf' collection) and each
// face's table directory.
#include <vector>

#include "fonttables/Bytes.h"

namespace fonttables {

// Where the tables of a face come from: a file's table directory here, or
// GetFontData in the viewer. A table stays valid while its source lives.
class TableSource {
 public:
  virtual ~TableSource() = default;
  virtual std::optional<Bytes> Table(Tag tag) = 0;
};

// Real collections hold a few dozen faces at most; a hostile one that lists
// thousands, all sharing one large table, would cost its size that many times.
constexpr std::uint32_t kMaxCollectionFaces = 256;

// The offsets of the faces' table directories, in member order.
Result<std::vector<std::size_t>> FaceOffsets(Bytes file);

class TableDirectory final : public TableSource {
 public:
  // Every entry must lie inside the file; tables may overlap (reading is
  // safe either way), but none may reach past the end.
  static Result<TableDirectory> Read(Bytes file, std::size_t faceOffset);
  std::optional<Bytes> Table(Tag tag) override;

 private:
  struct Entry {
    Tag tag;
    Bytes data;
  };
  std::vector<Entry> entries_;
};

}  // namespace fonttables

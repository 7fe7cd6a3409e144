#include "fonttables/Cmap.h"

#include <algorithm>
#include <numeric>

namespace fonttables {

namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;
constexpr char32_t kFirstIvs = 0xE0100, kLastIvs = 0xE01EF;

using Ranges = std::vector<CodeRange>;

Result<Ranges> Fail(std::string why) { return Result<Ranges>::Fail("cmap: " + std::move(why)); }

// Adds [first, last] minus the one character that would land on glyph 0.
void AddExcept(Ranges& out, char32_t first, char32_t last, std::uint64_t notdef) {
  if (notdef < first || notdef > last) {
    out.push_back({first, last});
    return;
  }
  if (notdef > first) out.push_back({first, char32_t(notdef - 1)});
  if (notdef < last) out.push_back({char32_t(notdef + 1), last});
}

// Segment mapping to delta values: parallel arrays of segCount entries.
// Segments are taken in order of their first character and a character is
// decided by the first segment that holds it, so that overlapping segments
// (hostile: 32,767 of them over the whole plane) cost no more than one pass
// over the BMP.
Result<Ranges> ReadFormat4(const Reader& r, std::size_t at) {
  if (!r.Has(at, 14)) return Fail("format 4 header is cut short");
  std::size_t segCount = r.U16(at + 6) / 2;
  std::size_t ends = at + 14, starts = ends + segCount * 2 + 2, deltas = starts + segCount * 2,
              rangeOffsets = deltas + segCount * 2;
  if (!r.Has(ends, segCount * 8 + 2)) return Fail("format 4 segments reach past the end");
  std::vector<std::size_t> order(segCount);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return r.U16(starts + a * 2) < r.U16(starts + b * 2); });
  Ranges out;
  char32_t undecided = 0;  // every character below is decided
  for (std::size_t s : order) {
    char32_t end = r.U16(ends + s * 2), start = r.U16(starts + s * 2);
    std::uint16_t delta = r.U16(deltas + s * 2), rangeOffset = r.U16(rangeOffsets + s * 2);
    if (start > end) continue;  // an empty segment: nothing to map
    std::size_t glyphs = rangeOffsets + s * 2 + rangeOffset;
    if (rangeOffset != 0 && !r.Has(glyphs, (std::uint64_t{end} - start + 1) * 2))
      return Fail("format 4 glyph array reaches past the end");
    char32_t first = std::max(start, undecided);
    if (first > end) continue;
    undecided = end + 1;
    if (rangeOffset == 0) {
      AddExcept(out, first, end, std::uint16_t(0x10000 - delta));
      continue;
    }
    for (char32_t c = first; c <= end; ++c) {
      std::uint16_t glyph = r.U16(glyphs + (c - start) * 2);
      if (glyph != 0 && std::uint16_t(glyph + delta) != 0) AddExcept(out, c, c, ~std::uint64_t{0});
    }
  }
  return out;
}

// Segmented coverage: groups of consecutive characters and glyphs.
Result<Ranges> ReadFormat12(const Reader& r, std::size_t at) {
  if (!r.Has(at, 16)) return Fail("format 12 header is cut short");
  std::uint32_t groups = r.U32(at + 12);
  if (!r.Has(at + 16, std::uint64_t{groups} * 12)) return Fail("format 12 groups reach past the end");
  Ranges out;
  out.reserve(groups);
  for (std::size_t g = 0; g < groups; ++g) {
    std::size_t rec = at + 16 + g * 12;
    std::uint32_t first = r.U32(rec), last = r.U32(rec + 4), glyph = r.U32(rec + 8);
    if (first > last || last > kLastCodePoint) return Fail("format 12 group holds no valid characters");
    AddExcept(out, first, last, glyph == 0 ? first : ~std::uint64_t{0});
  }
  return out;
}

// Variation sequences: the number a face maps with an ideographic selector.
Result<std::size_t> ReadFormat14(const Reader& r, std::size_t at) {
  auto fail = [](const char* why) { return Result<std::size_t>::Fail(std::string("cmap: format 14 ") + why); };
  if (!r.Has(at, 10)) return fail("header is cut short");
  std::uint32_t records = r.U32(at + 6);
  if (!r.Has(at + 10, std::uint64_t{records} * 11)) return fail("selectors reach past the end");
  // Selectors come in increasing order, so at most 240 records are read
  // further; many records over one large table would cost its size each.
  std::uint64_t count = 0;
  char32_t previous = 0;
  for (std::size_t i = 0; i < records; ++i) {
    std::size_t rec = at + 10 + i * 11;
    char32_t selector = r.U24(rec);
    std::uint32_t defaults = r.U32(rec + 3), specials = r.U32(rec + 7);
    if (i > 0 && selector <= previous) return fail("selectors are out of order");
    previous = selector;
    if (selector < kFirstIvs || selector > kLastIvs) continue;
    if (defaults != 0) {
      std::uint64_t table = std::uint64_t{at} + defaults;
      if (!r.Has(table, 4)) return fail("default table lies past the end");
      std::uint32_t ranges = r.U32(table);
      if (!r.Has(table + 4, std::uint64_t{ranges} * 4)) return fail("default ranges reach past the end");
      for (std::size_t k = 0; k < ranges; ++k) count += 1u + r.U8(table + 4 + k * 4 + 3);
    }
    if (specials != 0) {
      std::uint64_t table = std::uint64_t{at} + specials;
      if (!r.Has(table, 4)) return fail("mapping table lies past the end");
      std::uint32_t mappings = r.U32(table);
      if (!r.Has(table + 4, std::uint64_t{mappings} * 5)) return fail("mappings reach past the end");
      count += mappings;
    }
  }
  return std::size_t(std::min<std::uint64_t>(count, SIZE_MAX));
}

// Lower is better; -1 for subtables this reader does not use.
int Preference(std::uint16_t platform, std::uint16_t encoding, std::uint16_t format) {
  bool unicode = platform == 0 || (platform == 3 && (encoding == 1 || encoding == 10));
  if (!unicode || (platform == 0 && encoding == 5)) return -1;
  if (format == 12) return platform == 3 ? 0 : 1;
  if (format == 4) return platform == 3 ? 2 : 3;
  return -1;
}

}  // namespace

CharacterMap::CharacterMap(std::vector<CodeRange> ranges, std::size_t ideographicVariations)
    : ivs_(ideographicVariations) {
  std::sort(ranges.begin(), ranges.end(), [](CodeRange a, CodeRange b) { return a.first < b.first; });
  for (CodeRange range : ranges) {
    if (!ranges_.empty() && range.first <= ranges_.back().last + 1)
      ranges_.back().last = std::max(ranges_.back().last, range.last);
    else
      ranges_.push_back(range);
  }
}

bool CharacterMap::Maps(char32_t c) const {
  auto after = std::upper_bound(ranges_.begin(), ranges_.end(), c, [](char32_t v, CodeRange r) { return v < r.first; });
  return after != ranges_.begin() && c <= std::prev(after)->last;
}

Result<CharacterMap> ReadCmap(Bytes cmap) {
  Reader r(cmap);
  if (!r.Has(0, 4)) return Result<CharacterMap>::Fail("cmap: header is cut short");
  std::uint16_t count = r.U16(2);
  if (!r.Has(4, std::uint64_t{count} * 8))
    return Result<CharacterMap>::Fail("cmap: more subtables listed than present");
  int best = -1;
  std::size_t bestAt = 0, variationsAt = 0;
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t rec = 4 + i * 8;
    std::uint16_t platform = r.U16(rec), encoding = r.U16(rec + 2);
    std::uint32_t at = r.U32(rec + 4);
    if (!r.Has(at, 2)) return Result<CharacterMap>::Fail("cmap: a subtable lies past the end");
    std::uint16_t format = r.U16(at);
    if (platform == 0 && encoding == 5 && format == 14) variationsAt = at;
    int preference = Preference(platform, encoding, format);
    if (preference >= 0 && (best < 0 || preference < best)) {
      best = preference;
      bestAt = at;
    }
  }
  Ranges ranges;
  if (best >= 0) {
    Result<Ranges> read = r.U16(bestAt) == 12 ? ReadFormat12(r, bestAt) : ReadFormat4(r, bestAt);
    if (!read) return Result<CharacterMap>::Fail(read.Error());
    ranges = std::move(*read);
  }
  std::size_t ivs = 0;
  if (variationsAt != 0) {
    Result<std::size_t> read = ReadFormat14(r, variationsAt);
    if (!read) return Result<CharacterMap>::Fail(read.Error());
    ivs = *read;
  }
  return CharacterMap(std::move(ranges), ivs);
}

}  // namespace fonttables

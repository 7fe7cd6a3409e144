// The font-table reader on hand-made tables: what it maps, and that damaged
// or hostile input gives an error that names the problem, never a read past
// the end (the asan tree and the fuzzer check the latter).
#include <gtest/gtest.h>

#include "TableBytes.h"
#include "fonttables/Cmap.h"
#include "fonttables/Gsub.h"
#include "fonttables/Names.h"
#include "fonttables/Sfnt.h"
#include "fonttables/Text.h"

using namespace fonttables;

namespace {

constexpr std::uint32_t kHuge = 0xFFFFFFF0;

// A cmap with one encoding record and the subtable right after it.
TableBytes Cmap(std::uint16_t platform, std::uint16_t encoding, const TableBytes& subtable) {
  TableBytes t;
  t.U16s({0, 1, platform, encoding}).U32(12).Append(subtable);
  return t;
}

TableBytes Format4(std::initializer_list<std::uint32_t> ends, std::initializer_list<std::uint32_t> starts,
                   std::initializer_list<std::uint32_t> deltas, std::initializer_list<std::uint32_t> offsets) {
  TableBytes t;
  t.U16s({4, 0, 0, std::uint32_t(ends.size() * 2), 0, 0, 0}).U16s(ends).U16(0).U16s(starts).U16s(deltas).U16s(offsets);
  return t;
}

TableBytes Format12(std::initializer_list<std::initializer_list<std::uint32_t>> groups, std::uint32_t count = 0) {
  TableBytes t;
  t.U16s({12, 0}).U32(16 + 12 * groups.size()).U32(0).U32(count ? count : std::uint32_t(groups.size()));
  for (auto g : groups)
    for (std::uint32_t v : g) t.U32(v);
  return t;
}

// One selector record whose default table (when `ranges` is set) follows.
TableBytes Format14(std::uint32_t selector, std::uint32_t ranges, std::uint32_t defaultOffset = 21,
                    std::uint32_t specialOffset = 0) {
  TableBytes t;
  t.U16(14).U32(0).U32(1).U24(selector).U32(defaultOffset).U32(specialOffset).U32(ranges);
  for (std::uint32_t i = 0; i < ranges && i < 4; ++i) t.U24(0x4E00 + 0x10 * i).U8(2);  // 3 each
  return t;
}

std::size_t Count(const CharacterMap& map) {
  std::size_t n = 0;
  for (CodeRange r : map.Ranges()) n += r.last - r.first + 1;
  return n;
}

struct HostileCase {
  const char* what;
  TableBytes data;
  const char* error;  // part of the message
};

void ExpectErrors(const std::vector<HostileCase>& cases, auto read) {
  for (const HostileCase& c : cases) {
    auto result = read(c.data.View());
    ASSERT_FALSE(result) << c.what;
    EXPECT_NE(result.Error().find(c.error), std::string::npos) << c.what << ": " << result.Error();
  }
}

}  // namespace

TEST(FontFileTest, HostileContainersAreRefusedWithTheirReason) {
  ExpectErrors(
      {
          {"empty", TableBytes(), "too short"},
          {"text", TableBytes().Text("hello, world"), "not a TrueType"},
          {"collection cut", TableBytes().Text("ttcf").U32(0x10000), "cut short"},
          {"empty collection", TableBytes().Text("ttcf").U32(0x10000).U32(0), "no fonts"},
          {"huge collection", TableBytes().Text("ttcf").U32(0x10000).U32(kHuge).U32(16), "more than 256"},
          {"member list cut", TableBytes().Text("ttcf").U32(0x10000).U32(2).U32(16), "more fonts"},
          {"member past end", TableBytes().Text("ttcf").U32(0x10000).U32(1).U32(kHuge), "past the end"},
      },
      [](Bytes b) { return FaceOffsets(b); });
  auto directory = [](std::uint16_t count, std::uint32_t offset, std::uint32_t length) {
    TableBytes t;
    t.U32(0x10000).U16s({count, 0, 0, 0}).Text("cmap").U32(0).U32(offset).U32(length);
    return t;
  };
  ExpectErrors(
      {
          {"directory cut", TableBytes().U32(0x10000), "cut short"},
          {"huge table count", directory(0xFFFF, 0, 0), "more tables"},
          {"table past end", directory(1, 28, 1), "'cmap' lies past the end"},
          {"length wraps", directory(1, 16, kHuge), "past the end"},
          {"offset wraps", directory(1, kHuge, 0x20), "past the end"},
      },
      [](Bytes b) { return TableDirectory::Read(b, 0); });
}

TEST(FontFileTest, CollectionMembersAndOverlappingTablesAreRead) {
  TableBytes face;  // two tables sharing the same bytes
  face.U32(0x10000).U16s({2, 0, 0, 0}).Text("cmap").U32(0).U32(0).U32(12).Text("name").U32(0).U32(4).U32(8);
  TableBytes file;
  file.Text("ttcf").U32(0x10000).U32(2).U32(20).U32(20).Append(face);
  auto faces = FaceOffsets(file.View());
  ASSERT_TRUE(faces);
  EXPECT_EQ(*faces, (std::vector<std::size_t>{20, 20}));
  auto tables = TableDirectory::Read(file.View(), 20);
  ASSERT_TRUE(tables);
  EXPECT_EQ(tables->Table(MakeTag("name"))->size(), 8u);
  EXPECT_FALSE(tables->Table(MakeTag("GSUB")));
}

TEST(CmapTest, HostileSubtablesAreRefused) {
  ExpectErrors(
      {
          {"header cut", TableBytes().U16(0), "header"},
          {"huge record count", TableBytes().U16s({0, 0xFFFF}), "more subtables"},
          {"subtable past end", TableBytes().U16s({0, 1, 3, 1}).U32(kHuge), "past the end"},
          {"format 4 cut", Cmap(3, 1, TableBytes().U16s({4, 0, 0})), "format 4 header"},
          {"format 4 huge segments", Cmap(3, 1, TableBytes().U16s({4, 0, 0, 0xFFFE, 0, 0, 0})), "segments"},
          {"format 4 glyphs past end", Cmap(3, 1, Format4({0x40}, {0x30}, {0}, {0x200})), "glyph array"},
          {"format 12 cut", Cmap(3, 10, TableBytes().U16s({12, 0}).U32(0)), "format 12 header"},
          {"format 12 huge groups", Cmap(3, 10, Format12({{0x41, 0x42, 1}}, 0x40000000)), "groups reach"},
          {"format 12 reversed group", Cmap(3, 10, Format12({{0x42, 0x41, 1}})), "no valid"},
          {"format 12 beyond Unicode", Cmap(3, 10, Format12({{0x41, 0x110000, 1}})), "no valid"},
          {"format 14 cut", Cmap(0, 5, TableBytes().U16(14).U32(0)), "format 14 header"},
          {"format 14 huge selectors", Cmap(0, 5, TableBytes().U16(14).U32(0).U32(kHuge)), "selectors"},
          {"default table past end", Cmap(0, 5, Format14(0xE0100, 1, kHuge)), "default table"},
          {"default ranges huge", Cmap(0, 5, Format14(0xE0100, kHuge)), "default ranges"},
          {"mapping table past end", Cmap(0, 5, Format14(0xE0100, 0, 0, kHuge)), "mapping table"},
          {"mappings huge", Cmap(0, 5, Format14(0xE0100, kHuge, 0, 21)), "mappings reach"},
          {"selectors out of order",
           Cmap(0, 5, TableBytes().U16(14).U32(0).U32(2).U24(0xE0101).U32(0).U32(0).U24(0xE0101).U32(0).U32(0)),
           "out of order"},
      },
      [](Bytes b) { return ReadCmap(b); });
}

TEST(CmapTest, MappedCharactersLeaveOutGlyphZero) {
  struct Case {
    const char* what;
    TableBytes cmap;
    std::vector<char32_t> mapped, unmapped;
    std::size_t count;
  } cases[] = {
      // 0x41-0x43 by delta; 0xFFFF lands on glyph 0 (the usual last segment).
      {"format 4 delta",
       Cmap(3, 1, Format4({0x43, 0xFFFF}, {0x41, 0xFFFF}, {0xFFC4, 1}, {0, 0})),
       {0x41, 0x43},
       {0x40, 0x44, 0xFFFF},
       3},
      // 0x30-0x32 through the glyph array: 5, 0 (unmapped), 7.
      {"format 4 glyph array", Cmap(3, 1, Format4({0x32}, {0x30}, {0}, {2}).U16s({5, 0, 7})), {0x30, 0x32}, {0x31}, 2},
      // Groups that overlap and touch count each character once.
      // Two segments over the same characters: each character once.
      {"format 4 overlaps",
       Cmap(3, 1, Format4({0x32, 0x32}, {0x30, 0x30}, {0, 0}, {4, 2}).U16s({5, 0, 7})),
       {0x30, 0x32},
       {0x31},
       2},
      {"format 12 overlaps",
       Cmap(3, 10, Format12({{0x4E00, 0x4E0F, 1}, {0x4E08, 0x4E1F, 9}, {0x20000, 0x20001, 40}})),
       {0x4E00, 0x4E1F, 0x20001},
       {0x4E20},
       34},
      {"format 12 glyph zero", Cmap(3, 10, Format12({{0x41, 0x43, 0}})), {0x42, 0x43}, {0x41}, 2},
      {"symbol font maps nothing", Cmap(3, 0, Format4({0xF041}, {0xF041}, {1}, {0})), {}, {0xF041}, 0},
  };
  for (const Case& c : cases) {
    auto map = ReadCmap(c.cmap.View());
    ASSERT_TRUE(map) << c.what << ": " << map.Error();
    for (char32_t m : c.mapped) EXPECT_TRUE(map->Maps(m)) << c.what << " " << unsigned(m);
    for (char32_t u : c.unmapped) EXPECT_FALSE(map->Maps(u)) << c.what << " " << unsigned(u);
    EXPECT_EQ(Count(*map), c.count) << c.what;
  }
}

TEST(CmapTest, OverlappingWholePlaneSegmentsCostOnePass) {
  constexpr std::uint32_t kSegments = 0x7FFF;  // the most a format 4 table holds
  TableBytes table;
  table.U16s({4, 0, 0, kSegments * 2, 0, 0, 0});
  auto repeat = [&](std::uint32_t value) {
    for (std::uint32_t i = 0; i < kSegments; ++i) table.U16(value);
  };
  repeat(0xFFFF);
  table.U16(0);
  repeat(0);
  repeat(0);
  for (std::uint32_t i = 0; i < kSegments; ++i) table.U16((kSegments - i) * 2);  // all share one glyph array
  for (std::uint32_t c = 0; c <= 0xFFFF; ++c) table.U16(1);
  auto map = ReadCmap(Cmap(3, 1, table).View());
  ASSERT_TRUE(map) << map.Error();
  EXPECT_EQ(Count(*map), 0x10000u);
}

TEST(CmapTest, CountsOnlyIdeographicVariationSequences) {
  struct Case {
    std::uint32_t selector, ranges;
    std::size_t ivs;
  } cases[] = {{0xE0100, 2, 6}, {0xE01EF, 1, 3}, {0xFE00, 2, 0}, {0xE01F0, 1, 0}};
  for (const Case& c : cases) {
    auto map = ReadCmap(Cmap(0, 5, Format14(c.selector, c.ranges)).View());
    ASSERT_TRUE(map) << map.Error();
    EXPECT_EQ(map->IdeographicVariations(), c.ivs) << std::hex << c.selector;
  }
  TableBytes mappings;  // default table empty, two special mappings
  mappings.U16(14).U32(0).U32(1).U24(0xE0101).U32(0).U32(21).U32(2).U24(0x8FBB).U16(3).U24(0x845B).U16(4);
  auto map = ReadCmap(Cmap(0, 5, mappings).View());
  ASSERT_TRUE(map);
  EXPECT_EQ(map->IdeographicVariations(), 2u);
}

namespace {

// A name table of (platform, encoding, language, text) family names.
struct NameRecord {
  std::uint16_t platform, encoding, language;
  std::string text;  // UTF-16BE or Shift_JIS bytes as they are stored
  std::uint16_t offsetShift = 0;
};

TableBytes NameTable(const std::vector<NameRecord>& records) {
  TableBytes t, strings;
  t.U16s({0, std::uint32_t(records.size()), std::uint32_t(6 + 12 * records.size())});
  for (const NameRecord& r : records) {
    t.U16s({r.platform, r.encoding, r.language, 1, std::uint32_t(r.text.size()),
            std::uint32_t(strings.Size() + r.offsetShift)});
    strings.Text(r.text);
  }
  return t.Append(strings);
}

std::string Utf16Be(std::u16string_view s) {
  std::string out;
  for (char16_t c : s) out += {char(c >> 8), char(c & 0xFF)};
  return out;
}

}  // namespace

TEST(NameTest, FamilyNamesByPlatformAndLanguage) {
  const std::string gothic = Utf16Be(u"IPAゴシック"), english = Utf16Be(u"IPAGothic");
  const std::string macJapanese = "\x82\xb1\x82\xea\xc3\xbd\xc4";  // これﾃｽﾄ
  struct Case {
    const char* what;
    std::vector<NameRecord> records;
    std::u16string japanese, english;
  } cases[] = {
      {"Windows both", {{3, 1, 0x409, english}, {3, 1, 0x411, gothic}}, u"IPAゴシック", u"IPAGothic"},
      {"Macintosh Japanese stands in", {{1, 1, 11, macJapanese}, {3, 1, 0x409, english}}, u"これﾃｽﾄ", u"IPAGothic"},
      {"Windows Japanese wins over Macintosh", {{1, 1, 11, macJapanese}, {3, 1, 0x411, gothic}}, u"IPAゴシック", u""},
      {"symbol font", {{3, 0, 0x409, english}}, u"", u"IPAGothic"},
      {"other languages ignored", {{3, 1, 0x804, gothic}, {1, 0, 0, "Roman"}}, u"", u""},
      {"text past the end skipped", {{3, 1, 0x411, gothic, 0xFF00}, {3, 1, 0x409, english}}, u"", u"IPAGothic"},
  };
  for (const Case& c : cases) {
    auto names = ReadFamilyNames(NameTable(c.records).View());
    ASSERT_TRUE(names) << c.what;
    EXPECT_EQ(names->japanese, c.japanese) << c.what;
    EXPECT_EQ(names->english, c.english) << c.what;
  }
  ExpectErrors(
      {{"cut", TableBytes().U16s({0, 1}), "header"}, {"huge count", TableBytes().U16s({0, 0xFFFF, 6}), "more records"}},
      [](Bytes b) { return ReadFamilyNames(b); });
}

TEST(GsubTest, VerticalFeaturesAndHostileLists) {
  auto gsub = [](std::uint16_t version, std::uint16_t count, std::initializer_list<const char*> tags,
                 std::uint16_t featureOffset = 0) {
    TableBytes t;
    t.U16s({version, 0, 0, 10, 0}).U16(count);
    for (const char* tag : tags) t.Text(tag).U16(featureOffset ? featureOffset : 2 + 6 * tags.size());
    return t.U16s({0, 0});
  };
  struct Case {
    TableBytes table;
    bool vert, vrt2;
  } cases[] = {{gsub(1, 2, {"liga", "vert"}), true, false},
               {gsub(1, 3, {"vrt2", "vert", "vert"}), true, true},
               {gsub(1, 0, {}), false, false}};
  for (const Case& c : cases) {
    auto tags = ReadFeatureTags(c.table.View());
    ASSERT_TRUE(tags) << tags.Error();
    EXPECT_EQ(FindVerticalForms(*tags).vert, c.vert);
    EXPECT_EQ(FindVerticalForms(*tags).vrt2, c.vrt2);
  }
  ExpectErrors({{"cut", TableBytes().U16s({1, 0, 0}), "header"},
                {"version", gsub(2, 0, {}), "version"},
                {"list past end", TableBytes().U16s({1, 0, 0, 0xFF00, 0}), "feature list"},
                {"huge count", gsub(1, 0xFFFF, {"vert"}), "more features"},
                {"feature past end", gsub(1, 1, {"vert"}, 0xFFF0), "feature lies"}},
               [](Bytes b) { return ReadFeatureTags(b); });
}

TEST(FontTextTest, Cp932AndUtf8) {
  EXPECT_EQ(DecodeCp932("A\xb1\x88\x9f\x5c"), u"Aｱ亜\\");
  EXPECT_EQ(DecodeCp932("\x81"), u"\uFFFD");      // lead byte at the end
  EXPECT_EQ(DecodeCp932("\x85\x40"), u"\uFFFD");  // undefined cell
  EXPECT_EQ(ToUtf8(u"\u4E9C\U00020B9F"), "\xe4\xba\x9c\xf0\xa0\xae\x9f");
  EXPECT_EQ(ToUtf8(std::u16string(1, char16_t(0xD800))), "\xef\xbf\xbd");
}

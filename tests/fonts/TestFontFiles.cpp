#include "TestFontFiles.h"

#include <cstdint>
#include <fstream>
#include <iterator>

namespace {

std::uint32_t Get32(const FontBytes& b, std::size_t at) {
  return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) | (std::uint32_t{b[at + 2]} << 8) | b[at + 3];
}
std::uint16_t Get16(const FontBytes& b, std::size_t at) { return static_cast<std::uint16_t>((b[at] << 8) | b[at + 1]); }
void Put32(FontBytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (24 - 8 * i));
}
void Push16(FontBytes& b, std::uint16_t v) {
  b.push_back(static_cast<unsigned char>(v >> 8));
  b.push_back(static_cast<unsigned char>(v));
}
void Push32(FontBytes& b, std::uint32_t v) {
  Push16(b, static_cast<std::uint16_t>(v >> 16));
  Push16(b, static_cast<std::uint16_t>(v));
}
void Align4(FontBytes& b) {
  while (b.size() % 4) b.push_back(0);
}

constexpr std::size_t kTableRecords = 12;  // after the offset table
constexpr std::size_t kRecordSize = 16;

// A naming table with Windows Unicode English records only.
FontBytes NameTable(const std::string& family) {
  const std::vector<std::pair<std::uint16_t, std::string>> names = {
      {1, family}, {2, "Regular"}, {3, family + " Regular"}, {4, family}, {6, family}};
  FontBytes table;
  Push16(table, 0);
  Push16(table, static_cast<std::uint16_t>(names.size()));
  Push16(table, static_cast<std::uint16_t>(6 + 12 * names.size()));
  FontBytes strings;
  for (const auto& [id, text] : names) {
    Push16(table, 3);      // Windows
    Push16(table, 1);      // Unicode BMP
    Push16(table, 0x409);  // English (United States)
    Push16(table, id);
    Push16(table, static_cast<std::uint16_t>(text.size() * 2));
    Push16(table, static_cast<std::uint16_t>(strings.size()));
    for (char c : text) Push16(strings, static_cast<unsigned char>(c));
  }
  table.insert(table.end(), strings.begin(), strings.end());
  return table;
}

}  // namespace

FontBytes ReadFontFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return FontBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteFontFile(const std::string& path, const FontBytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

FontBytes RenameFamily(const FontBytes& font, const std::string& family) {
  if (font.size() < kTableRecords) return {};
  const std::uint16_t tables = Get16(font, 4);
  if (font.size() < kTableRecords + tables * kRecordSize) return {};
  FontBytes out = font;
  Align4(out);
  for (std::uint16_t t = 0; t < tables; ++t) {
    const std::size_t record = kTableRecords + t * kRecordSize;
    if (Get32(font, record) != 0x6E616D65) continue;  // 'name'
    const FontBytes table = NameTable(family);
    Put32(out, record + 8, static_cast<std::uint32_t>(out.size()));
    Put32(out, record + 12, static_cast<std::uint32_t>(table.size()));
    out.insert(out.end(), table.begin(), table.end());
    Align4(out);
    return out;
  }
  return {};
}

FontBytes MakeCollection(const std::vector<FontBytes>& fonts) {
  FontBytes out;
  Push32(out, 0x74746366);  // 'ttcf'
  Push32(out, 0x00010000);
  Push32(out, static_cast<std::uint32_t>(fonts.size()));
  const std::size_t offsets = out.size();
  for (std::size_t i = 0; i < fonts.size(); ++i) Push32(out, 0);
  for (std::size_t i = 0; i < fonts.size(); ++i) {
    Align4(out);
    const std::uint32_t base = static_cast<std::uint32_t>(out.size());
    Put32(out, offsets + 4 * i, base);
    out.insert(out.end(), fonts[i].begin(), fonts[i].end());
    // Table offsets in a collection count from the start of the file.
    const std::uint16_t tables = Get16(fonts[i], 4);
    for (std::uint16_t t = 0; t < tables; ++t) {
      const std::size_t at = base + kTableRecords + t * kRecordSize + 8;
      Put32(out, at, Get32(out, at) + base);
    }
  }
  return out;
}

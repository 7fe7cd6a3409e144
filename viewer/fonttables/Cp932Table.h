#pragma once
// The code page 932 decoding table, generated at build time.
namespace fonttables::cp932_table {

constexpr unsigned kTrailFirst = 0x40, kTrailCount = 0xFD - 0x40;
// Index of a lead byte's row in kDouble, or -1 when the byte leads nothing.
constexpr int LeadRow(unsigned char b) {
  return b >= 0x81 && b <= 0x9F ? b - 0x81 : (b >= 0xE0 && b <= 0xFC ? b - 0xE0 + 31 : -1);
}

extern const char16_t kSingle[256];
extern const char16_t kDouble[];

}  // namespace fonttables::cp932_table

#include "fonttables/Names.h"

#include "fonttables/Text.h"

namespace fonttables {

namespace {

constexpr std::uint16_t kFamilyName = 1;
constexpr std::uint16_t kWindowsJapanese = 0x0411, kWindowsEnglish = 0x0409;
constexpr std::uint16_t kPlatformMac = 1, kPlatformWindows = 3;
constexpr std::uint16_t kMacJapaneseEncoding = 1, kMacJapaneseLanguage = 11;

std::u16string Utf16BigEndian(const Reader& r, std::size_t at, std::size_t length) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < length; i += 2) text.push_back(char16_t(r.U16(at + i)));
  return text;
}

}  // namespace

Result<FamilyNames> ReadFamilyNames(Bytes name) {
  Reader r(name);
  if (!r.Has(0, 6)) return Result<FamilyNames>::Fail("name: header is cut short");
  std::uint16_t count = r.U16(2);
  std::size_t strings = r.U16(4);
  if (!r.Has(6, std::uint64_t{count} * 12)) return Result<FamilyNames>::Fail("name: more records listed than present");
  FamilyNames names;
  std::u16string macJapanese;
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t rec = 6 + i * 12;
    std::uint16_t platform = r.U16(rec), encoding = r.U16(rec + 2), language = r.U16(rec + 4);
    std::size_t length = r.U16(rec + 8), at = strings + r.U16(rec + 10);
    if (r.U16(rec + 6) != kFamilyName || length == 0 || !r.Has(at, length)) continue;
    // Windows names are UTF-16 in every encoding, symbol fonts' (0) too.
    if (platform == kPlatformWindows && (encoding == 0 || encoding == 1 || encoding == 10)) {
      std::u16string* slot = language == kWindowsJapanese  ? &names.japanese
                             : language == kWindowsEnglish ? &names.english
                                                           : nullptr;
      if (slot && slot->empty()) *slot = Utf16BigEndian(r, at, length);
    } else if (platform == kPlatformMac && encoding == kMacJapaneseEncoding && language == kMacJapaneseLanguage &&
               macJapanese.empty()) {
      Bytes text = r.Sub(at, length);
      macJapanese = DecodeCp932(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
    }
  }
  if (names.japanese.empty()) names.japanese = std::move(macJapanese);
  return names;
}

}  // namespace fonttables

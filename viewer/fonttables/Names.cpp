#include "fonttables/Names.h"

#include "fonttables/Text.h"

namespace fonttables {

namespace {

constexpr std::uint16_t kWindowsJapanese = 0x0411, kWindowsEnglish = 0x0409;
constexpr std::uint16_t kPlatformMac = 1, kPlatformWindows = 3;
constexpr std::uint16_t kMacJapaneseEncoding = 1, kMacJapaneseLanguage = 11;

std::u16string Utf16BigEndian(Bytes data) {
  Reader r(data);
  std::u16string text;
  for (std::size_t i = 0; i + 1 < data.size(); i += 2) text.push_back(char16_t(r.U16(i)));
  return text;
}

// Calls use(platform, encoding, language, text) for every record with the
// name ID whose text lies inside the table. Returns why the header or the
// record list is damaged, or nullptr.
template <class Use>
const char* ForEachName(Bytes name, std::uint16_t nameId, Use use) {
  Reader r(name);
  if (!r.Has(0, 6)) return "name: header is cut short";
  std::uint16_t count = r.U16(2);
  std::size_t strings = r.U16(4);
  if (!r.Has(6, std::uint64_t{count} * 12)) return "name: more records listed than present";
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t rec = 6 + i * 12;
    std::size_t length = r.U16(rec + 8), at = strings + r.U16(rec + 10);
    if (r.U16(rec + 6) != nameId || length == 0 || !r.Has(at, length)) continue;
    use(r.U16(rec), r.U16(rec + 2), r.U16(rec + 4), r.Sub(at, length));
  }
  return nullptr;
}

// Windows names are UTF-16 in every encoding, symbol fonts' (0) too.
bool IsWindowsUnicode(std::uint16_t platform, std::uint16_t encoding) {
  return platform == kPlatformWindows && (encoding == 0 || encoding == 1 || encoding == 10);
}

}  // namespace

Result<WindowsNames> ReadWindowsNames(Bytes name, std::uint16_t nameId) {
  WindowsNames names;
  const char* damaged = ForEachName(
      name, nameId, [&](std::uint16_t platform, std::uint16_t encoding, std::uint16_t language, Bytes text) {
        if (!IsWindowsUnicode(platform, encoding)) return;
        std::u16string* slot = language == kWindowsJapanese  ? &names.japanese
                               : language == kWindowsEnglish ? &names.english
                                                             : &names.other;
        if (slot->empty()) *slot = Utf16BigEndian(text);
      });
  if (damaged) return Result<WindowsNames>::Fail(damaged);
  return names;
}

Result<FamilyNames> ReadFamilyNames(Bytes name) {
  FamilyNames names;
  std::u16string macJapanese;
  const char* damaged = ForEachName(
      name, kNameFamily, [&](std::uint16_t platform, std::uint16_t encoding, std::uint16_t language, Bytes text) {
        if (IsWindowsUnicode(platform, encoding)) {
          std::u16string* slot = language == kWindowsJapanese  ? &names.japanese
                                 : language == kWindowsEnglish ? &names.english
                                                               : nullptr;
          if (slot && slot->empty()) *slot = Utf16BigEndian(text);
        } else if (platform == kPlatformMac && encoding == kMacJapaneseEncoding && language == kMacJapaneseLanguage &&
                   macJapanese.empty()) {
          macJapanese = DecodeCp932(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
        }
      });
  if (damaged) return Result<FamilyNames>::Fail(damaged);
  if (names.japanese.empty()) names.japanese = std::move(macJapanese);
  return names;
}

}  // namespace fonttables

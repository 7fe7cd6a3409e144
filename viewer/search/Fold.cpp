#include "search/Fold.h"

#include "fonttables/Text.h"

namespace search {

namespace {

// Full-width forms of U+FF61..U+FF9F, in code point order.
constexpr std::u16string_view kHalfWidthKana =
    u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリ"
    u"ルレロワン゛゜";
static_assert(kHalfWidthKana.size() == 0xFF9F - 0xFF61 + 1);

// Each kana followed by its voiced (first list) or semi-voiced form.
constexpr std::u16string_view kVoiced =
    u"カガキギクグケゲコゴサザシジスズセゼソゾタダチヂツヅテデトドハバヒビフブヘベホボウヴワヷヰヸヱヹヲヺヽヾ";
constexpr std::u16string_view kSemiVoiced = u"ハパヒピフプヘペホポ";

constexpr char16_t kHalfVoicedMark = 0xFF9E, kHalfSemiVoicedMark = 0xFF9F;
constexpr char16_t kCombiningVoicedMark = 0x3099, kCombiningSemiVoicedMark = 0x309A;

// The composed form of kana with the mark, or 0 when there is none.
char16_t Compose(char16_t kana, char16_t mark) {
  const bool voiced = mark == kHalfVoicedMark || mark == kCombiningVoicedMark;
  const bool semiVoiced = mark == kHalfSemiVoicedMark || mark == kCombiningSemiVoicedMark;
  if (!voiced && !semiVoiced) return 0;
  const std::u16string_view pairs = voiced ? kVoiced : kSemiVoiced;
  for (std::size_t i = 0; i + 1 < pairs.size(); i += 2)
    if (pairs[i] == kana) return pairs[i + 1];
  return 0;
}

char16_t FoldOne(char16_t c) {
  if (c >= 0xFF01 && c <= 0xFF5E) c = char16_t(c - 0xFF01 + 0x21);  // full-width ASCII
  if (c >= u'A' && c <= u'Z') return char16_t(c + 0x20);
  if (c < 0x80) return c;
  if (c == 0x3000) return u' ';
  if (c >= 0xFF61 && c <= 0xFF9F) return kHalfWidthKana[c - 0xFF61];
  if (c >= 0x3041 && c <= 0x3096) return char16_t(c + 0x60);  // hiragana
  if (c == 0x309D || c == 0x309E) return char16_t(c + 0x60);  // ゝゞ
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F))
    return char16_t(c + 0x20);
  if (c >= 0x400 && c <= 0x40F) return char16_t(c + 0x50);
  return c;
}

}  // namespace

std::u16string Fold(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (!out.empty()) {
      if (char16_t composed = Compose(out.back(), c)) {
        out.back() = composed;
        continue;
      }
    }
    out.push_back(FoldOne(c));
  }
  return out;
}

std::u16string FoldCp932(std::string_view text) { return Fold(fonttables::DecodeCp932(text)); }

}  // namespace search

#pragma once
// The form in which face names and search text are compared: two texts that
// a Japanese user reads as the same word fold to the same string.
//  - letters of any case, full-width or half-width, fold to lower-case ASCII
//    (Latin-1, Greek and Cyrillic capitals to their small letters);
//  - full-width digits, punctuation and the ideographic space to ASCII;
//  - half-width katakana to full-width katakana, a following voiced or
//    semi-voiced mark composing with its kana (ｶﾞ is ガ, ﾊﾟ is パ);
//  - hiragana to katakana (ごしっく finds ゴシック).
// Kanji, small kana and the long vowel mark stay as they are.
#include <string>
#include <string_view>

namespace search {

std::u16string Fold(std::u16string_view text);
// Text in code page 932, the face names that GDI enumerates.
std::u16string FoldCp932(std::string_view text);

}  // namespace search

#pragma once
// Conversions for the names read from fonts.
#include <string>
#include <string_view>

namespace fonttables {

// Shift_JIS as code page 932 decodes it; undefined bytes become U+FFFD.
std::u16string DecodeCp932(std::string_view bytes);
// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string ToUtf8(std::u16string_view text);
// One code point to UTF-8.
void AppendUtf8(std::string& out, char32_t c);

}  // namespace fonttables

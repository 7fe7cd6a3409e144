#include "fonttables/Text.h"

#include "fonttables/Cp932Table.h"

namespace fonttables {

namespace {
constexpr char16_t kReplacement = 0xFFFD;
}

std::u16string DecodeCp932(std::string_view bytes) {
  namespace t = cp932_table;
  std::u16string out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    int row = t::LeadRow(b);
    if (row < 0) {
      char16_t c = t::kSingle[b];
      out.push_back(c != 0 || b == 0 ? c : kReplacement);
      continue;
    }
    unsigned char trail = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
    if (trail < t::kTrailFirst || trail >= t::kTrailFirst + t::kTrailCount) {
      out.push_back(kReplacement);  // a lead byte without its trail byte
      continue;
    }
    char16_t c = t::kDouble[row * t::kTrailCount + (trail - t::kTrailFirst)];
    out.push_back(c != 0 ? c : kReplacement);
    ++i;
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | c >> 6);
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | c >> 12);
    out += char(0x80 | (c >> 6 & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | c >> 18);
    out += char(0x80 | (c >> 12 & 0x3F));
    out += char(0x80 | (c >> 6 & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
    }
    AppendUtf8(out, c);
  }
  return out;
}

}  // namespace fonttables

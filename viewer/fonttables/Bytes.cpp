#include "fonttables/Bytes.h"

namespace fonttables {

std::string TagText(Tag tag) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    char c = char(tag >> shift & 0xFF);
    text += (c >= 0x20 && c < 0x7F) ? c : '?';
  }
  return text;
}

}  // namespace fonttables

#pragma once
// The Japanese character sets a face is measured against, generated at build
// time from Debian data (see make_sets.py for each set's definition).
#include <cstddef>
#include <span>
#include <string_view>

namespace coverage {

enum SetIndex : std::size_t { kKana, kNonKanji, kJis1, kJis2, kJoyo, kJinmeiyo, kJis3, kJis4, kSetCount };

struct CharacterSet {
  const char* name;                 // "joyo": the CSV column and the command-line name
  const char* definition;           // one line, English
  std::span<const char32_t> chars;  // sorted ascending
};

// In SetIndex order.
extern const CharacterSet kCharacterSets[kSetCount];

// nullptr when there is no set of that name.
const CharacterSet* FindSet(std::string_view name);

}  // namespace coverage

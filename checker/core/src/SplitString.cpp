#include "checker/SplitString.h"

#include "common/Cp932.h"

namespace checker {

int SplitString(std::string_view text, std::string_view delimiters, std::vector<std::string>& tokens, bool keepEmpty,
                bool ignoreQuotes, bool emitDelimiters) {
  tokens.clear();
  bool quoted = false;
  std::size_t start = 0;
  auto add = [&](std::size_t end) {
    if (end > start || keepEmpty) tokens.emplace_back(text.substr(start, end - start));
  };
  for (std::size_t i = 0; i < text.size();) {
    std::size_t next = cp932::Next(text, i);
    char c = text[i];
    bool single = next == i + 1;
    if (quoted) {
      if (single && c == '"') quoted = false;
    } else if (single && delimiters.find(c) != std::string_view::npos) {
      add(i);
      if (emitDelimiters) tokens.emplace_back(1, c);
      start = next;
    } else if (single && c == '"' && !ignoreQuotes) {
      quoted = true;
    }
    i = next;
  }
  add(text.size());
  return static_cast<int>(tokens.size());
}

std::string StripQuotes(std::string_view token) {
  if (token.empty() || token.front() != '"') return std::string(token);
  std::size_t last = cp932::Prev(token, token.size());
  if (last == 0) return std::string();  // a lone quote
  if (token[last] != '"' || last + 1 != token.size()) return std::string(token);
  return std::string(token.substr(1, last - 1));
}

void StripQuotes(std::vector<std::string>& tokens) {
  for (auto& t : tokens) t = StripQuotes(t);
}

}  // namespace checker

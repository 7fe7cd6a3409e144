#pragma once
// The checker's tokenizer, shared by the command line, the information file
// and the alias file. Text is code page 932: a double-byte character is never
// split and its trail byte never taken for a delimiter or a quote.
#include <string>
#include <string_view>
#include <vector>

namespace checker {

// Splits text at any of the single-byte delimiters. A double quote opens a
// stretch that runs to the next double quote (delimiters inside do not split)
// unless ignoreQuotes; the quotes stay in the token. Empty tokens are dropped
// unless keepEmpty; with emitDelimiters each delimiter becomes a token of its
// own. Replaces the content of tokens; returns the token count.
int SplitString(std::string_view text, std::string_view delimiters, std::vector<std::string>& tokens,
                bool keepEmpty = false, bool ignoreQuotes = false, bool emitDelimiters = false);

// Removes one pair of enclosing double quotes from every token; a token that
// is a lone quote becomes empty.
void StripQuotes(std::vector<std::string>& tokens);
std::string StripQuotes(std::string_view token);

}  // namespace checker

#pragma once
// The update information file: which package applies to which range of
// installed versions. Versions are compared as text, so every version must be
// written with the same number of digits ("02001").
#include <functional>
#include <string>
#include <string_view>

namespace checker {

// <0, 0, >0: character by character, ASCII letters without regard to case, a
// double-byte character as one unit; a prefix is the smaller.
int CompareVersion(std::string_view a, std::string_view b);

// Finds the first update line whose inclusive range holds version and stores
// its package URL. Returns 1 when a line applies, 0 otherwise. Traces every
// line that has four or more fields.
int FindUpdateLine(std::string_view text, std::string_view version, std::string& packageUrl);

// Fetches the information file with fetch (which returns 1 on success and
// fills the text) and looks for an applicable line: 1 update applies,
// 0 no line applies, -1 the fetch failed.
using TextFetch = std::function<int(const std::string& url, std::string& text)>;
int CheckUpdateInfo(const TextFetch& fetch, const std::string& infoUrl, const std::string& version,
                    std::string& packageUrl);

}  // namespace checker

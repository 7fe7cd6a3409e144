#pragma once
// Path helpers for code page 932 paths. Both '\\' and '/' separate folders;
// separators are found character by character so that a trail byte 0x5C
// (as in "表") is never taken for a backslash.
#include <string>
#include <string_view>

namespace paths {

inline constexpr std::string_view kSeparators = "\\/";

// True when path ends with '\\' or '/' (a real separator, not a trail byte).
bool EndsWithSeparator(std::string_view path);

// folder + '\\' + name, without the backslash when folder is empty or already
// ends with a separator.
std::string Join(std::string_view folder, std::string_view name);

// path with a trailing backslash unless it already ends with a separator.
std::string WithSeparator(std::string_view path);

// The part after the last separator, without its extension (from the last
// '.'); the whole part when it has no '.'.
std::string BaseName(std::string_view path);

// The part after the last separator, extension kept.
std::string FileName(std::string_view path);

// The folder of path including its trailing separator ("" when none).
std::string FolderWithSeparator(std::string_view path);

// The folder of path without its trailing separator (the whole path when it
// has no separator).
std::string FolderOf(std::string_view path);

}  // namespace paths

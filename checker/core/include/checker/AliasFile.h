#pragma once
// The alias file lets a tester point a run at another server or pretend to be
// another version without touching the host: Mervik.alias in the current
// folder, its replacements recorded in Mervik.log beside it.
#include <ctime>
#include <string>

namespace checker {

inline constexpr const char* kAliasFileName = "Mervik.alias";
inline constexpr const char* kAliasLogName = "Mervik.log";

// Deletes the old log, then applies the first matching "URL old new" and the
// first matching "VER old new" line (old "*" matches anything). The log is
// written only when the alias file could be opened. folder (empty, or ending
// in a separator) is where both files live; empty means the current folder.
void ApplyAliasFile(std::string& infoUrl, std::string& version, const std::string& folder = "",
                    std::time_t now = std::time(nullptr));

}  // namespace checker

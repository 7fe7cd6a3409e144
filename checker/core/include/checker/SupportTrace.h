#pragma once
// The support trace: every run also writes its trace lines to a file in the
// temporary folder, since the launcher hides the checker's console and its
// standard output is lost. Users send these files to support.
//   %TEMP%\Mervik-YYYYMMDD-HHMMSS-<pid>.log  (local start time, process id)
// Only the newest few runs are kept.
#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace checker {

inline constexpr std::size_t kSupportTracesKept = 5;

std::string SupportTraceName(std::time_t start, unsigned processId);
bool IsSupportTraceName(std::string_view name);

// Of the files in the folder, the support traces to delete before a new run
// adds its own, so that kSupportTracesKept remain: all but the newest
// kSupportTracesKept - 1, oldest first. Other names are left alone.
std::vector<std::string> SupportTracesToRemove(const std::vector<std::string>& names);

// Where the trace lines are copied, besides standard output (Win32).
void StartSupportTrace();

}  // namespace checker

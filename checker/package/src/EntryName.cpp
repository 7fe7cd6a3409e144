#include "package/EntryName.h"

#include <cstring>
#include <string>

#include "common/Cp932.h"
#include "common/Paths.h"
#include "package/PackageFormat.h"

namespace package {
namespace {

// Windows reads "..", "...", ".. " and the like as the parent folder once it
// has dropped trailing dots and spaces.
bool IsDotsOnly(std::string_view part) {
  if (part.size() < 2) return false;
  int dots = 0;
  for (char c : part) {
    if (c == '.')
      ++dots;
    else if (c != ' ')
      return false;
  }
  return dots >= 2;
}

// CON, PRN, AUX, NUL, COM1-9, LPT1-9, also with an extension or trailing
// spaces, in any case.
bool IsDeviceName(std::string_view part) {
  std::size_t dot = part.find('.');
  std::string stem = cp932::ToUpper(part.substr(0, dot));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL" || stem == "CONIN$" || stem == "CONOUT$")
    return true;
  return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) && stem[3] >= '1' &&
         stem[3] <= '9';
}

}  // namespace

NameProblem CheckEntryName(std::string_view name) {
  if (name.empty()) return NameProblem::kEmpty;
  if (name.size() > kMaxEntryName) return NameProblem::kTooLong;
  if (std::memchr(name.data(), 0, name.size()) != nullptr) return NameProblem::kZeroByte;
  if (cp932::FindFirstOf(name, paths::kSeparators) == 0) return NameProblem::kAbsolute;
  if (cp932::FindFirstOf(name, ":") != std::string_view::npos) return NameProblem::kDriveOrStream;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t sep = cp932::FindFirstOf(name, paths::kSeparators, start);
    std::size_t end = sep == std::string_view::npos ? name.size() : sep;
    std::string_view part = name.substr(start, end - start);
    if (IsDotsOnly(part)) return NameProblem::kParent;
    if (!part.empty() && IsDeviceName(part)) return NameProblem::kDevice;
    if (sep == std::string_view::npos) break;
    start = sep + 1;
  }
  return NameProblem::kNone;
}

const char* Describe(NameProblem problem) {
  switch (problem) {
    case NameProblem::kNone: return "acceptable";
    case NameProblem::kEmpty: return "empty entry name";
    case NameProblem::kTooLong: return "entry name longer than 519 bytes";
    case NameProblem::kZeroByte: return "entry name with a zero byte";
    case NameProblem::kAbsolute: return "absolute entry name";
    case NameProblem::kDriveOrStream: return "entry name with a drive letter or ':'";
    case NameProblem::kParent: return "entry name with a '..' component";
    case NameProblem::kDevice: return "entry name that is a device (CON, NUL, COM1...)";
  }
  return "unknown problem";
}

bool IsFolderName(std::string_view name) { return paths::EndsWithSeparator(name); }

}  // namespace package

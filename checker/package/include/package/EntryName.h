#pragma once
// Rules for the names of archive entries. A name is a relative path below the
// unpack folder; anything that could reach outside it, or reach a device
// instead of a file, is refused before a single byte is written.
#include <string_view>

namespace package {

enum class NameProblem {
  kNone,
  kEmpty,
  kTooLong,        // more than kMaxEntryName bytes
  kZeroByte,       // an embedded NUL would cut the name short
  kAbsolute,       // begins with '/' or '\\'
  kDriveOrStream,  // a ':' (drive letter, alternate data stream)
  kParent,         // a ".." component (or dots and spaces only, which Windows reads as such)
  kDevice,         // CON, NUL, COM1 ... as a component
};

// Checks one entry name (code page 932 bytes).
NameProblem CheckEntryName(std::string_view name);

// A short English description of the problem, for traces and tool messages.
const char* Describe(NameProblem problem);

// True when the name denotes a folder (ends with '/' or '\\').
bool IsFolderName(std::string_view name);

}  // namespace package

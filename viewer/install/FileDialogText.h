#pragma once
// The text side of the font file-open dialog: where it opens, and what its
// result buffer holds. Portable.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Size of the buffer that receives the chosen names.
inline constexpr std::size_t kFileDialogBufferSize = 102400;

struct FileDialogStart {
  std::string initialFolder;  // empty: the dialog's own choice
  std::string presetName;     // put into the file name field
};

// A remembered path that is an existing folder opens the dialog there with no
// name; anything else (a file, or nothing) is preset as the file name.
FileDialogStart FileDialogStartFor(const std::string& remembered,
                                   const std::function<bool(const std::string&)>& isFolder);

struct FileDialogChoice {
  std::string reportedPath;        // the folder for several files, the file for one
  std::vector<std::string> files;  // full paths in the dialog's order
};

// Reads the buffer of a multiple-selection dialog: one full path, or the
// folder followed by the names, each ended by a zero, the list by a second
// zero. Reads no further than size bytes, whatever the buffer holds.
FileDialogChoice ParseFileDialogResult(const char* buffer, std::size_t size);

// A filter written with '|' separators as the dialog wants it: zeros.
std::string DialogFilter(std::string_view withBars);

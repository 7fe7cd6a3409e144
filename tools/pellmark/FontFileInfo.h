#pragma once
// What Pellmark reads from its command line and from a font file before it
// installs the font. Portable: no windows.h, so that it is tested natively.
#include <string>
#include <string_view>
#include <vector>

namespace pellmark {

// The font path from a whole command line: everything after the program name.
// The viewer passes the path unquoted, so a path with spaces arrives as
// several words; taking the rest of the line raw keeps repeated spaces too.
// A path that is quoted as a whole is unquoted. Surrounding blanks are dropped.
// The program name ends after the first programFile ("Pellmark.exe", any
// case) that closes a word: the viewer does not quote it either, and its
// folder may hold spaces ("C:\Program Files\..."). Without such a word the
// program name is the first word (or the quoted part).
std::string PathFromCommandLine(std::string_view commandLine, std::string_view programFile = "Pellmark.exe");

// The names of the faces in a TrueType/OpenType file or collection, one per
// font of the file, as UTF-16 code units. For each font the full name is
// taken (family name when there is none), preferring Japanese, then English
// Windows names. Empty when the data is no sfnt font or is damaged.
std::vector<std::u16string> FaceNames(std::string_view fileData);

// The value name under the system font key: the face names joined by " & ",
// or the file title when there are none, followed by " (TrueType)".
std::string FontValueName(const std::vector<std::string>& faceNames, std::string_view fileTitle);

}  // namespace pellmark

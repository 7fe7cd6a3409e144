#pragma once
// What the folder-search dialog checks before it searches, in the order the
// user is told about it. Portable, so that the order is tested natively.
#include <functional>
#include <string>
#include <vector>

struct FindFontInput {
  std::string folder;                                               // edit 1034
  bool ttf = true, ttc = true, fon = true, pfm = true, otf = true;  // 1035-1039
  bool other = false;                                               // 1040
  std::string otherExtension;                                       // edit 1041, without its dot
};

enum class FindFontProblem {
  None,
  NoExtension,   // nothing to search for
  NoFolder,      // the folder field is empty
  TooLong,       // the folder path does not fit the search's path buffer
  NoSuchFolder,  // the folder does not exist
};

// The extensions to search for, in box order; the other extension gets a dot
// put in front of it and is otherwise taken as typed.
std::vector<std::string> SearchExtensions(const FindFontInput& input);

// The first problem of the input; exists tells whether a path exists.
FindFontProblem CheckFindFontInput(const FindFontInput& input, const std::function<bool(const std::string&)>& exists);

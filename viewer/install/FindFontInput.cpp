#include "install/FindFontInput.h"

#include "common/Paths.h"
#include "install/FolderSearch.h"

std::vector<std::string> SearchExtensions(const FindFontInput& in) {
  std::vector<std::string> list;
  if (in.ttf) list.push_back(".ttf");
  if (in.ttc) list.push_back(".ttc");
  if (in.fon) list.push_back(".fon");
  if (in.pfm) list.push_back(".pfm");
  if (in.otf) list.push_back(".otf");
  if (in.other && !in.otherExtension.empty()) list.push_back("." + in.otherExtension);
  return list;
}

FindFontProblem CheckFindFontInput(const FindFontInput& in, const std::function<bool(const std::string&)>& exists) {
  if (SearchExtensions(in).empty()) return FindFontProblem::NoExtension;
  if (in.folder.empty()) return FindFontProblem::NoFolder;
  // The search needs room for the backslash and the "*" of its pattern.
  if (paths::WithSeparator(in.folder).size() + 1 > kMaxSearchPath) return FindFontProblem::TooLong;
  if (!exists(in.folder)) return FindFontProblem::NoSuchFolder;
  return FindFontProblem::None;
}

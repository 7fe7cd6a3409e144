#include "install/LoadedFileList.h"

#include <algorithm>

#include "common/Cp932.h"

namespace {
auto Equal(std::string_view path) {
  return [path](const std::string& p) { return cp932::EqualsNoCase(p, path); };
}
}  // namespace

bool LoadedFileList::Contains(std::string_view path) const {
  return std::any_of(paths_.begin(), paths_.end(), Equal(path));
}

bool LoadedFileList::Add(std::string_view path) {
  if (Contains(path)) return false;
  paths_.emplace_back(path);
  return true;
}

bool LoadedFileList::RemoveFirst(std::string_view path) {
  auto it = std::find_if(paths_.begin(), paths_.end(), Equal(path));
  if (it == paths_.end()) return false;
  paths_.erase(it);
  return true;
}

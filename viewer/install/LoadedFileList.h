#pragma once
// The font files this viewer instance has loaded, in loading order. A path is
// held once; paths are compared case-insensitively as code page 932 text,
// because that is how Windows compares file names.
#include <string>
#include <string_view>
#include <vector>

class LoadedFileList {
 public:
  bool Contains(std::string_view path) const;
  // Appends path unless it is already there; true when appended.
  bool Add(std::string_view path);
  // Removes the first entry equal to path; true when there was one.
  bool RemoveFirst(std::string_view path);
  void Clear() { paths_.clear(); }

  bool empty() const { return paths_.empty(); }
  std::size_t size() const { return paths_.size(); }
  const std::vector<std::string>& Paths() const { return paths_; }

 private:
  std::vector<std::string> paths_;
};

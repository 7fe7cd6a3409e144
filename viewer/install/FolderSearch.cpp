#include "install/FolderSearch.h"

#include "common/Cp932.h"
#include "common/Paths.h"

bool HasExtension(std::string_view fileName, std::string_view extension) {
  return fileName.size() >= extension.size() && cp932::EndsWithNoCase(fileName, extension);
}

int SearchFolder(DirectoryLister& lister, std::string_view folder, const std::vector<std::string>& extensions,
                 SearchResult& result) {
  std::string base = paths::WithSeparator(folder);
  // The listing pattern is the folder followed by "*": it must fit as well.
  if (base.size() + 1 > kMaxSearchPath) {
    result.tooLong.push_back(base);
    return 0;
  }
  int count = 0;
  lister.List(base, [&](const DirectoryLister::Entry& e) {
    if (e.isFolder) {
      if (e.name == "." || e.name == ".." || e.isLink) return;
      std::string sub = base + e.name;
      if (sub.size() + 2 > kMaxSearchPath) {  // its own backslash and "*"
        result.tooLong.push_back(sub);
        return;
      }
      count += SearchFolder(lister, sub, extensions, result);
      return;
    }
    for (const std::string& ext : extensions) {
      if (!HasExtension(e.name, ext)) continue;
      std::string path = base + e.name;
      if (path.size() > kMaxSearchPath) {
        result.tooLong.push_back(path);
      } else {
        result.found.push_back(path);
        ++result.count;
        ++count;
      }
      break;
    }
  });
  return count;
}

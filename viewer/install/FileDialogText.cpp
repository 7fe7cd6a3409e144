#include "install/FileDialogText.h"

#include "common/Cp932.h"
#include "common/Paths.h"

FileDialogStart FileDialogStartFor(const std::string& remembered,
                                   const std::function<bool(const std::string&)>& isFolder) {
  if (!remembered.empty() && isFolder(remembered)) return {remembered, ""};
  return {"", remembered};
}

FileDialogChoice ParseFileDialogResult(const char* buffer, std::size_t size) {
  std::vector<std::string> parts;
  std::size_t i = 0;
  while (i < size && buffer[i] != '\0') {
    std::size_t start = i;
    while (i < size && buffer[i] != '\0') ++i;
    parts.emplace_back(buffer + start, i - start);
    ++i;  // past the zero that ends this part
  }
  FileDialogChoice choice;
  if (parts.empty()) return choice;
  choice.reportedPath = parts[0];
  if (parts.size() == 1) {
    choice.files.push_back(parts[0]);
    return choice;
  }
  for (std::size_t p = 1; p < parts.size(); ++p) choice.files.push_back(paths::Join(parts[0], parts[p]));
  return choice;
}

std::string DialogFilter(std::string_view withBars) {
  std::string filter(withBars);
  // Character by character: 0x7C is also a trail byte.
  for (std::size_t i = 0; i < filter.size(); i = cp932::Next(filter, i))
    if (filter[i] == '|') filter[i] = '\0';
  return filter;
}

#include "common/Paths.h"

#include "common/Cp932.h"

namespace paths {

bool EndsWithSeparator(std::string_view path) {
  if (path.empty()) return false;
  std::size_t last = cp932::Prev(path, path.size());
  return !cp932::IsDoubleByteAt(path, last) && kSeparators.find(path[last]) != std::string_view::npos;
}

std::string Join(std::string_view folder, std::string_view name) {
  std::string out(folder);
  if (!folder.empty() && !EndsWithSeparator(folder)) out += '\\';
  out += name;
  return out;
}

std::string WithSeparator(std::string_view path) {
  std::string out(path);
  if (!EndsWithSeparator(path)) out += '\\';
  return out;
}

std::string FileName(std::string_view path) {
  std::size_t sep = cp932::FindLastOf(path, kSeparators);
  return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}

std::string BaseName(std::string_view path) {
  std::string name = FileName(path);
  std::size_t dot = cp932::FindLastOf(name, ".");
  if (dot != std::string::npos) name.resize(dot);
  return name;
}

std::string FolderWithSeparator(std::string_view path) {
  std::size_t sep = cp932::FindLastOf(path, kSeparators);
  return sep == std::string_view::npos ? std::string() : std::string(path.substr(0, sep + 1));
}

std::string FolderOf(std::string_view path) {
  std::size_t sep = cp932::FindLastOf(path, kSeparators);
  return std::string(sep == std::string_view::npos ? path : path.substr(0, sep));
}

}  // namespace paths

#pragma once
// A scripted font system: the faces it reports and the files it can load.
#include <map>
#include <string>
#include <vector>

#include "common/Cp932.h"
#include "fonts/FontSystem.h"

class FakeFontSystem : public FontSystem {
 public:
  std::vector<FontEntry> entries;
  // Faces that a file brings when it is loaded (keyed by path as given).
  std::map<std::string, std::vector<FontEntry>> files;
  std::vector<std::string> unloaded;
  int enumerations = 0;

  void Add(std::string face, unsigned char charset, int weight = 400, unsigned char italic = 0,
           std::string style = "Regular") {
    entries.push_back({std::move(face), charset, weight, italic, std::move(style)});
  }

  void EnumerateFaces(const std::function<void(const FontEntry&)>& sink) override {
    ++enumerations;
    for (const FontEntry& e : entries) sink(e);
  }

  int LoadFontFile(const std::string& path) override {
    auto file = files.find(path);
    if (file == files.end()) return 0;
    for (const FontEntry& e : file->second) entries.push_back(e);
    return static_cast<int>(file->second.size());
  }

  int UnloadFontFile(const std::string& path) override {
    unloaded.push_back(path);
    for (const auto& file : files)
      if (cp932::EqualsNoCase(file.first, path)) return 1;  // paths are not case-sensitive
    return 0;
  }
};

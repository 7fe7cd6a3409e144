#pragma once
// The in-memory profile store, recording the order of reads and writes.
#include <string>
#include <vector>

#include "framework/MemoryProfile.h"

class MemoryProfile : public fw::MemoryProfile {
 public:
  std::vector<std::string> writes;  // "section/entry" in write order
  mutable std::vector<std::string> reads;

  int GetInt(std::string_view section, std::string_view entry, int defaultValue) const override {
    reads.push_back(Name(section, entry));
    return fw::MemoryProfile::GetInt(section, entry, defaultValue);
  }
  std::string GetString(std::string_view section, std::string_view entry,
                        std::string_view defaultValue) const override {
    reads.push_back(Name(section, entry));
    return fw::MemoryProfile::GetString(section, entry, defaultValue);
  }
  void WriteInt(std::string_view section, std::string_view entry, int value) override {
    writes.push_back(Name(section, entry));
    fw::MemoryProfile::WriteInt(section, entry, value);
  }
  void WriteString(std::string_view section, std::string_view entry, std::string_view value) override {
    writes.push_back(Name(section, entry));
    fw::MemoryProfile::WriteString(section, entry, value);
  }

  static std::string Name(std::string_view section, std::string_view entry) {
    return std::string(section) + "/" + std::string(entry);
  }
};

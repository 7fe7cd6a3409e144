#pragma once
// An in-memory profile store that also records the order of writes.
#include <map>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "framework/ProfileStore.h"

class MemoryProfile : public fw::ProfileStore {
 public:
  using Key = std::pair<std::string, std::string>;
  std::map<Key, std::variant<int, std::string>> values;
  std::vector<std::string> writes;  // "section/entry" in write order
  mutable std::vector<std::string> reads;

  int GetInt(std::string_view section, std::string_view entry, int defaultValue) const override {
    reads.push_back(Name(section, entry));
    auto it = values.find(Key(section, entry));
    if (it == values.end() || !std::holds_alternative<int>(it->second)) return defaultValue;
    return std::get<int>(it->second);
  }
  std::string GetString(std::string_view section, std::string_view entry,
                        std::string_view defaultValue) const override {
    reads.push_back(Name(section, entry));
    auto it = values.find(Key(section, entry));
    if (it == values.end() || !std::holds_alternative<std::string>(it->second)) return std::string(defaultValue);
    return std::get<std::string>(it->second);
  }
  void WriteInt(std::string_view section, std::string_view entry, int value) override {
    writes.push_back(Name(section, entry));
    values[Key(section, entry)] = value;
  }
  void WriteString(std::string_view section, std::string_view entry, std::string_view value) override {
    writes.push_back(Name(section, entry));
    values[Key(section, entry)] = std::string(value);
  }

  static std::string Name(std::string_view section, std::string_view entry) {
    return std::string(section) + "/" + std::string(entry);
  }
};

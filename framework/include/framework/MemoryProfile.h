#pragma once
// A profile store in memory: the application's until it is given the
// registry, and the tests'. Like the registry, a value has one type; an
// entry read as the other type yields the default.
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "framework/ProfileStore.h"

namespace fw {

class MemoryProfile : public ProfileStore {
 public:
  using Key = std::pair<std::string, std::string>;  // section, entry

  int GetInt(std::string_view section, std::string_view entry, int defaultValue) const override {
    auto it = values.find(Key(section, entry));
    return it != values.end() && std::holds_alternative<int>(it->second) ? std::get<int>(it->second) : defaultValue;
  }
  std::string GetString(std::string_view section, std::string_view entry,
                        std::string_view defaultValue) const override {
    auto it = values.find(Key(section, entry));
    if (it == values.end() || !std::holds_alternative<std::string>(it->second)) return std::string(defaultValue);
    return std::get<std::string>(it->second);
  }
  void WriteInt(std::string_view section, std::string_view entry, int value) override {
    values[Key(section, entry)] = value;
  }
  void WriteString(std::string_view section, std::string_view entry, std::string_view value) override {
    values[Key(section, entry)] = std::string(value);
  }

  std::map<Key, std::variant<int, std::string>> values;
};

}  // namespace fw

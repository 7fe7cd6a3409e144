#pragma once
// Profile functions: named integer and string values grouped in sections.
// Programs keep their settings through this interface; the application
// object provides the registry-backed store, tests an in-memory one.
// Portable: no windows.h.
#include <string>
#include <string_view>

namespace fw {

class ProfileStore {
 public:
  virtual ~ProfileStore() = default;

  // A missing value or section, or a failed read, yields the default.
  virtual int GetInt(std::string_view section, std::string_view entry, int defaultValue) const = 0;
  virtual std::string GetString(std::string_view section, std::string_view entry,
                                std::string_view defaultValue) const = 0;

  // Writing creates the section when needed; a failed write is ignored.
  virtual void WriteInt(std::string_view section, std::string_view entry, int value) = 0;
  virtual void WriteString(std::string_view section, std::string_view entry, std::string_view value) = 0;
};

}  // namespace fw

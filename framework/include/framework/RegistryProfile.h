#pragma once
// The registry-backed profile store: HKEY_CURRENT_USER, key
// Software\<company>\<application>\<section>. Integers are REG_DWORD read back as signed 32-bit
// values, strings REG_SZ in the ANSI code page (932).
#include <string>

#include "framework/ProfileStore.h"

namespace fw {

class RegistryProfile final : public ProfileStore {
 public:
  RegistryProfile(std::string company, std::string application);

  int GetInt(std::string_view section, std::string_view entry, int defaultValue) const override;
  std::string GetString(std::string_view section, std::string_view entry, std::string_view defaultValue) const override;
  void WriteInt(std::string_view section, std::string_view entry, int value) override;
  void WriteString(std::string_view section, std::string_view entry, std::string_view value) override;

  // "Software\<company>\<application>"
  const std::string& RootPath() const { return root_; }

 private:
  std::string SectionPath(std::string_view section) const;
  std::string root_;
};

}  // namespace fw

#include "framework/RegistryProfile.h"

#include <windows.h>

#include <vector>

#include "win/Handles.h"

namespace fw {

RegistryProfile::RegistryProfile(std::string company, std::string application)
    : root_("Software\\" + company + "\\" + application) {}

std::string RegistryProfile::SectionPath(std::string_view section) const { return root_ + "\\" + std::string(section); }

int RegistryProfile::GetInt(std::string_view section, std::string_view entry, int defaultValue) const {
  win::RegKey key;
  if (!key.Open(HKEY_CURRENT_USER, SectionPath(section))) return defaultValue;
  DWORD type = 0, value = 0, size = sizeof value;
  if (RegQueryValueExA(key.Get(), std::string(entry).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof value)
    return defaultValue;
  return static_cast<int>(value);
}

std::string RegistryProfile::GetString(std::string_view section, std::string_view entry,
                                       std::string_view defaultValue) const {
  win::RegKey key;
  if (!key.Open(HKEY_CURRENT_USER, SectionPath(section))) return std::string(defaultValue);
  std::string name(entry);
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return std::string(defaultValue);
  std::vector<char> data(size + 1, '\0');
  if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
      ERROR_SUCCESS)
    return std::string(defaultValue);
  return std::string(data.data());  // stops at the terminating zero
}

void RegistryProfile::WriteInt(std::string_view section, std::string_view entry, int value) {
  win::RegKey key;
  if (!key.Create(HKEY_CURRENT_USER, SectionPath(section))) return;
  DWORD data = static_cast<DWORD>(value);
  RegSetValueExA(key.Get(), std::string(entry).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                 sizeof data);
}

void RegistryProfile::WriteString(std::string_view section, std::string_view entry, std::string_view value) {
  win::RegKey key;
  if (!key.Create(HKEY_CURRENT_USER, SectionPath(section))) return;
  std::string data(value);
  RegSetValueExA(key.Get(), std::string(entry).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>(data.size() + 1));
}

}  // namespace fw

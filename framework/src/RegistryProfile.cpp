#include "framework/RegistryProfile.h"

#include <windows.h>

#include <vector>

namespace fw {
namespace {

// Closes the key on every path out.
class RegKey {
 public:
  RegKey() = default;
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  ~RegKey() {
    if (key_) RegCloseKey(key_);
  }
  HKEY* Out() { return &key_; }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

bool OpenForRead(const std::string& path, RegKey& key) {
  return RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.Out()) == ERROR_SUCCESS;
}

bool OpenForWrite(const std::string& path, RegKey& key) {
  return RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                         key.Out(), nullptr) == ERROR_SUCCESS;
}

}  // namespace

RegistryProfile::RegistryProfile(std::string company, std::string application)
    : root_("Software\\" + company + "\\" + application) {}

std::string RegistryProfile::SectionPath(std::string_view section) const { return root_ + "\\" + std::string(section); }

int RegistryProfile::GetInt(std::string_view section, std::string_view entry, int defaultValue) const {
  RegKey key;
  if (!OpenForRead(SectionPath(section), key)) return defaultValue;
  DWORD type = 0, value = 0, size = sizeof value;
  if (RegQueryValueExA(key.Get(), std::string(entry).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof value)
    return defaultValue;
  return static_cast<int>(value);
}

std::string RegistryProfile::GetString(std::string_view section, std::string_view entry,
                                       std::string_view defaultValue) const {
  RegKey key;
  if (!OpenForRead(SectionPath(section), key)) return std::string(defaultValue);
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
  RegKey key;
  if (!OpenForWrite(SectionPath(section), key)) return;
  DWORD data = static_cast<DWORD>(value);
  RegSetValueExA(key.Get(), std::string(entry).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                 sizeof data);
}

void RegistryProfile::WriteString(std::string_view section, std::string_view entry, std::string_view value) {
  RegKey key;
  if (!OpenForWrite(SectionPath(section), key)) return;
  std::string data(value);
  RegSetValueExA(key.Get(), std::string(entry).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>(data.size() + 1));
}

}  // namespace fw

#include "install/InstallSystem.h"

#include <vector>

#include "common/Cp932.h"
#include "common/Paths.h"
#include "win/Handles.h"

bool Win32DirectoryLister::List(const std::string& folder, const std::function<void(const Entry&)>& sink) {
  WIN32_FIND_DATAA data{};
  const win::FindHandle find(FindFirstFileA((folder + "*").c_str(), &data));
  if (!find) return false;
  do {
    sink({data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
          (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
  } while (FindNextFileA(find.Get(), &data));
  return true;
}

std::optional<std::vector<FontKeyReader::Value>> Win32FontKeyReader::Values(const std::string& keyPath) {
  win::RegKey key;
  if (!key.Open(HKEY_LOCAL_MACHINE, keyPath)) return std::nullopt;
  std::vector<Value> values;
  for (DWORD index = 0;; ++index) {
    char name[260] = {};
    BYTE data[256] = {};
    DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
    LONG rc = RegEnumValueA(key.Get(), index, name, &nameSize, nullptr, &type, data, &dataSize);
    if (rc == ERROR_MORE_DATA) {
      values.push_back({"", false, true, ""});
      continue;
    }
    if (rc != ERROR_SUCCESS) break;
    Value v{std::string(name, nameSize), type == REG_SZ, false, ""};
    if (v.isString) {
      std::string text(reinterpret_cast<char*>(data), dataSize);
      while (!text.empty() && text.back() == '\0') text.pop_back();
      v.data = text.substr(0, text.find('\0'));
    }
    values.push_back(std::move(v));
  }
  return values;
}

bool IsFolder(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string WindowsFontFolder() {
  char windows[MAX_PATH] = {};
  UINT n = GetWindowsDirectoryA(windows, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  std::string folder = paths::Join(windows, "Fonts");
  return IsFolder(folder) ? folder : std::string();
}

SystemVersion ReadSystemVersion() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(&info)) return {};
  return {true, info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  return cp932::ToUpper(paths::FolderOf(path));
}

bool RunAndExpectOne(const std::string& commandLine) {
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA start{};
  start.cb = sizeof start;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr,
                      &start, &process))
    return false;
  const win::ProcessHandles started(process);
  WaitForSingleObject(started.process.Get(), INFINITE);
  DWORD code = 0;
  return GetExitCodeProcess(started.process.Get(), &code) && code == 1;
}

// Pellmark: installs one font file for good. The viewer starts it with the
// font's path (unquoted) and takes exit code 1 as success. The file is copied
// into the Windows font folder, registered under the system's font key, loaded
// and announced with WM_FONTCHANGE; a failing step undoes the earlier ones and
// ends with its own code and the reason on standard error.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FontFileInfo.h"
#include "common/Cp932.h"
#include "common/Paths.h"
#include "win/Handles.h"

namespace {

enum ExitCode {
  kInstalled = 1,
  kNoPath = 2,
  kNoFile = 3,
  kNoFontFolder = 4,
  kNotAFont = 5,
  kCopyFailed = 6,
  kRegistryFailed = 7,
  kBroadcastFailed = 8,
};

constexpr const char* kFontKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

int Fail(int code, const std::string& reason) {
  std::fprintf(stderr, "Pellmark: %s\n", reason.c_str());
  return code;
}

bool IsFile(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReadAll(const std::string& path, std::string& data) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

std::string FontFolder() {
  char windows[MAX_PATH] = {};
  UINT n = GetWindowsDirectoryA(windows, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  std::string folder = paths::Join(windows, "Fonts");
  DWORD a = GetFileAttributesA(folder.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) ? folder : std::string();
}

std::string ToCodePage(const std::u16string& text) {
  const auto* wide = reinterpret_cast<const wchar_t*>(text.c_str());
  int size = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size : 0, '\0');
  if (size > 0) WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

// The value name under the font key; face names from the file itself so that
// the viewer's lookup by face name finds it.
std::string ValueNameFor(const std::string& path, const std::string& data) {
  std::vector<std::string> faces;
  for (const std::u16string& face : pellmark::FaceNames(data)) faces.push_back(ToCodePage(face));
  return pellmark::FontValueName(faces, paths::BaseName(path));
}

bool WriteFontValue(const std::string& name, const std::string& file) {
  win::RegKey key;
  if (!key.Create(HKEY_LOCAL_MACHINE, kFontKey, KEY_SET_VALUE)) return false;
  return RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(file.c_str()),
                        static_cast<DWORD>(file.size() + 1)) == ERROR_SUCCESS;
}

void DeleteFontValue(const std::string& name) {
  win::RegKey key;
  if (key.Open(HKEY_LOCAL_MACHINE, kFontKey, KEY_SET_VALUE)) RegDeleteValueA(key.Get(), name.c_str());
}

int Install(const std::string& source) {
  if (source.empty()) return Fail(kNoPath, "usage: Pellmark <font file>");
  if (!IsFile(source)) return Fail(kNoFile, "no such file: " + source);
  std::string data;
  if (!ReadAll(source, data)) return Fail(kNoFile, "cannot read " + source);
  std::string folder = FontFolder();
  if (folder.empty()) return Fail(kNoFontFolder, "the Windows font folder was not found");

  std::string fileName = paths::FileName(source);
  std::string target = paths::Join(folder, fileName);
  bool copied = false;
  if (!cp932::EqualsNoCase(target, source)) {
    if (IsFile(target)) {
      // Never overwrite another font that happens to share the file name.
      std::string existing;
      if (!ReadAll(target, existing) || existing != data)
        return Fail(kCopyFailed, "a different file is already installed as " + target);
    } else {
      if (!CopyFileA(source.c_str(), target.c_str(), TRUE))
        return Fail(kCopyFailed, "cannot copy to " + target + " (error " + std::to_string(GetLastError()) + ")");
      copied = true;
    }
  }
  auto undoCopy = [&] {
    if (copied) DeleteFileA(target.c_str());
  };

  if (AddFontResourceA(target.c_str()) == 0) {
    undoCopy();
    return Fail(kNotAFont, "not a font file: " + source);
  }
  std::string valueName = ValueNameFor(source, data);
  if (!WriteFontValue(valueName, fileName)) {
    RemoveFontResourceA(target.c_str());
    undoCopy();
    return Fail(kRegistryFailed, "cannot register \"" + valueName + "\" (administrator rights needed?)");
  }
  // Posted, not sent: the viewer that started us waits for our exit without
  // handling messages, and a sent broadcast would wait for it.
  if (!PostMessageA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0)) {
    DeleteFontValue(valueName);
    RemoveFontResourceA(target.c_str());
    undoCopy();
    return Fail(kBroadcastFailed, "cannot announce the font change");
  }
  std::printf("Pellmark: installed %s as \"%s\"\n", target.c_str(), valueName.c_str());
  return kInstalled;
}

}  // namespace

int main() { return Install(pellmark::PathFromCommandLine(GetCommandLineA())); }

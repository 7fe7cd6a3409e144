// The support trace file in the temporary folder (see checker/SupportTrace.h).
#include <windows.h>

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "checker/SupportTrace.h"
#include "checker/Trace.h"

namespace checker {

void StartSupportTrace() {
  char temp[MAX_PATH] = {};
  DWORD length = GetTempPathA(sizeof temp, temp);
  if (length == 0 || length >= sizeof temp) return;
  const std::string folder = temp;

  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "Mervik-*.log").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  for (const auto& old : SupportTracesToRemove(names)) DeleteFileA((folder + old).c_str());

  // Text mode: lines end with CR LF, as Notepad expects. Left open until the
  // process ends; each line is flushed, so a crash loses nothing.
  std::FILE* file = std::fopen((folder + SupportTraceName(std::time(nullptr), GetCurrentProcessId())).c_str(), "w");
  if (!file) return;
  SetTraceCopy([file](std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), file);
    std::fflush(file);
  });
}

}  // namespace checker

#include "checker/Installer.h"

#include <cstdio>

#include "checker/RunPlatform.h"
#include "common/Paths.h"

namespace checker {
namespace {

struct Candidate {
  const char* name;
  bool wait;
};

// First existing file wins; no other is tried.
constexpr Candidate kCandidates[] = {
    {"Mervnext.exe", false}, {"setupeasy.bat", true}, {"setupeasy.exe", true},
    {"setup.bat", false},    {"setup.exe", false},
};

}  // namespace

int LaunchInstaller(RunPlatform& platform, const std::string& unpackFolder, const std::string& hostFolder,
                    const std::string& hostProgram) {
  char pid[16];
  std::snprintf(pid, sizeof pid, "%u", platform.CurrentProcessId());
  std::string arguments =
      std::string(" ") + pid + " \"" + unpackFolder + "\" \"" + hostFolder + "\" \"" + hostProgram + "\"";
  for (const auto& c : kCandidates) {
    std::string path = paths::Join(unpackFolder, c.name);
    if (!platform.IsFile(path)) continue;
    if (!platform.ExecProgram("\"" + path + "\"" + arguments, true, c.wait)) return kInstallerFailed;
    return c.wait ? kInstallerFinished : kInstallerRunning;
  }
  return kInstallerFailed;
}

}  // namespace checker

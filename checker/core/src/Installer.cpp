#include "checker/Installer.h"

#include <cstdio>

#include "checker/RunPlatform.h"
#include "common/Paths.h"

namespace checker {
int LaunchInstaller(RunPlatform& platform, const std::string& unpackFolder, const std::string& hostFolder,
                    const std::string& hostProgram) {
  char pid[16];
  std::snprintf(pid, sizeof pid, "%u", platform.CurrentProcessId());
  std::string arguments =
      std::string(" ") + pid + " \"" + unpackFolder + "\" \"" + hostFolder + "\" \"" + hostProgram + "\"";
  for (const auto& c : kInstallerCandidates) {
    std::string path = paths::Join(unpackFolder, c.name);
    if (!platform.IsFile(path)) continue;
    if (!platform.ExecProgram("\"" + path + "\"" + arguments, true, c.waited)) return kInstallerFailed;
    return c.waited ? kInstallerFinished : kInstallerRunning;
  }
  return kInstallerFailed;
}

}  // namespace checker

#pragma once
// The installer that a package brings: its file name decides whether the
// checker waits for it.
#include <string>

namespace checker {

class RunPlatform;

struct InstallerCandidate {
  const char* name;
  bool waited;  // the checker waits for it and then restarts the host
};

// The installers a package may bring, in the checker's order of preference:
// the first one present is started, no other.
inline constexpr InstallerCandidate kInstallerCandidates[] = {
    {"Mervnext.exe", false}, {"setupeasy.bat", true}, {"setupeasy.exe", true},
    {"setup.bat", false},    {"setup.exe", false},
};

// Outcomes of LaunchInstaller.
inline constexpr int kInstallerFinished = 1;  // waited for; restart the host
inline constexpr int kInstallerRunning = 2;   // runs on its own
inline constexpr int kInstallerFailed = -1;   // none found, or it did not start

// Starts the first candidate found in unpackFolder with
//   "<folder><name>" <checker pid> "<unpack folder>" "<host folder>" "<host program>"
int LaunchInstaller(RunPlatform& platform, const std::string& unpackFolder, const std::string& hostFolder,
                    const std::string& hostProgram);

}  // namespace checker

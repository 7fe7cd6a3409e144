#pragma once
// The run object's platform on Windows: thread messages, threads, processes,
// files and the WinINet transfer.
#include <windows.h>

#include <string>

#include "checker/RunPlatform.h"

namespace checker {

// Posts a thread message, retrying after Sleep(0) while the queue refuses it.
// False only when the thread no longer exists.
bool PostThreadMessageRetrying(DWORD thread, UINT message, WPARAM wParam, LPARAM lParam);

// Starts a command line (copied into a writable buffer); with wait, the
// process starts suspended, is resumed and waited for without time limit.
bool ExecProgram(const std::string& commandLine, bool hide, bool wait);

// remove-folder: every file, then every sub-folder, then the folder itself.
bool RemoveFolderTree(const std::string& folder);
bool IsFilePath(const std::string& path);
int UnpackPackage(const std::string& packageFile, const std::string& unpackFolder);

class Win32Platform : public RunPlatform {
 public:
  Win32Platform(DWORD mainThread, HANDLE hostSubstitute) : mainThread_(mainThread), substitute_(hostSubstitute) {}

  int PostToRelay(unsigned relayThread, int code, unsigned arg) override;
  void PostToMainThread(int code, unsigned arg) override;
  void PostQuit() override;
  void SignalHostSubstitute() override;
  void StartWorker(std::function<void()> body) override;
  int Download(CAutoUpdate& run, const std::string& url, std::string* text, const std::string* file) override;
  int Unpack(const std::string& packageFile, const std::string& unpackFolder) override;
  std::string PackageRefusal(const std::string& packageFile, const std::string& callerVersion) override;
  void RemoveFileQuietly(const std::string& path) override;
  void RemoveFolderQuietly(const std::string& folder) override;
  bool IsFile(const std::string& path) override;
  bool ExecProgram(const std::string& commandLine, bool hide, bool wait) override;
  unsigned CurrentProcessId() override;

 private:
  DWORD mainThread_;
  HANDLE substitute_;  // null when a real host process is watched
};

}  // namespace checker

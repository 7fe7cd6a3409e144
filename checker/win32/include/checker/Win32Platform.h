#pragma once
// The run object's platform on Windows: thread messages, threads, processes,
// files and the WinINet transfer.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "checker/HttpTransfer.h"
#include "checker/RunPlatform.h"
#include "win/Handles.h"

namespace checker {

// Posts a thread message, retrying while the queue refuses it (at most
// threadpost::kPatienceMs). False when the thread no longer exists.
bool PostThreadMessageRetrying(DWORD thread, UINT message, WPARAM wParam, LPARAM lParam);

// Starts a command line (copied into a writable buffer); with wait, the
// process starts suspended, is resumed and waited for without time limit.
bool ExecProgram(const std::string& commandLine, bool hide, bool wait);

// remove-folder: every file, then every sub-folder, then the folder itself.
bool RemoveFolderTree(const std::string& folder);
bool IsFilePath(const std::string& path);
// With abort set, the unpacking stops between chunks and entries (and fails).
int UnpackPackage(const std::string& packageFile, const std::string& unpackFolder,
                  const std::atomic<bool>* abort = nullptr);

class Win32Platform : public RunPlatform {
 public:
  Win32Platform(DWORD mainThread, HANDLE hostSubstitute) : mainThread_(mainThread), substitute_(hostSubstitute) {}
  ~Win32Platform() override;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  int PostToRelay(unsigned relayThread, int code, unsigned arg) override;
  void PostToMainThread(int code, unsigned arg) override;
  void PostQuit() override;
  void SignalHostSubstitute() override;
  void StartWorker(std::function<void()> body) override;
  int Download(CAutoUpdate& run, const std::string& url, std::string* text, const std::string* file) override;
  int Unpack(const std::string& packageFile, const std::string& unpackFolder) override;
  int UnpackDownload(const std::string& packageFile, const std::string& unpackFolder, const std::string& callerVersion,
                     std::string* refusal) override;
  void RemoveFileQuietly(const std::string& path) override;
  void RemoveFolderQuietly(const std::string& folder) override;
  bool IsFile(const std::string& path) override;
  bool ExecProgram(const std::string& commandLine, bool hide, bool wait) override;
  unsigned CurrentProcessId() override;
  void AbortWork() override;

  // Waits until every worker has ended (and so has cleaned up after itself),
  // at most timeoutMs; true when they all have.
  bool WaitForWorkers(DWORD timeoutMs);

 private:
  DWORD mainThread_;
  HANDLE substitute_;  // null when a real host process is watched
  std::atomic<bool> abort_{false};
  TransferGate gate_;
  std::mutex workersLock_;
  std::vector<win::UniqueHandle> workers_;
  // The relay thread, opened at the first post so that a later thread with
  // the same id is never taken for it; gone once a failed post found it ended.
  win::UniqueHandle relay_;
  bool relayGone_ = false;
};

}  // namespace checker

#pragma once
// CAutoUpdate holds one update run: its parameters, its state and the state
// machine that the main thread, the workers and the host watcher drive. Every
// transition runs under one recursive lock and traces its name; notifications
// are sent with that lock held so that they never interleave.
#include <cstdint>
#include <mutex>
#include <string>

#include "checker/RunPlatform.h"

namespace checker {

enum RunState : int {
  Idle = 0,
  CheckingInfo = 1,
  AskingUser = 2,
  Downloading = 3,
  Unpacking = 4,
  Ready = 5,
  Installed = 6,
  Cancelling = 7,
  Failed = 8,
};

struct RunParameters {
  std::string infoUrl;
  std::string callerVersion;
  unsigned hostProcessId = 0;  // 0: no host; a substitute event stands in
  unsigned relayThread = 0;    // 0: stand-alone mode
  std::string hostFolder;      // ends with a backslash
  std::string hostProgram;
  std::string packageFile;
  std::string unpackFolder;  // ends with a backslash
};

class CAutoUpdate {
 public:
  CAutoUpdate(RunPlatform& platform, ProgressUi& progress, RunParameters parameters);

  // Transitions.
  void MtxInit();
  void MtxCompDownloadInfo(int result);
  void DownloadSize(int total);
  void DownloadProgress(int received);
  void MtxCompDownloadData(int result);
  void MtxCompUnpack(int result);
  // The package was refused before unpacking (its signature): the run fails.
  void MtxRefusePackage(const std::string& reason);
  void MtxEndParent();
  void MtxContinueUpdate(std::uintptr_t argument);
  void MtxOpenProgDialog(std::uintptr_t owner);
  void MtxCloseProgDialog();
  void MtxCancel();

  // The alias step may replace both before the check starts.
  void SetInfoUrlAndVersion(const std::string& infoUrl, const std::string& version);

  // Opens the dialog without an owner (stand-alone start-up).
  void OpenProgDialogAtStart();
  // Closes the dialog at the end of the run.
  void CloseProgDialogAtEnd();

  // Runs one WM_LVK_THREAD command from the main loop; unknown codes are ignored.
  void DispatchCommand(std::uintptr_t code, std::uintptr_t argument);

  // 1 posted (or nothing to post to), 0 the relay thread is gone.
  int SendLvkMessage(int code, unsigned argument);

  // The bodies of the two worker threads.
  void InformationWorker();
  void PackageWorker();

  int State();
  // True while a transfer must stop: the run was cancelled or has failed.
  bool TransferMustStop();
  int ExitCode();
  const RunParameters& Parameters() const { return params_; }
  std::recursive_mutex& StateLock() { return lock_; }

 private:
  void MtxExit();
  void MatrixError(const char* source, int line);
  // Enters Cancelling or Failed and makes a running worker stop soon.
  void StopWorker(int state);
  int PhaseForState(int state) const;

  RunPlatform& platform_;
  ProgressUi& progress_;
  RunParameters params_;
  std::string packageUrl_;
  std::recursive_mutex lock_;
  int state_ = Idle;
  int exitCode_ = 1;
};

}  // namespace checker

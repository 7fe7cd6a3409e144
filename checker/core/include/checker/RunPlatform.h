#pragma once
// What the run object needs from the system, kept behind interfaces so that
// the state machine is tested without Windows, threads or a network.
#include <cstdint>
#include <functional>
#include <string>

namespace checker {

class CAutoUpdate;

class RunPlatform {
 public:
  virtual ~RunPlatform() = default;
  // Posts a notification to the relay thread, retrying while the queue is
  // full: 1 posted, 0 the relay thread is gone.
  virtual int PostToRelay(unsigned relayThread, int code, unsigned arg) = 0;
  // Posts a command to our own main thread (stand-alone mode), retrying.
  virtual void PostToMainThread(int code, unsigned arg) = 0;
  // Ends the main loop.
  virtual void PostQuit() = 0;
  // Signals the event that stands in for a host process.
  virtual void SignalHostSubstitute() = 0;
  // Runs body on a new thread that nobody waits for.
  virtual void StartWorker(std::function<void()> body) = 0;
  // 1 on success, 0 on failure. text or file receives the body; size,
  // progress and the cancel test go to run.
  virtual int Download(CAutoUpdate& run, const std::string& url, std::string* text, const std::string* file) = 0;
  // 1 unpacked, 0 failed (the unpack folder is then removed).
  virtual int Unpack(const std::string& packageFile, const std::string& unpackFolder) = 0;
  // The downloaded package's unpack: in a checker built with a publisher key,
  // with its signature checked on the way, before anything is extracted; a
  // refused package gives 0 and *refusal says why. Without a key, Unpack.
  virtual int UnpackDownload(const std::string& packageFile, const std::string& unpackFolder,
                             const std::string& /*callerVersion*/, std::string* /*refusal*/) {
    return Unpack(packageFile, unpackFolder);
  }
  virtual void RemoveFileQuietly(const std::string& path) = 0;
  virtual void RemoveFolderQuietly(const std::string& folder) = 0;
  virtual bool IsFile(const std::string& path) = 0;
  // Starts a command line; true when the process was created.
  virtual bool ExecProgram(const std::string& commandLine, bool hide, bool wait) = 0;
  virtual unsigned CurrentProcessId() = 0;
  // The run is stopping (cancelled, failed or its host ended): a transfer
  // blocked in the network returns now, and unpacking stops at its next
  // chunk or entry. The workers still complete and clean up as usual.
  virtual void AbortWork() = 0;
};

// The progress dialog as the run object sees it. Every call arrives with the
// run's state lock held; the dialog never takes that lock.
class ProgressUi {
 public:
  virtual ~ProgressUi() = default;
  // Phases: 1 checking, 2 downloading, 3 preparing. Nothing when a dialog is
  // already held (even one that has ended by itself).
  virtual void Open(std::uintptr_t owner, int phase) = 0;
  virtual void Close() = 0;
  // Sends the notification to the dialog window while it exists.
  virtual void Notify(int code, unsigned arg) = 0;
};

}  // namespace checker

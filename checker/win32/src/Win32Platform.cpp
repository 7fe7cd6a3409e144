#include "checker/Win32Platform.h"

#include <exception>
#include <memory>
#include <vector>

#include "checker/HttpTransfer.h"
#include "checker/Trace.h"
#include "common/LvkMessages.h"
#include "common/ThreadPost.h"

namespace checker {

bool PostThreadMessageRetrying(DWORD thread, UINT message, WPARAM wParam, LPARAM lParam) {
  return threadpost::PostToThread(thread, message, wParam, lParam);
}

bool ExecProgram(const std::string& commandLine, bool hide, bool wait) {
  Trace("ExecProgram %s\n", commandLine.c_str());
  std::vector<char> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back('\0');
  STARTUPINFOA si{};
  si.cb = sizeof si;
  if (hide) {
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
  }
  PROCESS_INFORMATION pi{};
  DWORD flags = NORMAL_PRIORITY_CLASS | (wait ? CREATE_SUSPENDED : 0);
  if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr, &si, &pi)) return false;
  win::ProcessHandles started(pi);
  if (wait) {
    ResumeThread(started.thread.Get());
    WaitForSingleObject(started.process.Get(), INFINITE);
  }
  return true;
}

Win32Platform::~Win32Platform() = default;

int Win32Platform::PostToRelay(unsigned relayThread, int code, unsigned arg) {
  // Called with the run's state lock held: a relay that has ended (its host
  // closed) must cost nothing, neither now nor for every later report.
  if (relayGone_) return 0;
  if (!relay_) relay_.Reset(OpenThread(SYNCHRONIZE, FALSE, relayThread));  // null: judged by the id
  if (threadpost::PostToThread(relayThread, WM_LVK_THREAD, static_cast<WPARAM>(code), static_cast<LPARAM>(arg),
                               relay_.Get()))
    return 1;
  // A queue that stayed full loses this report only; an ended relay all.
  relayGone_ = threadpost::ThreadIsGone(relayThread, relay_.Get());
  return 0;
}

void Win32Platform::PostToMainThread(int code, unsigned arg) {
  // Our own main thread outlives every caller, so only a full queue can fail.
  PostThreadMessageRetrying(mainThread_, WM_LVK_THREAD, static_cast<WPARAM>(code), static_cast<LPARAM>(arg));
}

void Win32Platform::PostQuit() { PostThreadMessageRetrying(mainThread_, WM_QUIT, 0, 0); }

void Win32Platform::SignalHostSubstitute() {
  if (substitute_) SetEvent(substitute_);
}

namespace {
DWORD WINAPI WorkerEntry(LPVOID p) {
  std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(p));
  try {
    (*body)();
  } catch (const std::exception& e) {  // no exception may leave a thread
    Trace("Error:worker stopped: %s\n", e.what());
    return 1;
  } catch (...) {
    Trace("Error:worker stopped.\n");
    return 1;
  }
  return 0;
}
}  // namespace

void Win32Platform::StartWorker(std::function<void()> body) {
  auto* heap = new std::function<void()>(std::move(body));
  win::UniqueHandle thread(CreateThread(nullptr, 0, WorkerEntry, heap, 0, nullptr));
  if (thread) {
    std::lock_guard<std::mutex> hold(workersLock_);
    workers_.push_back(std::move(thread));
    return;
  }
  // Without a thread the step still has to complete: run it here.
  WorkerEntry(heap);
}

bool Win32Platform::WaitForWorkers(DWORD timeoutMs) {
  std::vector<HANDLE> waiting;
  {
    std::lock_guard<std::mutex> hold(workersLock_);
    for (const win::UniqueHandle& worker : workers_) waiting.push_back(worker.Get());
  }
  const DWORD start = GetTickCount();
  for (HANDLE worker : waiting) {
    DWORD spent = GetTickCount() - start;
    if (WaitForSingleObject(worker, spent < timeoutMs ? timeoutMs - spent : 0) != WAIT_OBJECT_0) return false;
  }
  return true;
}

void Win32Platform::AbortWork() {
  abort_ = true;
  gate_.Abort();
}

int Win32Platform::Download(CAutoUpdate& run, const std::string& url, std::string* text, const std::string* file) {
  return DownloadUrl(run, url, text, file, &gate_);
}

int Win32Platform::Unpack(const std::string& packageFile, const std::string& unpackFolder) {
  return UnpackPackage(packageFile, unpackFolder, &abort_);
}

void Win32Platform::RemoveFileQuietly(const std::string& path) { DeleteFileA(path.c_str()); }

void Win32Platform::RemoveFolderQuietly(const std::string& folder) { RemoveFolderTree(folder); }

bool Win32Platform::IsFile(const std::string& path) { return IsFilePath(path); }

bool Win32Platform::ExecProgram(const std::string& commandLine, bool hide, bool wait) {
  return checker::ExecProgram(commandLine, hide, wait);
}

unsigned Win32Platform::CurrentProcessId() { return GetCurrentProcessId(); }

}  // namespace checker

#include "checker/Win32Platform.h"

#include <memory>
#include <vector>

#include "checker/HttpTransfer.h"
#include "checker/Trace.h"
#include "common/LvkMessages.h"

namespace checker {

bool PostThreadMessageRetrying(DWORD thread, UINT message, WPARAM wParam, LPARAM lParam) {
  while (!PostThreadMessageA(thread, message, wParam, lParam)) {
    if (GetLastError() == ERROR_INVALID_THREAD_ID) return false;
    Sleep(0);
  }
  return true;
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
  if (wait) {
    ResumeThread(pi.hThread);
    WaitForSingleObject(pi.hProcess, INFINITE);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return true;
}

int Win32Platform::PostToRelay(unsigned relayThread, int code, unsigned arg) {
  return PostThreadMessageRetrying(relayThread, WM_LVK_THREAD, static_cast<WPARAM>(code), static_cast<LPARAM>(arg)) ? 1
                                                                                                                    : 0;
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
  (*body)();
  return 0;
}
}  // namespace

void Win32Platform::StartWorker(std::function<void()> body) {
  auto* heap = new std::function<void()>(std::move(body));
  HANDLE thread = CreateThread(nullptr, 0, WorkerEntry, heap, 0, nullptr);
  if (thread) {
    CloseHandle(thread);
    return;
  }
  // Without a thread the step still has to complete: run it here.
  WorkerEntry(heap);
}

int Win32Platform::Download(CAutoUpdate& run, const std::string& url, std::string* text, const std::string* file) {
  return DownloadUrl(run, url, text, file);
}

int Win32Platform::Unpack(const std::string& packageFile, const std::string& unpackFolder) {
  return UnpackPackage(packageFile, unpackFolder);
}

void Win32Platform::RemoveFileQuietly(const std::string& path) { DeleteFileA(path.c_str()); }

void Win32Platform::RemoveFolderQuietly(const std::string& folder) { RemoveFolderTree(folder); }

bool Win32Platform::IsFile(const std::string& path) { return IsFilePath(path); }

bool Win32Platform::ExecProgram(const std::string& commandLine, bool hide, bool wait) {
  return checker::ExecProgram(commandLine, hide, wait);
}

unsigned Win32Platform::CurrentProcessId() { return GetCurrentProcessId(); }

}  // namespace checker

// The relay thread (starts the checker, forwards its reports to the host)
// and the watcher thread (ends the relay when the checker has ended).
#include <windows.h>
#include <process.h>

#include <memory>
#include <new>
#include <string>
#include <vector>

#include "LaunchText.h"
#include "Run.h"
#include "common/LvkMessages.h"
#include "common/ThreadPost.h"
#include "win/Handles.h"

namespace lanvik {
namespace {

// The file name of the process's main module (not this library's). Grows
// the buffer instead of working on a truncated, possibly unterminated path.
std::string HostProgramPath() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::string();
    if (n < buffer.size()) return std::string(buffer.data(), n);
    if (buffer.size() >= 32768) return std::string();
    buffer.resize(buffer.size() * 2);
  }
}

int Relay(const RunData& run, int code, int param) {
  int result = 0;
  if (run.callback != nullptr) result = run.callback(run.userValue, code, param);
  if (run.hostWindow != nullptr) {
    result = static_cast<int>(
        SendMessageA(run.hostWindow, WM_LVK_NOTIFY, static_cast<WPARAM>(code), static_cast<LPARAM>(param)));
  }
  return result;
}

void RelayIfReport(const RunData& run, const MSG& msg) {
  if (msg.message == WM_LVK_THREAD) {
    Relay(run, static_cast<int>(msg.wParam), static_cast<int>(msg.lParam));
  }
}

struct Watch {
  HANDLE process;  // a handle of the watcher's own
  DWORD relayThreadId;
  HMODULE library;
};

unsigned __stdcall WatcherThread(void* arg) {
  const Watch watch = *static_cast<Watch*>(arg);
  delete static_cast<Watch*>(arg);
  {  // closed before the thread ends below, where no destructor runs
    const win::UniqueHandle process(watch.process);
    WaitForSingleObject(process.Get(), INFINITE);
  }
  // Without this message the run would never end: no patience limit, only
  // the relay's own end (gone already) stops the retries.
  threadpost::PostToThread(watch.relayThreadId, WM_QUIT, 0, 0, nullptr, INFINITE);
  ExitThreadAndLibrary(watch.library);
}

bool StartWatcher(HANDLE process, DWORD relayThreadId) {
  HANDLE duplicate = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), &duplicate, 0, FALSE,
                       DUPLICATE_SAME_ACCESS)) {
    return false;
  }
  win::UniqueHandle own(duplicate);
  std::unique_ptr<Watch> watch(new (std::nothrow) Watch{own.Get(), relayThreadId, HoldLibrary()});
  const win::UniqueHandle thread(
      watch ? reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, WatcherThread, watch.get(), 0, nullptr)) : nullptr);
  if (!thread) {
    if (watch && watch->library != nullptr) FreeLibrary(watch->library);
    return false;
  }
  watch.release();
  own.Release();  // the watcher's now
  return true;
}

void RelayUntilQuit(const RunData& run) {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) RelayIfReport(run, msg);
}

// Without a watcher the relay waits for the checker itself, so that the run
// still ends and LVK_FINISHED still comes.
void RelayUntilProcessEnds(const RunData& run, HANDLE process) {
  MSG msg;
  for (;;) {
    const DWORD woken = MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLPOSTMESSAGE);
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) RelayIfReport(run, msg);
    if (woken != WAIT_OBJECT_0 + 1) return;
  }
}

}  // namespace

HMODULE HoldLibrary() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&HoldLibrary), &module);
  return module;
}

void ExitThreadAndLibrary(HMODULE held) {
  if (held != nullptr) FreeLibraryAndExitThread(held, 0);
  _endthreadex(0);
}

namespace {

// The whole run; returns the library reference for the thread's exit, after
// every object of the run has been destroyed.
HMODULE RelayRun(RunData* data) {
  std::unique_ptr<RunData> run(data);
  // The checker posts its first report at once: the queue must exist before
  // the checker does, or that report is lost.
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);

  const DWORD relayThreadId = GetCurrentThreadId();
  std::string commandLine;
  try {
    const std::string host = HostProgramPath();
    if (!host.empty()) {
      commandLine = CheckerCommandLine({run->address, run->version, GetCurrentProcessId(), relayThreadId, host});
    }
  } catch (...) {  // out of memory: reported as a checker that cannot start
    commandLine.clear();
  }

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION checker{};
  if (commandLine.empty() || !CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                                             CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS | CREATE_DEFAULT_ERROR_MODE,
                                             nullptr, nullptr, &startup, &checker)) {
    Relay(*run, LVK_ERROR, 0);
  } else {
    const win::ProcessHandles started(checker);
    g_checkerThreadId = checker.dwThreadId;
    if (StartWatcher(started.process.Get(), relayThreadId)) {
      RelayUntilQuit(*run);
    } else {
      RelayUntilProcessEnds(*run, started.process.Get());
    }
    g_checkerThreadId = 0;
  }
  Relay(*run, LVK_FINISHED, 0);

  // The mutex is never released, only closed: its only handle ends it.
  win::UniqueHandle mutex(g_runMutex.exchange(nullptr));
  mutex.Reset();
  const HMODULE library = run->library;
  run.reset();
  g_runState = kFinished;
  return library;
}

}  // namespace

unsigned __stdcall RelayThread(void* arg) { ExitThreadAndLibrary(RelayRun(static_cast<RunData*>(arg))); }

}  // namespace lanvik

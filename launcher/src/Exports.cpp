// The six exports: starting a run and posting the host's answers.
#include <windows.h>
#include <process.h>

#include <memory>
#include <mutex>
#include <string>

#include "LaunchText.h"
#include "Run.h"
#include "common/LvkMessages.h"
#include "common/ThreadPost.h"
#include "win/Handles.h"

namespace lanvik {

std::atomic<int> g_runState{kNeverStarted};
std::atomic<HANDLE> g_runMutex{nullptr};
std::atomic<DWORD> g_checkerThreadId{0};

namespace {

// Two host threads starting at once must not both pass the state test.
std::mutex g_startLock;

int StartRun(std::string address, std::string version, HWND hostWindow, LVK_CALLBACK callback, int userValue) {
  std::lock_guard<std::mutex> lock(g_startLock);
  if (g_runState == kRunning || g_runMutex.load() != nullptr) return 0;
  // The checker splits its command line at blanks: anything else would
  // reach it as the wrong number of fields.
  if (!IsSingleField(address) || !IsSingleField(version)) return 0;

  // Everything that allocates comes before the mutex, so that nothing can
  // fail between taking it and handing it to the relay thread.
  const std::string name = MutexNameFor(address);
  auto run = std::make_unique<RunData>();
  run->address = std::move(address);
  run->version = std::move(version);
  run->hostWindow = hostWindow;
  run->callback = callback;
  run->userValue = userValue;

  SetLastError(ERROR_SUCCESS);
  win::UniqueHandle mutex(CreateMutexA(nullptr, TRUE, name.c_str()));
  if (!mutex) return 0;
  if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;  // another process runs this address

  run->library = HoldLibrary();
  const int previous = g_runState.exchange(kRunning);
  g_runMutex = mutex.Get();
  g_checkerThreadId = 0;  // never a previous run's checker
  // The relay needs no handle of ours: it is closed when we return.
  const win::UniqueHandle relay(
      reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, RelayThread, run.get(), 0, nullptr)));
  if (!relay) {
    // Without a relay nobody would ever end this run: undo it, so that the
    // host can try again and other processes can use the address.
    g_runMutex = nullptr;
    if (run->library != nullptr) FreeLibrary(run->library);
    g_runState = previous;
    return 0;
  }
  run.release();  // the relay thread owns it and the mutex now
  mutex.Release();
  return 1;
}

bool ToAnsi(const wchar_t* text, std::string& out) {
  const int bytes = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return false;
  std::string buffer(static_cast<std::size_t>(bytes), '\0');
  if (WideCharToMultiByte(CP_ACP, 0, text, -1, buffer.data(), bytes, nullptr, nullptr) <= 0) {
    return false;
  }
  buffer.resize(buffer.find('\0'));
  out = std::move(buffer);
  return true;
}

int PostAnswer(WPARAM code, LPARAM param) {
  if (g_runState != kRunning) return 0;
  // Wine reports success for a post to thread 0, so 0 is tested here, not
  // left to the system. A checker that has ended, also one whose end the
  // relay has not seen yet (an answer from a report handler), drops the
  // answer at once: the post decides by the thread, not by the error code.
  const DWORD checker = g_checkerThreadId;
  if (checker == 0) return 0;
  return threadpost::PostToThread(checker, WM_LVK_THREAD, code, param) ? 1 : 0;
}

}  // namespace
}  // namespace lanvik

using namespace lanvik;

extern "C" {

int __cdecl LVK_StartA(const char* address, const char* version, HWND hostWindow, LVK_CALLBACK callback,
                       int userValue) {
  if (g_runState == kRunning || address == nullptr || version == nullptr) return 0;
  try {
    return StartRun(address, version, hostWindow, callback, userValue);
  } catch (...) {  // out of memory: no exception may reach the host
    return 0;
  }
}

int __cdecl LVK_StartW(const wchar_t* address, const wchar_t* version, HWND hostWindow, LVK_CALLBACK callback,
                       int userValue) {
  if (g_runState == kRunning || address == nullptr || version == nullptr) return 0;
  try {
    std::string ansiAddress, ansiVersion;
    if (!ToAnsi(address, ansiAddress) || !ToAnsi(version, ansiVersion)) return 0;
    return StartRun(std::move(ansiAddress), std::move(ansiVersion), hostWindow, callback, userValue);
  } catch (...) {
    return 0;
  }
}

int __cdecl LVK_ContinueUpdate(void) { return PostAnswer(LVK_CMD_CONTINUE, 0); }

int __cdecl LVK_OpenProgDialog(int ownerWindow) {
  return PostAnswer(LVK_CMD_OPEN_DIALOG, static_cast<LPARAM>(ownerWindow));
}

int __cdecl LVK_CloseProgDialog(void) { return PostAnswer(LVK_CMD_CLOSE_DIALOG, 0); }

int __cdecl LVK_Cancel(void) { return PostAnswer(LVK_CMD_CANCEL, 0); }

}  // extern "C"

#pragma once
// The launcher's process-wide run state, shared by the exports (host
// thread), the relay thread and the watcher thread.
#include <windows.h>

#include <atomic>
#include <string>

#include "Lanvik.h"

namespace lanvik {

enum RunState : int { kNeverStarted = 0, kRunning = 1, kFinished = 2 };

// What one run owns; created by the start call, deleted by the relay thread
// when the run ends.
struct RunData {
  std::string address;
  std::string version;
  HWND hostWindow = nullptr;
  LVK_CALLBACK callback = nullptr;
  int userValue = 0;
  HMODULE library = nullptr;  // the relay thread's reference, see HoldLibrary
};

// Written to kRunning only by the start call and to kFinished only by the
// relay thread as its very last step.
extern std::atomic<int> g_runState;
// The run mutex while a run holds it.
extern std::atomic<HANDLE> g_runMutex;
// The checker's primary thread while it lives, else 0: answers outside
// that window go nowhere.
extern std::atomic<DWORD> g_checkerThreadId;

// A reference to this library for a thread of ours, so that a host that
// frees the library while a run lasts does not pull the code from under the
// thread; the thread gives it back with FreeLibraryAndExitThread. Null when
// no reference could be taken.
HMODULE HoldLibrary();
[[noreturn]] void ExitThreadAndLibrary(HMODULE held);

// Thread procedure of the relay thread; takes ownership of the RunData.
unsigned __stdcall RelayThread(void* run);

}  // namespace lanvik

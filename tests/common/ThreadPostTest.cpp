// Posting to threads that have ended, here and in another process: the post
// gives up at once whatever error code the system chose (Wine answers 87,
// Windows 1444), and keeps trying only while the thread still runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "common/ThreadPost.h"

namespace {

DWORD WINAPI QueueThread(LPVOID ready) {
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
  SetEvent(static_cast<HANDLE>(ready));
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
  }
  return 0;
}

DWORD WINAPI WaitThread(LPVOID stop) {
  WaitForSingleObject(static_cast<HANDLE>(stop), INFINITE);  // no message queue
  return 0;
}

DWORD WINAPI EndAtOnce(LPVOID) { return 0; }

// A thread of ours that has ended; keepHandle leaves its handle open, so
// that the thread object (and its id) still exist.
DWORD EndedThreadHere(bool keepHandle, HANDLE* kept) {
  DWORD id = 0;
  HANDLE t = CreateThread(nullptr, 0, EndAtOnce, nullptr, 0, &id);
  WaitForSingleObject(t, INFINITE);
  if (keepHandle)
    *kept = t;
  else
    CloseHandle(t);
  return id;
}

// The main thread of a process that has ended.
DWORD EndedThreadElsewhere() {
  char command[] = "cmd.exe /c exit 0";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
    return 0;
  WaitForSingleObject(pi.hProcess, INFINITE);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return pi.dwThreadId;
}

struct Case {
  const char* name;
  std::function<DWORD(HANDLE*)> target;  // may leave a handle to pass on
  int posted;                            // 1, 0, or -1 where systems differ (a queue made on demand)
  bool gone;
  DWORD atMostMs;
};

}  // namespace

TEST(ThreadPost, EndedThreadsCountAsGoneAtOnceWhateverTheError) {
  HANDLE stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE ready = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  const Case cases[] = {
      {"live thread with a queue",
       [&](HANDLE*) {
         DWORD id = 0;
         CloseHandle(CreateThread(nullptr, 0, QueueThread, ready, 0, &id));
         WaitForSingleObject(ready, INFINITE);
         return id;
       },
       1, false, 1000},
      {"ended thread of ours", [](HANDLE*) { return EndedThreadHere(false, nullptr); }, 0, true, 1000},
      {"ended thread of ours, handle still open", [](HANDLE* kept) { return EndedThreadHere(true, kept); }, 0, true,
       1000},
      {"ended thread of another process", [](HANDLE*) { return EndedThreadElsewhere(); }, 0, true, 1000},
      {"live thread without a queue: patience, then no",
       [&](HANDLE*) {
         DWORD id = 0;
         CloseHandle(CreateThread(nullptr, 0, WaitThread, stop, 0, &id));
         return id;
       },
       -1, false, 2000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HANDLE kept = nullptr;
    const DWORD id = c.target(&kept);
    ASSERT_NE(id, 0u);
    const DWORD start = GetTickCount();
    const bool posted = threadpost::PostToThread(id, WM_APP, 1, 2, kept, 300);
    if (c.posted >= 0) {
      EXPECT_EQ(posted, c.posted == 1);
    }
    EXPECT_LT(GetTickCount() - start, c.atMostMs);
    EXPECT_EQ(threadpost::ThreadIsGone(id, kept), c.gone);
    if (c.posted) threadpost::PostToThread(id, WM_QUIT, 0, 0);
    if (kept) CloseHandle(kept);
  }
  SetEvent(stop);
  CloseHandle(stop);
  CloseHandle(ready);
}

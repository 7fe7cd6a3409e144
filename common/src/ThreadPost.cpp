#include "common/ThreadPost.h"

namespace threadpost {

bool ThreadIsGone(DWORD threadId, HANDLE thread) {
  if (thread != nullptr) return WaitForSingleObject(thread, 0) != WAIT_TIMEOUT;
  HANDLE opened = OpenThread(SYNCHRONIZE, FALSE, threadId);
  if (opened == nullptr) return true;
  const bool ended = WaitForSingleObject(opened, 0) != WAIT_TIMEOUT;
  CloseHandle(opened);
  return ended;
}

bool PostToThread(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam, HANDLE thread, DWORD patienceMs) {
  const DWORD start = GetTickCount();
  for (int attempt = 0;; ++attempt) {
    if (PostThreadMessageA(threadId, message, wParam, lParam)) return true;
    if (ThreadIsGone(threadId, thread)) return false;
    if (patienceMs != INFINITE && GetTickCount() - start >= patienceMs) return false;
    // A few quick retries let a busy receiver catch up; after that, naps
    // keep a wait for a slow one from burning a core.
    Sleep(attempt < 16 ? 0 : 1);
  }
}

}  // namespace threadpost

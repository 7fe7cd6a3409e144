#pragma once
// Posting thread messages to a thread that may have ended. Whether a failed
// post means "the thread is gone" is decided by the thread itself, never by
// the error code: Windows answers ERROR_INVALID_THREAD_ID, Wine answers
// ERROR_INVALID_PARAMETER for a thread that has ended.
#include <windows.h>

namespace threadpost {

// How long a post waits for a thread whose queue keeps refusing messages
// (a full queue, or a queue not created yet) before it gives up.
constexpr DWORD kPatienceMs = 5000;

// True when the thread has ended or cannot be opened any more. With a handle
// of the thread (SYNCHRONIZE access), only the handle is looked at, so that
// a thread id reused by a new thread does not count as the old thread.
bool ThreadIsGone(DWORD threadId, HANDLE thread = nullptr);

// Posts the message; while the post fails and the thread still runs, retries
// (Sleep(0) first, then 1 ms naps) for at most patienceMs (INFINITE: until
// the thread has ended). True when posted; false when the thread is gone or
// its queue stayed closed.
bool PostToThread(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam, HANDLE thread = nullptr,
                  DWORD patienceMs = kPatienceMs);

}  // namespace threadpost

#pragma once
// Lanvik.dll: runs the update checker Mervik.exe (expected beside the host
// program) for a host and relays its reports. One run per host process at a
// time, and one run per update address across all processes.
//
// Reports reach the host as WM_LVK_NOTIFY (wParam code, lParam parameter),
// sent to the host window, and/or through the callback, both on the
// launcher's relay thread. LVK_FINISHED (9000) is always the last report of
// a run. Message numbers and codes: common/LvkMessages.h.
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// Called on the relay thread for every report: (user value, code, parameter).
typedef int(__cdecl* LVK_CALLBACK)(int userValue, int code, int param);

// Starts a run: 1 when started, 0 when refused (a run of this process is in
// progress, another process runs the same address, or an argument is unusable:
// address and version must be non-empty and free of blanks and quotes).
// Window and callback may both be null; the reports are then dropped.
int __cdecl LVK_StartA(const char* address, const char* version, HWND hostWindow, LVK_CALLBACK callback, int userValue);
int __cdecl LVK_StartW(const wchar_t* address, const wchar_t* version, HWND hostWindow, LVK_CALLBACK callback,
                       int userValue);

// Answers to the checker: 1 when posted, 0 when no checker of a run can
// receive it (also a checker that has just ended: the call returns at once,
// and never waits more than a few seconds for a checker whose queue is full).
int __cdecl LVK_ContinueUpdate(void);
int __cdecl LVK_OpenProgDialog(int ownerWindow);
int __cdecl LVK_CloseProgDialog(void);
int __cdecl LVK_Cancel(void);

#ifdef __cplusplus
}
#endif

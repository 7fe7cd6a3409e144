#pragma once
// The update exchange between the host program, the launcher library Lanvik
// and the checker Mervik. Both numbers are private and fixed (not registered),
// so the three binaries agree without talking first. wParam carries the code,
// lParam its argument.

// Thread message, always posted: commands to the checker's main thread and
// notifications from the checker to the launcher's relay thread.
inline constexpr unsigned int WM_LVK_THREAD = 0x19A8;
// Window message, always sent: notifications to the host window and to the
// checker's own progress dialog.
inline constexpr unsigned int WM_LVK_NOTIFY = 0x19A9;

// Notifications (checker -> host).
inline constexpr int LVK_STARTED = 1000;
inline constexpr int LVK_INFO_FAILED = 1290;
inline constexpr int LVK_NO_UPDATE = 1320;
inline constexpr int LVK_ASK_UPDATE = 1340;
inline constexpr int LVK_DOWNLOAD_SIZE = 1440;      // lParam: announced size in bytes
inline constexpr int LVK_DOWNLOAD_PROGRESS = 1442;  // lParam: bytes received so far
inline constexpr int LVK_DOWNLOADED = 1480;
inline constexpr int LVK_UPDATE_FAILED = 1490;
inline constexpr int LVK_CANCELLED = 1700;
inline constexpr int LVK_READY = 1800;
inline constexpr int LVK_ERROR = 1900;
// Sent by the launcher only, after the checker process has ended.
inline constexpr int LVK_FINISHED = 9000;

// Commands (host -> checker main thread).
inline constexpr int LVK_CMD_CONTINUE = 2220;
inline constexpr int LVK_CMD_OPEN_DIALOG = 2420;  // lParam: owner window, 0 for none
inline constexpr int LVK_CMD_CLOSE_DIALOG = 2440;
inline constexpr int LVK_CMD_CANCEL = 2700;

// CheckerHost.exe: stands in for a host program and its launcher in the
// checker's end-to-end tests. Its main thread is the relay thread: it starts
// Mervik.exe with the seven-field command line, records every notification
// in a log file (one line "<code> <arg> <ms since start>") and answers as the
// options say. Options are key=value:
//   checker=PATH  url=URL  ver=V  folder=F  program=P   the run's fields
//   log=PATH      notification log       trace=PATH  the checker's stdout
//   tmp=DIR       TMP/TEMP of the checker             cwd=DIR  its current folder
//   standalone=1  relay thread 0 and host process 0
//   pid=N         host process id to pass instead of ours
//   raw=TEXT      everything after the checker path, instead of the fields
//   onask=continue|cancel|exit|none|dialog   answer to LVK_ASK_UPDATE
//   owner=1       with onask=dialog: a window of ours owns the dialog
//   cancelat=N    post LVK_CMD_CANCEL once progress reaches N bytes
//   exiton=CODE   end the host process when this notification arrives
//   cancelafter=MS post LVK_CMD_CANCEL once, MS milliseconds after start
//   stale=N stalebat=PATH  before the start, leave "LVK<hex>" folders in the
//                 checker's temporary folder, as earlier runs do, under the
//                 names GetTempFileName gives in the next N milliseconds
//                 (every eighth one stays free), each with PATH linked in as
//                 its setupeasy.bat
// Like the viewer, the host ends its process at LVK_READY (the checker then
// starts the installer); otherwise it ends when the checker has ended and
// writes "exit <code>".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "common/LvkMessages.h"
#include "common/ThreadPost.h"

namespace {

std::map<std::string, std::string> g_opt;
std::FILE* g_log = nullptr;
DWORD g_start = 0;
DWORD g_checkerThread = 0;

std::string Opt(const std::string& key, const std::string& fallback = "") {
  auto it = g_opt.find(key);
  return it == g_opt.end() ? fallback : it->second;
}

void Log(const char* format, long a, long b) {
  if (!g_log) return;
  std::fprintf(g_log, format, a, b, static_cast<long>(GetTickCount() - g_start));
  std::fflush(g_log);
}

void Command(int code, LPARAM arg) { threadpost::PostToThread(g_checkerThread, WM_LVK_THREAD, code, arg); }

// Folders under the names that GetTempFileName(tmp, "LVK", 0) derives from
// the tick count over the next n milliseconds.
void LeaveStaleFolders(const std::string& tmp, unsigned n, const std::string& bat) {
  DWORD tick = GetTickCount();
  unsigned made = 0;
  for (unsigned i = 0; i < n; ++i) {
    unsigned unique = (tick + i) & 0xFFFF;
    if (unique == 0 || i % 8 == 7) continue;
    char folder[MAX_PATH];
    std::snprintf(folder, sizeof folder, "%s\\LVK%x", tmp.c_str(), unique);
    if (!CreateDirectoryA(folder, nullptr)) continue;
    std::string installer = std::string(folder) + "\\setupeasy.bat";
    if (!CreateHardLinkA(installer.c_str(), bat.c_str(), nullptr)) CopyFileA(bat.c_str(), installer.c_str(), TRUE);
    ++made;
  }
  Log("stale %ld %ld %ld\n", static_cast<long>(made), static_cast<long>(tick & 0xFFFF));
}

HWND OwnerWindow() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "CheckerHostOwner";
  RegisterClassA(&wc);
  HWND w = CreateWindowA("CheckerHostOwner", "CheckerHost", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200, nullptr,
                         nullptr, wc.hInstance, nullptr);
  return w;
}

void OnNotification(int code, LPARAM arg) {
  Log("%ld %ld %ld\n", code, static_cast<long>(arg));
  static bool cancelled = false;
  if (!Opt("exiton").empty() && code == std::atoi(Opt("exiton").c_str())) ExitProcess(5);
  if (code == LVK_ASK_UPDATE) {
    std::string a = Opt("onask", "continue");
    if (a == "exit") ExitProcess(3);
    if (a == "cancel") Command(LVK_CMD_CANCEL, 0);
    if (a == "dialog") {
      HWND owner = Opt("owner") == "1" ? OwnerWindow() : nullptr;
      Command(LVK_CMD_OPEN_DIALOG, reinterpret_cast<LPARAM>(owner));
      Command(LVK_CMD_CONTINUE, 0);
    }
    if (a == "continue") Command(LVK_CMD_CONTINUE, 0);
  }
  if (code == LVK_READY) ExitProcess(4);
  if (code == LVK_DOWNLOAD_PROGRESS && !cancelled && !Opt("cancelat").empty() &&
      arg >= std::atol(Opt("cancelat").c_str())) {
    cancelled = true;
    Log("cancel %ld %ld %ld\n", static_cast<long>(arg), 0);
    Command(LVK_CMD_CANCEL, 0);
  }
}

}  // namespace

int main(int argc, char** argv) {
  g_start = GetTickCount();
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto eq = a.find('=');
    if (eq != std::string::npos) g_opt[a.substr(0, eq)] = a.substr(eq + 1);
  }
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
  if (!Opt("log").empty()) g_log = std::fopen(Opt("log").c_str(), "w");

  if (!Opt("tmp").empty()) {
    SetEnvironmentVariableA("TMP", Opt("tmp").c_str());
    SetEnvironmentVariableA("TEMP", Opt("tmp").c_str());
  }
  if (!Opt("stale").empty())
    LeaveStaleFolders(Opt("tmp"), static_cast<unsigned>(std::atol(Opt("stale").c_str())), Opt("stalebat"));
  bool standAlone = Opt("standalone") == "1";
  unsigned pid = standAlone ? 0 : GetCurrentProcessId();
  if (!Opt("pid").empty()) pid = static_cast<unsigned>(std::strtoul(Opt("pid").c_str(), nullptr, 10));
  unsigned relay = standAlone ? 0 : GetCurrentThreadId();

  char line[4096];
  if (g_opt.count("raw")) {
    std::snprintf(line, sizeof line, "\"%s\" %s", Opt("checker").c_str(), Opt("raw").c_str());
  } else {
    std::snprintf(line, sizeof line, "\"%s\" %s %s %u %u \"%s\" \"%s\"", Opt("checker").c_str(), Opt("url").c_str(),
                  Opt("ver", "02001").c_str(), pid, relay, Opt("folder").c_str(), Opt("program").c_str());
  }

  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE trace = CreateFileA(Opt("trace", "NUL").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_HIDE;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = trace;
  si.hStdError = trace;
  PROCESS_INFORMATION pi{};
  std::string cwd = Opt("cwd");
  if (!CreateProcessA(nullptr, line, nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                      cwd.empty() ? nullptr : cwd.c_str(), &si, &pi)) {
    Log("startfailed %ld %ld %ld\n", static_cast<long>(GetLastError()), 0);
    return 2;
  }
  CloseHandle(trace);
  g_checkerThread = pi.dwThreadId;

  const bool cancelLater = !Opt("cancelafter").empty();
  const DWORD cancelAt = static_cast<DWORD>(std::atol(Opt("cancelafter").c_str()));
  bool cancelSent = false;
  for (;;) {
    DWORD now = GetTickCount() - g_start;
    DWORD wait = cancelLater && !cancelSent ? (now < cancelAt ? cancelAt - now : 0) : INFINITE;
    DWORD w = MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, wait, QS_ALLINPUT);
    if (w == WAIT_TIMEOUT) {
      cancelSent = true;
      Log("cancel %ld %ld %ld\n", 0, 0);
      Command(LVK_CMD_CANCEL, 0);
      continue;
    }
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!msg.hwnd && msg.message == WM_LVK_THREAD) {
        OnNotification(static_cast<int>(msg.wParam), msg.lParam);
      } else {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
    if (w == WAIT_OBJECT_0) break;
  }
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  Log("exit %ld %ld %ld\n", static_cast<long>(code), 0);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  if (g_log) std::fclose(g_log);
  return 0;
}

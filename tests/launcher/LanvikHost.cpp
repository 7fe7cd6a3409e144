// A host for Lanvik.dll that the launcher tests drive. It calls the exports
// as a real host does (from its window thread, also from inside the report
// handler) and prints every result and report as one line on stdout:
//   pid <n> / thread <n> / start <r> / answer <name> <r> / end
//   report <code> <param> <window|callback> <main|other> [user=<n>]
// Commands come from --do a,b,c at start-up, from --on CODE=a+b when a
// report arrives, and one per line on stdin: start, startw, second, continue,
// open, close, cancel, answers, badargs, restart, quit, exit, and
// timedcancel (a second's pause, then LVK_Cancel, printed with its duration:
// "timed cancel <r> <ms>").
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "Lanvik.h"
#include "common/LvkMessages.h"

namespace {

constexpr UINT kCommandMessage = WM_APP + 1;
constexpr UINT kFinishedMessage = WM_APP + 2;  // LVK_FINISHED seen by the callback alone

std::mutex g_printLock;
DWORD g_mainThread = 0;
HWND g_window = nullptr;
std::string g_address = "http://127.0.0.1/update/glimra2/AutoUpdate.dat";
std::string g_version = "02001";
bool g_useWindow = true;
bool g_useCallback = false;
int g_userValue = 77;
int g_exitOnFinished = 1;  // 0: only "quit" ends the host
int g_finished = 0;
std::map<int, std::vector<std::string>> g_onReport;

void Print(const std::string& line) {
  std::lock_guard<std::mutex> lock(g_printLock);
  std::fputs((line + "\n").c_str(), stdout);
  std::fflush(stdout);
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  std::string part;
  while (std::getline(in, part, separator)) {
    if (!part.empty()) parts.push_back(part);
  }
  return parts;
}

std::wstring Widen(const std::string& text) {
  const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), n);
  wide.resize(wide.size() - 1);
  return wide;
}

int __cdecl OnReport(int userValue, int code, int param) {
  const char* thread = GetCurrentThreadId() == g_mainThread ? "main" : "other";
  Print("report " + std::to_string(code) + " " + std::to_string(param) + " callback " + thread +
        " user=" + std::to_string(userValue) + " tid=" + std::to_string(GetCurrentThreadId()));
  if (code == LVK_FINISHED && !g_useWindow) PostMessageA(g_window, kFinishedMessage, 0, 0);
  return 0;
}

int Start(bool wide) {
  HWND window = g_useWindow ? g_window : nullptr;
  LVK_CALLBACK callback = g_useCallback ? OnReport : nullptr;
  if (wide) {
    return LVK_StartW(Widen(g_address).c_str(), Widen(g_version).c_str(), window, callback, g_userValue);
  }
  return LVK_StartA(g_address.c_str(), g_version.c_str(), window, callback, g_userValue);
}

void Answer(const char* name, int result) { Print(std::string("answer ") + name + " " + std::to_string(result)); }

void Run(const std::string& command) {
  if (command == "start" || command == "startw") {
    Print("start " + std::to_string(Start(command == "startw")));
  } else if (command == "second") {
    Print("second " + std::to_string(Start(false)));
  } else if (command == "restart") {
    // The run ends just after LVK_FINISHED has been handled: try until then.
    int tries = 0;
    int result = 0;
    while (result == 0 && tries < 500) {
      ++tries;
      result = Start(false);
      if (result == 0) Sleep(10);
    }
    Print("restart " + std::to_string(result) + " tries=" + std::to_string(tries));
  } else if (command == "continue") {
    Answer("continue", LVK_ContinueUpdate());
  } else if (command == "open") {
    Answer("open", LVK_OpenProgDialog(static_cast<int>(reinterpret_cast<INT_PTR>(g_window))));
  } else if (command == "close") {
    Answer("close", LVK_CloseProgDialog());
  } else if (command == "cancel") {
    Answer("cancel", LVK_Cancel());
  } else if (command == "timedcancel") {
    Sleep(1000);  // long enough for a checker that has reported its last to end
    const DWORD start = GetTickCount();
    const int result = LVK_Cancel();
    Print("timed cancel " + std::to_string(result) + " " + std::to_string(GetTickCount() - start));
  } else if (command == "answers") {
    Answer("continue", LVK_ContinueUpdate());
    Answer("open", LVK_OpenProgDialog(0));
    Answer("close", LVK_CloseProgDialog());
    Answer("cancel", LVK_Cancel());
  } else if (command == "badargs") {
    Print("bad null-address " + std::to_string(LVK_StartA(nullptr, "02001", g_window, nullptr, 0)));
    Print("bad null-version " + std::to_string(LVK_StartA(g_address.c_str(), nullptr, g_window, nullptr, 0)));
    Print("bad empty-address " + std::to_string(LVK_StartA("", "02001", g_window, nullptr, 0)));
    Print("bad blank-address " + std::to_string(LVK_StartA("http://a/b c", "02001", g_window, nullptr, 0)));
    Print("bad quoted-version " + std::to_string(LVK_StartA(g_address.c_str(), "0\"2", g_window, nullptr, 0)));
    Print("bad null-wide " + std::to_string(LVK_StartW(nullptr, L"02001", g_window, nullptr, 0)));
  } else if (command == "quit") {
    PostQuitMessage(0);
  } else if (command == "exit") {
    Print("end");
    ExitProcess(0);  // as a host that ends at once when the update is ready
  } else {
    Print("unknown " + command);
  }
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_LVK_NOTIFY) {
    const int code = static_cast<int>(wParam);
    const char* thread = GetCurrentThreadId() == g_mainThread ? "main" : "other";
    Print("report " + std::to_string(code) + " " + std::to_string(static_cast<int>(lParam)) + " window " + thread);
    for (const std::string& command : g_onReport[code]) Run(command);
    if (code == LVK_FINISHED && ++g_finished == g_exitOnFinished) PostQuitMessage(0);
    return 0;
  }
  if (msg == kFinishedMessage) {
    if (++g_finished == g_exitOnFinished) PostQuitMessage(0);
    return 0;
  }
  if (msg == kCommandMessage) {
    std::unique_ptr<std::string> command(reinterpret_cast<std::string*>(lParam));
    Run(*command);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

DWORD WINAPI ReadCommands(void*) {
  char line[512];
  while (std::fgets(line, sizeof line, stdin) != nullptr) {
    std::string command(line);
    while (!command.empty() && (command.back() == '\n' || command.back() == '\r')) command.pop_back();
    if (command.empty()) continue;
    PostMessageA(g_window, kCommandMessage, 0, reinterpret_cast<LPARAM>(new std::string(command)));
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> initial;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    const std::string value = argv[i + 1];
    if (option == "--address") {
      g_address = value;
    } else if (option == "--version") {
      g_version = value;
    } else if (option == "--mode") {
      g_useWindow = value == "window" || value == "both";
      g_useCallback = value == "callback" || value == "both";
    } else if (option == "--do") {
      initial = Split(value, ',');
    } else if (option == "--on") {
      const std::size_t eq = value.find('=');
      g_onReport[std::atoi(value.substr(0, eq).c_str())] = Split(value.substr(eq + 1), '+');
    } else if (option == "--exit-on-finished") {
      g_exitOnFinished = std::atoi(value.c_str());
    } else {
      std::fprintf(stderr, "unknown option %s\n", option.c_str());
      return 2;
    }
  }

  g_mainThread = GetCurrentThreadId();
  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "LanvikHostWindow";
  RegisterClassA(&wc);
  g_window = CreateWindowA(wc.lpszClassName, "LanvikHost", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                           wc.hInstance, nullptr);
  if (g_window == nullptr) return 3;

  Print("pid " + std::to_string(GetCurrentProcessId()));
  Print("thread " + std::to_string(g_mainThread));
  for (const std::string& command : initial) Run(command);
  CloseHandle(CreateThread(nullptr, 0, ReadCommands, nullptr, 0, nullptr));

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  Print("end");
  // Let the relay thread finish the run it was ending when the last report
  // came; Wine may kill a process that exits while a thread is ending.
  Sleep(200);
  // The stdin reader may still be blocked in a read.
  ExitProcess(0);
}

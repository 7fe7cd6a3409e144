// Stands in for Mervik.exe in the launcher tests: reads the seven fields of
// its command line and plays a script from the environment against the
// relay thread. Everything it saw goes to a log file (LVK_FAKE_LOG):
//   fields <n> / field <i> <text> / got <code> <param> / posted <code> <param> <ok>
// Script (LVK_FAKE_SCRIPT), steps separated by ';':
//   post C[:P]  report C with parameter P to the relay thread
//   wait C      wait (at most 30 s) for the command C from the host
//   sleep MS    pause
//   waithost    wait until the host process has ended
//   exit N      end with exit code N
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/LvkMessages.h"

namespace {

FILE* g_log = nullptr;

void Log(const std::string& line) {
  if (g_log == nullptr) return;
  std::fputs((line + "\n").c_str(), g_log);
  std::fflush(g_log);
}

std::string Env(const char* name) {
  char buffer[4096];
  const DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

// Blank-separated fields, quotes honoured and removed. Steps over the
// double-byte characters of code page 932, whose trail bytes may be 0x5C.
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::string current;
  bool quoted = false;
  bool any = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    if (IsDBCSLeadByteEx(932, c) && i + 1 < line.size()) {
      current += line.substr(i, 2);
      any = true;
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if (!quoted && (c == ' ' || c == '\t')) {
      if (any) fields.push_back(current);
      current.clear();
      any = false;
    } else {
      current += static_cast<char>(c);
      any = true;
    }
  }
  if (any) fields.push_back(current);
  return fields;
}

bool WaitFor(int code) {
  const DWORD end = GetTickCount() + 30000;
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message != WM_LVK_THREAD) continue;
      Log("got " + std::to_string(static_cast<int>(msg.wParam)) + " " + std::to_string(static_cast<long>(msg.lParam)));
      if (static_cast<int>(msg.wParam) == code) return true;
    }
    if (GetTickCount() > end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLPOSTMESSAGE);
  }
}

}  // namespace

int main() {
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // answers may come at once
  const std::string logPath = Env("LVK_FAKE_LOG");
  if (!logPath.empty()) g_log = std::fopen(logPath.c_str(), "a");

  const std::vector<std::string> fields = Fields(GetCommandLineA());
  Log("fields " + std::to_string(fields.size()));
  for (std::size_t i = 0; i < fields.size(); ++i) Log("field " + std::to_string(i) + " " + fields[i]);
  if (fields.size() != 7) return 1;
  const DWORD hostProcess = std::strtoul(fields[3].c_str(), nullptr, 10);
  const DWORD relay = std::strtoul(fields[4].c_str(), nullptr, 10);

  std::string script = Env("LVK_FAKE_SCRIPT");
  std::size_t start = 0;
  while (start < script.size()) {
    std::size_t end = script.find(';', start);
    if (end == std::string::npos) end = script.size();
    const std::string step = script.substr(start, end - start);
    start = end + 1;
    const std::size_t blank = step.find(' ');
    const std::string verb = step.substr(0, blank);
    const std::string arg = blank == std::string::npos ? "" : step.substr(blank + 1);
    if (verb == "post") {
      const int code = std::atoi(arg.c_str());
      const std::size_t colon = arg.find(':');
      const long param = colon == std::string::npos ? 0 : std::atol(arg.c_str() + colon + 1);
      const BOOL ok = PostThreadMessageA(relay, WM_LVK_THREAD, code, param);
      Log("posted " + std::to_string(code) + " " + std::to_string(param) + " " + std::to_string(ok));
    } else if (verb == "wait") {
      if (!WaitFor(std::atoi(arg.c_str()))) {
        Log("timeout");
        return 3;
      }
    } else if (verb == "sleep") {
      Sleep(static_cast<DWORD>(std::atoi(arg.c_str())));
    } else if (verb == "waithost") {
      HANDLE host = OpenProcess(SYNCHRONIZE, FALSE, hostProcess);
      if (host != nullptr) {
        WaitForSingleObject(host, 30000);
        CloseHandle(host);
      }
      Log("host ended");
    } else if (verb == "exit") {
      Log("exit");
      return std::atoi(arg.c_str());
    }
  }
  Log("exit");
  return 0;
}

// Prints figures for Glimra.exe with many faces installed: the time from its
// start to its first paint, the full coverage scan once the coverage line is
// turned on, the longest wait of a message round trip to the view during the
// scan (the longest the window does not answer), and the peak working set.
// A benchmark: it never fails on a figure.
//
//   coverage_ui_bench.exe GLIMRA_EXE
#include <windows.h>

#include <cstdio>
#include <string>

#include "res/ResourceIds.h"

namespace {

// <chrono> does not compile with the cp932 execution character set.
double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return double(now.QuadPart) / double(frequency.QuadPart);
}

struct Search {
  DWORD pid;
  const char* cls;
  HWND found = nullptr;
};

std::string ClassOf(HWND window) {
  char cls[64] = {};
  GetClassNameA(window, cls, sizeof cls);
  return cls;
}

BOOL CALLBACK MatchTop(HWND window, LPARAM p) {
  auto* search = reinterpret_cast<Search*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->pid || ClassOf(window) != search->cls) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK MatchChild(HWND window, LPARAM p) {
  auto* search = reinterpret_cast<Search*>(p);
  if (ClassOf(window) != search->cls) return TRUE;
  search->found = window;
  return FALSE;
}

// The view's answer to a query, or -2 when it does not answer in time.
LRESULT Query(HWND view, WPARAM what, DWORD timeoutMs = 60000) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(view, WM_GLIMRA_QUERY, what, 0, SMTO_NORMAL, timeoutMs, &answer)) return -2;
  return static_cast<LRESULT>(answer);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: coverage_ui_bench GLIMRA_EXE\n", stderr);
    return 2;
  }
  // The coverage line starts off, as on a first start.
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VANTO\\Glimra\\Coverage");

  const double start = Seconds();
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string command = std::string("\"") + argv[1] + "\"";
  if (!CreateProcessA(argv[1], command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    std::fprintf(stderr, "coverage_ui_bench: cannot start %s (%lu)\n", argv[1], GetLastError());
    return 1;
  }
  Search frame{process.dwProcessId, "FwFrame128"}, view{process.dwProcessId, "FwView"};
  while (Seconds() - start < 600) {
    if (!frame.found) EnumWindows(MatchTop, reinterpret_cast<LPARAM>(&frame));
    if (frame.found && !view.found) EnumChildWindows(frame.found, MatchChild, reinterpret_cast<LPARAM>(&view));
    if (view.found && Query(view.found, GLIMRA_QUERY_TOP_ROW) >= 0) break;
    Sleep(5);
  }
  if (!view.found) {
    std::fputs("coverage_ui_bench: no view within 600 s\n", stderr);
    TerminateProcess(process.hProcess, 1);
    return 1;
  }
  const double firstPaint = Seconds() - start;
  std::printf("glimra_first_paint_s %.2f (rows %ld)\n", firstPaint, long(Query(view.found, GLIMRA_QUERY_ROW_COUNT)));

  const double scanStart = Seconds();
  PostMessageA(frame.found, WM_COMMAND, ID_VIEW_COVERAGE, 0);
  // The first round trip waits for the command itself (the list is laid out
  // again with the taller rows); the rest measure the scan.
  double longest = 0, first = -1;
  LRESULT outstanding = -1;
  long rounds = 0;
  do {
    Sleep(1);
    const double sent = Seconds();
    outstanding = Query(view.found, GLIMRA_QUERY_COVERAGE_OUTSTANDING);
    const double waited = Seconds() - sent;
    if (first < 0)
      first = waited;
    else if (waited > longest)
      longest = waited;
    ++rounds;
  } while ((outstanding != 0 || Query(view.found, GLIMRA_QUERY_COVERAGE_COLLECTED) <= 0) && outstanding != -2 &&
           Seconds() - scanStart < 600);
  const double scan = Seconds() - scanStart;
  std::printf("glimra_coverage_scan_s %.2f (faces %ld)\n", scan,
              long(Query(view.found, GLIMRA_QUERY_COVERAGE_COLLECTED)));
  std::printf("glimra_command_round_trip_ms %.1f\n", first * 1000.0);
  std::printf("glimra_longest_ui_stall_ms %.1f (%ld round trips)\n", longest * 1000.0, rounds);
  std::printf("glimra_peak_working_set_kb %ld\n", long(Query(view.found, GLIMRA_QUERY_PEAK_MEMORY_KB)));

  PostMessageA(frame.found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VANTO\\Glimra\\Coverage");
  return outstanding == 0 ? 0 : 1;
}

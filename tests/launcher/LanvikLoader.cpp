// A host that loads Lanvik.dll at run time and frees it again while the run
// it started still lasts, then waits for the run's reports. Prints
// "start <r>", "freed", "report <code> <param>" and "end"; exit code 0.
#include <windows.h>

#include <cstdio>

#include "Lanvik.h"
#include "common/LvkMessages.h"

namespace {

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_LVK_NOTIFY) {
    std::printf("report %d %d\n", static_cast<int>(wParam), static_cast<int>(lParam));
    std::fflush(stdout);
    if (static_cast<int>(wParam) == LVK_FINISHED) PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "LanvikLoaderWindow";
  RegisterClassA(&wc);
  HWND window =
      CreateWindowA(wc.lpszClassName, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);

  HMODULE library = LoadLibraryA("Lanvik.dll");
  if (library == nullptr || window == nullptr) return 3;
  using StartA = int(__cdecl*)(const char*, const char*, HWND, LVK_CALLBACK, int);
  auto start = reinterpret_cast<StartA>(reinterpret_cast<void*>(GetProcAddress(library, "LVK_StartA")));
  if (start == nullptr) return 4;
  std::printf("start %d\n", start(argv[1], "02001", window, nullptr, 0));
  FreeLibrary(library);
  std::printf("freed\n");
  std::fflush(stdout);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  Sleep(200);  // see LanvikHost: the relay thread is still ending
  std::printf("end\n");
  std::fflush(stdout);
  return 0;
}

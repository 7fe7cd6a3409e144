// A small window that carries the font installation commands as the view
// does, over the real font catalogue, so that the end-to-end tests can drive
// them before and apart from the viewer.
//   InstallHost.exe <state file> [installation folder]
// WM_COMMAND with the view's ids runs a command; WM_APP selects a row
// (wParam); WM_APP + 1 writes the state file.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <string>

#include "fonts/Win32FontSystem.h"
#include "framework/InvalidArgument.h"
#include "install/FontFileLookup.h"
#include "install/FontInstallCommands.h"
#include "install/InstallSystem.h"

namespace {

struct Host {
  CFontList fonts{SystemFontSystem()};
  LoadedFileList loaded;
  std::string dialogPath;
  FontInstallCommands commands{fonts, loaded, dialogPath};
  std::string stateFile, installFolder;
  int selected = 0;
  bool classic = IsClassicSystem(ReadSystemVersion());
  int refreshes = 0;
};
Host* host = nullptr;

void Refresh() {
  host->fonts.ApplyFilter({kFilterWestern, kFilterJapanese, kFilterAllLanguages, kFilterRegistered, kFilterTemporary});
  ++host->refreshes;
}

void WriteState() {
  std::ofstream out(host->stateFile, std::ios::binary | std::ios::trunc);
  out << "refreshes\t" << host->refreshes << "\n";
  out << "classic\t" << host->classic << "\n";
  out << "uninstall\t" << host->commands.CanUninstall() << "\n";
  // -1: no row selected, the state is left as it was.
  std::optional<bool> permanent = host->commands.CanInstallPermanently(host->classic, host->selected);
  out << "permanent\t" << (permanent ? int{*permanent} : -1) << "\n";
  for (const std::string& p : host->commands.Installer().Loaded().Paths()) out << "loaded\t" << p << "\n";
  for (int i = 0; i < host->fonts.GetCount(); ++i)
    out << "face\t" << host->fonts.GetFont(i).kind << "\t" << host->fonts.GetName(i) << "\n";
  for (const auto& t : host->fonts.TempRecords()) out << "temp\t" << t->name << "\t" << t->path << "\n";
}

bool RunCommand(HWND wnd, int id) {
  FontInstallCommands& c = host->commands;
  switch (id) {
    case 32775: return c.TempInstall(wnd);
    case 32776: return c.CanUninstall() && c.TempUninstall();
    case 32796: return c.FolderInstall(wnd);
    case 32807: return c.PermanentInstall(wnd, host->selected, host->installFolder);
    case 32799: c.ShowProperties(wnd, host->selected); return false;
  }
  return false;
}

LRESULT CALLBACK HostProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    switch (message) {
      case WM_COMMAND:
        if (RunCommand(wnd, LOWORD(wParam))) Refresh();
        return 0;
      case WM_APP: host->selected = static_cast<int>(wParam); return 0;
      case WM_APP + 1: WriteState(); return 1;
      case WM_DESTROY: PostQuitMessage(0); return 0;
    }
  } catch (const fw::InvalidArgumentError&) {
    MessageBoxA(wnd, "無効な引数が発生しました。", "Glimra", MB_OK | MB_ICONEXCLAMATION);
    return 0;
  }
  return DefWindowProcA(wnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (__argc < 2) return 2;
  Host state;
  host = &state;
  state.stateFile = __argv[1];
  state.installFolder = __argc > 2 ? __argv[2] : ProgramFolder();
  state.fonts.Rebuild(true);
  Refresh();
  WNDCLASSA wc{};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "GlimraInstallHost";
  RegisterClassA(&wc);
  HWND wnd = CreateWindowA("GlimraInstallHost", "Glimra install host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 200,
                           nullptr, nullptr, instance, nullptr);
  if (!wnd) return 1;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

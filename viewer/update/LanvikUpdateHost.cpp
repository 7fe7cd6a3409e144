// The update check's ways to the user and to the launcher: the check from
// the menu and the daily one both start Lanvik.dll, whose reports come back
// to the view's window.
#include "update/LanvikUpdateHost.h"

#include <windows.h>

#include "Lanvik.h"
#include "res/ResourceIds.h"

bool LanvikUpdateHost::StartLauncher() {
  std::string address = fw::LoadResString(IDS_UPDATE_ADDRESS);
  std::string version = fw::LoadResString(IDS_UPDATE_VERSION);
  return LVK_StartA(address.c_str(), version.c_str(), view_.m_hWnd, nullptr, 0) != 0;
}

void LanvikUpdateHost::ShowMessage(const char* text) { ::MessageBoxA(view_.m_hWnd, text, title_.c_str(), MB_OK); }

bool LanvikUpdateHost::AskYesNo(const char* text) {
  return ::MessageBoxA(view_.m_hWnd, text, title_.c_str(), MB_YESNO) == IDYES;
}

void LanvikUpdateHost::OpenProgressDialog() {
  LVK_OpenProgDialog(static_cast<int>(reinterpret_cast<INT_PTR>(view_.m_hWnd)));
}

void LanvikUpdateHost::ContinueUpdate() { LVK_ContinueUpdate(); }

void LanvikUpdateHost::CancelUpdate() { LVK_Cancel(); }

void LanvikUpdateHost::QuitForInstaller() {
  // No exit question: the checker is waiting for this process to end.
  // The settings are kept all the same, as a normal exit would.
  keepSettings_();
  ::PostQuitMessage(0);
}

std::string TodayForUpdateCheck() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return viewer::FormatCheckDate(now.wYear, now.wMonth, now.wDay);
}

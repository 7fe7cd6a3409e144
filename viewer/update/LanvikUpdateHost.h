#pragma once
// The update check's ways to the user and to Lanvik.dll, on the view's
// window thread.
#include <functional>
#include <string>

#include "framework/Wnd.h"
#include "update/UpdateCheck.h"

class LanvikUpdateHost : public viewer::UpdateHost {
 public:
  // view receives the launcher's reports; title is the caption of the
  // messages; keepSettings runs before the viewer quits for the installer.
  LanvikUpdateHost(const fw::CWnd& view, const std::string& title, std::function<void()> keepSettings)
      : view_(view), title_(title), keepSettings_(std::move(keepSettings)) {}

  bool StartLauncher() override;
  void ShowMessage(const char* text) override;
  bool AskYesNo(const char* text) override;
  void OpenProgressDialog() override;
  void ContinueUpdate() override;
  void CancelUpdate() override;
  void QuitForInstaller() override;

 private:
  const fw::CWnd& view_;
  const std::string& title_;  // the application's, fixed at start-up
  std::function<void()> keepSettings_;
};

// Today's local date as the update check records it.
std::string TodayForUpdateCheck();

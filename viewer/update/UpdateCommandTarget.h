#pragma once
// The update command of the sample view and its enable state, with the
// update state behind it. The view routes the command here, hands over the
// launcher's reports and starts the daily check at its first paint.
#include <string>

#include "framework/CmdTarget.h"
#include "update/UpdateCheck.h"

class UpdateCommandTarget : public fw::CCmdTarget {
  FW_DECLARE_MESSAGE_MAP()

 public:
  explicit UpdateCommandTarget(viewer::UpdateHost& host) : host_(host) {}

  // The daily check, when it is switched on and due; today as FormatCheckDate.
  void StartAutomatic(int autoUpdateSwitch, fw::ProfileStore& profile, const std::string& today) {
    check_.StartAutomatic(host_, autoUpdateSwitch, profile, today);
  }
  // A report relayed by the launcher (WM_LVK_NOTIFY wParam).
  void OnReport(int code) { check_.OnReport(host_, code); }
  int GetState() const { return check_.GetState(); }

 private:
  void OnUpdateCheck();
  void OnUpdateUpdateCheck(fw::CCmdUI* ui);

  viewer::UpdateHost& host_;
  viewer::UpdateCheck check_;
};

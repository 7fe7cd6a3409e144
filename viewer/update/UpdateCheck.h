#pragma once
// The viewer's side of an update run: starting a check (daily automatic one
// or one asked for from the menu) and the reactions to the launcher's
// reports. Everything that reaches the outside goes through UpdateHost, so
// the rules are tested without a window or a checker. Portable.
#include <string>

#include "framework/ProfileStore.h"
#include "update/UpdateTexts.h"

namespace viewer {

// Registry place of the date of the last automatic check.
inline constexpr const char* kAutoUpdateSection = "AutoUpdate";
inline constexpr const char* kLastConnectDate = "LastConnectDate";

class UpdateHost {
 public:
  virtual ~UpdateHost() = default;
  // Starts a launcher run with the update address and version; false when
  // the launcher refused (a run is in progress here or in another process).
  virtual bool StartLauncher() = 0;
  virtual void ShowMessage(const char* text) = 0;
  // A Yes/No question; true for Yes.
  virtual bool AskYesNo(const char* text) = 0;
  virtual void OpenProgressDialog() = 0;
  virtual void ContinueUpdate() = 0;
  virtual void CancelUpdate() = 0;
  // The checker is ready to install: the viewer must end now.
  virtual void QuitForInstaller() = 0;
};

// "%04d%02d%02d" of a local date.
std::string FormatCheckDate(int year, int month, int day);

// The update state of the view; the host is handed in with every call.
class UpdateCheck {
 public:
  enum State {
    kIdle = 0,       // no launcher run
    kAutomatic = 1,  // daily check running
    kRequested = 2,  // check asked for from the menu running
    kCancelled = 3,  // the checker reported the run cancelled; waiting for its end
    kSettled = 4,    // outcome reached; waiting for the end of the run
  };

  // The daily check: runs when the switch is on and the profile does not
  // record today as the day of the last check; records today before it runs.
  void StartAutomatic(UpdateHost& host, int autoUpdateSwitch, fw::ProfileStore& profile, const std::string& today);
  // A check asked for by the user.
  void StartRequested(UpdateHost& host);
  // A report of the launcher (WM_LVK_NOTIFY wParam).
  void OnReport(UpdateHost& host, int code);

  // The update command is usable only while no run is in progress.
  bool CommandEnabled() const { return state_ == kIdle; }
  int GetState() const { return state_; }

 private:
  void Start(UpdateHost& host, State running);

  int state_ = kIdle;
};

}  // namespace viewer

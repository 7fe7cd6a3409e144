#include "update/UpdateCheck.h"

#include <cstdio>

#include "common/Cp932.h"
#include "common/LvkMessages.h"

namespace viewer {

std::string FormatCheckDate(int year, int month, int day) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d", year, month, day);
  return text;
}

void UpdateCheck::StartAutomatic(UpdateHost& host, int autoUpdateSwitch, fw::ProfileStore& profile,
                                 const std::string& today) {
  if (state_ != kIdle || autoUpdateSwitch == 0) return;
  std::string last = profile.GetString(kAutoUpdateSection, kLastConnectDate, "");
  if (cp932::EqualsNoCase(last, today)) return;
  // Recorded before the run, so that a failing check is not repeated today.
  profile.WriteString(kAutoUpdateSection, kLastConnectDate, today);
  Start(host, kAutomatic);
}

void UpdateCheck::StartRequested(UpdateHost& host) {
  if (state_ != kIdle) return;
  Start(host, kRequested);
}

void UpdateCheck::Start(UpdateHost& host, State running) {
  state_ = running;
  if (host.StartLauncher()) return;
  if (running == kRequested) host.ShowMessage(kUpdateAlreadyRunning);
  state_ = kIdle;
}

void UpdateCheck::OnReport(UpdateHost& host, int code) {
  switch (code) {
    case LVK_INFO_FAILED:
    case LVK_ERROR:
    case LVK_FINISHED:
      // Shown once: the first of these moves the state away from kRequested.
      if (state_ == kRequested) host.ShowMessage(kUpdateConnectFailed);
      state_ = code == LVK_FINISHED ? kIdle : kSettled;
      break;
    case LVK_NO_UPDATE:
      if (state_ == kRequested) host.ShowMessage(kUpdateNone);
      state_ = kSettled;
      break;
    case LVK_ASK_UPDATE:
      if (host.AskYesNo(kUpdateQuestion)) {
        host.OpenProgressDialog();
        host.ContinueUpdate();
      } else {
        state_ = kSettled;
        host.CancelUpdate();
      }
      break;
    case LVK_UPDATE_FAILED:
      host.ShowMessage(kUpdateDownloadFailed);
      state_ = kSettled;
      break;
    case LVK_CANCELLED: state_ = kCancelled; break;
    case LVK_READY:
      state_ = kSettled;
      host.QuitForInstaller();
      break;
    default: break;
  }
}

}  // namespace viewer

// The update check: the daily one started by the first paint, the one from
// the menu, and the reactions to the reports that Lanvik.dll relays.
#include <windows.h>

#include "Lanvik.h"
#include "common/LvkMessages.h"
#include "res/ResourceIds.h"
#include "view/GlimraView.h"

namespace {

// The update check's ways to the user and to the launcher, on the view's
// window thread.
class ViewUpdateHost : public viewer::UpdateHost {
 public:
  ViewUpdateHost(HWND view, CGlimraView& owner, const std::string& title) : view_(view), owner_(owner), title_(title) {}

  bool StartLauncher() override {
    std::string address = fw::LoadResString(IDS_UPDATE_ADDRESS);
    std::string version = fw::LoadResString(IDS_UPDATE_VERSION);
    return LVK_StartA(address.c_str(), version.c_str(), view_, nullptr, 0) != 0;
  }
  void ShowMessage(const char* text) override { ::MessageBoxA(view_, text, Title(), MB_OK); }
  bool AskYesNo(const char* text) override { return ::MessageBoxA(view_, text, Title(), MB_YESNO) == IDYES; }
  void OpenProgressDialog() override { LVK_OpenProgDialog(static_cast<int>(reinterpret_cast<INT_PTR>(view_))); }
  void ContinueUpdate() override { LVK_ContinueUpdate(); }
  void CancelUpdate() override { LVK_Cancel(); }
  void QuitForInstaller() override {
    // No exit question: the checker is waiting for this process to end.
    // The settings are kept all the same, as a normal exit would.
    owner_.SaveSettings();
    ::PostQuitMessage(0);
  }

 private:
  const char* Title() const { return title_.c_str(); }

  HWND view_;
  CGlimraView& owner_;
  const std::string& title_;
};

}  // namespace

void CGlimraView::StartAutomaticUpdateCheck() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  ViewUpdateHost host(m_hWnd, *this, host_.Title());
  update_.StartAutomatic(host, settings_.AutoUpdate, host_.Profile(),
                         viewer::FormatCheckDate(now.wYear, now.wMonth, now.wDay));
}

void CGlimraView::OnUpdateCheck() {
  ViewUpdateHost host(m_hWnd, *this, host_.Title());
  update_.StartRequested(host);
}

void CGlimraView::OnUpdateUpdateCheck(fw::CCmdUI* ui) { ui->Enable(update_.CommandEnabled()); }

LRESULT CGlimraView::OnLvkNotify(WPARAM code, LPARAM) {
  ViewUpdateHost host(m_hWnd, *this, host_.Title());
  update_.OnReport(host, static_cast<int>(code));
  return 0;
}

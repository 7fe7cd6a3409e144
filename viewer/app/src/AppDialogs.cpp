// The application's commands that open its dialogs: About (57664) and the
// settings sheet (32792). The sheet edits the view's settings record
// directly; they reach the registry with the next save.
#include "AboutDlg.h"
#include "SettingDlg.h"
#include "app/GlimraApp.h"
#include "view/GlimraView.h"

void CGlimraApp::OnAppAbout() {
  CAboutDlg about(m_pMainWnd);
  about.DoModal();
}

void CGlimraApp::OnSettings() {
  fw::CFrameWnd* frame = GetMainFrame();
  auto* view = frame ? dynamic_cast<CGlimraView*>(frame->GetActiveView()) : nullptr;
  if (!view) return;
  CSettingDlg sheet(view->Settings(), frame);
  sheet.DoModal();
}

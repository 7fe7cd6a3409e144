// About command (57664) of the application.
#include "AboutDlg.h"
#include "app/GlimraApp.h"

void CGlimraApp::OnAppAbout() {
  CAboutDlg about(m_pMainWnd);
  about.DoModal();
}

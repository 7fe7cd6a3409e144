#include "app/GlimraApp.h"

#include <shellapi.h>

#include "app/MainFrame.h"
#include "common/Cp932.h"
#include "res/ResourceIds.h"
#include "view/GlimraView.h"

namespace {

const char kVantoSite[] = "http://www.vanto.example/";
const char kSupportSite[] = "http://www.vanto.example/support/";

CGlimraApp theApp;

}  // namespace

// clang-format off
FW_BEGIN_MESSAGE_MAP(CGlimraApp, fw::CWinApp)
  fw::OnCommand(ID_FILE_NEW, &CGlimraApp::OnFileNew),
  fw::OnCommand(ID_FILE_PRINT_SETUP, &CGlimraApp::OnFilePrintSetup),
  fw::OnCommand(ID_HELP, &CGlimraApp::OnHelp),
  fw::OnCommand(ID_SITE_VANTO, &CGlimraApp::OnSiteVanto),
  fw::OnCommand(ID_SITE_SUPPORT, &CGlimraApp::OnSiteSupport),
  fw::OnCommand(ID_APP_ABOUT, &CGlimraApp::OnAppAbout),
  fw::OnCommand(ID_SETTINGS, &CGlimraApp::OnSettings),
FW_END_MESSAGE_MAP()
// clang-format on

CGlimraApp& GlimraApp() { return theApp; }

CGlimraApp::CGlimraApp() = default;

std::string HelpFileFromHlpPath(const std::string& hlpPath) {
  std::string path = hlpPath;
  if (path.size() >= 3) path.replace(path.size() - 3, 3, "chm");
  return path;
}

std::string InstallFolderOf(const std::string& helpPath) {
  size_t slash = cp932::FindLastOf(helpPath, "\\");
  return cp932::ToUpper(slash == std::string::npos ? helpPath : helpPath.substr(0, slash));
}

bool CGlimraApp::InitInstance() {
  EnableControlContainer();
  SetRegistryKey("VANTO");
  m_pszHelpFilePath = HelpFileFromHlpPath(m_pszHelpFilePath);
  m_installFolder = InstallFolderOf(m_pszHelpFilePath);
  AddDocTemplate(fw::MakeSingleDocTemplate<CGlimraDoc, CMainFrame, CGlimraView>(IDR_MAINFRAME));

  fw::CCommandLineInfo info;
  ParseCommandLine(info);
  // Without a window there is nothing to run.
  if (!ProcessShellCommand(info)) return false;
  m_pMainWnd->ShowWindow(SW_SHOW);
  m_pMainWnd->UpdateWindow();

  if (!fw::AfxOleInit()) {
    fw::AfxMessageBox(fw::LoadResString(IDP_OLE_INIT_FAILED));
    return false;
  }
  return true;
}

void CGlimraApp::OnSiteVanto() { ::ShellExecuteA(nullptr, "open", kVantoSite, nullptr, nullptr, SW_SHOWNORMAL); }

void CGlimraApp::OnSiteSupport() { ::ShellExecuteA(nullptr, "open", kSupportSite, nullptr, nullptr, SW_SHOWNORMAL); }

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) { return fw::AfxWinMain(instance, show); }

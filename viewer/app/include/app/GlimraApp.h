#pragma once
// The application object of Glimra.exe and its empty document.
#include <string>

#include "framework/Framework.h"
#include "view/ViewHost.h"

class CGlimraApp : public fw::CWinApp, public ViewHost {
  FW_DECLARE_MESSAGE_MAP()

 public:
  CGlimraApp();
  bool InitInstance() override;

  fw::ProfileStore& Profile() const override { return fw::CWinApp::Profile(); }
  const std::string& Title() const override { return m_pszAppName; }
  const std::string& InstallFolder() const override { return m_installFolder; }
  fw::CDialogBar* TextBar() const override { return m_pTextInputBar; }

  // The frame's text input bar; null until the frame has made its bars.
  fw::CDialogBar* m_pTextInputBar = nullptr;
  // Folder of the program file, upper case, no trailing backslash.
  std::string m_installFolder;

 protected:
  void OnSiteVanto();
  void OnSiteSupport();
  // The dialogs (AppDialogs.cpp).
  void OnAppAbout();
  void OnSettings();
};

CGlimraApp& GlimraApp();

// The document exists because the document/view framework needs one; it
// holds, loads and saves nothing.
class CGlimraDoc : public fw::CDocument {};

// Help file and installation folder from the framework's ".HLP" path.
std::string HelpFileFromHlpPath(const std::string& hlpPath);
std::string InstallFolderOf(const std::string& helpPath);

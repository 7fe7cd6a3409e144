#pragma once
// The About dialog (command 57664): version and maker's name, read from the
// version resource of Glimra.exe; the name links to the maker's site.
#include <windows.h>

#include <string>

#include "XTHyperLink.h"
#include "framework/Framework.h"

class CAboutDlg : public fw::CDialog {
 public:
  explicit CAboutDlg(fw::CWnd* parent = nullptr);
  bool OnInitDialog() override;

  // The program file whose version resource is shown, by file name.
  std::string m_programFile = "Glimra.exe";

 protected:
  CXTHyperLink m_link;
};

// The maker's web site, the target of the About dialog's link.
extern const char* const kMakerSite;

// "2, 0, 1, 0" → "2.0.1"; empty when fewer than three numbers are given.
std::string ShortVersion(const char* fileVersion);

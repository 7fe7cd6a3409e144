#pragma once
// CFindFontDlg: asks for a folder and the extensions to look for, searches
// the folder and all below it, and ends with OK when the user confirmed the
// files it found.
#include <string>
#include <vector>

#include "framework/Dialog.h"
#include "install/FindFontInput.h"

class CFindFontDlg : public fw::CDialog {
  FW_DECLARE_MESSAGE_MAP()

 public:
  explicit CFindFontDlg(HWND owner);

  // Filled by a confirmed search: full paths in the order found.
  std::vector<std::string> m_foundFiles;
  int m_foundCount = 0;

 protected:
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  void OnOtherClicked();
  void OnBrowse();
  FindFontInput ReadInput() const;
  int Box(const std::string& text, UINT caption, UINT type);
};

#pragma once
// CDialogFontInfo: the face name of a font, the file that provides it and
// whether it is registered or loaded for the session only.
#include <string>

#include "framework/Dialog.h"

class CDialogFontInfo : public fw::CDialog {
 public:
  explicit CDialogFontInfo(HWND owner);

  std::string m_faceName;
  std::string m_filePath;  // from the temporary font records, or empty
  int m_temporary = 0;

 protected:
  bool OnInitDialog() override;
};

#pragma once
// CDialogFontInfo: the face name of a font, the file that provides it and
// whether it is registered or loaded for the session only. Under the face
// name, a line added at run time gives the family names that the font itself
// carries (Japanese / English) when they can be read.
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
  // Moves the controls below the face name down by one line and puts the
  // names there; the dialog grows by that line.
  void AddNamesLine(const std::string& names);
};

#include "install/DialogFontInfo.h"

#include "install/FontFileLookup.h"
#include "install/InstallResource.h"
#include "install/InstallSystem.h"

CDialogFontInfo::CDialogFontInfo(HWND owner) : fw::CDialog(IDD_FONTINFO, owner) {}

bool CDialogFontInfo::OnInitDialog() {
  Win32FontKeyReader registry;
  FontFileEnvironment env{registry, m_temporary ? std::string() : WindowsFontFolder()};
  FontInfoTexts texts = MakeFontInfoTexts(m_faceName, m_filePath, m_temporary == 1, ReadSystemVersion(), env);
  SetDlgItemTextA(m_hWnd, IDC_INFO_FACE, texts.faceName.c_str());
  SetDlgItemTextA(m_hWnd, IDC_INFO_FILE, texts.file.c_str());
  SetDlgItemTextA(m_hWnd, IDC_INFO_KIND, texts.kind.c_str());
  return true;
}

#include "install/FindFontDlg.h"

#include <shlobj.h>

#include <cstdio>

#include "install/FolderSearch.h"
#include "install/InstallResource.h"
#include "install/InstallSystem.h"

namespace {

int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM, LPARAM data) {
  const char* initial = reinterpret_cast<const char*>(data);
  if (message == BFFM_INITIALIZED && initial && *initial)
    SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(initial));
  return 0;
}

}  // namespace

// clang-format off
FW_BEGIN_MESSAGE_MAP(CFindFontDlg, fw::CDialog)
  fw::OnBnClicked(IDC_FIND_OTHER, &CFindFontDlg::OnOtherClicked),
  fw::OnBnClicked(IDC_FIND_BROWSE, &CFindFontDlg::OnBrowse),
FW_END_MESSAGE_MAP()
// clang-format on

CFindFontDlg::CFindFontDlg(HWND owner) : fw::CDialog(IDD_FINDFONT, owner) {}

bool CFindFontDlg::OnInitDialog() {
  for (int id = IDC_FIND_TTF; id <= IDC_FIND_OTF; ++id) CheckDlgButton(m_hWnd, id, BST_CHECKED);
  CheckDlgButton(m_hWnd, IDC_FIND_OTHER, BST_UNCHECKED);
  ::EnableWindow(GetDlgItem(IDC_FIND_OTHER_EXT), FALSE);
  return true;
}

void CFindFontDlg::OnOtherClicked() {
  ::EnableWindow(GetDlgItem(IDC_FIND_OTHER_EXT), IsDlgButtonChecked(m_hWnd, IDC_FIND_OTHER) == BST_CHECKED);
}

void CFindFontDlg::OnBrowse() {
  std::string initial = fw::CControlRef(GetDlgItem(IDC_FIND_FOLDER)).GetWindowText();
  char display[MAX_PATH] = {};
  BROWSEINFOA info{};
  info.hwndOwner = m_hWnd;
  info.pszDisplayName = display;
  std::string title = fw::LoadText(IDS_FIND_BROWSE_TITLE);
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(initial.c_str());
  LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
  if (!chosen) return;
  char path[MAX_PATH] = {};
  if (SHGetPathFromIDListA(chosen, path)) ::SetWindowTextA(GetDlgItem(IDC_FIND_FOLDER), path);
  CoTaskMemFree(chosen);
}

FindFontInput CFindFontDlg::ReadInput() const {
  auto checked = [&](int id) { return IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED; };
  FindFontInput in;
  in.folder = fw::CControlRef(GetDlgItem(IDC_FIND_FOLDER)).GetWindowText();
  in.ttf = checked(IDC_FIND_TTF);
  in.ttc = checked(IDC_FIND_TTC);
  in.fon = checked(IDC_FIND_FON);
  in.pfm = checked(IDC_FIND_PFM);
  in.otf = checked(IDC_FIND_OTF);
  in.other = checked(IDC_FIND_OTHER);
  in.otherExtension = fw::CControlRef(GetDlgItem(IDC_FIND_OTHER_EXT)).GetWindowText();
  return in;
}

int CFindFontDlg::Box(const std::string& text, UINT caption, UINT type) {
  return MessageBoxA(m_hWnd, text.c_str(), fw::LoadText(caption).c_str(), type);
}

void CFindFontDlg::OnOK() {
  FindFontInput in = ReadInput();
  m_foundCount = 0;
  m_foundFiles.clear();
  switch (CheckFindFontInput(in, IsFolder)) {
    case FindFontProblem::NoExtension: Box(fw::LoadText(IDS_FIND_NO_EXTENSION), IDS_FIND_ERROR_CAPTION, MB_OK); return;
    case FindFontProblem::NoFolder: Box(fw::LoadText(IDS_FIND_NO_FOLDER), IDS_FIND_ERROR_CAPTION, MB_OK); return;
    case FindFontProblem::TooLong: Box(fw::LoadText(IDS_FIND_TOO_LONG), IDS_FIND_ERROR_CAPTION, MB_OK); return;
    case FindFontProblem::NoSuchFolder:
      Box(fw::LoadText(IDS_FIND_NO_SUCH_FOLDER), IDS_FIND_ERROR_CAPTION, MB_OK);
      return;
    case FindFontProblem::None: break;
  }
  if (Box(fw::LoadText(IDS_FIND_START_QUESTION), IDS_FIND_WARNING_CAPTION, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) {
    EndDialog(IDCANCEL);
    return;
  }
  Win32DirectoryLister lister;
  SearchResult result;
  m_foundCount = SearchFolder(lister, in.folder, SearchExtensions(in), result);
  m_foundFiles = std::move(result.found);
  if (m_foundCount == 0) {
    Box(fw::LoadText(IDS_FIND_NOTHING_FOUND), IDS_FIND_ERROR_CAPTION, MB_OK);
    return;
  }
  char question[256];
  std::snprintf(question, sizeof question, fw::LoadText(IDS_FIND_FOUND_QUESTION).c_str(), m_foundCount);
  EndDialog(Box(question, IDS_FIND_INFO_CAPTION, MB_OKCANCEL | MB_ICONINFORMATION) == IDOK ? IDOK : IDCANCEL);
}

#include "install/DialogFontInfo.h"

#include "install/FontFileLookup.h"
#include "install/InstallResource.h"
#include "install/InstallSystem.h"

#include "facescan/SelectedFace.h"
#include "fonttables/Names.h"

namespace {

std::string ToCp932(const std::u16string& text) {
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  const int bytes = ::WideCharToMultiByte(932, 0, wide, length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string out(static_cast<std::size_t>(bytes), '\0');
  ::WideCharToMultiByte(932, 0, wide, length, out.data(), bytes, nullptr, nullptr);
  return out;
}

// "IPAゴシック / IPAGothic", one name alone when the other is missing, or ""
// when the face's name table cannot be read.
std::string FamilyNamesLine(const std::string& face) {
  facescan::SelectedFace selected(face);
  if (!selected.Ok()) return {};
  std::optional<fonttables::Bytes> table = selected.Tables().Table(fonttables::MakeTag("name"));
  if (!table) return {};
  fonttables::Result<fonttables::FamilyNames> names = fonttables::ReadFamilyNames(*table);
  if (!names) return {};
  const std::string japanese = ToCp932(names->japanese), english = ToCp932(names->english);
  if (japanese.empty() || english.empty()) return japanese + english;
  return japanese + " / " + english;
}

RECT ChildRect(HWND dialog, HWND child) {
  RECT r{};
  ::GetWindowRect(child, &r);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace

CDialogFontInfo::CDialogFontInfo(HWND owner) : fw::CDialog(IDD_FONTINFO, owner) {}

bool CDialogFontInfo::OnInitDialog() {
  Win32FontKeyReader registry;
  FontFileEnvironment env{registry, m_temporary ? std::string() : WindowsFontFolder()};
  FontInfoTexts texts = MakeFontInfoTexts(m_faceName, m_filePath, m_temporary == 1, ReadSystemVersion(), env);
  SetDlgItemTextA(m_hWnd, IDC_INFO_FACE, texts.faceName.c_str());
  SetDlgItemTextA(m_hWnd, IDC_INFO_FILE, texts.file.c_str());
  SetDlgItemTextA(m_hWnd, IDC_INFO_KIND, texts.kind.c_str());
  const std::string names = FamilyNamesLine(m_faceName);
  if (!names.empty()) AddNamesLine(names);
  return true;
}

void CDialogFontInfo::AddNamesLine(const std::string& names) {
  HWND face = ::GetDlgItem(m_hWnd, IDC_INFO_FACE);
  if (!face) return;
  const RECT faceRect = ChildRect(m_hWnd, face);
  RECT line{0, 0, 0, 12};  // dialog units: a text line and its gap
  ::MapDialogRect(m_hWnd, &line);
  const int shift = line.bottom;
  for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    const RECT r = ChildRect(m_hWnd, child);
    if (r.top >= faceRect.bottom)
      ::SetWindowPos(child, nullptr, r.left, r.top + shift, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT window{};
  ::GetWindowRect(m_hWnd, &window);
  ::SetWindowPos(m_hWnd, nullptr, window.left, window.top - shift / 2, window.right - window.left,
                 window.bottom - window.top + shift, SWP_NOZORDER | SWP_NOACTIVATE);
  HWND text = ::CreateWindowExA(0, "STATIC", names.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX,
                                faceRect.left + 2, faceRect.bottom + 2, faceRect.right - faceRect.left - 2, shift - 2,
                                m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_INFO_NAMES)),
                                ::GetModuleHandleA(nullptr), nullptr);
  if (!text) return;
  ::SendMessageA(text, WM_SETFONT, ::SendMessageA(m_hWnd, WM_GETFONT, 0, 0), FALSE);
  // In the tab order right after the face name.
  ::SetWindowPos(text, face, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

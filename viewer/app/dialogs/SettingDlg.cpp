#include "SettingDlg.h"

#include <string>

#include "DialogIds.h"

// clang-format off
FW_BEGIN_MESSAGE_MAP(CSettingUpdateDlg, fw::CPropertyPage)
  // A new maximum counts at once, even if the sheet is then cancelled.
  fw::OnCbnSelChange(IDC_FAVMAX, &CSettingUpdateDlg::OnFavMaxChanged),
FW_END_MESSAGE_MAP()
// clang-format on

CSettingUpdateDlg::CSettingUpdateDlg(DisplaySettings& settings)
    : fw::CPropertyPage(IDD_SETTING_UPDATE), m_settings(settings) {}

bool CSettingUpdateDlg::OnInitDialog() {
  fw::CComboBox combo(GetDlgItem(IDC_FAVMAX));
  for (int choice : kFavMaxChoices) {
    const int item = combo.AddString(std::to_string(choice));
    combo.SetItemData(item, static_cast<DWORD_PTR>(choice));
  }
  m_nAutoUpdate = m_settings.AutoUpdate;
  fw::CButton(GetDlgItem(IDC_AUTOUPDATE)).SetCheck(m_nAutoUpdate ? BST_CHECKED : BST_UNCHECKED);
  // A stored value that is not offered leaves the list without a selection.
  for (int i = 0; i < combo.GetCount(); ++i) {
    if (static_cast<int>(combo.GetItemData(i)) == m_settings.FavMax) {
      combo.SetCurSel(i);
      break;
    }
  }
  return true;
}

void CSettingUpdateDlg::StoreValues() {
  m_nAutoUpdate = fw::CButton(GetDlgItem(IDC_AUTOUPDATE)).GetCheck() == BST_CHECKED ? 1 : 0;
  m_settings.AutoUpdate = m_nAutoUpdate;
  fw::CComboBox combo(GetDlgItem(IDC_FAVMAX));
  const int selected = combo.GetCurSel();
  m_settings.FavMax = selected == CB_ERR ? kFavMaxFallback : static_cast<int>(combo.GetItemData(selected));
}

namespace {
std::string SheetCaption() {
  std::string caption = fw::LoadResString(IDS_SETTING_CAPTION);
  return caption.empty() ? "設定" : caption;
}
}  // namespace

CSettingDlg::CSettingDlg(DisplaySettings& settings, fw::CWnd* parent)
    : fw::CPropertySheet(SheetCaption(), parent), m_page(settings) {
  m_psh.dwFlags |= PSH_NOAPPLYNOW;
  AddPage(&m_page);
}

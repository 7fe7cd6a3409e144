#pragma once
// The settings sheet (command 32792): one page with the automatic update
// check and the favourites maximum. The page works on the view's settings
// record directly; nothing is written to the registry here.
#include <windows.h>

#include "framework/Framework.h"
#include "settings/DisplaySettings.h"

class CSettingUpdateDlg : public fw::CPropertyPage {
  FW_DECLARE_MESSAGE_MAP()

 public:
  explicit CSettingUpdateDlg(DisplaySettings& settings);

  bool OnInitDialog() override;
  void OnOK() override { StoreValues(); }

  // Check box into AutoUpdate, the chosen maximum into FavMax (20 when the
  // list has no selection).
  void StoreValues();

  int m_nAutoUpdate = 0;  // the check box's value

 private:
  void OnFavMaxChanged() { StoreValues(); }
  DisplaySettings& m_settings;
};

class CSettingDlg : public fw::CPropertySheet {
 public:
  CSettingDlg(DisplaySettings& settings, fw::CWnd* parent);

 private:
  CSettingUpdateDlg m_page;
};

// The maxima offered, in list order.
inline constexpr int kFavMaxChoices[] = {20, 30, 40, 50, 60, 70, 80, 90};
inline constexpr int kFavMaxFallback = 20;

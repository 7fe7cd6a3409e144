// Settings command (32792) of the view: the sheet edits the view's settings
// record directly; they reach the registry with the next save.
#include "SettingDlg.h"
#include "view/GlimraView.h"

void CGlimraView::OnSettings() {
  CSettingDlg sheet(settings_, GetParentFrame());
  sheet.DoModal();
}

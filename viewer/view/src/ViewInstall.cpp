// Font installation commands of the view: temporary install of chosen files
// or of a folder's fonts, unloading, permanent install and font properties.
// The work is done by FontInstallCommands (viewer/install) on the view's
// catalogue and loaded-file list; the view refreshes when something changed.
#include "install/FontInstallCommands.h"
#include "view/GlimraView.h"

FontInstallCommands CGlimraView::InstallCommands() { return {fonts_, loadedFiles_, fontDialogPath_}; }

void CGlimraView::OnFontTempInstall() {
  if (InstallCommands().TempInstall(m_hWnd)) RefreshAndRepaint();
}

void CGlimraView::OnFontFolderInstall() {
  if (InstallCommands().FolderInstall(m_hWnd)) RefreshAndRepaint();
}

void CGlimraView::OnFontTempUninstall() {
  if (loadedFiles_.empty()) return;
  InstallCommands().TempUninstall();
  RefreshAndRepaint();
}

void CGlimraView::OnUpdateFontTempUninstall(fw::CCmdUI* ui) { ui->Enable(!loadedFiles_.empty()); }

void CGlimraView::OnFontPermanent() {
  // From the context menu this runs for any row, even a registered one.
  if (InstallCommands().PermanentInstall(m_hWnd, model_.selectedRow, host_.InstallFolder())) RefreshAndRepaint();
}

void CGlimraView::OnUpdateFontPermanent(fw::CCmdUI* ui) {
  if (std::optional<bool> on = InstallCommands().CanInstallPermanently(classicSystem_, model_.selectedRow))
    ui->Enable(*on);
}

void CGlimraView::OnFontProperties() { InstallCommands().ShowProperties(m_hWnd, model_.selectedRow); }

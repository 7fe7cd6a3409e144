#include "install/InstallCommandTarget.h"

#include "res/ResourceIds.h"

// clang-format off
FW_BEGIN_MESSAGE_MAP(InstallCommandTarget, fw::CCmdTarget)
  fw::OnCommand(ID_FONT_TEMPINSTALL, &InstallCommandTarget::OnFontTempInstall),
  fw::OnCommand(ID_FONT_FOLDERINSTALL, &InstallCommandTarget::OnFontFolderInstall),
  fw::OnCommand(ID_FONT_TEMPUNINSTALL, &InstallCommandTarget::OnFontTempUninstall),
  fw::OnUpdateCommandUI(ID_FONT_TEMPUNINSTALL, &InstallCommandTarget::OnUpdateFontTempUninstall),
  fw::OnCommand(ID_FONT_PERMANENT, &InstallCommandTarget::OnFontPermanent),
  fw::OnUpdateCommandUI(ID_FONT_PERMANENT, &InstallCommandTarget::OnUpdateFontPermanent),
  fw::OnCommand(ID_FONT_PROPERTIES, &InstallCommandTarget::OnFontProperties),
FW_END_MESSAGE_MAP()
// clang-format on

void InstallCommandTarget::OnFontTempInstall() {
  if (work_.TempInstall()) site_.RefreshAndRepaint();
}

void InstallCommandTarget::OnFontFolderInstall() {
  if (work_.FolderInstall()) site_.RefreshAndRepaint();
}

void InstallCommandTarget::OnFontTempUninstall() {
  if (installer_.Loaded().empty()) return;
  installer_.RemoveAll();
  site_.RefreshAndRepaint();
}

void InstallCommandTarget::OnUpdateFontTempUninstall(fw::CCmdUI* ui) { ui->Enable(!installer_.Loaded().empty()); }

void InstallCommandTarget::OnFontPermanent() {
  // From the context menu this runs for any row, even a registered one.
  if (work_.PermanentInstall(site_.SelectedRow())) site_.RefreshAndRepaint();
}

void InstallCommandTarget::OnUpdateFontPermanent(fw::CCmdUI* ui) {
  if (std::optional<bool> on = installer_.CanInstallPermanently(site_.IsClassicSystem(), site_.SelectedRow()))
    ui->Enable(*on);
}

void InstallCommandTarget::OnFontProperties() { work_.ShowProperties(site_.SelectedRow()); }

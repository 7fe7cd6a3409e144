#pragma once
// The view's font installation commands: temporary install of chosen files,
// folder search, unloading, permanent install and font properties. Each
// command that changed the catalogue returns true; the view then refreshes
// and repaints. It works on the view's catalogue, loaded-file list and
// remembered dialog path, so it can be made whenever a command needs it.
#include <windows.h>

#include <string>

#include "fonts/FontList.h"
#include "install/FontInstaller.h"

class FontInstallCommands {
 public:
  FontInstallCommands(CFontList& fonts, LoadedFileList& loaded, std::string& dialogPath)
      : fonts_(fonts), installer_(fonts, loaded), dialogPath_(dialogPath) {}

  // 32775: the file-open dialog, then loading of the chosen files.
  bool TempInstall(HWND view);
  // 32796: CFindFontDlg, then loading of the files it found.
  bool FolderInstall(HWND view);
  // 32776, enabled while something is loaded.
  bool TempUninstall();
  bool CanUninstall() const { return !installer_.Loaded().empty(); }
  // 32807 for the selected row (from the context menu for any row).
  bool PermanentInstall(HWND view, int selectedRow, const std::string& installFolder);
  std::optional<bool> CanInstallPermanently(bool classicSystem, int selectedRow) const {
    return installer_.CanInstallPermanently(classicSystem, selectedRow);
  }
  // 32799 for the selected row.
  void ShowProperties(HWND view, int selectedRow);

  const FontInstaller& Installer() const { return installer_; }

 private:
  bool LoadWithWaitCursor(const std::vector<std::string>& paths);

  CFontList& fonts_;
  FontInstaller installer_;
  std::string& dialogPath_;  // what the file dialog reported last
};

#pragma once
// The view's font installation commands: temporary install of chosen files,
// folder search, unloading, permanent install and font properties. Each
// command that changed the catalogue returns true; the view then refreshes
// and repaints. It works on the view's catalogue, loaded-file list and
// remembered dialog path, so it can be made whenever a command needs it.
#include <windows.h>

#include <string>

#include "fonts/FontList.h"
#include "framework/Wnd.h"
#include "install/FontInstaller.h"
#include "install/InstallCommandTarget.h"

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

// The installation commands' work on the view's window, for the view's
// InstallCommandTarget.
class FontInstallWork : public InstallCommandTarget::Work {
 public:
  FontInstallWork(const fw::CWnd& view, CFontList& fonts, LoadedFileList& loaded, const std::string& installFolder)
      : view_(view), fonts_(fonts), loaded_(loaded), installFolder_(installFolder) {}

  bool TempInstall() override { return Commands().TempInstall(view_.m_hWnd); }
  bool FolderInstall() override { return Commands().FolderInstall(view_.m_hWnd); }
  bool PermanentInstall(int row) override { return Commands().PermanentInstall(view_.m_hWnd, row, installFolder_); }
  void ShowProperties(int row) override { Commands().ShowProperties(view_.m_hWnd, row); }

 private:
  FontInstallCommands Commands() { return {fonts_, loaded_, dialogPath_}; }

  const fw::CWnd& view_;
  CFontList& fonts_;
  LoadedFileList& loaded_;
  const std::string& installFolder_;  // the application's, fixed at start-up
  std::string dialogPath_;            // the path the font file dialog reported last
};

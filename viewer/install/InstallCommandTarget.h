#pragma once
// The installation commands of the sample view: temporary install of chosen
// files or of a folder's fonts, unloading, permanent install and the font
// properties, with their enable states. The view routes these commands here.
// Dialogs and the install program are behind Work (FontInstallWork in the
// Windows tree); the view is behind Site.
#include "fonts/FontList.h"
#include "framework/CmdTarget.h"
#include "install/FontInstaller.h"
#include "install/LoadedFileList.h"

class InstallCommandTarget : public fw::CCmdTarget {
  FW_DECLARE_MESSAGE_MAP()

 public:
  class Site {
   public:
    // A row of the visible list, or -1 when nothing is selected.
    virtual int SelectedRow() const = 0;
    // Windows 2000 or XP: the only systems where the install program works.
    virtual bool IsClassicSystem() const = 0;
    // The catalogue changed: rebuild the visible list and repaint.
    virtual void RefreshAndRepaint() = 0;

   protected:
    ~Site() = default;
  };

  // What needs the window system. Each returns true when the catalogue changed.
  class Work {
   public:
    virtual bool TempInstall() = 0;
    virtual bool FolderInstall() = 0;
    virtual bool PermanentInstall(int row) = 0;
    virtual void ShowProperties(int row) = 0;

   protected:
    ~Work() = default;
  };

  InstallCommandTarget(CFontList& fonts, LoadedFileList& loaded, Site& site, Work& work)
      : installer_(fonts, loaded), site_(site), work_(work) {}

 private:
  void OnFontTempInstall();
  void OnFontFolderInstall();
  void OnFontTempUninstall();
  void OnUpdateFontTempUninstall(fw::CCmdUI* ui);
  void OnFontPermanent();
  void OnUpdateFontPermanent(fw::CCmdUI* ui);
  void OnFontProperties();

  FontInstaller installer_;
  Site& site_;
  Work& work_;
};

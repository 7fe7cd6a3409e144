#pragma once
// The view's side of font installation: the files it loaded, loading and
// unloading them through the catalogue, and what a permanent installation
// changes. Portable; the dialogs and the install program are in the Win32
// files beside it.
#include <optional>
#include <string>
#include <vector>

#include "fonts/FontList.h"
#include "install/LoadedFileList.h"

class FontInstaller {
 public:
  // Both belong to the view; the installer works on them.
  FontInstaller(CFontList& fonts, LoadedFileList& loaded) : fonts_(fonts), loaded_(loaded) {}

  // Loads every path not loaded yet, in order; files the system refuses are
  // skipped. True when at least one was loaded: the catalogue has then been
  // rebuilt and the view must lay out and repaint.
  bool LoadFiles(const std::vector<std::string>& paths);

  // Unloads every loaded file and resets the catalogue's baseline: what is
  // left counts as registered.
  void RemoveAll();

  // The command line that installs path for good: the install program of the
  // installation folder followed by the path as it is (the program takes all
  // its words as the path).
  static std::string PellmarkCommandLine(const std::string& installFolder, const std::string& path);

  // Whether the menu and tool bar offer the permanent install for the row;
  // nothing (leave the state as it is) when no row is selected.
  std::optional<bool> CanInstallPermanently(bool classicSystem, int selectedRow) const;

  // After the install program succeeded for the row's file: the face counts
  // as registered and the file is no longer unloaded by the viewer.
  void InstalledPermanently(int row, const std::string& path);

  const LoadedFileList& Loaded() const { return loaded_; }

 private:
  CFontList& fonts_;
  LoadedFileList& loaded_;
};

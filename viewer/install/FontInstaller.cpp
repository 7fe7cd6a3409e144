#include "install/FontInstaller.h"

bool FontInstaller::LoadFiles(const std::vector<std::string>& paths) {
  bool added = false;
  for (const std::string& path : paths) {
    if (loaded_.Contains(path)) continue;
    if (fonts_.AddTempFontFile(path, path.c_str()) > 0) {
      loaded_.Add(path);
      added = true;
    }
  }
  if (added) fonts_.Rebuild(false);
  return added;
}

void FontInstaller::RemoveAll() {
  for (const std::string& path : loaded_.Paths()) fonts_.RemoveTempFontFile(path);
  loaded_.Clear();
  fonts_.Rebuild(true);
}

std::string FontInstaller::PellmarkCommandLine(const std::string& installFolder, const std::string& path) {
  return installFolder + "\\Pellmark.exe " + path;
}

std::optional<bool> FontInstaller::CanInstallPermanently(bool classicSystem, int row) const {
  if (!classicSystem) return false;
  if (row < 0) return std::nullopt;
  return row < fonts_.GetCount() && fonts_.GetFont(row).kind == kFontTemporary;
}

void FontInstaller::InstalledPermanently(int row, const std::string& path) {
  fonts_.MarkPermanent(row);
  loaded_.RemoveFirst(path);
}

#include "install/FontInstallCommands.h"

#include <commdlg.h>

#include <vector>

#include "install/DialogFontInfo.h"
#include "install/FileDialogText.h"
#include "install/FindFontDlg.h"
#include "install/InstallResource.h"
#include "install/InstallSystem.h"

namespace {

constexpr const char* kOpenFilter =
    "Font Files (*.ttf,*.ttc,*.fon,*.pfm,*.otf)|*.ttf;*.ttc;*.fon;*.pfm;*.otf|All Files (*.*)|*.*||";

// The chosen files, or none when the user cancelled.
std::vector<std::string> ChooseFontFiles(HWND owner, std::string& remembered) {
  FileDialogStart start = FileDialogStartFor(remembered, IsFolder);
  std::vector<char> buffer(kFileDialogBufferSize, '\0');
  start.presetName.copy(buffer.data(), buffer.size() - 2);
  std::string filter = DialogFilter(kOpenFilter);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrInitialDir = start.initialFolder.empty() ? nullptr : start.initialFolder.c_str();
  std::string title = fw::LoadText(IDS_OPEN_FONTS_TITLE);
  ofn.lpstrTitle = title.c_str();
  ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameA(&ofn)) {
    // More names than the buffer holds: say so rather than do nothing.
    if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL)
      MessageBoxA(owner, fw::LoadText(IDS_OPEN_TOO_MANY_FILES).c_str(), title.c_str(), MB_OK | MB_ICONEXCLAMATION);
    return {};
  }
  FileDialogChoice choice = ParseFileDialogResult(buffer.data(), buffer.size());
  remembered = choice.reportedPath;
  return choice.files;
}

}  // namespace

bool FontInstallCommands::TempInstall(HWND view) {
  std::vector<std::string> files = ChooseFontFiles(view, dialogPath_);
  return !files.empty() && installer_.LoadFiles(files);
}

bool FontInstallCommands::LoadWithWaitCursor(const std::vector<std::string>& paths) {
  WaitCursor wait;
  return installer_.LoadFiles(paths);
}

bool FontInstallCommands::FolderInstall(HWND view) {
  CFindFontDlg dialog(view);
  if (dialog.DoModal() != IDOK) return false;
  return LoadWithWaitCursor(dialog.m_foundFiles);
}

bool FontInstallCommands::TempUninstall() {
  installer_.RemoveAll();
  return true;
}

bool FontInstallCommands::PermanentInstall(HWND view, int row, const std::string& installFolder) {
  std::string path = fonts_.TempPathAt(row);
  if (MessageBoxA(view, fw::LoadText(IDS_PERMANENT_QUESTION).c_str(), fw::LoadText(IDS_PERMANENT_CAPTION).c_str(),
                  MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK)
    return false;
  if (!RunAndExpectOne(FontInstaller::PellmarkCommandLine(installFolder, path))) {
    MessageBoxA(view, fw::LoadText(IDS_PERMANENT_FAILED).c_str(), fw::LoadText(IDS_PERMANENT_FAILED_CAPTION).c_str(),
                MB_OK | MB_ICONSTOP);
    return false;
  }
  installer_.InstalledPermanently(row, path);
  return true;
}

void FontInstallCommands::ShowProperties(HWND view, int row) {
  CDialogFontInfo dialog(view);
  dialog.m_faceName = fonts_.GetName(row);
  dialog.m_filePath = fonts_.FindTempPath(dialog.m_faceName);
  dialog.m_temporary = fonts_.GetCount() > 0 && fonts_.GetFont(row).kind == kFontTemporary ? 1 : 0;
  dialog.DoModal();
}

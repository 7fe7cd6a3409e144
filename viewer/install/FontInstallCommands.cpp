#include "install/FontInstallCommands.h"

#include <commdlg.h>

#include <vector>

#include "install/DialogFontInfo.h"
#include "install/FileDialogText.h"
#include "install/FindFontDlg.h"
#include "install/InstallSystem.h"

namespace {

constexpr const char* kOpenTitle = "フォントの一時インストール";
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
  ofn.lpstrTitle = kOpenTitle;
  ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameA(&ofn)) {
    // More names than the buffer holds: say so rather than do nothing.
    if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL)
      MessageBoxA(owner, "選択したファイルが多すぎます。\n一度に選択するファイルを減らして下さい。", kOpenTitle,
                  MB_OK | MB_ICONEXCLAMATION);
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
  if (MessageBoxA(view,
                  "VistaやWindows7では、管理者権限を求める警告が出る事があります。\n"
                  "警告画面が出た場合、一定時間内に「許可」又は「実行」して下さい。\n"
                  "これより指定の一時フォントを本番インストールしますが宜しいですか？",
                  "フォントインストール注意", MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK)
    return false;
  if (!RunAndExpectOne(FontInstaller::PellmarkCommandLine(installFolder, path))) {
    MessageBoxA(view, "フォントのインストールに失敗しました。\n手動でインストールしてみて下さい。",
                "フォントインストール中止", MB_OK | MB_ICONSTOP);
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

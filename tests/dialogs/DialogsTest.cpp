#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <thread>

#include "AboutDlg.h"
#include "DialogIds.h"
#include "SettingDlg.h"

namespace {

HWND WaitForWindow(const char* title) {
  for (int i = 0; i < 500; ++i) {
    if (HWND w = FindWindowA(nullptr, title); w && IsWindowVisible(w)) return w;
    Sleep(10);
  }
  return nullptr;
}

std::string TextOf(HWND w) {
  char buf[256] = {};
  GetWindowTextA(w, buf, sizeof buf);
  return buf;
}

// Runs modal() on this thread while drive(window) runs on another one once
// the window titled title is up.
void DriveModal(const char* title, const std::function<void()>& modal, const std::function<void(HWND)>& drive) {
  std::thread driver([&] {
    HWND w = WaitForWindow(title);
    if (w) drive(w);
  });
  modal();
  driver.join();
}

HWND SettingsPage(HWND sheet) { return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

void ChooseFavMax(HWND page, int index) {
  HWND combo = GetDlgItem(page, IDC_FAVMAX);
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_FAVMAX, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

class Dialogs : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitCommonControls(); }
};

TEST_F(Dialogs, SettingsOfferEightMaximaAndKeepAChoiceEvenAfterCancel) {
  DisplaySettings settings;
  settings.FavMax = 40;
  settings.AutoUpdate = 1;
  int count = 0;
  int initialSelection = -1;
  bool autoChecked = false;
  DriveModal(
      "設定", [&] { CSettingDlg(settings, nullptr).DoModal(); },
      [&](HWND sheet) {
        HWND page = SettingsPage(sheet);
        HWND combo = GetDlgItem(page, IDC_FAVMAX);
        count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
        initialSelection = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
        autoChecked = SendMessageA(GetDlgItem(page, IDC_AUTOUPDATE), BM_GETCHECK, 0, 0) == BST_CHECKED;
        ChooseFavMax(page, 5);  // "70"
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
      });
  EXPECT_EQ(count, 8);
  EXPECT_EQ(initialSelection, 2);
  EXPECT_TRUE(autoChecked);
  EXPECT_EQ(settings.FavMax, 70);
  EXPECT_EQ(settings.AutoUpdate, 1);
}

TEST_F(Dialogs, SettingsCancelAfterOnlyTogglingTheCheckBoxChangesNothing) {
  DisplaySettings settings;
  settings.FavMax = 30;
  settings.AutoUpdate = 1;
  DriveModal(
      "設定", [&] { CSettingDlg(settings, nullptr).DoModal(); },
      [&](HWND sheet) {
        SendMessageA(GetDlgItem(SettingsPage(sheet), IDC_AUTOUPDATE), BM_SETCHECK, BST_UNCHECKED, 0);
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
      });
  EXPECT_EQ(settings.AutoUpdate, 1);
  EXPECT_EQ(settings.FavMax, 30);
}

TEST_F(Dialogs, SettingsUnlistedMaximumBecomes20OnOk) {
  DisplaySettings settings;
  settings.FavMax = 25;
  settings.AutoUpdate = 1;
  int selection = 0;
  DriveModal(
      "設定", [&] { CSettingDlg(settings, nullptr).DoModal(); },
      [&](HWND sheet) {
        HWND page = SettingsPage(sheet);
        selection = static_cast<int>(SendMessageA(GetDlgItem(page, IDC_FAVMAX), CB_GETCURSEL, 0, 0));
        SendMessageA(GetDlgItem(page, IDC_AUTOUPDATE), BM_SETCHECK, BST_UNCHECKED, 0);
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
      });
  EXPECT_EQ(selection, CB_ERR);
  EXPECT_EQ(settings.FavMax, 20);
  EXPECT_EQ(settings.AutoUpdate, 0);
}

class TestAbout : public CAboutDlg {
 public:
  CXTHyperLink& Link() { return m_link; }
};

std::string ThisProgram() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

TEST_F(Dialogs, AboutShowsVersionAndMakerAsALink) {
  TestAbout about;
  about.m_programFile = ThisProgram();  // carries the same version resource
  std::string version, maker, tip;
  bool overText = true, besideText = true;
  LOGFONTA font{};
  DriveModal(
      "バージョン情報", [&] { about.DoModal(); },
      [&](HWND dialog) {
        version = TextOf(GetDlgItem(dialog, IDC_VERSION));
        HWND link = GetDlgItem(dialog, IDC_MAKER_LINK);
        maker = TextOf(link);
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(link, WM_GETFONT, 0, 0)), sizeof font, &font);
        RECT r{};
        GetWindowRect(link, &r);
        SetCursorPos(r.left + 3, (r.top + r.bottom) / 2);
        overText = about.Link().IsMouseOverText();
        SetCursorPos(r.right - 2, (r.top + r.bottom) / 2);  // beside the short name
        besideText = about.Link().IsMouseOverText();
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
      });
  EXPECT_EQ(version, "2.0.1");
  EXPECT_EQ(maker, "VANTO");
  EXPECT_EQ(about.Link().GetURL(), kMakerSite);
  EXPECT_TRUE(font.lfUnderline);
  EXPECT_NE(about.Link().GetToolTip(), nullptr);
  EXPECT_TRUE(overText);
  EXPECT_FALSE(besideText);
  EXPECT_FALSE(about.Link().GetVisited());
}

TEST(AboutVersion, ShortVersionTakesTheFirstThreeNumbers) {
  EXPECT_EQ(ShortVersion("2, 0, 1, 0"), "2.0.1");
  EXPECT_EQ(ShortVersion("10,20,30,40"), "10.20.30");
  EXPECT_EQ(ShortVersion("3, 1, 4"), "3.1.4");
  EXPECT_EQ(ShortVersion("2.0.1.0"), "");
  EXPECT_EQ(ShortVersion(nullptr), "");
}

TEST(HyperLink, ErrorTextsPerCodeAndOneForTheRest) {
  std::set<std::string> texts;
  for (int code : {0, 2, 3, 5, 8, 11, 26, 27, 28, 29, 30, 31, 32}) texts.insert(HyperLinkErrorText(code));
  EXPECT_EQ(texts.size(), 13u);
  EXPECT_EQ(HyperLinkErrorText(2), "リンク先のファイルが見つかりませんでした。");
  EXPECT_EQ(HyperLinkErrorText(4), "リンク先を開けませんでした。（エラーコード 4）");
  EXPECT_EQ(texts.count(HyperLinkErrorText(4)), 0u);
}

TEST(HyperLink, ColoursVisitedAndBackground) {
  CXTHyperLink link;
  EXPECT_EQ(link.GetLinkColor(), RGB(0, 0, 255));
  EXPECT_EQ(link.GetHoverColor(), RGB(255, 0, 0));
  EXPECT_EQ(link.GetVisitedColor(), RGB(128, 0, 128));
  EXPECT_EQ(link.GetBackColor(), GetSysColor(COLOR_BTNFACE));
  link.SetBackColor(RGB(1, 2, 3));
  EXPECT_EQ(link.GetBackColor(), RGB(1, 2, 3));
  link.SetVisited(true);
  EXPECT_TRUE(link.GetVisited());
  EXPECT_NE(link.GetLinkCursor(), nullptr);
}

}  // namespace

// The menus, accelerators, command strings, message texts and tool bars of
// Glimra.exe, read from the program file itself and compared with the tables
// below.
// Numbers are written out rather than taken from the program's headers so
// that a wrong id in the headers shows up too.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Paths.h"

namespace {

struct Item {
  UINT id;  // 0: separator
  const char* text;
};

struct Popup {
  const char* text;
  std::vector<Item> items;
};

const std::vector<Popup> kMainMenu = {
    {"ファイル(&F)",
     {{57607, "印刷（&P）.\tCtrl+P"},
      {57609, "印刷ﾌﾟﾚﾋﾞｭｰ"},
      {57606, "ﾌﾟﾘﾝﾀの設定(&R)"},
      {0, ""},
      {32792, "設定(&C)"},
      {0, ""},
      {32793, "アップデートチェック"},
      {0, ""},
      {57665, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"}}},
    {"編集(&E)",
     {{57634, "コピー(&C)\tCtrl+C"},
      {32774, "フォント名をコピー(&F)"},
      {57637, "貼り付け(&P)\tCtrl+V"},
      {0, ""},
      {32800, "お気に入りに追加"},
      {32801, "候補に追加"},
      {0, ""},
      {32799, "プロパティ"}}},
    {"フォント(&C)",
     {{32775, "フォントの一時インストール(&T)"},
      {32796, "CD/フォルダ検索 一時インストール"},
      {0, ""},
      {32776, "一時フォントのアンイストール(&U)"},
      {0, ""},
      {32807, "一時フォントから本番インストール"}}},
    {"表示(&V)",
     {{59392, "ツールバー(&T)"},
      {32772, "フォント選択バー(&S)"},
      {32771, "テキスト入力バー(&C)"},
      {32773, "リスト選択バー(&L)"}}},
    {"ヘルプ(&H)",
     {{57670, "オンラインヘルプﾟ(&H)\tF1"},
      {57664, "バージョン情報(&A)..."},
      {0, ""},
      {32794, "Vanto サイト"},
      {32795, "サポート サイト"}}},
};

// The row context menu: one pop-up whose own text is not shown anywhere.
const std::vector<Item> kContextMenu = {
    {57634, "コピー"}, {32774, "フォント名をコピー"}, {0, ""}, {32807, "一時フォントから本番インストール"},
    {0, ""},           {32799, "プロパティ"},
};

// Status prompt and tool tip; nullptr where the command's texts are our own.
struct CommandText {
  UINT id;
  const char* prompt;
  const char* tip;
};

const CommandText kCommandTexts[] = {
    {57634, "選択フォントの文字をコピーしてクリップボードに保存", "コピー"},
    {32774, "選択フォント名をコピーしてクリップボードに保存", "フォント名コピー"},
    {57637, nullptr, "貼り付け"},
    {32775, "フォントを一時的にインストール", "フォントを一時的にインストール"},
    {32776, "一時的にインストールしたフォントのアンインストール", "一時的にインストールしたフォントのアンインストール"},
    {32796, "指定パス以下のフォントを検索し一時的にインストール", nullptr},
    {32807, "一時フォントから本番インストール", "一時フォントからインストール"},
    {32799, "選択フォントのプロパティを表示", "プロパティ"},
    {32800, "選択フォントをお気に入りに追加", "お気に入りに追加"},
    {32804, "選択フォントをお気に入りから削除", "お気に入りから削除"},
    {32801, "選択フォントを候補に追加", "候補に追加"},
    {32805, "選択フォントを候補から削除", "候補から削除"},
    {57607, nullptr, "印刷"},
    {32777, "欧文フォントを表示", "欧文フォントを表示"},
    {32778, "日本語フォントを表示", "日本語フォントを表示"},
    {32779, "全ての言語フォントを表示", "全ての言語フォントを表示"},
    {32790, "一時インストールしたフォントを表示", "一時インストールしたフォントを表示"},
    {32791, "既存フォントを表示", "既存フォントを表示"},
    {32806, "標準リストを表示", "標準表示"},
    {32802, "お気に入りのみを表示", "お気に入りのみ表示"},
    {32803, "候補のみを表示", "候補のみ表示"},
};

const struct {
  UINT id;
  const char* text;
} kFixedStrings[] = {
    {128, "Glimra\n\nGlimr\n\n\nGlimra.Document\nGlimr Document"},
    {57344, "Glimra"},
    {100, "OLE の初期化に失敗しました。 OLE ﾗｲﾌﾞﾗﾘのﾊﾞｰｼﾞｮﾝが正しいことを確認してください。"},
    {61204, "Aaあぁアァ亜宇"},
    {61205, "Sample string"},
    {61208, "設定"},
    // Messages, captions and titles of the frame, the view, the dialogs and
    // the font installation.
    {208, "ツールバー"},
    {209, "フォント選択バー"},
    {210, "リスト選択バー"},
    {211, "テキスト入力バー"},
    {212, "お気に入りに追加出来る上限以上は登録出来ません。"},
    {213, "お気に入り追加エラー"},
    {214,
     "一時インストールしたフォントを解除しますか？\r\n"
     "「いいえ」を選ぶとコンピュータを再起動するまでそのフォントが使用可能です."},
    {224, "ｴﾗｰﾒｯｾｰｼﾞ"},
    {225, "ﾊﾞｰｼﾞｮﾝ情報を取得出来ませんでした"},
    {226, "メモリまたはリソースが不足しているため、リンク先を開けませんでした。"},
    {227, "リンク先のファイルが見つかりませんでした。"},
    {228, "リンク先のパスが見つかりませんでした。"},
    {229, "リンク先へのアクセスが拒否されました。"},
    {230, "メモリが不足しているため、リンク先を開けませんでした。"},
    {231, "リンク先のプログラムの形式が正しくありません。"},
    {232, "共有違反のため、リンク先を開けませんでした。"},
    {233, "リンク先の関連付けが不完全なため、開けませんでした。"},
    {234, "DDE の要求がタイムアウトしたため、リンク先を開けませんでした。"},
    {235, "DDE の処理に失敗したため、リンク先を開けませんでした。"},
    {236, "他の DDE 処理を実行中のため、リンク先を開けませんでした。"},
    {237, "リンク先を開くプログラムが関連付けられていません。"},
    {238, "必要な DLL が見つからないため、リンク先を開けませんでした。"},
    {239, "リンク先を開けませんでした。（エラーコード %d）"},
    {256, "エラーメッセージ"},
    {257, "ワーニング"},
    {258, "インフォメーション"},
    {259, "ＣＤ／フォルダ検索 一時インストール"},
    {260, "検索するフォントファイルの拡張子が１個も選択されていません。"},
    {261, "検索するＣＤ／フォルダのパスが設定されていません。\n実在するパスを設定して下さい。"},
    {262, "検索するＣＤ／フォルダのパスが長すぎます。\n259文字以内のパスを設定して下さい。"},
    {263, "検索するＣＤ／フォルダのパスに実在しないパスが設定されています。\n実在するパスを設定して下さい。"},
    {264,
     "これより指定パス以下の指定拡張子のフォントファイルを検索します。\n"
     "パス以下の検索には時間が掛かる場合があります。\n処理を開始して宜しいですか？"},
    {265, "指定パス以下に対象のフォントファイルが見つかりませんでした。"},
    {266, "指定パス以下に %d 個の対象ファイルが見つかりました\nこのまま一時インストールを実行して宜しいですか？"},
    {267, "フォントの一時インストール"},
    {268, "選択したファイルが多すぎます。\n一度に選択するファイルを減らして下さい。"},
    {269,
     "VistaやWindows7では、管理者権限を求める警告が出る事があります。\n"
     "警告画面が出た場合、一定時間内に「許可」又は「実行」して下さい。\n"
     "これより指定の一時フォントを本番インストールしますが宜しいですか？"},
    {270, "フォントインストール注意"},
    {271, "フォントのインストールに失敗しました。\n手動でインストールしてみて下さい。"},
    {272, "フォントインストール中止"},
};

struct ToolBar {
  UINT resource;
  WORD width, height;
  std::vector<WORD> buttons;  // 0: separator
};

const ToolBar kToolBars[] = {
    {128, 24, 24, {57634, 57637, 0, 32775, 32776, 0, 32807, 0, 32800, 32804, 32801, 32805, 0, 57607}},
    {131, 36, 24, {32777, 32778, 32779, 0, 32790, 32791}},
    {32808, 34, 24, {32806, 32802, 32803}},
};

const ACCEL kAccelerators[] = {
    {FVIRTKEY | FCONTROL, 'P', 57607}, {FVIRTKEY | FCONTROL, 'C', 57634}, {FVIRTKEY | FCONTROL, 'V', 57637},
    {FVIRTKEY | FCONTROL, 'F', 32815}, {FVIRTKEY, VK_F6, 57680},          {FVIRTKEY | FSHIFT, VK_F6, 57681},
};

constexpr WORD kToolBarType = 241;

class Resources : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    // Test programs live in tests\, the programs in bin\ beside it.
    std::string exe = paths::Join(paths::FolderOf(paths::FolderOf(path)), "bin\\Glimra.exe");
    module_ = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  }
  static void TearDownTestSuite() {
    if (module_) FreeLibrary(module_);
  }
  void SetUp() override { ASSERT_NE(module_, nullptr) << "Glimra.exe not found beside the tests"; }

  static std::string String(UINT id) {
    char buf[1024] = {};
    int n = LoadStringA(module_, id, buf, sizeof buf);
    return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
  }

  static HMODULE module_;
};
HMODULE Resources::module_ = nullptr;

std::string Describe(UINT id, const std::string& text) {
  return id == 0 && text.empty() ? std::string("----\n") : std::to_string(id) + " " + text + "\n";
}

std::string Describe(const std::vector<Item>& items) {
  std::string s;
  for (const Item& i : items) s += Describe(i.id, i.text);
  return s;
}

struct MenuEntry {
  UINT id = 0;
  std::string text;
  HMENU popup = nullptr;
  bool separator = false;
};

std::vector<MenuEntry> Entries(HMENU menu) {
  std::vector<MenuEntry> entries;
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    char text[256] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text;
    GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
    // A template's separator is an item without id and text.
    bool separator = (info.fType & MFT_SEPARATOR) || (!info.hSubMenu && info.wID == 0 && !text[0]);
    entries.push_back({info.wID, text, info.hSubMenu, separator});
  }
  return entries;
}

// The pop-up's items as text; items beyond the expected ones must begin with
// a separator and are left out.
std::string DescribePopup(HMENU popup, size_t expectedCount) {
  std::vector<MenuEntry> entries = Entries(popup);
  std::string s;
  for (size_t i = 0; i < entries.size(); ++i) {
    const MenuEntry& e = entries[i];
    if (i == expectedCount) {
      if (!e.separator) s += "(more items without a separator)\n";
      break;
    }
    s += e.popup ? "(pop-up) " + e.text + "\n" : Describe(e.separator ? 0 : e.id, e.separator ? "" : e.text);
  }
  return s;
}

TEST_F(Resources, MainMenuAndContextMenu) {
  HMENU menu = LoadMenuA(module_, MAKEINTRESOURCEA(128));
  ASSERT_NE(menu, nullptr);
  std::vector<MenuEntry> bar = Entries(menu);
  ASSERT_EQ(bar.size(), kMainMenu.size());
  for (size_t i = 0; i < bar.size(); ++i) {
    EXPECT_EQ(bar[i].text, kMainMenu[i].text);
    ASSERT_NE(bar[i].popup, nullptr) << kMainMenu[i].text;
    EXPECT_EQ(DescribePopup(bar[i].popup, kMainMenu[i].items.size()), Describe(kMainMenu[i].items))
        << kMainMenu[i].text;
  }
  DestroyMenu(menu);

  menu = LoadMenuA(module_, MAKEINTRESOURCEA(132));
  ASSERT_NE(menu, nullptr);
  bar = Entries(menu);
  ASSERT_EQ(bar.size(), 1u);
  ASSERT_NE(bar[0].popup, nullptr);
  EXPECT_EQ(DescribePopup(bar[0].popup, kContextMenu.size()), Describe(kContextMenu));
  DestroyMenu(menu);
}

TEST_F(Resources, Accelerators) {
  HACCEL table = LoadAcceleratorsA(module_, MAKEINTRESOURCEA(128));
  ASSERT_NE(table, nullptr);
  std::vector<ACCEL> actual(static_cast<size_t>(CopyAcceleratorTableA(table, nullptr, 0)));
  CopyAcceleratorTableA(table, actual.data(), static_cast<int>(actual.size()));
  DestroyAcceleratorTable(table);
  auto describe = [](const ACCEL& a) {
    return std::to_string(a.fVirt & 0x7F & ~FNOINVERT) + "+" + std::to_string(a.key) + " -> " + std::to_string(a.cmd) +
           "\n";
  };
  std::string expected, seen;
  for (const ACCEL& a : kAccelerators) expected += describe(a);
  for (const ACCEL& a : actual) seen += describe(a);
  EXPECT_EQ(seen, expected);
}

TEST_F(Resources, EveryCommandHasAPromptAndToolTip) {
  // Every command of the menus and bars has both parts...
  std::vector<UINT> ids;
  HMENU menu = LoadMenuA(module_, MAKEINTRESOURCEA(128));
  ASSERT_NE(menu, nullptr);
  for (const MenuEntry& top : Entries(menu))
    for (const MenuEntry& e : Entries(top.popup))
      if (!e.separator && !e.popup) ids.push_back(e.id);
  DestroyMenu(menu);
  for (const ToolBar& bar : kToolBars)
    for (WORD id : bar.buttons)
      if (id) ids.push_back(id);
  for (UINT id : ids) {
    std::string s = String(id);
    size_t lf = s.find('\n');
    EXPECT_TRUE(lf != std::string::npos && lf > 0 && lf + 1 < s.size()) << id << ": \"" << s << "\"";
  }
  // ...and where the texts are fixed, they are these.
  for (const CommandText& c : kCommandTexts) {
    std::string s = String(c.id);
    size_t lf = s.find('\n');
    ASSERT_NE(lf, std::string::npos) << c.id;
    if (c.prompt) {
      EXPECT_EQ(s.substr(0, lf), c.prompt) << c.id;
    }
    if (c.tip) {
      EXPECT_EQ(s.substr(lf + 1), c.tip) << c.id;
    }
  }
  for (const auto& f : kFixedStrings) EXPECT_EQ(String(f.id), f.text) << f.id;
}

TEST_F(Resources, ToolBarsInOrderWithTheirBitmaps) {
  for (const ToolBar& bar : kToolBars) {
    HRSRC found = FindResourceA(module_, MAKEINTRESOURCEA(bar.resource), MAKEINTRESOURCEA(kToolBarType));
    ASSERT_NE(found, nullptr) << bar.resource;
    auto* data = static_cast<const WORD*>(LockResource(LoadResource(module_, found)));
    DWORD size = SizeofResource(module_, found);
    ASSERT_GE(size, 8u);
    ASSERT_GE(size, 8u + 2u * data[3]) << bar.resource;
    EXPECT_EQ(data[0], 1) << bar.resource;
    EXPECT_EQ(data[1], bar.width) << bar.resource;
    EXPECT_EQ(data[2], bar.height) << bar.resource;
    EXPECT_EQ(std::vector<WORD>(data + 4, data + 4 + data[3]), bar.buttons) << bar.resource;
    EXPECT_NE(FindResourceA(module_, MAKEINTRESOURCEA(bar.resource), RT_BITMAP), nullptr) << "bitmap " << bar.resource;
  }
}

}  // namespace

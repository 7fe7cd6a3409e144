// The framework on real windows under Wine: profile functions, dispatch and
// error reporting, reflection, menus and tool bars following enable handlers,
// docking and bar layout, and a modal dialog on a UI thread owned by a window
// of another thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "common/Paths.h"
#include "framework/Framework.h"

namespace {

constexpr UINT kCmdView = 40001, kCmdDoc = 40002, kCmdFrame = 40003, kCmdApp = 40004, kCmdDisabled = 40005;
constexpr UINT kCmdChecked = 40006, kCmdNobody = 40007, kCmdBoth = 40008;
constexpr UINT kMsgThrowInvalid = WM_APP + 1, kMsgThrowOther = WM_APP + 2, kMsgAnswer = WM_APP + 3;

std::vector<std::string> g_log;
std::vector<std::string> g_reports;

void RecordReport(HWND, const std::exception* e) {
  g_reports.push_back(dynamic_cast<const fw::InvalidArgumentError*>(e) ? "invalid" : (e ? e->what() : "?"));
}

class TestApp : public fw::CWinApp {
  FW_DECLARE_MESSAGE_MAP()
 public:
  TestApp() : CWinApp("FwTest") {}
  void OnApp() { g_log.push_back("app"); }
};
// clang-format off
FW_BEGIN_MESSAGE_MAP(TestApp, fw::CWinApp)
  fw::OnCommand(kCmdApp, &TestApp::OnApp),
FW_END_MESSAGE_MAP()
// clang-format on

TestApp& App() {
  static TestApp app;
  static bool init = (fw::AfxWinInit(GetModuleHandleA(nullptr)), true);
  (void)init;
  return app;
}

class TestDoc : public fw::CDocument {
  FW_DECLARE_MESSAGE_MAP()
 public:
  void OnDoc() { g_log.push_back("doc"); }
};
// clang-format off
FW_BEGIN_MESSAGE_MAP(TestDoc, fw::CDocument)
  fw::OnCommand(kCmdDoc, &TestDoc::OnDoc),
FW_END_MESSAGE_MAP()
// clang-format on

class TestView : public fw::CView {
  FW_DECLARE_MESSAGE_MAP()
 public:
  void OnDraw(fw::CDC*) override {}
  void OnView() { g_log.push_back("view"); }
  void OnBoth() { g_log.push_back("view.both"); }
  void OnDisabled() { g_log.push_back("disabled ran"); }
  void OnUpdateDisabled(fw::CCmdUI* ui) { ui->Enable(false); }
  void OnUpdateChecked(fw::CCmdUI* ui) { ui->SetCheck(checked ? 1 : 0); }
  void OnChecked() {}
  LRESULT OnThrowInvalid(WPARAM, LPARAM) { throw fw::InvalidArgumentError("row"); }
  LRESULT OnThrowOther(WPARAM, LPARAM) { throw std::runtime_error("other"); }
  LRESULT OnAnswer(WPARAM w, LPARAM l) { return static_cast<LRESULT>(w + l); }
  bool checked = true;
};
// clang-format off
FW_BEGIN_MESSAGE_MAP(TestView, fw::CView)
  fw::OnCommand(kCmdView, &TestView::OnView),
  fw::OnCommand(kCmdBoth, &TestView::OnBoth),
  fw::OnCommand(kCmdDisabled, &TestView::OnDisabled),
  fw::OnUpdateCommandUI(kCmdDisabled, &TestView::OnUpdateDisabled),
  fw::OnCommand(kCmdChecked, &TestView::OnChecked),
  fw::OnUpdateCommandUI(kCmdChecked, &TestView::OnUpdateChecked),
  fw::OnMessage(kMsgThrowInvalid, &TestView::OnThrowInvalid),
  fw::OnMessage(kMsgThrowOther, &TestView::OnThrowOther),
  fw::OnMessage(kMsgAnswer, &TestView::OnAnswer),
FW_END_MESSAGE_MAP()
// clang-format on

class TestFrame : public fw::CFrameWnd {
  FW_DECLARE_MESSAGE_MAP()
 public:
  void OnFrame() { g_log.push_back("frame"); }
  void OnBoth() { g_log.push_back("frame.both"); }
  int OnCreate(CREATESTRUCTA* cs) {
    if (fw::CFrameWnd::OnCreate(cs) == -1) return -1;
    const DWORD style = WS_CHILD | WS_VISIBLE | fw::CBRS_TOP | fw::CBRS_GRIPPER | fw::CBRS_TOOLTIPS;
    if (!bar1.CreateEx(this, TBSTYLE_FLAT, style, AFX_IDW_TOOLBAR)) return -1;
    bar1.SetButtons({kCmdView, kCmdDisabled, 0, kCmdNobody});
    if (!bar2.CreateEx(this, 0, style, 32772)) return -1;
    bar2.SetButtons({kCmdChecked, kCmdApp});
    if (!bar3.CreateEx(this, 0, style, 32773)) return -1;
    bar3.SetButtons({kCmdFrame});
    for (fw::CToolBar* b : {&bar1, &bar2, &bar3}) b->EnableDocking(fw::CBRS_ALIGN_ANY);
    EnableDocking(fw::CBRS_ALIGN_ANY);
    DockControlBar(&bar1);
    RecalcLayout();
    fw::CRect r = bar1.GetWindowRect();
    r.OffsetRect(1, 0);
    DockControlBar(&bar2, AFX_IDW_DOCKBAR_TOP, &r);
    DockControlBar(&bar3, AFX_IDW_DOCKBAR_TOP);
    return 0;
  }
  fw::CToolBar bar1, bar2, bar3;
};
// clang-format off
FW_BEGIN_MESSAGE_MAP(TestFrame, fw::CFrameWnd)
  fw::OnMessage(WM_CREATE, &TestFrame::OnCreate),
  fw::OnCommand(kCmdFrame, &TestFrame::OnFrame),
  fw::OnCommand(kCmdBoth, &TestFrame::OnBoth),
  fw::OnCommand(32772, &TestFrame::OnBarCheck),
  fw::OnUpdateCommandUI(32772, &TestFrame::OnUpdateControlBarMenu),
FW_END_MESSAGE_MAP()
// clang-format on

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    g_log.clear();
    g_reports.clear();
    previous_ = fw::SetExceptionReporter(&RecordReport);
    auto tmpl = fw::MakeSingleDocTemplate<TestDoc, TestFrame, TestView>(300);
    tmpl_ = tmpl.get();
    ASSERT_NE(tmpl_->OpenDocumentFile(nullptr, false), nullptr);
    frame_ = static_cast<TestFrame*>(tmpl_->GetFrame());
    view_ = static_cast<TestView*>(frame_->GetActiveView());
    ASSERT_NE(view_, nullptr);
    owned_ = std::move(tmpl);
  }
  void TearDown() override {
    owned_.reset();
    App().m_pMainWnd = nullptr;
    fw::SetExceptionReporter(previous_);
    Pump();
  }
  std::unique_ptr<fw::CSingleDocTemplate> owned_;
  fw::CSingleDocTemplate* tmpl_ = nullptr;
  TestFrame* frame_ = nullptr;
  TestView* view_ = nullptr;
  fw::ExceptionReporter previous_ = nullptr;
};

TEST_F(FrameTest, CommandsRouteFromViewThroughDocumentAndFrameToApplication) {
  for (UINT id : {kCmdView, kCmdDoc, kCmdFrame, kCmdApp, kCmdBoth, kCmdNobody})
    frame_->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
  EXPECT_EQ(g_log, (std::vector<std::string>{"view", "doc", "frame", "app", "view.both"}));
  EXPECT_EQ(frame_->GetTitle(), "FwTest");
}

TEST_F(FrameTest, DisabledCommandFromMenuOrOutsideDoesNothing) {
  frame_->SendMessage(WM_COMMAND, MAKEWPARAM(kCmdDisabled, 0), 0);
  frame_->SendMessage(WM_COMMAND, MAKEWPARAM(kCmdDisabled, 1), 0);  // accelerator
  EXPECT_TRUE(g_log.empty());
}

TEST_F(FrameTest, MenuItemsFollowEnableAndCheckHandlersWhenTheMenuOpens) {
  HMENU menu = CreatePopupMenu();
  for (UINT id : {kCmdView, kCmdDisabled, kCmdChecked, kCmdNobody, 32772u, 32773u})
    AppendMenuA(menu, MF_STRING, id, "x");
  frame_->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
  auto state = [&](UINT id) { return GetMenuState(menu, id, MF_BYCOMMAND); };
  EXPECT_FALSE(state(kCmdView) & MF_GRAYED);
  EXPECT_TRUE(state(kCmdDisabled) & MF_GRAYED);
  EXPECT_TRUE(state(kCmdChecked) & MF_CHECKED);
  EXPECT_TRUE(state(kCmdNobody) & MF_GRAYED);  // nobody handles it
  EXPECT_TRUE(state(32772) & MF_CHECKED);      // the bar is visible
  EXPECT_TRUE(state(32773) & MF_GRAYED);       // a bar whose toggle nobody maps

  frame_->SendMessage(WM_COMMAND, MAKEWPARAM(32772, 0), 0);
  view_->checked = false;
  frame_->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
  EXPECT_FALSE(state(32772) & MF_CHECKED);
  EXPECT_FALSE(state(kCmdChecked) & MF_CHECKED);
  EXPECT_FALSE(frame_->bar2.IsVisible());
  DestroyMenu(menu);
}

TEST_F(FrameTest, IdleUpdateSetsToolBarButtonStates) {
  frame_->OnUpdateToolBars();
  EXPECT_TRUE(frame_->bar1.IsButtonEnabled(kCmdView));
  EXPECT_FALSE(frame_->bar1.IsButtonEnabled(kCmdDisabled));
  EXPECT_FALSE(frame_->bar1.IsButtonEnabled(kCmdNobody));
  EXPECT_TRUE(frame_->bar2.IsButtonChecked(kCmdChecked));
  view_->checked = false;
  frame_->OnUpdateToolBars();
  EXPECT_FALSE(frame_->bar2.IsButtonChecked(kCmdChecked));
}

TEST_F(FrameTest, DockingWithARectangleJoinsTheRowAndLayoutRoundTrips) {
  EXPECT_EQ(frame_->bar1.m_row, 0);
  EXPECT_EQ(frame_->bar2.m_row, 0);
  EXPECT_EQ(frame_->bar2.m_order, 1);
  EXPECT_EQ(frame_->bar3.m_row, 1);
  frame_->ShowWindow(SW_SHOWNA);
  frame_->RecalcLayout();
  fw::CRect r1 = frame_->bar1.GetWindowRect(), r2 = frame_->bar2.GetWindowRect(), r3 = frame_->bar3.GetWindowRect();
  EXPECT_EQ(r1.top, r2.top);
  EXPECT_GE(r2.left, r1.right);
  EXPECT_GE(r3.top, r1.bottom);

  // Hide bar 2, move bar 3 to the left side, save; build the default layout again; load.
  frame_->ShowControlBar(&frame_->bar2, false, false);
  frame_->DockControlBar(&frame_->bar3, AFX_IDW_DOCKBAR_LEFT);
  frame_->SaveBarState("TestBars");
  frame_->ShowControlBar(&frame_->bar2, true, false);
  frame_->DockControlBar(&frame_->bar3, AFX_IDW_DOCKBAR_TOP);
  frame_->LoadBarState("TestBars");
  EXPECT_FALSE(frame_->bar2.IsVisible());
  EXPECT_EQ(frame_->bar3.m_side, 2);
  EXPECT_TRUE(frame_->bar3.GetBarStyle() & fw::CBRS_ALIGN_LEFT);
  EXPECT_EQ(App().GetProfileInt("TestBars-Summary", "Bars", 0), 3);
}

TEST_F(FrameTest, ABarDroppedNearAnEdgeDocksThereAndOnARowJoinsIt) {
  frame_->MoveWindow(fw::CRect(0, 0, 600, 400));
  frame_->ShowWindow(SW_SHOWNA);
  frame_->RecalcLayout();
  fw::CRect client = frame_->GetClientRect();
  POINT left{client.left + 3, client.top + 200};
  ClientToScreen(frame_->m_hWnd, &left);
  ASSERT_TRUE(frame_->DockControlBarAt(&frame_->bar3, left));
  EXPECT_EQ(frame_->bar3.m_side, 2);
  fw::CRect r3 = frame_->bar3.GetWindowRect(), view = frame_->GetActiveView()->GetWindowRect();
  EXPECT_LE(r3.right, view.left);  // the view gave way

  // Dropped on the first row, right of the second bar: it joins that row.
  fw::CRect r2 = frame_->bar2.GetWindowRect();
  POINT onRow{r2.right + 5, (r2.top + r2.bottom) / 2};
  ASSERT_TRUE(frame_->DockControlBarAt(&frame_->bar3, onRow));
  EXPECT_EQ(frame_->bar3.m_side, 0);
  EXPECT_EQ(frame_->bar3.m_row, 0);
  EXPECT_EQ(frame_->bar3.m_order, 2);

  // The middle of the view is no place to dock.
  POINT middle{view.left + view.Width() / 2, view.top + view.Height() / 2};
  EXPECT_FALSE(frame_->DockControlBarAt(&frame_->bar1, middle));
}

// A pane beside the view that spans its side and keeps its layout itself.
class SidePane : public fw::CControlBar {
 public:
  bool Make(fw::CFrameWnd* frame, UINT id) {
    m_bOwnBarState = true;
    if (!CreateBarWindow(frame, WS_CHILD | fw::CBRS_RIGHT, id)) return false;
    EnableDocking(fw::CBRS_ALIGN_LEFT | fw::CBRS_ALIGN_RIGHT);
    frame->DockControlBar(this, AFX_IDW_DOCKBAR_RIGHT);
    return true;
  }
  fw::CSize CalcFixedLayout(bool) override { return fw::CSize(80, 80); }
  LONG DockedLength(bool, LONG room) override { return room; }
};

TEST_F(FrameTest, APaneWithItsOwnStateSpansItsSideAndStaysOutOfTheBarLayout) {
  frame_->MoveWindow(fw::CRect(0, 0, 600, 400));
  frame_->ShowWindow(SW_SHOWNA);
  frame_->SaveBarState("Without");
  SidePane pane;
  ASSERT_TRUE(pane.Make(frame_, 32813));
  frame_->ShowControlBar(&pane, true, false);
  fw::CRect client = frame_->GetClientRect(), bar3 = frame_->bar3.GetWindowRect(), r = pane.GetWindowRect();
  ::MapWindowPoints(nullptr, frame_->m_hWnd, reinterpret_cast<POINT*>(&bar3), 2);
  ::MapWindowPoints(nullptr, frame_->m_hWnd, reinterpret_cast<POINT*>(&r), 2);
  // Under the top rows, down to the bottom; the view gives way.
  EXPECT_EQ(r.right, client.right);
  EXPECT_EQ(r.Width(), 80);
  EXPECT_EQ(r.top, bar3.bottom);
  EXPECT_EQ(r.bottom, client.bottom);
  EXPECT_LE(frame_->GetActiveView()->GetWindowRect().right, pane.GetWindowRect().left);

  // Saved with the pane shown: the same values as without it.
  frame_->SaveBarState("With");
  EXPECT_EQ(App().GetProfileInt("With-Summary", "Bars", 0), App().GetProfileInt("Without-Summary", "Bars", -1));
  for (int i = 0; i < 4; ++i) {
    const std::string with = "With-Bar" + std::to_string(i), without = "Without-Bar" + std::to_string(i);
    for (const char* entry : {"BarID", "Visible", "Side", "Row", "Order"})
      EXPECT_EQ(App().GetProfileInt(with.c_str(), entry, -1), App().GetProfileInt(without.c_str(), entry, -1))
          << with << " " << entry;
  }
  // A layout that names the pane does not move or hide it.
  App().WriteProfileInt("Foreign-Summary", "Bars", 1);
  App().WriteProfileInt("Foreign-Bar0", "BarID", 32813);
  App().WriteProfileInt("Foreign-Bar0", "Visible", 0);
  App().WriteProfileInt("Foreign-Bar0", "Side", 2);
  frame_->LoadBarState("Foreign");
  EXPECT_TRUE(pane.IsVisible());
  EXPECT_EQ(pane.m_side, 3);
}

TEST_F(FrameTest, DamagedLayoutValuesKeepTheBuiltLayout) {
  App().WriteProfileInt("Broken-Summary", "Bars", 2);
  App().WriteProfileInt("Broken-Bar0", "BarID", 32773);
  App().WriteProfileInt("Broken-Bar0", "Side", 9);
  App().WriteProfileInt("Broken-Bar1", "BarID", 4711);  // a bar this program does not have
  frame_->LoadBarState("Broken");
  EXPECT_EQ(frame_->bar3.m_side, 0);
  EXPECT_TRUE(frame_->bar3.IsVisible());
}

TEST_F(FrameTest, ExceptionsStopAtTheWindowProcedureAndAreReported) {
  EXPECT_EQ(view_->SendMessage(kMsgAnswer, 40, 2), 42);
  view_->SendMessage(kMsgThrowInvalid);
  view_->SendMessage(kMsgThrowOther);
  EXPECT_EQ(g_reports, (std::vector<std::string>{"invalid", "other"}));
  EXPECT_EQ(view_->SendMessage(kMsgAnswer, 1, 1), 2);  // still alive
}

// The framework's texts, exact, in this program and in every program built on
// the framework: its resources come with the library, not with each program.
TEST(App, EveryProgramCarriesTheFrameworkTexts) {
  const std::pair<UINT, const char*> texts[] = {
      {FW_IDS_INVALID_ARGUMENT, "無効な引数が発生しました。"},
      {FW_IDS_ERROR_OCCURRED, "エラーが発生しました。"},
      {FW_IDS_NO_PRINTER, "プリンタがインストールされていません。プリンタを追加してから、もう一度実行してください。"},
      {FW_IDS_PREVIEW_TITLE, "印刷プレビュー"},
      {FW_IDS_PREVIEW_PRINT, "印刷(&P)..."},
      {FW_IDS_PREVIEW_NEXT, "次ページ(&N)"},
      {FW_IDS_PREVIEW_PREV, "前ページ(&V)"},
      {FW_IDS_PREVIEW_ZOOM_IN, "拡大(&I)"},
      {FW_IDS_PREVIEW_ZOOM_OUT, "縮小(&O)"},
      {FW_IDS_PREVIEW_CLOSE, "閉じる(&C)"},
      {FW_IDS_PREVIEW_PAGE, "ページ %u"},
      {FW_IDS_PREVIEW_PAGES, "ページ %u / %u"},
  };
  for (const auto& [id, text] : texts) EXPECT_EQ(fw::LoadText(id), text) << id;
  EXPECT_EQ(fw::LoadText(4711), "#4711");  // missing: loud, never empty

  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string bin = paths::Join(paths::FolderOf(paths::FolderOf(path)), "bin");
  for (const char* program : {"Glimra.exe", "Mervik.exe", "FrameworkDemo.exe"}) {
    HMODULE module = LoadLibraryExA(paths::Join(bin, program).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << program;
    for (const auto& [id, text] : texts) {
      char buf[256] = {};
      int n = LoadStringA(module, id, buf, sizeof buf);
      EXPECT_EQ(std::string(buf, n > 0 ? static_cast<size_t>(n) : 0), text) << program << " " << id;
    }
    FreeLibrary(module);
  }
}

// A static that takes its colour request and its click back from the parent.
class LinkStatic : public fw::CStatic {
  FW_DECLARE_MESSAGE_MAP()
 public:
  HBRUSH OnColor(HDC, HWND) { return brush; }
  bool OnClicked(unsigned) {
    ++clicks;
    return consume;
  }
  HBRUSH brush = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  int clicks = 0;
  bool consume = true;
};
// clang-format off
FW_BEGIN_MESSAGE_MAP(LinkStatic, fw::CStatic)
  fw::OnReflect(WM_CTLCOLORSTATIC, &LinkStatic::OnColor),
  fw::OnReflectCommand(STN_CLICKED, &LinkStatic::OnClicked),
FW_END_MESSAGE_MAP()
// clang-format on

class Parent : public fw::CWnd {
  FW_DECLARE_MESSAGE_MAP()
 public:
  void OnLinkCommand() { ++parentSaw; }
  int parentSaw = 0;
};
// clang-format off
FW_BEGIN_MESSAGE_MAP(Parent, fw::CWnd)
  fw::OnControl(STN_CLICKED, 77, &Parent::OnLinkCommand),
FW_END_MESSAGE_MAP()
// clang-format on

TEST(Reflection, SubclassedStaticAnswersColourAndClickAndCanPassTheClickOn) {
  App();
  Parent parent;
  const char* cls = fw::CWnd::RegisterFrameworkClass("FwTestParent");
  ASSERT_TRUE(parent.CreateEx(0, cls, "p", WS_OVERLAPPEDWINDOW, fw::CRect(0, 0, 200, 100), nullptr, 0));
  HWND raw = CreateWindowExA(0, "STATIC", "link", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 0, 0, 50, 20, parent.m_hWnd,
                             reinterpret_cast<HMENU>(77), nullptr, nullptr);
  LinkStatic link;
  ASSERT_TRUE(link.SubclassWindow(raw));
  EXPECT_EQ(fw::CWnd::FromHandlePermanent(raw), &link);
  HDC dc = GetDC(raw);
  LRESULT brush = parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(raw));
  EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), link.brush);
  ReleaseDC(raw, dc);

  parent.SendMessage(WM_COMMAND, MAKEWPARAM(77, STN_CLICKED), reinterpret_cast<LPARAM>(raw));
  EXPECT_EQ(link.clicks, 1);
  EXPECT_EQ(parent.parentSaw, 0);
  link.consume = false;
  parent.SendMessage(WM_COMMAND, MAKEWPARAM(77, STN_CLICKED), reinterpret_cast<LPARAM>(raw));
  EXPECT_EQ(link.clicks, 2);
  EXPECT_EQ(parent.parentSaw, 1);

  link.UnsubclassWindow();
  EXPECT_EQ(fw::CWnd::FromHandlePermanent(raw), nullptr);
  parent.DestroyWindow();
}

TEST(Profile, RegistryValuesKeepTheirTypesAndMissingOnesGiveTheDefault) {
  TestApp& app = App();
  app.SetRegistryKey("VANTO-FwTest");
  win::RegKey cleanup;
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VANTO-FwTest\\FwTest\\S");
  EXPECT_EQ(app.GetProfileInt("S", "n", 17), 17);  // missing section
  EXPECT_EQ(app.GetProfileString("S", "t", "dflt"), "dflt");
  app.WriteProfileInt("S", "n", -5);
  app.WriteProfileString("S", "t", "表示テスト");
  EXPECT_EQ(app.GetProfileInt("S", "n", 0), -5);  // REG_DWORD read back signed
  EXPECT_EQ(app.GetProfileString("S", "t", ""), "表示テスト");
  EXPECT_EQ(app.GetProfileInt("S", "t", 3), 3);  // a string is not an integer
  EXPECT_EQ(app.GetProfileInt("S", "missing", 9), 9);

  ASSERT_TRUE(cleanup.Open(HKEY_CURRENT_USER, "Software\\VANTO-FwTest\\FwTest\\S"));
  DWORD type = 0;
  RegQueryValueExA(cleanup.Get(), "n", nullptr, &type, nullptr, nullptr);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  RegQueryValueExA(cleanup.Get(), "t", nullptr, &type, nullptr, nullptr);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  cleanup.Close();
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VANTO-FwTest\\FwTest\\S");
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VANTO-FwTest\\FwTest");
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VANTO-FwTest");
  // Back to the per-run store for the other tests.
  app.SetProfileStore(nullptr);
}

// Ends itself on a message that another thread sends, as a progress dialog does.
class EndOnMessageDialog : public fw::CDialog {
  FW_DECLARE_MESSAGE_MAP()
 public:
  using CDialog::CDialog;
  LRESULT OnEnd(WPARAM code, LPARAM) {
    EndDialog(static_cast<INT_PTR>(code));
    return 0;
  }
};
// clang-format off
FW_BEGIN_MESSAGE_MAP(EndOnMessageDialog, fw::CDialog)
  fw::OnMessage(WM_APP + 9, &EndOnMessageDialog::OnEnd),
FW_END_MESSAGE_MAP()
// clang-format on

// A modal dialog on a thread of its own, owned by a window of the main thread.
class DialogThread : public fw::CWinThread {
 public:
  explicit DialogThread(HWND owner) : owner_(owner) {}
  bool InitInstance() override {
    EndOnMessageDialog dialog(101, owner_);
    result = dialog.DoModal();
    return false;  // the thread ends with the dialog
  }
  std::atomic<INT_PTR> result{-2};

 private:
  HWND owner_;
};

TEST(UiThread, ModalDialogOwnedByAnotherThreadsWindowEndsWithItsThread) {
  App();
  Parent owner;
  const char* cls = fw::CWnd::RegisterFrameworkClass("FwTestParent");
  ASSERT_TRUE(owner.CreateEx(0, cls, "owner", WS_OVERLAPPEDWINDOW, fw::CRect(0, 0, 200, 100), nullptr, 0));
  DialogThread thread(owner.m_hWnd);
  ASSERT_TRUE(thread.CreateThread());
  HWND dialog = nullptr;
  for (int i = 0; i < 500 && !dialog; ++i) {
    Pump();
    Sleep(10);
    dialog = FindWindowA(nullptr, "FwTestQuiet");
  }
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner.m_hWnd);
  EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));  // an owner of another thread is not disabled
  // Esc and Enter reach OnCancel/OnOK; here a message sent across threads ends it.
  DWORD_PTR answer = 1;
  EXPECT_TRUE(SendMessageTimeoutA(dialog, WM_APP + 9, 1800, 0, SMTO_NORMAL, 5000, &answer));
  EXPECT_EQ(answer, 0u);
  DWORD wait = WAIT_TIMEOUT;
  for (int i = 0; i < 500 && wait == WAIT_TIMEOUT; ++i) {
    Pump();
    wait = WaitForSingleObject(thread.m_hThread, 10);
  }
  EXPECT_EQ(wait, WAIT_OBJECT_0);
  EXPECT_EQ(thread.result.load(), 1800);
  owner.DestroyWindow();
}

// Checks its owner while modal, then presses Esc in its edit box.
class EscapeDialog : public fw::CDialog {
  FW_DECLARE_MESSAGE_MAP()
 public:
  using CDialog::CDialog;
  bool OnInitDialog() override {
    PostMessage(WM_APP + 5);
    return true;
  }
  void OnLook() {
    ownerEnabledWhileModal = IsWindowEnabled(m_hWndOwner) != FALSE;
    HWND edit = GetDlgItem(1000);
    ::SetFocus(edit);
    ::PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  }
  void OnCancel() override {
    cancelled = true;
    EndDialog(IDCANCEL);
  }
  bool ownerEnabledWhileModal = true;
  bool cancelled = false;
};
// clang-format off
FW_BEGIN_MESSAGE_MAP(EscapeDialog, fw::CDialog)
  fw::OnMessage(WM_APP + 5, &EscapeDialog::OnLook),
FW_END_MESSAGE_MAP()
// clang-format on

TEST(Dialog, ModalLoopDisablesTheOwnerAndEscapeArrivesAsCancel) {
  App();
  Parent owner;
  const char* cls = fw::CWnd::RegisterFrameworkClass("FwTestParent");
  ASSERT_TRUE(owner.CreateEx(0, cls, "owner", WS_OVERLAPPEDWINDOW, fw::CRect(0, 0, 200, 100), nullptr, 0));
  EscapeDialog dialog(100, &owner);
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(dialog.cancelled);
  EXPECT_FALSE(dialog.ownerEnabledWhileModal);
  EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
  EXPECT_EQ(dialog.m_hWnd, nullptr);  // the window is gone, the object detached

  fw::CDialog missing(4711, &owner);  // no such template
  EXPECT_EQ(missing.DoModal(), -1);
  EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
  owner.DestroyWindow();
}

// Notes where it stands once it is up, after moving itself when told to.
class PlacedDialog : public fw::CDialog {
  FW_DECLARE_MESSAGE_MAP()
 public:
  PlacedDialog(fw::CWnd* owner, const POINT* moveTo) : CDialog(101, owner), moveTo_(moveTo) {}
  bool OnInitDialog() override {
    if (moveTo_) ::SetWindowPos(m_hWnd, nullptr, moveTo_->x, moveTo_->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PostMessage(WM_APP + 6);
    return true;
  }
  void OnLook() {
    ::GetWindowRect(m_hWnd, &rect);
    EndDialog(IDOK);
  }
  RECT rect{};

 private:
  const POINT* moveTo_;
};
// clang-format off
FW_BEGIN_MESSAGE_MAP(PlacedDialog, fw::CDialog)
  fw::OnMessage(WM_APP + 6, &PlacedDialog::OnLook),
FW_END_MESSAGE_MAP()
// clang-format on

TEST(Dialog, ModalDialogOpensCentredOnItsOwnerUnlessItPlacedItself) {
  App();
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const POINT placed{37, 41};
  const struct {
    RECT owner;
    const POINT* moveTo;
    const char* what;
  } cases[] = {
      {{work.left + 100, work.top + 80, work.left + 700, work.top + 580}, nullptr, "centred"},
      {{work.right - 150, work.top + 100, work.right + 450, work.top + 600}, nullptr, "kept on the screen"},
      {{work.left + 100, work.top + 80, work.left + 700, work.top + 580}, &placed, "placed itself"},
  };
  for (const auto& c : cases) {
    Parent owner;
    const char* cls = fw::CWnd::RegisterFrameworkClass("FwTestParent");
    ASSERT_TRUE(owner.CreateEx(0, cls, "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, fw::CRect(c.owner), nullptr, 0));
    PlacedDialog dialog(&owner, c.moveTo);
    EXPECT_EQ(dialog.DoModal(), IDOK) << c.what;
    RECT d = dialog.rect, o{};
    GetWindowRect(owner.m_hWnd, &o);
    LONG width = d.right - d.left, height = d.bottom - d.top;
    LONG x = (o.left + o.right - width) / 2, y = (o.top + o.bottom - height) / 2;
    if (c.moveTo) {
      x = c.moveTo->x;
      y = c.moveTo->y;
    }
    x = std::min(x, work.right - width);
    EXPECT_NEAR(d.left, x, 1) << c.what;
    EXPECT_NEAR(d.top, y, 1) << c.what;
    owner.DestroyWindow();
  }
}

class FailingFrame : public fw::CFrameWnd {
  FW_DECLARE_MESSAGE_MAP()
 public:
  int OnCreate(CREATESTRUCTA* cs) {
    if (fw::CFrameWnd::OnCreate(cs) == -1) return -1;
    return -1;  // as when a tool bar cannot be loaded
  }
};
// clang-format off
FW_BEGIN_MESSAGE_MAP(FailingFrame, fw::CFrameWnd)
  fw::OnMessage(WM_CREATE, &FailingFrame::OnCreate),
FW_END_MESSAGE_MAP()
// clang-format on

TEST(Template, FrameCreationFailureLeavesNoMainWindow) {
  TestApp& app = App();
  app.m_pMainWnd = nullptr;
  auto tmpl = fw::MakeSingleDocTemplate<TestDoc, FailingFrame, TestView>(300);
  EXPECT_EQ(tmpl->OpenDocumentFile(nullptr, false), nullptr);
  EXPECT_EQ(app.m_pMainWnd, nullptr);
  EXPECT_EQ(tmpl->GetFrame(), nullptr);
  EXPECT_EQ(FindWindowA("FwFrame300", nullptr), nullptr);
}

TEST(Template, DocumentStringPartsAreSplitAtLineFeeds) {
  App();
  auto tmpl = fw::MakeSingleDocTemplate<TestDoc, TestFrame, TestView>(300);
  EXPECT_EQ(tmpl->GetDocString(0), "FwTest");
  EXPECT_EQ(tmpl->GetDocString(1), "");
  EXPECT_EQ(tmpl->GetDocString(2), "Test");
  EXPECT_EQ(tmpl->GetDocString(7), "");  // past the last part
}

TEST(App, InstanceDataComesFromTheProgramFile) {
  TestApp& app = App();
  EXPECT_EQ(app.m_pszAppName, "FwTest");
  EXPECT_EQ(app.m_pszExeName, "framework_win32_tests");
  const std::string& help = app.m_pszHelpFilePath;
  ASSERT_GT(help.size(), 4u);
  EXPECT_EQ(help.substr(help.size() - 4), ".HLP");
  EXPECT_NE(help.find("framework_win32_tests.HLP"), std::string::npos);
  EXPECT_EQ(fw::LoadResString(301), "カウントします\nカウント");
  EXPECT_EQ(fw::CommandPrompt(301), "カウントします");
  EXPECT_EQ(fw::CommandToolTip(301), "カウント");
  EXPECT_EQ(fw::CommandToolTip(4711), "");  // no string: no tool tip

  // "ソ" ends in the byte 0x5C, which is no backslash.
  const struct {
    const char *path, *name, *help;
  } programs[] = {
      {"C:\\ソフト\\ソフト.exe", "ソフト", "C:\\ソフト\\ソフト.HLP"},
      {"C:\\a.b\\表示", "表示", "C:\\a.b\\表示.HLP"},
      {"Z:/x/Glimra.v2.EXE", "Glimra.v2", "Z:/x/Glimra.v2.HLP"},
  };
  for (const auto& p : programs) {
    fw::ProgramNames names = fw::ProgramNamesOf(p.path);
    EXPECT_EQ(names.exeName, p.name) << p.path;
    EXPECT_EQ(names.helpFilePath, p.help) << p.path;
  }
}

TEST(Controls, TextsComeWholeAndAnItemOutsideTheListHasNone) {
  HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_POPUP | CBS_DROPDOWN, 0, 0, 100, 100, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(combo, nullptr);
  fw::CComboBox box(combo);
  box.AddString("10.5");
  const std::string longText(300, 'x');
  SetWindowTextA(combo, longText.c_str());
  EXPECT_EQ(fw::WindowText(combo), longText);
  EXPECT_EQ(fw::ComboItemText(combo, 0).value_or("-"), "10.5");
  EXPECT_FALSE(fw::ComboItemText(combo, 1));
  EXPECT_EQ(box.GetLBText(1), "");
  DestroyWindow(combo);
}

TEST(Gdi, OwnersReleaseTheirObjects) {
  HFONT raw = CreateFontA(-12, 0, 0, 0, 0, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS UI Gothic");
  {
    fw::Font font(raw);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ before = GetCurrentObject(dc, OBJ_FONT);
    {
      fw::SelectScope select(dc, font);
      EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), raw);
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), before);
    DeleteDC(dc);
  }
  EXPECT_EQ(GetObjectType(raw), 0u);
}

}  // namespace

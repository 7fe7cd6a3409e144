// FrameworkDemo.exe: a frame with two tool bars on one row and an input bar,
// a scrolling view, enable/check handlers, a modal dialog, a property sheet,
// printing and print preview, all on the framework. The end-to-end tests of
// the framework drive it; the status text in the input bar shows its state.
#include <windows.h>

#include <array>
#include <stdexcept>
#include <string>

#include "DemoResource.h"
#include "framework/Framework.h"

namespace {

constexpr int kLineCount = 120;
constexpr int kLinesPerPage = 50;
const char kWindowSection[] = "Window";
const char kLayoutVersion[] = "1";

// Point size in tenths for a device: the height that CreateFont wants.
int PointHeight(HDC dc, int tenths) { return -MulDiv(GetDeviceCaps(dc, LOGPIXELSY), tenths, 720); }

class CDemoDoc : public fw::CDocument {
 public:
  int count = 0;
  bool mark = false;
  int step = 1;
  std::string name;
  const std::array<const char*, 3> items{"赤", "緑", "青"};

  // The checked accessor programs use for list indexes.
  const char* Item(int index) const {
    if (index < 0 || index >= static_cast<int>(items.size())) throw fw::InvalidArgumentError("item index");
    return items[static_cast<size_t>(index)];
  }
};

class CDemoDialog : public fw::CDialog {
 public:
  CDemoDialog(fw::CWnd* parent, std::string name) : CDialog(IDD_DEMO_DIALOG, parent), name_(std::move(name)) {}
  std::string Name() const { return name_; }

 private:
  bool OnInitDialog() override {
    fw::CEdit edit(GetDlgItem(IDC_NAME));
    edit.SetWindowText(name_);
    return true;
  }
  void OnOK() override {
    name_ = fw::CEdit(GetDlgItem(IDC_NAME)).GetWindowText();
    EndDialog(IDOK);
  }
  std::string name_;
};

class CDemoPage : public fw::CPropertyPage {
  FW_DECLARE_MESSAGE_MAP()

 public:
  CDemoPage(CDemoDoc& doc) : CPropertyPage(IDD_DEMO_PAGE), doc_(doc) {}

 private:
  bool OnInitDialog() override {
    fw::CComboBox combo(GetDlgItem(IDC_CHOICE));
    for (int step : {1, 2, 5, 10}) {
      int i = combo.AddString(std::to_string(step));
      combo.SetItemData(i, static_cast<DWORD_PTR>(step));
      if (step == doc_.step) combo.SetCurSel(i);
    }
    fw::CButton(GetDlgItem(IDC_OPTION)).SetCheck(doc_.mark ? BST_CHECKED : BST_UNCHECKED);
    return true;
  }
  void Store() {
    doc_.mark = fw::CButton(GetDlgItem(IDC_OPTION)).GetCheck() == BST_CHECKED;
    fw::CComboBox combo(GetDlgItem(IDC_CHOICE));
    int sel = combo.GetCurSel();
    doc_.step = sel < 0 ? 1 : static_cast<int>(combo.GetItemData(sel));
  }
  void OnOK() override { Store(); }
  void OnChoiceChanged() { Store(); }
  CDemoDoc& doc_;
};

// clang-format off
FW_BEGIN_MESSAGE_MAP(CDemoPage, fw::CPropertyPage)
  fw::OnCbnSelChange(IDC_CHOICE, &CDemoPage::OnChoiceChanged),
FW_END_MESSAGE_MAP()
// clang-format on

class CDemoView : public fw::CView {
  FW_DECLARE_MESSAGE_MAP()

 public:
  CDemoDoc* Doc() const { return static_cast<CDemoDoc*>(GetDocument()); }

  // The frame's input bar shows the state for users and tests alike.
  void ShowStatus() {
    CDemoDoc* doc = Doc();
    std::string text = "count=" + std::to_string(doc->count) + " mark=" + (doc->mark ? "1" : "0") +
                       " step=" + std::to_string(doc->step) + " name=" + doc->name + " text=" + text_;
    if (auto* bar = dynamic_cast<fw::CDialogBar*>(GetParentFrame()->GetControlBar(ID_VIEW_DIALOGBAR)))
      ::SetWindowTextA(bar->GetDlgItem(IDC_STATUS), text.c_str());
    Invalidate();
  }

 private:
  bool PreCreateWindow(CREATESTRUCTA& cs) override {
    fw::CView::PreCreateWindow(cs);
    cs.style |= WS_VSCROLL;
    return true;
  }

  void OnInitialUpdate() override { UpdateScroll(); }

  int LineHeight(HDC dc) const {
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    return tm.tmHeight + 2;
  }

  void UpdateScroll() {
    fw::CClientDC dc(this);
    int visible = GetClientRect().Height() / LineHeight(dc);
    SCROLLINFO si{sizeof si,
                  SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL,
                  0,
                  kLineCount - 1,
                  static_cast<UINT>(visible < 1 ? 1 : visible),
                  top_,
                  0};
    SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
  }

  void OnDraw(fw::CDC* dc) override {
    if (dc->IsPrinting()) return DrawPage(dc, page_);
    fw::Font font(
        CreateFontA(PointHeight(*dc, 100), 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "MS UI Gothic"));
    fw::SelectScope select(*dc, font);
    int h = LineHeight(*dc);
    fw::CRect client = GetClientRect();
    CDemoDoc* doc = Doc();
    for (int line = top_, y = 0; line < kLineCount && y < client.bottom; ++line, y += h) {
      std::string text = "行 " + std::to_string(line + 1) + ": カウント " + std::to_string(doc->count) +
                         (doc->mark && line == marked_ ? "  ★" : "");
      dc->TextOut(4, y, text);
    }
    if (dragging_) {
      dc->MoveTo(dragX_, 0);
      dc->LineTo(dragX_, client.bottom);
    }
  }

  void DrawPage(fw::CDC* dc, UINT page) {
    int first = static_cast<int>(page - 1) * kLinesPerPage;
    if (first < 0 || first >= kLineCount) throw fw::InvalidArgumentError("page");
    int width = dc->GetDeviceCaps(HORZRES);
    fw::Font font(CreateFontA(PointHeight(dc->m_hAttribDC, 100), 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0,
                              0, "MS UI Gothic"));
    fw::SelectScope select(*dc, font);
    int h = -PointHeight(dc->m_hAttribDC, 140);
    std::string title = "FrameworkDemo 印刷 " + std::to_string(page) + "/" + std::to_string(pages_);
    fw::CRect r(0, 0, width, h * 2);
    dc->DrawText(title, &r, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    dc->MoveTo(0, h * 2);
    dc->LineTo(width, h * 2);
    for (int i = 0; i < kLinesPerPage && first + i < kLineCount; ++i)
      dc->TextOut(h, h * 3 + i * h, "行 " + std::to_string(first + i + 1) + ": 印刷テスト");
  }

  bool OnPreparePrinting(fw::CPrintInfo* info) override {
    if (!DoPreparePrinting(info)) return false;
    pages_ = (kLineCount + kLinesPerPage - 1) / kLinesPerPage;
    info->SetMaxPage(static_cast<UINT>(pages_));
    return true;
  }
  void OnPrepareDC(fw::CDC* dc, fw::CPrintInfo* info) override {
    fw::CView::OnPrepareDC(dc, info);
    if (info) page_ = info->m_nCurPage;
  }

  void OnVScroll(WPARAM wParam, LPARAM) {
    fw::CClientDC dc(this);
    int visible = GetClientRect().Height() / LineHeight(dc);
    int top = top_;
    switch (LOWORD(wParam)) {
      case SB_LINEUP: --top; break;
      case SB_LINEDOWN: ++top; break;
      case SB_PAGEUP: top -= visible; break;
      case SB_PAGEDOWN: top += visible; break;
      case SB_TOP: top = 0; break;
      case SB_BOTTOM: top = kLineCount; break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: top = HIWORD(wParam); break;
      default: break;
    }
    top = std::max(0, std::min(top, kLineCount - std::max(1, visible)));
    if (top != top_) {
      top_ = top;
      UpdateScroll();
      Invalidate();
    }
  }
  void OnSize(WPARAM, LPARAM) { UpdateScroll(); }

  void OnLButtonDown(WPARAM, LPARAM lParam) {
    dragging_ = true;
    dragX_ = static_cast<short>(LOWORD(lParam));
    SetCapture(m_hWnd);
    Invalidate();
  }
  void OnMouseMove(WPARAM, LPARAM lParam) {
    if (!dragging_) return;
    dragX_ = static_cast<short>(LOWORD(lParam));
    Invalidate();
  }
  void OnLButtonUp(WPARAM, LPARAM) {
    if (!dragging_) return;
    dragging_ = false;
    ReleaseCapture();
    Invalidate();
  }
  void OnContextMenu(WPARAM, LPARAM lParam) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_CONTEXT));
    if (!menu) return;
    POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (p.x == -1 && p.y == -1) {
      p = {10, 10};
      ClientToScreen(m_hWnd, &p);
    }
    TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, p.x, p.y, 0, m_hWnd, nullptr);
    DestroyMenu(menu);
  }

  void OnCountUp() {
    Doc()->count += Doc()->step;
    ShowStatus();
  }
  void OnCountDown() {
    Doc()->count -= Doc()->step;
    ShowStatus();
  }
  void OnUpdateCountDown(fw::CCmdUI* ui) { ui->Enable(Doc()->count > 0); }
  void OnCountReset() {
    Doc()->count = 0;
    ShowStatus();
  }
  void OnUpdateCountReset(fw::CCmdUI* ui) { ui->Enable(Doc()->count != 0); }
  void OnToggleMark() {
    Doc()->mark = !Doc()->mark;
    ShowStatus();
  }
  void OnUpdateToggleMark(fw::CCmdUI* ui) { ui->SetCheck(Doc()->mark ? 1 : 0); }
  void OnBadIndex() {
    // An index past the list: refused before anything changes.
    const char* item = Doc()->Item(Doc()->count + 99);
    Doc()->name = item;
    Doc()->count = -1000;
    ShowStatus();
  }
  void OnThrowOther() { throw std::runtime_error("デモの失敗"); }
  void OnShowDialog() {
    CDemoDialog dialog(GetParentFrame(), Doc()->name);
    if (dialog.DoModal() == IDOK) {
      Doc()->name = dialog.Name();
      ShowStatus();
    }
  }
  void OnShowSheet() {
    fw::CPropertySheet sheet(IDS_SHEET_CAPTION, GetParentFrame());
    CDemoPage page(*Doc());
    sheet.AddPage(&page);
    sheet.DoModal();
    ShowStatus();
  }
  void OnTextChanged() {
    auto* bar = dynamic_cast<fw::CDialogBar*>(GetParentFrame()->GetControlBar(ID_VIEW_DIALOGBAR));
    if (!bar) return;
    text_ = fw::CEdit(bar->GetDlgItem(IDC_TEXT)).GetWindowText();
    ShowStatus();
  }
  void OnSizeChanged() {
    auto* bar = dynamic_cast<fw::CDialogBar*>(GetParentFrame()->GetControlBar(ID_VIEW_DIALOGBAR));
    if (!bar) return;
    fw::CComboBox combo(bar->GetDlgItem(IDC_FONTSIZE));
    int sel = combo.GetCurSel();
    text_ = "size " + (sel < 0 ? std::string("?") : combo.GetLBText(sel));
    ShowStatus();
  }

  int top_ = 0;
  int marked_ = 0;
  bool dragging_ = false;
  int dragX_ = 0;
  int pages_ = 0;
  UINT page_ = 1;
  std::string text_;
};

// clang-format off
FW_BEGIN_MESSAGE_MAP(CDemoView, fw::CView)
  fw::OnMessage(WM_VSCROLL, &CDemoView::OnVScroll),
  fw::OnMessage(WM_SIZE, &CDemoView::OnSize),
  fw::OnMessage(WM_LBUTTONDOWN, &CDemoView::OnLButtonDown),
  fw::OnMessage(WM_MOUSEMOVE, &CDemoView::OnMouseMove),
  fw::OnMessage(WM_LBUTTONUP, &CDemoView::OnLButtonUp),
  fw::OnMessage(WM_CONTEXTMENU, &CDemoView::OnContextMenu),
  fw::OnCommand(ID_COUNT_UP, &CDemoView::OnCountUp),
  fw::OnCommand(ID_COUNT_DOWN, &CDemoView::OnCountDown),
  fw::OnUpdateCommandUI(ID_COUNT_DOWN, &CDemoView::OnUpdateCountDown),
  fw::OnCommand(ID_COUNT_RESET, &CDemoView::OnCountReset),
  fw::OnUpdateCommandUI(ID_COUNT_RESET, &CDemoView::OnUpdateCountReset),
  fw::OnCommand(ID_TOGGLE_MARK, &CDemoView::OnToggleMark),
  fw::OnUpdateCommandUI(ID_TOGGLE_MARK, &CDemoView::OnUpdateToggleMark),
  fw::OnCommand(ID_BAD_INDEX, &CDemoView::OnBadIndex),
  fw::OnCommand(ID_THROW_OTHER, &CDemoView::OnThrowOther),
  fw::OnCommand(ID_SHOW_DIALOG, &CDemoView::OnShowDialog),
  fw::OnCommand(ID_SHOW_SHEET, &CDemoView::OnShowSheet),
  fw::OnCommand(ID_FILE_PRINT, &CDemoView::OnFilePrint),
  fw::OnCommand(ID_FILE_PRINT_DIRECT, &CDemoView::OnFilePrintDirect),
  fw::OnCommand(ID_FILE_PRINT_PREVIEW, &CDemoView::OnFilePrintPreview),
  fw::OnEnChange(IDC_TEXT, &CDemoView::OnTextChanged),
  fw::OnCbnSelChange(IDC_FONTSIZE, &CDemoView::OnSizeChanged),
FW_END_MESSAGE_MAP()
// clang-format on

class CDemoFrame : public fw::CFrameWnd {
  FW_DECLARE_MESSAGE_MAP()

 private:
  bool PreCreateWindow(CREATESTRUCTA& cs) override {
    cs.style &= ~FWS_ADDTOTITLE;
    fw::CWinApp* app = fw::AfxGetApp();
    cs.x = app->GetProfileInt(kWindowSection, "x", 40);
    cs.y = app->GetProfileInt(kWindowSection, "y", 40);
    cs.cx = app->GetProfileInt(kWindowSection, "cx", 720);
    cs.cy = app->GetProfileInt(kWindowSection, "cy", 560);
    return fw::CFrameWnd::PreCreateWindow(cs);
  }

  int OnCreate(CREATESTRUCTA* cs) {
    if (fw::CFrameWnd::OnCreate(cs) == -1) return -1;
    const DWORD barStyle = WS_CHILD | WS_VISIBLE | fw::CBRS_TOP | fw::CBRS_GRIPPER | fw::CBRS_TOOLTIPS |
                           fw::CBRS_FLYBY | fw::CBRS_SIZE_DYNAMIC;
    if (!main_.CreateEx(this, TBSTYLE_FLAT, barStyle, AFX_IDW_TOOLBAR) || !main_.LoadToolBar(IDR_MAINFRAME)) return -1;
    main_.EnableDocking(fw::CBRS_ALIGN_ANY);
    EnableDocking(fw::CBRS_ALIGN_ANY);
    DockControlBar(&main_);
    main_.SetWindowText("ツールバー");

    if (!second_.CreateEx(this, 0, barStyle, ID_VIEW_SECONDBAR) || !second_.LoadToolBar(IDR_SECONDBAR)) return -1;
    second_.EnableDocking(fw::CBRS_ALIGN_ANY);
    // Same row, right of the main bar.
    RecalcLayout();
    fw::CRect r = main_.GetWindowRect();
    r.OffsetRect(1, 0);
    DockControlBar(&second_, AFX_IDW_DOCKBAR_TOP, &r);
    second_.SetWindowText("第二ツールバー");

    input_.Create(this, IDD_DIALOGBAR, WS_CHILD | WS_VISIBLE | fw::CBRS_TOP | fw::CBRS_GRIPPER, ID_VIEW_DIALOGBAR);
    input_.EnableDocking(fw::CBRS_ALIGN_TOP | fw::CBRS_ALIGN_BOTTOM);
    DockControlBar(&input_, AFX_IDW_DOCKBAR_TOP);
    input_.SetWindowText("入力バー");
    fw::CComboBox sizes(input_.GetDlgItem(IDC_FONTSIZE));
    for (const char* s : {"8", "10", "12", "24"}) sizes.AddString(s);

    if (fw::AfxGetApp()->GetProfileString(kWindowSection, "Ver", "") == kLayoutVersion) LoadBarState("ControlBar");
    return 0;
  }

  bool DestroyWindow() override {
    fw::CWinApp* app = fw::AfxGetApp();
    app->WriteProfileString(kWindowSection, "Ver", kLayoutVersion);
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (GetWindowPlacement(m_hWnd, &wp)) {
      const RECT& n = wp.rcNormalPosition;
      app->WriteProfileInt(kWindowSection, "x", n.left);
      app->WriteProfileInt(kWindowSection, "y", n.top);
      app->WriteProfileInt(kWindowSection, "cx", n.right - n.left);
      app->WriteProfileInt(kWindowSection, "cy", n.bottom - n.top);
    }
    SaveBarState("ControlBar");
    return fw::CFrameWnd::DestroyWindow();
  }

  fw::CToolBar main_;
  fw::CToolBar second_;
  fw::CDialogBar input_;
};

// clang-format off
FW_BEGIN_MESSAGE_MAP(CDemoFrame, fw::CFrameWnd)
  fw::OnMessage(WM_CREATE, &CDemoFrame::OnCreate),
  fw::OnCommand(ID_VIEW_SECONDBAR, &CDemoFrame::OnBarCheck),
  fw::OnUpdateCommandUI(ID_VIEW_SECONDBAR, &CDemoFrame::OnUpdateControlBarMenu),
  fw::OnCommand(ID_VIEW_DIALOGBAR, &CDemoFrame::OnBarCheck),
  fw::OnUpdateCommandUI(ID_VIEW_DIALOGBAR, &CDemoFrame::OnUpdateControlBarMenu),
FW_END_MESSAGE_MAP()
// clang-format on

class CDemoApp : public fw::CWinApp {
  FW_DECLARE_MESSAGE_MAP()

 public:
  bool InitInstance() override {
    SetRegistryKey("VANTO");
    AddDocTemplate(fw::MakeSingleDocTemplate<CDemoDoc, CDemoFrame, CDemoView>(IDR_MAINFRAME));
    fw::CCommandLineInfo info;
    ParseCommandLine(info);
    if (!ProcessShellCommand(info)) return false;
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    if (auto* view = dynamic_cast<CDemoView*>(GetMainFrame()->GetActiveView())) view->ShowStatus();
    return fw::AfxOleInit();
  }
};

// clang-format off
FW_BEGIN_MESSAGE_MAP(CDemoApp, fw::CWinApp)
  fw::OnCommand(ID_FILE_PRINT_SETUP, &CDemoApp::OnFilePrintSetup),
FW_END_MESSAGE_MAP()
// clang-format on

CDemoApp theApp;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) { return fw::AfxWinMain(instance, show); }

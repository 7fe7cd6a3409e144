#include "app/MainFrame.h"

#include "app/GlimraApp.h"
#include "res/ResourceIds.h"

namespace {

const char kWindow[] = "Window";
const char kBarProfile[] = "ControlBar";
// Layouts saved by this version; anything else is ignored.
const char kLayoutVersion[] = "02000";

const DWORD kBarStyle = WS_CHILD | WS_VISIBLE | fw::CBRS_TOP | fw::CBRS_GRIPPER | fw::CBRS_TOOLTIPS | fw::CBRS_FLYBY |
                        fw::CBRS_SIZE_DYNAMIC;

// Dialog initialisation data: records of control id, message, length and
// data, ended by a zero id. 0x0403 adds a string to a combo box.
constexpr WORD kDlgInitType = 240;
constexpr WORD kDlgInitAddString = 0x0403;

UINT DockBarOf(DWORD barStyle) {
  if (barStyle & fw::CBRS_ALIGN_TOP) return AFX_IDW_DOCKBAR_TOP;
  if (barStyle & fw::CBRS_ALIGN_BOTTOM) return AFX_IDW_DOCKBAR_BOTTOM;
  if (barStyle & fw::CBRS_ALIGN_LEFT) return AFX_IDW_DOCKBAR_LEFT;
  if (barStyle & fw::CBRS_ALIGN_RIGHT) return AFX_IDW_DOCKBAR_RIGHT;
  return AFX_IDW_DOCKBAR_TOP;
}

}  // namespace

// clang-format off
FW_BEGIN_MESSAGE_MAP(CMainFrame, fw::CFrameWnd)
  fw::OnMessage(WM_CREATE, &CMainFrame::OnCreate),
  fw::OnMessage(WM_CLOSE, &CMainFrame::OnClose),
  fw::OnCommand(ID_VIEW_FONTSELECT, &CMainFrame::OnBarCheck),
  fw::OnCommand(ID_VIEW_TEXTINPUT, &CMainFrame::OnBarCheck),
  fw::OnCommand(ID_VIEW_LISTSELECT, &CMainFrame::OnBarCheck),
  fw::OnUpdateCommandUI(ID_VIEW_FONTSELECT, &CMainFrame::OnUpdateControlBarMenu),
  fw::OnUpdateCommandUI(ID_VIEW_TEXTINPUT, &CMainFrame::OnUpdateControlBarMenu),
  fw::OnUpdateCommandUI(ID_VIEW_LISTSELECT, &CMainFrame::OnUpdateControlBarMenu),
  fw::OnCommand(ID_VIEW_VERTICAL, &CMainFrame::OnBarCheck),
  fw::OnUpdateCommandUI(ID_VIEW_VERTICAL, &CMainFrame::OnUpdateControlBarMenu),
FW_END_MESSAGE_MAP()
// clang-format on

int KeepOnScreen(int position, int extent, int screen) {
  if (position >= screen - 32) {
    position = screen - extent;
    if (position < 0) position = 0;
  }
  return position;
}

bool CMainFrame::PreCreateWindow(CREATESTRUCTA& cs) {
  cs.style &= ~(WS_MAXIMIZEBOX | FWS_ADDTOTITLE);
  CGlimraApp& app = GlimraApp();
  cs.x = app.GetProfileInt(kWindow, "x", cs.x);
  cs.y = app.GetProfileInt(kWindow, "y", cs.y);
  cs.cx = app.GetProfileInt(kWindow, "cx", 600);
  cs.cy = app.GetProfileInt(kWindow, "cy", 768);
  cs.x = KeepOnScreen(cs.x, cs.cx, ::GetSystemMetrics(SM_CXSCREEN));
  cs.y = KeepOnScreen(cs.y, cs.cy, ::GetSystemMetrics(SM_CYSCREEN));
  return fw::CFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate(CREATESTRUCTA* cs) {
  if (fw::CFrameWnd::OnCreate(cs) == -1) return -1;

  if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT, kBarStyle, ID_VIEW_TOOLBAR) ||
      !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
    return -1;
  m_wndToolBar.EnableDocking(fw::CBRS_ALIGN_ANY);
  EnableDocking(fw::CBRS_ALIGN_ANY);
  DockControlBar(&m_wndToolBar, AFX_IDW_DOCKBAR_TOP);
  m_wndToolBar.SetWindowText(fw::LoadText(IDS_TOOLBAR_TITLE));

  if (!m_wndFontBar.CreateEx(this, 0, kBarStyle, ID_VIEW_FONTSELECT) || !m_wndFontBar.LoadToolBar(IDR_FONTSELECT))
    return -1;
  m_wndFontBar.EnableDocking(fw::CBRS_ALIGN_ANY);
  // Same row as the main tool bar, just right of it.
  RecalcLayout();
  fw::CRect rect = m_wndToolBar.GetWindowRect();  // screen coordinates, as docking takes them
  rect.OffsetRect(1, 0);
  DockControlBar(&m_wndFontBar, DockBarOf(m_wndToolBar.GetBarStyle()), &rect);
  m_wndFontBar.SetWindowText(fw::LoadText(IDS_FONTBAR_TITLE));

  if (!m_wndListBar.CreateEx(this, 0, kBarStyle, ID_VIEW_LISTSELECT) || !m_wndListBar.LoadToolBar(IDR_LISTSELECT))
    return -1;
  m_wndListBar.EnableDocking(fw::CBRS_ALIGN_ANY);
  DockControlBar(&m_wndListBar, AFX_IDW_DOCKBAR_TOP);
  m_wndListBar.SetWindowText(fw::LoadText(IDS_LISTBAR_TITLE));

  m_wndTextBar.Create(this, IDD_TEXTINPUT,
                      WS_CHILD | WS_VISIBLE | fw::CBRS_TOP | fw::CBRS_GRIPPER | fw::CBRS_TOOLTIPS | fw::CBRS_FLYBY,
                      ID_VIEW_TEXTINPUT);
  FillSizeBox();
  m_wndTextBar.EnableDocking(fw::CBRS_ALIGN_TOP | fw::CBRS_ALIGN_BOTTOM);
  DockControlBar(&m_wndTextBar, AFX_IDW_DOCKBAR_TOP);
  m_wndTextBar.SetWindowText(fw::LoadText(IDS_TEXTBAR_TITLE));

  if (GlimraApp().GetProfileString(kWindow, "Ver", "") == kLayoutVersion) LoadBarState(kBarProfile);
  // The vertical preview keeps its layout apart from the bars'.
  if (!m_wndVertical.Create(this, ID_VIEW_VERTICAL)) return -1;

  // The find bar (Ctrl+F): hidden at every start, under the list, and never
  // part of the saved bar layout (see DestroyWindow).
  if (m_wndFindBar.Create(this, IDD_FINDBAR, WS_CHILD | fw::CBRS_BOTTOM, IDD_FINDBAR)) {
    m_wndFindBar.EnableDocking(fw::CBRS_ALIGN_BOTTOM);
    DockControlBar(&m_wndFindBar, AFX_IDW_DOCKBAR_BOTTOM);
    m_wndFindBar.SetWindowText(fw::LoadText(IDS_FINDBAR_TITLE));
  }

  GlimraApp().m_pTextInputBar = &m_wndTextBar;
  return 0;
}

void CMainFrame::FillSizeBox() {
  HWND box = m_wndTextBar.GetDlgItem(IDC_SAMPLE_SIZE);
  if (!box || ::SendMessageA(box, CB_GETCOUNT, 0, 0) > 0) return;
  HINSTANCE inst = ::GetModuleHandleA(nullptr);
  HRSRC res = ::FindResourceA(inst, MAKEINTRESOURCEA(IDD_TEXTINPUT), MAKEINTRESOURCEA(kDlgInitType));
  HGLOBAL handle = res ? ::LoadResource(inst, res) : nullptr;
  const BYTE* data = handle ? static_cast<const BYTE*>(::LockResource(handle)) : nullptr;
  DWORD size = res ? ::SizeofResource(inst, res) : 0;
  if (!data) return;
  // Each record: WORD id, WORD message, DWORD length, then length bytes.
  DWORD at = 0;
  while (at + 8 <= size) {
    WORD id, message;
    DWORD length;
    memcpy(&id, data + at, 2);
    if (id == 0) break;
    memcpy(&message, data + at + 2, 2);
    memcpy(&length, data + at + 4, 4);
    at += 8;
    if (length > size - at) break;
    std::string text(reinterpret_cast<const char*>(data + at), length);
    at += length;
    if (id != IDC_SAMPLE_SIZE || message != kDlgInitAddString) continue;
    text = text.c_str();  // up to its terminating zero
    ::SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

void CMainFrame::OnClose() {
  if (fw::CView* view = GetActiveView()) view->SendMessage(WM_GLIMRA_CLOSING, 0, 0);
  fw::CFrameWnd::OnClose();
}

bool CMainFrame::DestroyWindow() {
  CGlimraApp& app = GlimraApp();
  app.WriteProfileString(kWindow, "Ver", kLayoutVersion);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (::GetWindowPlacement(m_hWnd, &placement)) {
    const RECT& r = placement.rcNormalPosition;
    app.WriteProfileInt(kWindow, "showCmd", static_cast<int>(placement.showCmd));
    app.WriteProfileInt(kWindow, "x", r.left);
    app.WriteProfileInt(kWindow, "y", r.top);
    app.WriteProfileInt(kWindow, "cx", r.right - r.left);
    app.WriteProfileInt(kWindow, "cy", r.bottom - r.top);
  }
  // The saved layout is the standard bars' alone.
  if (m_wndFindBar.m_hWnd) m_wndFindBar.DestroyWindow();
  SaveBarState(kBarProfile);
  m_wndVertical.SaveState();
  return fw::CFrameWnd::DestroyWindow();
}

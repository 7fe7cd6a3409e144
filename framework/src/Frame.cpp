#include <algorithm>
#include <cstdio>

#include "framework/App.h"
#include "framework/Bars.h"
#include "framework/DocView.h"

namespace fw {
namespace {

// A menu item's state, applied as the handlers decide it.
class MenuCmdUI : public CCmdUI {
 public:
  MenuCmdUI(HMENU menu, UINT index, UINT id) : CCmdUI(id), menu_(menu), index_(index) {}
  void Enable(bool on) override {
    CCmdUI::Enable(on);
    ::EnableMenuItem(menu_, index_, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
  }
  void SetCheck(int check) override {
    CCmdUI::SetCheck(check);
    ::CheckMenuItem(menu_, index_, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
  }

 private:
  HMENU menu_;
  UINT index_;
};

int SideOfDockBar(UINT dockBarId) {
  switch (dockBarId) {
    case AFX_IDW_DOCKBAR_TOP: return 0;
    case AFX_IDW_DOCKBAR_BOTTOM: return 1;
    case AFX_IDW_DOCKBAR_LEFT: return 2;
    case AFX_IDW_DOCKBAR_RIGHT: return 3;
    default: return -1;
  }
}

const DWORD kSideAlign[4] = {CBRS_ALIGN_TOP, CBRS_ALIGN_BOTTOM, CBRS_ALIGN_LEFT, CBRS_ALIGN_RIGHT};

}  // namespace

// clang-format off
FW_BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
  OnMessage(WM_CREATE, &CFrameWnd::OnCreate),
  OnMessage(WM_CLOSE, &CFrameWnd::OnClose),
  OnMessage(WM_SIZE, &CFrameWnd::OnSize),
  OnMessage(WM_SETFOCUS, &CFrameWnd::OnSetFocus),
  OnMessage(WM_DESTROY, &CFrameWnd::OnDestroy),
  OnMessage(WM_INITMENUPOPUP, &CFrameWnd::OnInitMenuPopup),
  OnMessage(WM_HELP, &CFrameWnd::OnHelpMsg),
  fw::OnCommandRange(ID_VIEW_TOOLBAR, ID_VIEW_TOOLBAR + 0xFF, &CFrameWnd::OnBarCheck),
  OnUpdateCommandUIRange(ID_VIEW_TOOLBAR, ID_VIEW_TOOLBAR + 0xFF, &CFrameWnd::OnUpdateControlBarMenu),
FW_END_MESSAGE_MAP()
// clang-format on

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd() {
  for (CControlBar* bar : m_bars) bar->m_pDockSite = nullptr;
  if (m_hWnd && ::IsWindow(m_hWnd)) {
    HWND wnd = m_hWnd;
    Detach();
    ::DestroyWindow(wnd);
  }
  if (m_hAccelTable) ::DestroyAcceleratorTable(m_hAccelTable);
  CWinApp* app = AfxGetApp();
  if (app && app->m_pMainWnd == this) app->m_pMainWnd = nullptr;
}

bool CFrameWnd::LoadFrame(UINT resId, DWORD style, CWnd* parent, CCreateContext* context) {
  HINSTANCE inst = ::GetModuleHandleA(nullptr);
  m_nIDResource = resId;
  std::string doc = LoadResString(resId);
  m_strTitle = doc.substr(0, doc.find('\n'));
  if (m_strTitle.empty() && AfxGetApp()) m_strTitle = AfxGetApp()->m_pszAppName;
  m_hIcon = ::LoadIconA(inst, MAKEINTRESOURCEA(resId));
  m_hMenuDefault = ::LoadMenuA(inst, MAKEINTRESOURCEA(resId));
  if (!m_hAccelTable) m_hAccelTable = ::LoadAcceleratorsA(inst, MAKEINTRESOURCEA(resId));
  char className[32];
  std::snprintf(className, sizeof className, "FwFrame%u", resId);
  RegisterFrameworkClass(className, CS_DBLCLKS, m_hIcon, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));

  CREATESTRUCTA cs{};
  cs.lpszClass = className;
  cs.lpszName = m_strTitle.c_str();
  cs.style = style;
  cs.x = cs.y = cs.cx = cs.cy = CW_USEDEFAULT;
  cs.hwndParent = parent ? parent->m_hWnd : nullptr;
  cs.hMenu = m_hMenuDefault;
  cs.hInstance = inst;
  m_pCreateContext = context;
  bool ok = CreateFromStruct(cs);
  m_pCreateContext = nullptr;
  if (!ok && m_hMenuDefault && !m_hWnd) {
    ::DestroyMenu(m_hMenuDefault);
    m_hMenuDefault = nullptr;
  }
  return ok && m_hWnd;
}

bool CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs) {
  // Our own style bit never reaches the window manager.
  m_addToTitleFlag = (cs.style & FWS_ADDTOTITLE) != 0;
  cs.style &= ~FWS_ADDTOTITLE;
  cs.style |= WS_CLIPCHILDREN;
  return true;
}

int CFrameWnd::OnCreate(CREATESTRUCTA* cs) {
  if (Default() == -1) return -1;
  EnableDocking(0);
  if (m_pCreateContext && !OnCreateClient(cs, m_pCreateContext)) return -1;
  return 0;
}

bool CFrameWnd::OnCreateClient(CREATESTRUCTA*, CCreateContext* context) {
  if (!context || !context->m_newView) return true;
  std::unique_ptr<CView> view = context->m_newView();
  if (!view) return false;
  if (context->m_pCurrentDoc) context->m_pCurrentDoc->AddView(view.get());
  CRect none(0, 0, 0, 0);
  if (!view->CreateEx(WS_EX_CLIENTEDGE, nullptr, "", WS_CHILD | WS_VISIBLE, none, m_hWnd, AFX_IDW_PANE_FIRST)) {
    if (context->m_pCurrentDoc) context->m_pCurrentDoc->RemoveView(view.get());
    return false;
  }
  m_ownedView = std::move(view);
  if (!m_pActiveView) m_pActiveView = m_ownedView.get();
  return true;
}

void CFrameWnd::InitialUpdateFrame(CDocument* doc, bool makeVisible) {
  CView* view = m_pActiveView ? m_pActiveView : (doc ? doc->GetFirstView() : nullptr);
  SetActiveView(view);
  if (view) view->OnInitialUpdate();
  OnUpdateFrameTitle();
  RecalcLayout();
  if (makeVisible) {
    CWinApp* app = AfxGetApp();
    ShowWindow(app && app->m_pMainWnd == this ? app->m_nCmdShow : SW_SHOW);
    UpdateWindow();
  }
}

void CFrameWnd::OnUpdateFrameTitle() {
  CDocument* doc = GetActiveDocument();
  std::string title = m_strTitle;
  if (m_addToTitleFlag && doc && !doc->GetTitle().empty()) title = doc->GetTitle() + " - " + m_strTitle;
  if (m_hWnd) SetWindowText(title);
}

void CFrameWnd::SetActiveView(CView* view) {
  m_pActiveView = view;
  if (view && view->m_hWnd && ::GetFocus() != view->m_hWnd && ::IsWindowVisible(m_hWnd)) ::SetFocus(view->m_hWnd);
}

CDocument* CFrameWnd::GetActiveDocument() const { return m_pActiveView ? m_pActiveView->GetDocument() : nullptr; }

bool CFrameWnd::PreTranslateMessage(MSG* msg) {
  if (!m_hAccelTable || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return false;
  if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd)) return false;
  return ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, msg) != 0;
}

bool CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (lParam == 0) {
    // Menus, accelerators and tool bar buttons: a command that is disabled now
    // (by its handler, or because nobody handles it) does nothing.
    CCmdUI state(LOWORD(wParam));
    if (!UpdateCommandUI(*this, state)) return true;
  }
  return CWnd::OnCommand(wParam, lParam);
}

bool CFrameWnd::OnCmdMsg(unsigned id, int code, CCmdUI* ui) {
  if (m_pActiveView && m_pActiveView->OnCmdMsg(id, code, ui)) return true;
  if (DispatchOwnCommand(id, code, ui)) return true;
  CWinApp* app = AfxGetApp();
  return app && app->OnCmdMsg(id, code, ui);
}

void CFrameWnd::OnClose() { DestroyWindow(); }

void CFrameWnd::OnDestroy() {
  CWinApp* app = AfxGetApp();
  if (app && app->m_pMainWnd == this) ::PostQuitMessage(0);
  Default();
}

void CFrameWnd::PostNcDestroy() {
  m_pActiveView = nullptr;
  // The menu went with the window.
  m_hMenuDefault = nullptr;
}

void CFrameWnd::OnSize(WPARAM type, LPARAM) {
  if (type != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::OnSetFocus() {
  if (m_pActiveView && m_pActiveView->m_hWnd) ::SetFocus(m_pActiveView->m_hWnd);
}

void CFrameWnd::OnInitMenuPopup(HMENU menu, LPARAM lParam) {
  Default();
  if (HIWORD(lParam)) return;  // the system menu
  int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    UINT id = ::GetMenuItemID(menu, i);
    if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separator or sub-menu
    MenuCmdUI ui(menu, static_cast<UINT>(i), id);
    UpdateCommandUI(*this, ui);
  }
}

LRESULT CFrameWnd::OnHelpMsg(WPARAM, LPARAM) {
  if (CWinApp* app = AfxGetApp()) app->OnHelp();
  return TRUE;
}

void CFrameWnd::OnHelpCall(DWORD_PTR, UINT) {}

// ---- control bars ------------------------------------------------------------------

void CFrameWnd::AddControlBar(CControlBar* bar) {
  if (std::find(m_bars.begin(), m_bars.end(), bar) != m_bars.end()) return;
  m_bars.push_back(bar);
  bar->m_pDockSite = this;
  // Until the program docks it, a bar sits in a row of its own on its aligned side.
  int side = 0;
  for (int s = 0; s < 4; ++s)
    if (bar->GetBarStyle() & kSideAlign[s]) {
      side = s;
      break;
    }
  bar->m_side = side;
  bar->m_row = 0;
  for (CControlBar* b : m_bars)
    if (b != bar && b->m_side == side) bar->m_row = std::max(bar->m_row, b->m_row + 1);
  bar->m_order = 0;
}

void CFrameWnd::RemoveControlBar(CControlBar* bar) {
  m_bars.erase(std::remove(m_bars.begin(), m_bars.end(), bar), m_bars.end());
}

CControlBar* CFrameWnd::GetControlBar(UINT id) const {
  for (CControlBar* b : m_bars)
    if (b->m_hWnd && b->GetBarId() == id) return b;
  return nullptr;
}

void CFrameWnd::NormaliseRows() {
  for (int side = 0; side < 4; ++side) {
    std::vector<CControlBar*> bars;
    for (CControlBar* b : m_bars)
      if (b->m_side == side) bars.push_back(b);
    std::stable_sort(bars.begin(), bars.end(), [](CControlBar* a, CControlBar* b) {
      return a->m_row != b->m_row ? a->m_row < b->m_row : a->m_order < b->m_order;
    });
    int row = -1, lastRow = -1000000, order = 0;
    for (CControlBar* b : bars) {
      if (b->m_row != lastRow) {
        lastRow = b->m_row;
        ++row;
        order = 0;
      }
      b->m_row = row;
      b->m_order = order++;
    }
  }
}

void CFrameWnd::DockControlBar(CControlBar* bar, UINT dockBarId, const RECT* rect) {
  if (!bar) return;
  AddControlBar(bar);
  int side = SideOfDockBar(dockBarId);
  if (side < 0) {
    DWORD allowed = bar->GetDockStyle() & (m_dockSides ? m_dockSides : CBRS_ALIGN_ANY);
    side = 0;
    for (int s = 0; s < 4; ++s)
      if (allowed & kSideAlign[s]) {
        side = s;
        break;
      }
  }
  bar->m_side = side;
  bar->SetBarStyle((bar->GetBarStyle() & ~CBRS_ALIGN_ANY) | kSideAlign[side]);
  bar->m_row = -1;
  if (rect) {
    // Join the row under the rectangle's corner, after the bars left of (or above) it.
    POINT corner{rect->left, rect->top};
    ::ScreenToClient(m_hWnd, &corner);
    bool horizontal = side < 2;
    for (CControlBar* b : m_bars) {
      if (b == bar || b->m_side != side || !b->IsVisible()) continue;
      CRect r = b->GetWindowRect();
      ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
      bool inRow = horizontal ? (corner.y >= r.top && corner.y < r.bottom) : (corner.x >= r.left && corner.x < r.right);
      if (inRow) {
        bar->m_row = b->m_row;
        break;
      }
    }
    if (bar->m_row >= 0) {
      int order = 0;
      for (CControlBar* b : m_bars) {
        if (b == bar || b->m_side != side || b->m_row != bar->m_row) continue;
        CRect r = b->GetWindowRect();
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        if ((horizontal ? r.left : r.top) < (horizontal ? corner.x : corner.y)) ++order;
      }
      for (CControlBar* b : m_bars)
        if (b != bar && b->m_side == side && b->m_row == bar->m_row && b->m_order >= order) ++b->m_order;
      bar->m_order = order;
    }
  }
  if (bar->m_row < 0) {
    // A new row on the inner edge of that side.
    int row = 0;
    for (CControlBar* b : m_bars)
      if (b != bar && b->m_side == side) row = std::max(row, b->m_row + 1);
    bar->m_row = row;
    bar->m_order = 0;
  }
  NormaliseRows();
  RecalcLayout();
}

bool CFrameWnd::DockControlBarAt(CControlBar* bar, POINT screen) {
  if (!bar || !m_hWnd) return false;
  POINT p = screen;
  ::ScreenToClient(m_hWnd, &p);
  CRect client = GetClientRect();
  if (!client.PtInRect(p)) return false;
  // The edge nearest to the point, within a band as thick as a bar.
  const LONG band = 32;
  int side = -1;
  LONG best = band;
  const LONG distance[4] = {p.y - client.top, client.bottom - 1 - p.y, p.x - client.left, client.right - 1 - p.x};
  DWORD allowed = bar->GetDockStyle() & (m_dockSides ? m_dockSides : CBRS_ALIGN_ANY);
  for (int s = 0; s < 4; ++s)
    if (distance[s] < best && (allowed & kSideAlign[s])) {
      best = distance[s];
      side = s;
    }
  if (side < 0) {
    // Within the docked area of the bar's own side: join the row under the point.
    bool inOwnArea = false;
    for (CControlBar* b : m_bars) {
      if (b == bar || b->m_side != bar->m_side || !b->IsVisible()) continue;
      CRect r = b->GetWindowRect();
      ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
      bool horizontal = bar->m_side < 2;
      if (horizontal ? (p.y >= r.top && p.y < r.bottom) : (p.x >= r.left && p.x < r.right)) inOwnArea = true;
    }
    if (!inOwnArea) return false;
    side = bar->m_side;
  }
  static const UINT dockBars[4] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT,
                                   AFX_IDW_DOCKBAR_RIGHT};
  RECT at{screen.x, screen.y, screen.x + 1, screen.y + 1};
  DockControlBar(bar, dockBars[side], &at);
  return true;
}

void CFrameWnd::ShowControlBar(CControlBar* bar, bool show, bool delay) {
  if (!bar || !bar->m_hWnd) return;
  bar->ShowWindow(show ? SW_SHOWNA : SW_HIDE);
  if (!delay) RecalcLayout();
}

bool CFrameWnd::OnBarCheck(unsigned id) {
  CControlBar* bar = GetControlBar(id);
  if (!bar) return false;
  ShowControlBar(bar, !bar->IsVisible(), false);
  return true;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* ui) {
  CControlBar* bar = GetControlBar(ui->m_nID);
  if (!bar) {
    ui->Enable(false);
    return;
  }
  ui->SetCheck(bar->IsVisible() ? 1 : 0);
  ui->Enable(true);
}

void CFrameWnd::OnUpdateToolBars() {
  for (CControlBar* bar : m_bars)
    if (bar->IsVisible()) bar->OnUpdateCmdUI(*this);
}

void CFrameWnd::RecalcLayout(bool) {
  if (!m_hWnd) return;
  CRect free = GetClientRect();
  for (int side = 0; side < 4; ++side) {
    bool horizontal = side < 2;
    std::vector<CControlBar*> bars;
    for (CControlBar* b : m_bars)
      if (b->m_side == side && b->IsVisible()) bars.push_back(b);
    std::stable_sort(bars.begin(), bars.end(), [](CControlBar* a, CControlBar* b) {
      return a->m_row != b->m_row ? a->m_row < b->m_row : a->m_order < b->m_order;
    });
    size_t i = 0;
    while (i < bars.size()) {
      size_t end = i;
      LONG thickness = 0;
      while (end < bars.size() && bars[end]->m_row == bars[i]->m_row) {
        CSize s = bars[end]->CalcFixedLayout(horizontal);
        thickness = std::max(thickness, horizontal ? s.cy : s.cx);
        ++end;
      }
      LONG along = horizontal ? free.left : free.top;
      for (size_t k = i; k < end; ++k) {
        const LONG length = bars[k]->DockedLength(horizontal, (horizontal ? free.right : free.bottom) - along);
        CRect r;
        switch (side) {
          case 0: r = CRect(along, free.top, along + length, free.top + thickness); break;
          case 1: r = CRect(along, free.bottom - thickness, along + length, free.bottom); break;
          case 2: r = CRect(free.left, along, free.left + thickness, along + length); break;
          default: r = CRect(free.right - thickness, along, free.right, along + length); break;
        }
        along += length;
        bars[k]->MoveWindow(r);
      }
      switch (side) {
        case 0: free.top += thickness; break;
        case 1: free.bottom -= thickness; break;
        case 2: free.left += thickness; break;
        default: free.right -= thickness; break;
      }
      i = end;
    }
  }
  if (free.bottom < free.top) free.bottom = free.top;
  if (free.right < free.left) free.right = free.left;
  if (m_pActiveView && m_pActiveView->m_hWnd) m_pActiveView->MoveWindow(free);
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CFrameWnd::SaveBarState(const char* profileName) const {
  CWinApp* app = AfxGetApp();
  if (!app) return;
  std::string name = profileName;
  int n = 0;
  for (CControlBar* b : m_bars) {
    if (!b->m_hWnd || b->m_bOwnBarState) continue;
    std::string section = name + "-Bar" + std::to_string(n++);
    app->WriteProfileInt(section.c_str(), "BarID", static_cast<int>(b->GetBarId()));
    app->WriteProfileInt(section.c_str(), "Visible", b->IsVisible() ? 1 : 0);
    app->WriteProfileInt(section.c_str(), "Side", b->m_side);
    app->WriteProfileInt(section.c_str(), "Row", b->m_row);
    app->WriteProfileInt(section.c_str(), "Order", b->m_order);
  }
  app->WriteProfileInt((name + "-Summary").c_str(), "Bars", n);
}

void CFrameWnd::LoadBarState(const char* profileName) {
  CWinApp* app = AfxGetApp();
  if (!app) return;
  std::string name = profileName;
  int n = app->GetProfileInt((name + "-Summary").c_str(), "Bars", 0);
  for (int i = 0; i < n && i < 256; ++i) {
    std::string section = name + "-Bar" + std::to_string(i);
    int id = app->GetProfileInt(section.c_str(), "BarID", 0);
    CControlBar* bar = id > 0 ? GetControlBar(static_cast<UINT>(id)) : nullptr;
    if (!bar || bar->m_bOwnBarState) continue;  // a bar this program no longer has, or keeps apart
    int side = app->GetProfileInt(section.c_str(), "Side", bar->m_side);
    // A side the bar may not dock on (a damaged or foreign value) keeps the built layout's.
    if (side >= 0 && side < 4 && (bar->GetDockStyle() & kSideAlign[side])) {
      bar->m_side = side;
      bar->SetBarStyle((bar->GetBarStyle() & ~CBRS_ALIGN_ANY) | kSideAlign[side]);
    }
    bar->m_row = app->GetProfileInt(section.c_str(), "Row", bar->m_row);
    bar->m_order = app->GetProfileInt(section.c_str(), "Order", bar->m_order);
    bar->ShowWindow(app->GetProfileInt(section.c_str(), "Visible", 1) ? SW_SHOWNA : SW_HIDE);
  }
  NormaliseRows();
  RecalcLayout();
}

}  // namespace fw

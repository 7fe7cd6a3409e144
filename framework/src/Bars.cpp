#include "framework/Bars.h"

#include <algorithm>

#include "framework/App.h"

namespace fw {
namespace {

constexpr int kGripper = 8;
constexpr int kBorder = 2;
constexpr WORD kToolBarResourceType = 241;

// A button's state, collected on idle and applied if it changed.
class ToolCmdUI : public CCmdUI {
 public:
  using CCmdUI::CCmdUI;
};

// The button images with the standard colours replaced by the system's button
// colours (black text, dark and light grey, white highlight), so that the
// image background is the button face and disabled images can be drawn.
// Palette bitmaps go through CreateMappedBitmap; others are mapped here.
HBITMAP LoadButtonBitmap(HINSTANCE inst, UINT id) {
  Bitmap dib(static_cast<HBITMAP>(::LoadImageA(inst, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!dib) return nullptr;
  DIBSECTION ds{};
  if (::GetObjectA(dib, sizeof ds, &ds) != sizeof ds || ds.dsBm.bmBitsPixel <= 8 || !ds.dsBm.bmBits ||
      (ds.dsBm.bmBitsPixel != 24 && ds.dsBm.bmBitsPixel != 32)) {
    return ::CreateMappedBitmap(inst, static_cast<INT_PTR>(id), 0, nullptr, 0);
  }
  struct Map {
    COLORREF from;
    int to;
  };
  const Map maps[] = {{RGB(0, 0, 0), COLOR_BTNTEXT},
                      {RGB(128, 128, 128), COLOR_BTNSHADOW},
                      {RGB(192, 192, 192), COLOR_BTNFACE},
                      {RGB(255, 255, 255), COLOR_BTNHIGHLIGHT}};
  int step = ds.dsBm.bmBitsPixel / 8;
  auto* bits = static_cast<BYTE*>(ds.dsBm.bmBits);
  for (LONG y = 0; y < ds.dsBm.bmHeight; ++y) {
    BYTE* p = bits + y * ds.dsBm.bmWidthBytes;
    for (LONG x = 0; x < ds.dsBm.bmWidth; ++x, p += step) {
      COLORREF c = RGB(p[2], p[1], p[0]);
      for (const Map& m : maps) {
        if (c != m.from) continue;
        COLORREF to = ::GetSysColor(m.to);
        p[0] = GetBValue(to);
        p[1] = GetGValue(to);
        p[2] = GetRValue(to);
        break;
      }
    }
  }
  ::GdiFlush();
  return dib.Release();
}

}  // namespace

// ---- CControlBar ---------------------------------------------------------------------

// clang-format off
FW_BEGIN_MESSAGE_MAP(CControlBar, CWnd)
  OnMessage(WM_PAINT, &CControlBar::OnPaint),
  OnMessage(WM_SIZE, &CControlBar::OnSize),
  OnMessage(WM_NOTIFY, &CControlBar::OnNotify),
  OnMessage(WM_LBUTTONDOWN, &CControlBar::OnLButtonDown),
  OnMessage(WM_LBUTTONUP, &CControlBar::OnLButtonUp),
  OnMessage(WM_SETCURSOR, &CControlBar::OnSetCursor),
FW_END_MESSAGE_MAP()
// clang-format on

CControlBar::~CControlBar() {
  if (m_pDockSite) m_pDockSite->RemoveControlBar(this);
}

bool CControlBar::CreateBarWindow(CWnd* parent, DWORD style, UINT id) {
  m_dwStyle = style & (0xFFFF | CBRS_GRIPPER);
  DWORD windowStyle = (style & ~(0xFFFF | CBRS_GRIPPER)) | WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  const char* cls = RegisterFrameworkClass("FwControlBar", 0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  if (!CreateEx(0, cls, "", windowStyle, CRect(0, 0, 0, 0), parent->m_hWnd, id)) return false;
  if (auto* frame = dynamic_cast<CFrameWnd*>(parent)) frame->AddControlBar(this);
  return true;
}

CRect CControlBar::Insets() const {
  CRect in(1, 1, 1, 1);
  if (m_dwStyle & CBRS_GRIPPER) (IsHorizontal() ? in.left : in.top) += kGripper;
  if (m_dwStyle & CBRS_BORDER_LEFT) in.left += kBorder;
  if (m_dwStyle & CBRS_BORDER_TOP) in.top += kBorder;
  if (m_dwStyle & CBRS_BORDER_RIGHT) in.right += kBorder;
  if (m_dwStyle & CBRS_BORDER_BOTTOM) in.bottom += kBorder;
  return in;
}

void CControlBar::OnPaint() {
  CPaintDC dc(this);
  DrawBarFrame(dc);
}

void CControlBar::DrawBarFrame(HDC dc) const {
  CRect r = GetClientRect();
  UINT edges = 0;
  if (m_dwStyle & CBRS_BORDER_LEFT) edges |= BF_LEFT;
  if (m_dwStyle & CBRS_BORDER_TOP) edges |= BF_TOP;
  if (m_dwStyle & CBRS_BORDER_RIGHT) edges |= BF_RIGHT;
  if (m_dwStyle & CBRS_BORDER_BOTTOM) edges |= BF_BOTTOM;
  if (edges) ::DrawEdge(dc, &r, EDGE_ETCHED, edges);
  if (m_dwStyle & CBRS_GRIPPER) {
    CRect in = Insets();
    CRect g = IsHorizontal()
                  ? CRect(in.left - kGripper + 2, in.top + 1, in.left - kGripper + 5, r.bottom - in.bottom - 1)
                  : CRect(in.left + 1, in.top - kGripper + 2, r.right - in.right - 1, in.top - kGripper + 5);
    ::DrawEdge(dc, &g, BDR_RAISEDINNER, BF_RECT);
  }
}

void CControlBar::OnSize(WPARAM, LPARAM) { LayoutContent(); }

void CControlBar::OnLButtonDown(WPARAM, LPARAM) {
  if (!(m_dwStyle & CBRS_GRIPPER) || !m_pDockSite) return;
  m_dragging = true;
  ::SetCapture(m_hWnd);
}

void CControlBar::OnLButtonUp(WPARAM, LPARAM lParam) {
  if (!m_dragging) return;
  m_dragging = false;
  ::ReleaseCapture();
  POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ::ClientToScreen(m_hWnd, &p);
  if (m_pDockSite) m_pDockSite->DockControlBarAt(this, p);
}

LRESULT CControlBar::OnSetCursor(WPARAM wParam, LPARAM) {
  // Children (buttons, edit boxes) ask their parents first: they keep their own cursors.
  if ((m_dwStyle & CBRS_GRIPPER) && reinterpret_cast<HWND>(wParam) == m_hWnd) {
    ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<const char*>(IDC_SIZEALL)));
    return TRUE;
  }
  return Default();
}

LRESULT CControlBar::OnNotify(WPARAM, LPARAM lParam) {
  auto* hdr = reinterpret_cast<NMHDR*>(lParam);
  if (hdr->code == TTN_GETDISPINFOA) {
    auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
    static thread_local std::string text;
    text = CommandToolTip(static_cast<UINT>(hdr->idFrom));
    info->lpszText = text.data();
    info->hinst = nullptr;
    return 0;
  }
  if (hdr->code == TTN_GETDISPINFOW) {
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
    static thread_local wchar_t wide[256];
    std::string text = CommandToolTip(static_cast<UINT>(hdr->idFrom));
    int n = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, 256);
    if (n <= 0) wide[0] = 0;
    info->lpszText = wide;
    info->hinst = nullptr;
    return 0;
  }
  return Default();
}

// ---- CToolBar ---------------------------------------------------------------------------

// clang-format off
FW_BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
FW_END_MESSAGE_MAP()
// clang-format on

bool CToolBar::Create(CWnd* parent, DWORD style, UINT id) { return CreateEx(parent, 0, style, id); }

bool CToolBar::CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style, UINT id) {
  m_ctrlStyle = ctrlStyle;
  if (!CreateBarWindow(parent, style, id)) return false;
  DWORD tbStyle = WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | ctrlStyle;
  if (m_dwStyle & CBRS_TOOLTIPS) tbStyle |= TBSTYLE_TOOLTIPS;
  m_toolbar =
      ::CreateWindowExA(0, TOOLBARCLASSNAMEA, "", tbStyle, 0, 0, 0, 0, m_hWnd,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleA(nullptr), nullptr);
  if (!m_toolbar) return false;
  ::SendMessageA(m_toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  return true;
}

bool CToolBar::LoadToolBar(UINT resId) {
  if (!m_toolbar) return false;
  HINSTANCE inst = ::GetModuleHandleA(nullptr);
  HRSRC res = ::FindResourceA(inst, MAKEINTRESOURCEA(resId), MAKEINTRESOURCEA(kToolBarResourceType));
  HGLOBAL data = res ? ::LoadResource(inst, res) : nullptr;
  auto* words = data ? static_cast<const WORD*>(::LockResource(data)) : nullptr;
  DWORD size = res ? ::SizeofResource(inst, res) : 0;
  if (!words || size < 8 || words[0] != 1 || size < 8u + 2u * words[3]) return false;
  std::vector<UINT> ids(words + 4, words + 4 + words[3]);
  HBITMAP bitmap = LoadButtonBitmap(inst, resId);
  if (!bitmap) return false;
  m_bitmap.Reset(bitmap);
  m_image = CSize(words[1], words[2]);
  m_button = CSize(words[1] + 7, words[2] + 7);
  int images = static_cast<int>(std::count_if(ids.begin(), ids.end(), [](UINT id) { return id != 0; }));
  ::SendMessageA(m_toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(m_image.cx, m_image.cy));
  TBADDBITMAP add{nullptr, reinterpret_cast<UINT_PTR>(bitmap)};
  ::SendMessageA(m_toolbar, TB_ADDBITMAP, static_cast<WPARAM>(images), reinterpret_cast<LPARAM>(&add));
  SetButtons(ids);
  return true;
}

void CToolBar::SetSizes(CSize button, CSize image) {
  m_button = button;
  m_image = image;
  if (!m_toolbar) return;
  ::SendMessageA(m_toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(image.cx, image.cy));
  ::SendMessageA(m_toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(button.cx, button.cy));
  ApplyButtons();
}

void CToolBar::SetButtons(const std::vector<UINT>& ids) {
  m_ids = ids;
  ApplyButtons();
}

void CToolBar::ApplyButtons() {
  if (!m_toolbar) return;
  while (::SendMessageA(m_toolbar, TB_BUTTONCOUNT, 0, 0) > 0) ::SendMessageA(m_toolbar, TB_DELETEBUTTON, 0, 0);
  std::vector<TBBUTTON> buttons;
  int image = 0;
  for (UINT id : m_ids) {
    TBBUTTON b{};
    if (id == 0) {
      b.fsStyle = TBSTYLE_SEP;
      b.iBitmap = m_vertical ? 0 : 8;
    } else {
      b.iBitmap = image++;
      b.idCommand = static_cast<int>(id);
      b.fsStyle = TBSTYLE_BUTTON;
      b.fsState = TBSTATE_ENABLED;
    }
    if (m_vertical) b.fsState |= TBSTATE_WRAP;
    buttons.push_back(b);
  }
  ::SendMessageA(m_toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(m_button.cx, m_button.cy));
  if (!buttons.empty())
    ::SendMessageA(m_toolbar, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  ::SendMessageA(m_toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(m_button.cx, m_button.cy));
  ::SendMessageA(m_toolbar, TB_AUTOSIZE, 0, 0);
  LayoutContent();
}

CRect CToolBar::GetItemRect(int index) const {
  CRect r;
  if (m_toolbar) {
    ::SendMessageA(m_toolbar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    ::MapWindowPoints(m_toolbar, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
  }
  return r;
}

CSize CToolBar::CalcFixedLayout(bool horizontal) {
  if (m_vertical == horizontal) {
    m_vertical = !horizontal;
    ApplyButtons();
  }
  CRect in = Insets();
  LONG extentX = 0, extentY = 0;
  for (int i = 0; i < GetCount(); ++i) {
    CRect r;
    ::SendMessageA(m_toolbar, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    extentX = std::max(extentX, r.right);
    extentY = std::max(extentY, r.bottom);
  }
  if (horizontal)
    extentY = std::max(extentY, m_button.cy);
  else
    extentX = std::max(extentX, m_button.cx);
  return CSize(extentX + in.left + in.right + 2, extentY + in.top + in.bottom + 2);
}

void CToolBar::LayoutContent() {
  if (!m_toolbar || !m_hWnd) return;
  CRect in = Insets();
  CRect r = GetClientRect();
  ::MoveWindow(m_toolbar, in.left + 1, in.top + 1, std::max<LONG>(0, r.Width() - in.left - in.right - 1),
               std::max<LONG>(0, r.Height() - in.top - in.bottom - 1), TRUE);
}

bool CToolBar::IsButtonEnabled(UINT id) const { return ::SendMessageA(m_toolbar, TB_ISBUTTONENABLED, id, 0) != 0; }

bool CToolBar::IsButtonChecked(UINT id) const { return ::SendMessageA(m_toolbar, TB_ISBUTTONCHECKED, id, 0) != 0; }

void CToolBar::OnUpdateCmdUI(CCmdTarget& target) {
  for (UINT id : m_ids) {
    if (id == 0) continue;
    ToolCmdUI ui(id);
    UpdateCommandUI(target, ui);
    LRESULT old = ::SendMessageA(m_toolbar, TB_GETSTATE, id, 0);
    if (old == -1) continue;
    BYTE state = static_cast<BYTE>(old & ~(TBSTATE_ENABLED | TBSTATE_CHECKED));
    if (ui.m_enabled) state |= TBSTATE_ENABLED;
    if (ui.m_check) state |= TBSTATE_CHECKED;
    if (state != static_cast<BYTE>(old)) ::SendMessageA(m_toolbar, TB_SETSTATE, id, MAKELPARAM(state, 0));
  }
}

// Button clicks come from the tool bar control as WM_COMMAND; they go to the
// frame as plain commands, so that a disabled command does nothing.
bool CToolBar::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (reinterpret_cast<HWND>(lParam) != m_toolbar || !m_pDockSite) return CControlBar::OnCommand(wParam, lParam);
  m_pDockSite->SendMessage(WM_COMMAND, MAKEWPARAM(LOWORD(wParam), 0), 0);
  return true;
}

// ---- CDialogBar ------------------------------------------------------------------------------

// clang-format off
FW_BEGIN_MESSAGE_MAP(CDialogBar, CControlBar)
FW_END_MESSAGE_MAP()
// clang-format on

bool CDialogBar::Create(CWnd* parent, UINT templateId, DWORD style, UINT id) {
  if (!CreateBarWindow(parent, style, id)) return false;
  m_dialog = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), m_hWnd,
                                  &CDialogBar::InnerProc, reinterpret_cast<LPARAM>(this));
  if (!m_dialog) return false;
  CRect r;
  ::GetWindowRect(m_dialog, &r);
  m_content = CSize(r.Width(), r.Height());
  ::ShowWindow(m_dialog, SW_SHOWNA);
  LayoutContent();
  return true;
}

INT_PTR CALLBACK CDialogBar::InnerProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrA(wnd, DWLP_USER, lParam);
    return FALSE;
  }
  auto* self = reinterpret_cast<CDialogBar*>(::GetWindowLongPtrA(wnd, DWLP_USER));
  if (!self || message != WM_COMMAND || !self->m_pDockSite) return FALSE;
  // The controls' notifications are routed like commands: the active view first.
  try {
    UINT code = HIWORD(wParam);
    if (code == 0 && lParam)
      self->m_pDockSite->SendMessage(WM_COMMAND, MAKEWPARAM(LOWORD(wParam), 0), 0);
    else
      self->m_pDockSite->OnCmdMsg(LOWORD(wParam), static_cast<int>(code), nullptr);
  } catch (const std::exception& e) {
    ReportException(wnd, &e);
  } catch (...) {
    ReportException(wnd, nullptr);
  }
  return TRUE;
}

CSize CDialogBar::CalcFixedLayout(bool) {
  CRect in = Insets();
  return CSize(m_content.cx + in.left + in.right, m_content.cy + in.top + in.bottom);
}

void CDialogBar::LayoutContent() {
  if (!m_dialog) return;
  CRect in = Insets();
  ::SetWindowPos(m_dialog, nullptr, in.left, in.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CDialogBar::PreTranslateMessage(MSG* msg) {
  if (!m_dialog || (msg->hwnd != m_dialog && !::IsChild(m_dialog, msg->hwnd))) return false;
  // The frame's accelerators come before the dialog's keyboard handling.
  if (m_pDockSite && m_pDockSite->PreTranslateMessage(msg)) return true;
  return ::IsDialogMessageA(m_dialog, msg) != FALSE;
}

}  // namespace fw

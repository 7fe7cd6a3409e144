#include "XTHyperLink.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>

#include "DialogIds.h"

namespace {

constexpr UINT_PTR kHoverTimer = 1;
constexpr UINT kHoverPeriodMs = 10;
constexpr UINT kRedrawNow = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;

void RedrawNow(HWND wnd) {
  if (wnd) ::RedrawWindow(wnd, nullptr, nullptr, kRedrawNow);
}

// TOOLINFOA as every comctl32 version accepts it (no lpReserved).
TOOLINFOA ToolFor(HWND control, const std::string* text) {
  TOOLINFOA ti{};
  ti.cbSize = TTTOOLINFOA_V2_SIZE;
  ti.uFlags = TTF_IDISHWND;
  ti.hwnd = control;
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  ti.lpszText = text ? const_cast<char*>(text->c_str()) : nullptr;
  return ti;
}

}  // namespace

std::string HyperLinkErrorText(int code) {
  UINT id = 0;
  switch (code) {
    case 0: id = IDS_LINK_OUT_OF_RESOURCES; break;
    case ERROR_FILE_NOT_FOUND: id = IDS_LINK_FILE_NOT_FOUND; break;
    case ERROR_PATH_NOT_FOUND: id = IDS_LINK_PATH_NOT_FOUND; break;
    case ERROR_ACCESS_DENIED: id = IDS_LINK_ACCESS_DENIED; break;
    case SE_ERR_OOM: id = IDS_LINK_OUT_OF_MEMORY; break;
    case ERROR_BAD_FORMAT: id = IDS_LINK_BAD_FORMAT; break;
    case SE_ERR_SHARE: id = IDS_LINK_SHARING; break;
    case SE_ERR_ASSOCINCOMPLETE: id = IDS_LINK_ASSOC_INCOMPLETE; break;
    case SE_ERR_DDETIMEOUT: id = IDS_LINK_DDE_TIMEOUT; break;
    case SE_ERR_DDEFAIL: id = IDS_LINK_DDE_FAILED; break;
    case SE_ERR_DDEBUSY: id = IDS_LINK_DDE_BUSY; break;
    case SE_ERR_NOASSOC: id = IDS_LINK_NO_ASSOC; break;
    case SE_ERR_DLLNOTFOUND: id = IDS_LINK_DLL_NOT_FOUND; break;
    default: {
      char buf[128];
      std::snprintf(buf, sizeof buf, fw::LoadText(IDS_LINK_OTHER_ERROR).c_str(), code);
      return buf;
    }
  }
  return fw::LoadText(id);
}

// clang-format off
FW_BEGIN_MESSAGE_MAP(CXTHyperLink, fw::CStatic)
  fw::OnMessage(WM_CREATE, &CXTHyperLink::OnCreate),
  fw::OnMessage(WM_SETCURSOR, &CXTHyperLink::OnSetCursor),
  fw::OnMessage(WM_MOUSEMOVE, &CXTHyperLink::OnMouseMove),
  fw::OnMessage(WM_TIMER, &CXTHyperLink::OnTimer),
  fw::OnMessage(WM_ERASEBKGND, &CXTHyperLink::OnEraseBkgnd),
  fw::OnMessage(WM_PAINT, &CXTHyperLink::OnPaint),
  fw::OnMessage(WM_WINDOWPOSCHANGED, &CXTHyperLink::OnWindowPosChanged),
  fw::OnMessage(WM_NCHITTEST, &CXTHyperLink::OnNcHitTest),
  fw::OnReflect(WM_CTLCOLORSTATIC, &CXTHyperLink::CtlColor),
  fw::OnReflectCommand(STN_CLICKED, &CXTHyperLink::OnClicked),
FW_END_MESSAGE_MAP()
// clang-format on

CXTHyperLink::CXTHyperLink() : m_hcurHand(::LoadCursorA(nullptr, IDC_HAND)) {}

CXTHyperLink::~CXTHyperLink() {
  if (m_hToolTip && ::IsWindow(m_hToolTip)) ::DestroyWindow(m_hToolTip);
}

bool CXTHyperLink::SubclassLink(UINT id, fw::CWnd* parent) {
  if (!SubclassDlgItem(id, parent)) return false;
  if (m_bInitControl) InitControl();
  return true;
}

void CXTHyperLink::SetURL(const std::string& target) {
  m_strURL = target;
  if (m_strToolTip.empty()) m_strToolTip = target;
  if (m_strToolTip.empty()) return;
  SetToolTipText(m_strToolTip);
}

void CXTHyperLink::SetToolTipText(const std::string& text) {
  if (!m_hWnd) return;
  if (m_hToolTip) {
    TOOLINFOA ti = ToolFor(m_hWnd, &text);
    ::SendMessageA(m_hToolTip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    return;
  }
  m_hToolTip = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  if (!m_hToolTip) return;
  TOOLINFOA ti = ToolFor(m_hWnd, &text);
  ::SendMessageA(m_hToolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  ::SendMessageA(m_hToolTip, TTM_ACTIVATE, m_bToolTip ? TRUE : FALSE, 0);
}

void CXTHyperLink::SetColors(COLORREF link, COLORREF visited, COLORREF hover) {
  m_clrLink = link;
  m_clrVisited = visited;
  m_clrHover = hover;
  RedrawNow(m_hWnd);
}

void CXTHyperLink::SetVisited(bool visited) {
  m_bVisited = visited;
  RedrawNow(m_hWnd);
}

void CXTHyperLink::SetUnderline(bool underline) {
  m_bUnderline = underline;
  if (m_hWnd) ReSetFont();
}

void CXTHyperLink::SetBackColor(COLORREF color) {
  m_clrBack = color;
  RedrawNow(m_hWnd);
}

COLORREF CXTHyperLink::GetBackColor() const { return m_clrBack == kNoColor ? ::GetSysColor(COLOR_BTNFACE) : m_clrBack; }

INT_PTR CXTHyperLink::ShellOpen(const std::string& target, int showCmd, const std::string& parameters,
                                const std::string& folder) {
  HINSTANCE result = ::ShellExecuteA(nullptr, "open", target.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                                     folder.empty() ? nullptr : folder.c_str(), showCmd);
  return reinterpret_cast<INT_PTR>(result);
}

bool CXTHyperLink::GotoURL(const std::string& url, int showCmd, const std::string& parameters,
                           const std::string& folder) {
  const INT_PTR result = ShellOpen(url.empty() ? m_strURL : url, showCmd, parameters, folder);
  if (result > 32) return true;
  ReportError(static_cast<int>(result));
  return false;
}

void CXTHyperLink::ReportError(int code) {
  ::MessageBeep(MB_ICONEXCLAMATION);
  const std::string text = HyperLinkErrorText(code);
  HWND owner = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
  ::MessageBoxA(owner, text.c_str(), fw::LoadText(IDS_ERROR_CAPTION).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

bool CXTHyperLink::IsTextControl() const {
  if (!m_hWnd) return false;
  const DWORD type = GetStyle() & SS_TYPEMASK;
  return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT;
}

bool CXTHyperLink::IsMouseOverText() const {
  if (!IsTextControl()) return true;
  const std::string text = GetWindowText();
  SIZE extent{0, 0};
  if (const win::WindowDC screen(nullptr); screen) {
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    fw::SelectScope selected(screen, font);
    ::GetTextExtentPoint32A(screen, text.data(), static_cast<int>(text.size()), &extent);
  }
  fw::CRect r = GetWindowRect();
  switch (GetStyle() & SS_TYPEMASK) {
    case SS_CENTER: {
      const LONG margin = (r.Width() - extent.cx) / 2;
      if (margin > 0) {
        r.left += margin;
        r.right -= margin;
      }
      break;
    }
    case SS_RIGHT:
      if (extent.cx < r.Width()) r.left = r.right - extent.cx;
      break;
    default:
      if (extent.cx < r.Width()) r.right = r.left + extent.cx;
      break;
  }
  POINT cursor{};
  ::GetCursorPos(&cursor);
  return r.PtInRect(cursor);
}

void CXTHyperLink::InitControl() {
  if (IsTextControl()) {
    if (m_strURL.empty()) m_strURL = GetWindowText();
    SetURL(m_strURL);
  }
  ModifyStyle(0, SS_NOTIFY);
  ReSetFont();
}

void CXTHyperLink::MakeFont(bool underline) {
  LOGFONTA lf{};
  HFONT current = m_hWnd ? reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)) : nullptr;
  if (!current || !::GetObjectA(current, sizeof lf, &lf)) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    lf = metrics.lfStatusFont;
  }
  lf.lfUnderline = underline ? TRUE : FALSE;
  HFONT made = ::CreateFontIndirectA(&lf);
  if (!made) return;
  // A window still drawing with the old link font gets the new one before
  // the old one is deleted.
  if (m_font && current == m_font) ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(made), FALSE);
  m_font.Reset(made);
}

void CXTHyperLink::ReSetFont() {
  MakeFont(m_bUnderline);
  if (m_hWnd && m_font) ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
  RedrawNow(m_hWnd);
}

bool CXTHyperLink::PreTranslateMessage(MSG* msg) {
  if (m_hToolTip && m_bToolTip) ::SendMessageA(m_hToolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
  return fw::CStatic::PreTranslateMessage(msg);
}

int CXTHyperLink::OnCreate(CREATESTRUCTA*) {
  const LRESULT result = Default();
  if (result == -1) return -1;
  InitControl();
  return static_cast<int>(result);
}

BOOL CXTHyperLink::OnSetCursor(WPARAM, LPARAM) {
  if (m_hcurHand && IsMouseOverText()) {
    ::SetCursor(m_hcurHand);
    return TRUE;
  }
  return static_cast<BOOL>(Default());
}

void CXTHyperLink::OnMouseMove(WPARAM, LPARAM) {
  if (IsTextControl() && IsMouseOverText()) ::SetTimer(m_hWnd, kHoverTimer, kHoverPeriodMs, nullptr);
  Default();
}

void CXTHyperLink::OnTimer(WPARAM id) {
  if (id != kHoverTimer) {
    Default();
    return;
  }
  const bool over = IsMouseOverText();
  if (over != m_bHovering) {
    m_bHovering = over;
    RedrawNow(m_hWnd);
  }
  if (!m_bHovering) ::KillTimer(m_hWnd, kHoverTimer);
}

BOOL CXTHyperLink::OnEraseBkgnd(WPARAM) {
  if (m_clrBack == kNoColor) return static_cast<BOOL>(Default());
  return TRUE;  // painting fills the background itself
}

LRESULT CXTHyperLink::OnPaint() {
  if (m_clrBack == kNoColor || (::GetWindowLongA(m_hWnd, GWL_EXSTYLE) & WS_EX_TRANSPARENT)) return Default();
  // Off-screen: background colour first, the static's text over it, then
  // one copy to the screen, so that the text never flickers.
  fw::CPaintDC paint(m_hWnd);
  const fw::CRect client = GetClientRect();
  const win::CreatedDC memory(::CreateCompatibleDC(paint));
  fw::Bitmap bitmap(::CreateCompatibleBitmap(paint, client.Width(), client.Height()));
  if (!memory || !bitmap) return 0;
  {
    fw::SelectScope selected(memory, bitmap.Get());
    fw::Brush back(::CreateSolidBrush(m_clrBack));
    ::FillRect(memory, &client, back.Get());
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memory.Get()), 0);
    ::BitBlt(paint, 0, 0, client.Width(), client.Height(), memory, 0, 0, SRCCOPY);
  }
  return 0;
}

void CXTHyperLink::OnWindowPosChanged(WPARAM, LPARAM) {
  Default();
  RedrawNow(m_hWnd);
}

LRESULT CXTHyperLink::OnNcHitTest(WPARAM, LPARAM) { return HTCLIENT; }

HBRUSH CXTHyperLink::CtlColor(WPARAM wParam, LPARAM) {
  if (!IsTextControl()) return nullptr;  // the parent answers
  HDC dc = reinterpret_cast<HDC>(wParam);
  HBRUSH brush = static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
  if (m_clrBack == kNoColor) {
    // What the dialog would have answered for a plain static; it also sets
    // the text colour, so ours is set after it.
    brush = reinterpret_cast<HBRUSH>(
        ::DefWindowProcA(::GetParent(m_hWnd), WM_CTLCOLORSTATIC, wParam, reinterpret_cast<LPARAM>(m_hWnd)));
  }
  ::SetTextColor(dc, m_bHovering ? m_clrHover : (m_bVisited ? m_clrVisited : m_clrLink));
  ::SetBkMode(dc, TRANSPARENT);
  return brush;
}

bool CXTHyperLink::OnClicked(unsigned) {
  if (IsMouseOverText()) {
    m_bVisited = m_bShellExec ? GotoURL(m_strURL, SW_SHOW) : true;
    RedrawNow(m_hWnd);
    if (m_hToolTip && m_bToolTip) ::SendMessageA(m_hToolTip, TTM_POP, 0, 0);
  }
  // A text link lets its dialog see the click too.
  return !IsTextControl();
}

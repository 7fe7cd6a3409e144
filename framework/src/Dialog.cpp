#include "framework/Dialog.h"

#include <algorithm>

#include "framework/App.h"

namespace fw {
namespace {

// Centres wnd on reference, or on the work area when reference is missing,
// hidden or minimised; the result stays inside the work area of the monitor.
void CentreOn(HWND wnd, HWND reference) {
  RECT self{};
  ::GetWindowRect(wnd, &self);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoA(::MonitorFromWindow(reference ? reference : wnd, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& area = monitor.rcWork;
  RECT around = area;
  if (reference && ::IsWindowVisible(reference) && !::IsIconic(reference)) ::GetWindowRect(reference, &around);
  LONG width = self.right - self.left, height = self.bottom - self.top;
  LONG x = around.left + (around.right - around.left - width) / 2;
  LONG y = around.top + (around.bottom - around.top - height) / 2;
  // Too big for the area: its top left corner stays visible.
  x = std::max(area.left, std::min(x, area.right - width));
  y = std::max(area.top, std::min(y, area.bottom - height));
  ::SetWindowPos(wnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

// ---- CDialog ---------------------------------------------------------------------

// clang-format off
FW_BEGIN_MESSAGE_MAP(CDialog, CWnd)
  OnMessage(WM_INITDIALOG, &CDialog::OnInitDialogMsg),
  fw::OnCommand(IDOK, &CDialog::OnOKCommand),
  fw::OnCommand(IDCANCEL, &CDialog::OnCancelCommand),
FW_END_MESSAGE_MAP()
// clang-format on

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_nIDTemplate(templateId), m_hWndOwner(parent ? parent->m_hWnd : nullptr) {}

CDialog::CDialog(UINT templateId, HWND owner) : m_nIDTemplate(templateId), m_hWndOwner(owner) {}

LRESULT CDialog::OnInitDialogMsg(WPARAM, LPARAM) {
  RECT before{};
  ::GetWindowRect(m_hWnd, &before);
  LRESULT result = OnInitDialog() ? TRUE : FALSE;
  // A modal dialog opens over its owner (the main window when it has none)
  // unless it placed itself during its initialisation.
  RECT after{};
  ::GetWindowRect(m_hWnd, &after);
  if (m_modal && after.left == before.left && after.top == before.top) {
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    CWinApp* app = AfxGetApp();
    if (!owner && app && app->m_pMainWnd) owner = app->m_pMainWnd->m_hWnd;
    CentreOn(m_hWnd, owner);
  }
  return result;
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // The dialog manager's procedure that we replaced; it answers FALSE through
  // DlgProcThunk for everything, so the standard dialog behaviour remains.
  if (m_oldProc) return ::CallWindowProcA(m_oldProc, m_hWnd, message, wParam, lParam);
  return ::DefDlgProcA(m_hWnd, message, wParam, lParam);
}

bool CDialog::Create(UINT templateId, HWND parent) {
  m_nIDTemplate = templateId;
  m_modal = false;
  HWND wnd = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), parent,
                                  &CWnd::DlgProcThunk, reinterpret_cast<LPARAM>(this));
  return wnd != nullptr;
}

void CDialog::EndDialog(INT_PTR result) {
  m_result = result;
  m_ended = true;
  if (!m_modal && m_hWnd) ::DestroyWindow(m_hWnd);
  // A message sent from another thread is handled inside GetMessage, which
  // would keep waiting: wake the modal loop so that it sees the end.
  if (m_modal && m_hWnd) ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

bool CDialog::PreTranslateMessage(MSG* msg) {
  if (!m_hWnd || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return false;
  return ::IsDialogMessageA(m_hWnd, msg) != FALSE;
}

INT_PTR CDialog::DoModal() {
  HWND owner = m_hWndOwner;
  // Disabling a window of another process would leave it disabled should we
  // end abnormally; such owners only own the dialog.
  DWORD ownerProcess = 0;
  if (owner) ::GetWindowThreadProcessId(owner, &ownerProcess);
  bool disableOwner = owner && ownerProcess == ::GetCurrentProcessId() && ::IsWindowEnabled(owner);

  m_modal = true;
  m_ended = false;
  m_result = -1;
  HWND wnd = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_nIDTemplate), owner,
                                  &CWnd::DlgProcThunk, reinterpret_cast<LPARAM>(this));
  if (!wnd) {
    m_modal = false;
    return -1;
  }
  if (disableOwner) ::EnableWindow(owner, FALSE);
  if (!m_ended) {
    ::ShowWindow(wnd, SW_SHOW);
    ::SetForegroundWindow(wnd);
  }
  MSG msg{};
  bool quit = false;
  while (!m_ended && ::IsWindow(wnd)) {
    BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      quit = true;
      break;
    }
    bool consumed = false;
    for (HWND w = msg.hwnd; w && !consumed; w = ::GetParent(w)) {
      if (CWnd* target = FromHandlePermanent(w)) consumed = target->PreTranslateMessage(&msg);
      if (w == wnd || !(::GetWindowLongA(w, GWL_STYLE) & WS_CHILD)) break;
    }
    if (!consumed && (msg.hwnd == wnd || ::IsChild(wnd, msg.hwnd))) consumed = ::IsDialogMessageA(wnd, &msg) != FALSE;
    if (!consumed) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
  if (disableOwner) ::EnableWindow(owner, TRUE);
  if (::IsWindow(wnd)) {
    if (owner && ::GetActiveWindow() == wnd) ::SetActiveWindow(owner);
    ::DestroyWindow(wnd);
  }
  m_modal = false;
  if (quit) ::PostQuitMessage(static_cast<int>(msg.wParam));
  return m_result;
}

// ---- controls ------------------------------------------------------------------------

std::string CControlRef::GetWindowText() const { return WindowText(m_hWnd); }

std::optional<std::string> ComboItemText(HWND box, int index) {
  LRESULT n = ::SendMessageA(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n == CB_ERR) return std::nullopt;
  std::string s(static_cast<size_t>(n) + 1, '\0');
  n = ::SendMessageA(box, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()));
  s.resize(n == CB_ERR ? 0 : static_cast<size_t>(n));
  return s;
}

std::string CComboBox::GetLBText(int i) const { return ComboItemText(m_hWnd, i).value_or(std::string()); }

// ---- property pages and sheets ---------------------------------------------------------

// clang-format off
FW_BEGIN_MESSAGE_MAP(CPropertyPage, CDialog)
  OnMessage(WM_NOTIFY, &CPropertyPage::OnNotifyMsg),
FW_END_MESSAGE_MAP()
// clang-format on

CPropertyPage::CPropertyPage(UINT templateId, UINT captionId) : CDialog(templateId, static_cast<HWND>(nullptr)) {
  m_psp.dwSize = sizeof m_psp;
  m_psp.dwFlags = PSP_DEFAULT;
  m_psp.hInstance = ::GetModuleHandleA(nullptr);
  m_psp.pszTemplate = MAKEINTRESOURCEA(templateId);
  m_psp.pfnDlgProc = &CPropertyPage::PageProc;
  m_psp.lParam = reinterpret_cast<LPARAM>(this);
  if (captionId) {
    m_caption = LoadResString(captionId);
    m_psp.dwFlags |= PSP_USETITLE;
    m_psp.pszTitle = m_caption.c_str();
  }
}

INT_PTR CALLBACK CPropertyPage::PageProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;
  auto* page = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
  return CWnd::DlgProcThunk(wnd, message, wParam, page ? page->lParam : 0);
}

LRESULT CPropertyPage::OnNotifyMsg(WPARAM, LPARAM lParam) {
  auto* hdr = reinterpret_cast<NMHDR*>(lParam);
  LRESULT result = 0;
  switch (hdr->code) {
    case PSN_SETACTIVE: result = OnSetActive() ? 0 : -1; break;
    case PSN_KILLACTIVE: result = OnKillActive() ? FALSE : TRUE; break;
    case PSN_APPLY:
      OnOK();
      result = PSNRET_NOERROR;
      break;
    case PSN_RESET: OnCancel(); break;
    default: return Default();
  }
  ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
  return result;
}

CPropertySheet::CPropertySheet(UINT captionId, CWnd* parent, UINT selectPage)
    : CPropertySheet(LoadResString(captionId), parent, selectPage) {}

CPropertySheet::CPropertySheet(const std::string& caption, CWnd* parent, UINT selectPage)
    : m_caption(caption), m_parent(parent ? parent->m_hWnd : nullptr) {
  m_psh.dwSize = sizeof m_psh;
  m_psh.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
  m_psh.nStartPage = selectPage;
}

INT_PTR CPropertySheet::DoModal() {
  if (m_pages.empty()) return -1;
  std::vector<PROPSHEETPAGEA> pages;
  for (CPropertyPage* p : m_pages) pages.push_back(p->m_psp);
  m_psh.hwndParent =
      m_parent ? m_parent : (AfxGetApp() && AfxGetApp()->m_pMainWnd ? AfxGetApp()->m_pMainWnd->m_hWnd : nullptr);
  m_psh.hInstance = ::GetModuleHandleA(nullptr);
  m_psh.pszCaption = m_caption.c_str();
  m_psh.nPages = static_cast<UINT>(pages.size());
  m_psh.ppsp = pages.data();
  INT_PTR r = ::PropertySheetA(&m_psh);
  // Nonzero: closed with OK (or a change was applied); 0: cancelled.
  return r > 0 ? IDOK : (r == 0 ? IDCANCEL : -1);
}

}  // namespace fw

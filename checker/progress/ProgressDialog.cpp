#include "ProgressDialog.h"

#include "ProgressIds.h"
#include "checker/Win32Platform.h"
#include "common/LvkMessages.h"

namespace checker {
namespace {
constexpr UINT WM_SHOW_POSITION = WM_APP + 1;
}  // namespace

// clang-format off
FW_BEGIN_MESSAGE_MAP(CProgressDialog, fw::CDialog)
  fw::OnMessage(WM_LVK_NOTIFY, &CProgressDialog::OnLvkNotify),
  fw::OnMessage(WM_SHOW_POSITION, &CProgressDialog::OnShowPosition),
  fw::OnMessage(WM_CLOSE, &CProgressDialog::OnCloseRequest),
  fw::OnBnClicked(IDC_CANCEL_BUTTON, &CProgressDialog::OnCancelButton),
FW_END_MESSAGE_MAP()
// clang-format on

CProgressDialog::CProgressDialog(HWND owner, int phase, DWORD mainThread)
    : fw::CDialog(IDD_PROGRESS, owner),
      phase_(phase),
      mainThread_(mainThread),
      initialised_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

CProgressDialog::~CProgressDialog() = default;

bool CProgressDialog::OnInitDialog() {
  fw::CDialog::OnInitDialog();
  progress_.Attach(m_hWnd, IDC_PROGRESS_BAR);
  // The dummy button keeps the focus (and so Enter) away from Cancel; it
  // lies just below the visible client area.
  fw::CRect client = GetClientRect();
  ::MoveWindow(GetDlgItem(IDC_FOCUS_DUMMY), 0, client.bottom, 100, client.bottom + 100, FALSE);
  ShowPhase(phase_);
  SetEvent(initialised_.Get());
  return true;
}

void CProgressDialog::ShowPhase(int phase) {
  phase_ = phase;
  int source = phase == 1 ? IDC_TEXT_CHECKING : phase == 2 ? IDC_TEXT_DOWNLOADING : IDC_TEXT_PREPARING;
  char text[256] = {};
  ::GetDlgItemTextA(m_hWnd, source, text, sizeof text);
  ::SetDlgItemTextA(m_hWnd, IDC_PHASE_TEXT, text);
}

LRESULT CProgressDialog::OnLvkNotify(WPARAM code, LPARAM argument) {
  switch (static_cast<int>(code)) {
    case LVK_INFO_FAILED:
    case LVK_NO_UPDATE:
    case LVK_UPDATE_FAILED:
    case LVK_CANCELLED:
    case LVK_READY:
    case LVK_ERROR: End(static_cast<INT_PTR>(code)); break;
    case LVK_DOWNLOAD_SIZE:
      if (phase_ != 2) ShowPhase(2);
      announcedTotal_ = static_cast<int>(argument);
      progress_.SetRange32(0, announcedTotal_);
      break;
    case LVK_DOWNLOAD_PROGRESS:
      pendingPos_ = static_cast<int>(argument);
      if (!positionPosted_) positionPosted_ = ::PostMessageA(m_hWnd, WM_SHOW_POSITION, 0, 0) != FALSE;
      if (!positionPosted_) progress_.SetPos(pendingPos_);
      break;
    case LVK_DOWNLOADED: ShowPhase(3); break;
    default: break;
  }
  return 0;
}

LRESULT CProgressDialog::OnShowPosition(WPARAM, LPARAM) {
  positionPosted_ = false;
  progress_.SetPos(pendingPos_);
  return 0;
}

void CProgressDialog::OnCancelButton() {
  PostThreadMessageRetrying(mainThread_, WM_LVK_THREAD, LVK_CMD_CANCEL, 0);
  End(IDC_CANCEL_BUTTON);
}

void CProgressDialog::End(INT_PTR result) {
  // Destroying a window that is shown hides it first, and under Wine without
  // a window manager hiding a framed window waits 2 s for a state change that
  // never comes; the run waits for this thread meanwhile. A window no longer
  // marked visible is destroyed at once, and vanishes from the screen then.
  LONG style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
  if (style & WS_VISIBLE) ::SetWindowLongA(m_hWnd, GWL_STYLE, style & ~WS_VISIBLE);
  EndDialog(result);
}

bool CProgressThread::InitInstance() {
  dialog_.DoModal();
  return false;  // the thread ends with the dialog
}

HWND CProgressThread::Start() {
  if (!CreateThread()) return nullptr;
  // A dialog that cannot be created never signals; the thread's end then
  // stops the wait instead of leaving the run stuck.
  HANDLE both[2] = {dialog_.InitialisedEvent(), m_hThread};
  WaitForMultipleObjects(2, both, FALSE, INFINITE);
  return dialog_.m_hWnd;
}

void CProgressThread::WaitForEnd() {
  if (m_hThread) WaitForSingleObject(m_hThread, INFINITE);
}

void Win32ProgressUi::Open(std::uintptr_t owner, int phase) {
  if (thread_) return;
  HWND parent = reinterpret_cast<HWND>(owner);
  if (parent && !IsWindow(parent)) parent = nullptr;
  thread_ = new CProgressThread(parent, phase, mainThread_);
  window_ = thread_->Start();
  RECT bar{};
  if (window_) ::GetClientRect(::GetDlgItem(window_, IDC_PROGRESS_BAR), &bar);
  steps_ = BarSteps(bar.right - bar.left);
}

void Win32ProgressUi::Close() {
  if (!thread_) return;
  if (window_ && IsWindow(window_)) SendMessageA(window_, WM_LVK_NOTIFY, LVK_READY, 0);
  thread_->WaitForEnd();
  delete thread_;
  thread_ = nullptr;
  window_ = nullptr;
}

void Win32ProgressUi::Notify(int code, unsigned arg) {
  if (!window_) return;
  if (code == LVK_DOWNLOAD_SIZE) steps_.SetRange(0, static_cast<int>(arg));
  // A position that leaves the bar as it is would cost a round trip to the
  // dialog's thread for each block and change nothing on the screen.
  if (code == LVK_DOWNLOAD_PROGRESS && !steps_.Moves(static_cast<int>(arg))) return;
  if (IsWindow(window_)) SendMessageA(window_, WM_LVK_NOTIFY, static_cast<WPARAM>(code), arg);
}

}  // namespace checker

#include "ProgressDialog.h"

#include <commctrl.h>

#include "ProgressIds.h"
#include "checker/Win32Platform.h"
#include "common/LvkMessages.h"

namespace checker {

CProgressDialog::CProgressDialog(HWND parent, int phase, DWORD mainThread)
    : parent_(parent), phase_(phase), mainThread_(mainThread), initialised_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

CProgressDialog::~CProgressDialog() {
  if (initialised_) CloseHandle(initialised_);
}

INT_PTR CProgressDialog::RunModal() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PROGRESS), parent_, Proc,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CProgressDialog::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<CProgressDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<CProgressDialog*>(lParam);
    SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    self->window_ = hwnd;
  }
  return self ? self->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR CProgressDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      return TRUE;
    case WM_COMMAND:
      // Enter, Esc and the focus dummy do nothing: only Cancel ends the run.
      if (LOWORD(wParam) == IDC_CANCEL_BUTTON && HIWORD(wParam) == BN_CLICKED) OnCancelButton();
      return TRUE;
    case WM_CLOSE:
      return TRUE;
    default:
      if (message == WM_LVK_NOTIFY) {
        OnNotify(static_cast<int>(wParam), lParam);
        SetWindowLongPtrA(window_, DWLP_MSGRESULT, 0);
        return TRUE;
      }
      return FALSE;
  }
}

void CProgressDialog::OnInitDialog() {
  // The dummy button keeps the focus (and so Enter) away from Cancel; it
  // lies just below the visible client area.
  RECT client{};
  GetClientRect(window_, &client);
  MoveWindow(GetDlgItem(window_, IDC_FOCUS_DUMMY), 0, client.bottom, 100, client.bottom + 100, FALSE);
  ShowPhase(phase_);
  SetEvent(initialised_);
}

void CProgressDialog::ShowPhase(int phase) {
  phase_ = phase;
  int source = phase == 1 ? IDC_TEXT_CHECKING : phase == 2 ? IDC_TEXT_DOWNLOADING : IDC_TEXT_PREPARING;
  char text[256] = {};
  GetDlgItemTextA(window_, source, text, sizeof text);
  SetDlgItemTextA(window_, IDC_PHASE_TEXT, text);
}

void CProgressDialog::OnNotify(int code, LPARAM argument) {
  switch (code) {
    case LVK_INFO_FAILED:
    case LVK_NO_UPDATE:
    case LVK_UPDATE_FAILED:
    case LVK_CANCELLED:
    case LVK_READY:
    case LVK_ERROR:
      EndDialog(window_, code);
      break;
    case LVK_DOWNLOAD_SIZE:
      if (phase_ != 2) ShowPhase(2);
      announcedTotal_ = static_cast<int>(argument);
      SendDlgItemMessageA(window_, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, argument);
      break;
    case LVK_DOWNLOAD_PROGRESS:
      SendDlgItemMessageA(window_, IDC_PROGRESS_BAR, PBM_SETPOS, static_cast<WPARAM>(argument), 0);
      break;
    case LVK_DOWNLOADED:
      ShowPhase(3);
      break;
    default:
      break;
  }
}

void CProgressDialog::OnCancelButton() {
  PostThreadMessageRetrying(mainThread_, WM_LVK_THREAD, LVK_CMD_CANCEL, 0);
  EndDialog(window_, IDC_CANCEL_BUTTON);
}

CProgressThread::CProgressThread(HWND owner, int phase, DWORD mainThread) : dialog_(owner, phase, mainThread) {}

CProgressThread::~CProgressThread() {
  if (thread_) CloseHandle(thread_);
}

DWORD WINAPI CProgressThread::Entry(LPVOID self) {
  static_cast<CProgressThread*>(self)->dialog_.RunModal();
  return 0;
}

HWND CProgressThread::Start() {
  thread_ = CreateThread(nullptr, 0, Entry, this, 0, nullptr);
  if (!thread_) return nullptr;
  // A dialog that cannot be created never signals; the thread's end then
  // stops the wait instead of leaving the run stuck.
  HANDLE both[2] = {dialog_.InitialisedEvent(), thread_};
  WaitForMultipleObjects(2, both, FALSE, INFINITE);
  return dialog_.Window();
}

void CProgressThread::WaitForEnd() {
  if (thread_) WaitForSingleObject(thread_, INFINITE);
}

void Win32ProgressUi::Open(std::uintptr_t owner, int phase) {
  if (thread_) return;
  HWND parent = reinterpret_cast<HWND>(owner);
  if (parent && !IsWindow(parent)) parent = nullptr;
  thread_ = new CProgressThread(parent, phase, mainThread_);
  window_ = thread_->Start();
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
  if (window_ && IsWindow(window_)) SendMessageA(window_, WM_LVK_NOTIFY, static_cast<WPARAM>(code), arg);
}

}  // namespace checker

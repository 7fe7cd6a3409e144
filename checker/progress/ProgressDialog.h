#pragma once
// The checker's progress dialog: a modal dialog (template 101) on a thread of
// its own, so that the main thread keeps serving commands. It is driven only
// by WM_LVK_NOTIFY and never takes the run's state lock: the run sends to it
// while holding that lock.
#include <windows.h>

#include <cstdint>

#include "checker/RunPlatform.h"

namespace checker {

class CProgressDialog {
 public:
  CProgressDialog(HWND parent, int phase, DWORD mainThread);
  ~CProgressDialog();
  CProgressDialog(const CProgressDialog&) = delete;
  CProgressDialog& operator=(const CProgressDialog&) = delete;

  // Runs the dialog modally on the calling thread until it ends.
  INT_PTR RunModal();
  HWND Window() const { return window_; }
  HANDLE InitialisedEvent() const { return initialised_; }

 private:
  static INT_PTR CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void OnInitDialog();
  void ShowPhase(int phase);
  void OnNotify(int code, LPARAM argument);
  void OnCancelButton();

  HWND parent_;
  HWND window_ = nullptr;
  int phase_;
  int announcedTotal_ = 0;
  DWORD mainThread_;
  HANDLE initialised_;  // auto-reset, set at the end of WM_INITDIALOG
};

// The dialog's user-interface thread. It does not delete itself when the
// dialog ends; its owner does.
class CProgressThread {
 public:
  CProgressThread(HWND owner, int phase, DWORD mainThread);
  ~CProgressThread();
  CProgressThread(const CProgressThread&) = delete;
  CProgressThread& operator=(const CProgressThread&) = delete;

  // Starts the thread and waits until the dialog is initialised (or the
  // thread has ended without a dialog). Returns the dialog window or null.
  HWND Start();
  void WaitForEnd();
  CProgressDialog& Dialog() { return dialog_; }

 private:
  static DWORD WINAPI Entry(LPVOID self);
  CProgressDialog dialog_;
  HANDLE thread_ = nullptr;
};

// The run object's view of the dialog.
class Win32ProgressUi : public ProgressUi {
 public:
  explicit Win32ProgressUi(DWORD mainThread) : mainThread_(mainThread) {}
  ~Win32ProgressUi() override { Close(); }

  void Open(std::uintptr_t owner, int phase) override;
  void Close() override;
  void Notify(int code, unsigned arg) override;

 private:
  DWORD mainThread_;
  CProgressThread* thread_ = nullptr;
  HWND window_ = nullptr;
};

}  // namespace checker

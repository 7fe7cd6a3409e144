#pragma once
// The checker's progress dialog: a modal dialog (template 101) on a user-
// interface thread of its own, so that the main thread keeps serving
// commands. It is driven only by WM_LVK_NOTIFY and never takes the run's
// state lock: the run sends to it while holding that lock.
#include <cstdint>

#include "checker/BarSteps.h"
#include "checker/RunPlatform.h"
#include "framework/Framework.h"

namespace checker {

class CProgressDialog : public fw::CDialog {
  FW_DECLARE_MESSAGE_MAP()

 public:
  CProgressDialog(HWND owner, int phase, DWORD mainThread);
  ~CProgressDialog() override;
  CProgressDialog(const CProgressDialog&) = delete;
  CProgressDialog& operator=(const CProgressDialog&) = delete;

  HANDLE InitialisedEvent() const { return initialised_.Get(); }

 protected:
  bool OnInitDialog() override;
  // Enter and Esc do nothing: only Cancel and the run's end codes end it.
  void OnOK() override {}
  void OnCancel() override {}

 private:
  LRESULT OnLvkNotify(WPARAM code, LPARAM argument);
  LRESULT OnShowPosition(WPARAM, LPARAM);
  void OnCloseRequest() {}
  void OnCancelButton();
  void End(INT_PTR result);
  void ShowPhase(int phase);

  int phase_;
  int announcedTotal_ = 0;
  // The bar moves on this thread's own time: the sender of a position waits
  // only for it to be noted, never for the bar to be drawn.
  int pendingPos_ = 0;
  bool positionPosted_ = false;
  DWORD mainThread_;
  win::UniqueHandle initialised_;  // auto-reset, set at the end of the initialisation
  fw::CProgressCtrl progress_;
};

// The dialog's user-interface thread. It does not delete itself when the
// dialog ends; its owner does.
class CProgressThread : public fw::CWinThread {
 public:
  CProgressThread(HWND owner, int phase, DWORD mainThread) : dialog_(owner, phase, mainThread) {}

  // Starts the thread and waits until the dialog is initialised (or the
  // thread has ended without a dialog). Returns the dialog window or null.
  HWND Start();
  void WaitForEnd();

 protected:
  bool InitInstance() override;

 private:
  CProgressDialog dialog_;
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
  BarSteps steps_{0};  // of the open dialog's bar
};

}  // namespace checker

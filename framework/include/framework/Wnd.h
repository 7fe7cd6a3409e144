#pragma once
// Windows bound to C++ objects. The object is attached to its window once (at
// WM_NCCREATE, WM_INITDIALOG or when an existing control is subclassed) and
// one static procedure dispatches every message through the class's message
// map. No exception leaves a window procedure: an fw::InvalidArgumentError is
// reported with the framework's message box, any other exception with its
// text, and the message is then answered as unhandled.
#include <windows.h>

#include <string>

#include "framework/CmdTarget.h"
#include "framework/Gdi.h"

namespace fw {

class CFrameWnd;

// The text of any window or control, whole.
std::string WindowText(HWND wnd);

class CWnd : public CCmdTarget {
  FW_DECLARE_MESSAGE_MAP()

 public:
  CWnd() = default;
  ~CWnd() override;

  // The object attached to a window, or null for windows we do not own.
  static CWnd* FromHandlePermanent(HWND wnd);

  // Creates the window with our procedure. The class must have been made by
  // RegisterFrameworkClass (or be one registered with WndProcThunk).
  bool CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, const RECT& rect, HWND parent,
                UINT idOrMenu, void* param = nullptr);
  // The same from a filled creation record (CW_USEDEFAULT positions allowed).
  bool CreateFromStruct(CREATESTRUCTA cs);
  // Takes over an existing window (a dialog's control) by replacing its procedure.
  bool SubclassWindow(HWND wnd);
  bool SubclassDlgItem(UINT id, CWnd* parent);
  HWND UnsubclassWindow();

  // The framework's window destruction; frames override it to save state
  // before the window goes away.
  virtual bool DestroyWindow();
  // Lets a class change the creation parameters (style, position, size).
  virtual bool PreCreateWindow(CREATESTRUCTA& cs);
  // Called for every message of this window (and its children) before the
  // message loop translates and dispatches it. True when consumed.
  virtual bool PreTranslateMessage(MSG* msg);
  // The last message this object sees; the object is detached afterwards.
  virtual void PostNcDestroy() {}

  // Dispatch of one message: the message map, then Default.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // WM_COMMAND: reflection to the control, then command routing.
  virtual bool OnCommand(WPARAM wParam, LPARAM lParam);
  // Default processing of the message being dispatched now.
  LRESULT Default();
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return m_hWnd; }
  CFrameWnd* GetParentFrame() const;
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  bool IsWindowVisible() const { return m_hWnd && ::IsWindowVisible(m_hWnd); }
  bool ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd) != FALSE; }
  void UpdateWindow() { ::UpdateWindow(m_hWnd); }
  void Invalidate(bool erase = true) { ::InvalidateRect(m_hWnd, nullptr, erase); }
  CRect GetClientRect() const {
    CRect r;
    ::GetClientRect(m_hWnd, &r);
    return r;
  }
  CRect GetWindowRect() const {
    CRect r;
    ::GetWindowRect(m_hWnd, &r);
    return r;
  }
  void MoveWindow(const RECT& r, bool repaint = true) {
    ::MoveWindow(m_hWnd, r.left, r.top, r.right - r.left, r.bottom - r.top, repaint);
  }
  std::string GetWindowText() const;
  void SetWindowText(const std::string& text) { ::SetWindowTextA(m_hWnd, text.c_str()); }
  LRESULT SendMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessageA(m_hWnd, m, w, l); }
  bool PostMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const { return ::PostMessageA(m_hWnd, m, w, l) != FALSE; }
  DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }
  bool ModifyStyle(DWORD remove, DWORD add);

  HWND m_hWnd = nullptr;

  // The procedure of every window we create; register classes with it.
  static LRESULT CALLBACK WndProcThunk(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
  // The procedure of our dialogs and dialog-template children (binds at WM_INITDIALOG).
  static INT_PTR CALLBACK DlgProcThunk(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Registers a window class served by WndProcThunk; returns the class name.
  static const char* RegisterFrameworkClass(const char* name, UINT style = CS_DBLCLKS, HICON icon = nullptr,
                                            HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));

 protected:
  // Offers a message that a child sends its parent back to the child (its
  // reflected entries). True when the child handled it; *result is the answer.
  static bool ReflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

  void Attach(HWND wnd);
  void Detach();
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  WNDPROC m_oldProc = nullptr;  // the procedure we replaced, for subclassed windows and dialogs
  MsgArgs m_current{};          // the message being dispatched (for Default)
  friend class CDialog;
  friend class CPropertyPage;
};

// Reports an exception caught at a dispatch boundary (message box); never throws.
void ReportException(HWND owner, const std::exception* e);
// Replaces the message box of ReportException (tests record instead of
// blocking); returns the previous reporter, null meaning the message box.
using ExceptionReporter = void (*)(HWND owner, const std::exception* e);
ExceptionReporter SetExceptionReporter(ExceptionReporter reporter);

// A static control of a dialog. Its parent reflects colour requests and clicks
// to it (OnReflect(WM_CTLCOLORSTATIC), OnReflectCommand(STN_CLICKED)).
class CStatic : public CWnd {
  FW_DECLARE_MESSAGE_MAP()
};

// Shortcuts for the control notifications the programs use.
template <class C, class R, class... A>
MessageEntry OnEnChange(unsigned id, R (C::*pmf)(A...)) {
  return OnControl(EN_CHANGE, id, pmf);
}
template <class C, class R, class... A>
MessageEntry OnCbnSelChange(unsigned id, R (C::*pmf)(A...)) {
  return OnControl(CBN_SELCHANGE, id, pmf);
}
template <class C, class R, class... A>
MessageEntry OnCbnEditChange(unsigned id, R (C::*pmf)(A...)) {
  return OnControl(CBN_EDITCHANGE, id, pmf);
}
template <class C, class R, class... A>
MessageEntry OnBnClicked(unsigned id, R (C::*pmf)(A...)) {
  return OnControl(BN_CLICKED, id, pmf);
}

// Loads a string resource of the program ("" when missing).
std::string LoadResString(UINT id);
// A message text from the program's string table. A missing one comes back as
// "#<id>", never empty, so that a program linked without its texts shows
// which one it lacks and its tests fail on it.
std::string LoadText(UINT id);
// A command's string resource holds "prompt\ntool tip": the two parts.
std::string CommandPrompt(UINT id);
std::string CommandToolTip(UINT id);

}  // namespace fw

#pragma once
// Modal and modeless dialogs from templates, small control wrappers, and
// property sheets.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/Wnd.h"

namespace fw {

class CDialog : public CWnd {
  FW_DECLARE_MESSAGE_MAP()

 public:
  explicit CDialog(UINT templateId = 0, CWnd* parent = nullptr);
  // The owner may be a window of another thread or process.
  CDialog(UINT templateId, HWND owner);

  // Runs the dialog modally on this thread; returns the EndDialog result, or
  // -1 when the dialog could not be created. An owner of this process is
  // disabled meanwhile.
  virtual INT_PTR DoModal();
  // A modeless dialog (child or popup of parent).
  bool Create(UINT templateId, HWND parent);
  void EndDialog(INT_PTR result);

  virtual bool OnInitDialog() { return true; }
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  bool PreTranslateMessage(MSG* msg) override;

  UINT m_nIDTemplate;
  HWND m_hWndOwner;

 protected:
  LRESULT OnInitDialogMsg(WPARAM, LPARAM);
  void OnOKCommand() { OnOK(); }
  void OnCancelCommand() { OnCancel(); }
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  bool m_modal = false;
  bool m_ended = false;
  INT_PTR m_result = -1;
};

// The text of a combo box's list item; none for an index outside the list.
std::optional<std::string> ComboItemText(HWND box, int index);

// Handle-only wrappers for controls; they do not take over the control.
class CControlRef {
 public:
  CControlRef() = default;
  explicit CControlRef(HWND wnd) : m_hWnd(wnd) {}
  void Attach(HWND wnd) { m_hWnd = wnd; }
  void Attach(HWND dialog, int id) { m_hWnd = ::GetDlgItem(dialog, id); }
  HWND GetSafeHwnd() const { return m_hWnd; }
  std::string GetWindowText() const;
  void SetWindowText(const std::string& text) const { ::SetWindowTextA(m_hWnd, text.c_str()); }
  void EnableWindow(bool on) const { ::EnableWindow(m_hWnd, on); }
  void ShowWindow(int cmd) const { ::ShowWindow(m_hWnd, cmd); }
  LRESULT Send(UINT m, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessageA(m_hWnd, m, w, l); }
  HWND m_hWnd = nullptr;
};

class CButton : public CControlRef {
 public:
  using CControlRef::CControlRef;
  int GetCheck() const { return static_cast<int>(Send(BM_GETCHECK)); }
  void SetCheck(int check) const { Send(BM_SETCHECK, static_cast<WPARAM>(check)); }
};

class CEdit : public CControlRef {
 public:
  using CControlRef::CControlRef;
  void SetLimitText(UINT n) const { Send(EM_LIMITTEXT, n); }
};

class CComboBox : public CControlRef {
 public:
  using CControlRef::CControlRef;
  int AddString(const std::string& s) const {
    return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str())));
  }
  int GetCount() const { return static_cast<int>(Send(CB_GETCOUNT)); }
  int GetCurSel() const { return static_cast<int>(Send(CB_GETCURSEL)); }
  int SetCurSel(int i) const { return static_cast<int>(Send(CB_SETCURSEL, static_cast<WPARAM>(i))); }
  DWORD_PTR GetItemData(int i) const { return static_cast<DWORD_PTR>(Send(CB_GETITEMDATA, static_cast<WPARAM>(i))); }
  int SetItemData(int i, DWORD_PTR d) const {
    return static_cast<int>(Send(CB_SETITEMDATA, static_cast<WPARAM>(i), static_cast<LPARAM>(d)));
  }
  std::string GetLBText(int i) const;
  void ResetContent() const { Send(CB_RESETCONTENT); }
};

class CProgressCtrl : public CControlRef {
 public:
  using CControlRef::CControlRef;
  void SetRange32(int lower, int upper) const { Send(PBM_SETRANGE32, static_cast<WPARAM>(lower), upper); }
  int SetPos(int pos) const { return static_cast<int>(Send(PBM_SETPOS, static_cast<WPARAM>(pos))); }
};

// A page of a property sheet, made from a dialog template.
class CPropertyPage : public CDialog {
  FW_DECLARE_MESSAGE_MAP()

 public:
  explicit CPropertyPage(UINT templateId, UINT captionId = 0);
  virtual bool OnSetActive() { return true; }
  virtual bool OnKillActive() { return true; }
  // OK of the sheet (each page that was shown); Cancel likewise.
  void OnOK() override {}
  void OnCancel() override {}
  PROPSHEETPAGEA m_psp{};

 protected:
  LRESULT OnNotifyMsg(WPARAM, LPARAM);
  static INT_PTR CALLBACK PageProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
  std::string m_caption;
  friend class CPropertySheet;
};

// A modal property sheet; without an Apply button unless the program adds
// PSH_... flags of its own to m_psh.dwFlags.
class CPropertySheet : public CWnd {
 public:
  explicit CPropertySheet(UINT captionId, CWnd* parent = nullptr, UINT selectPage = 0);
  CPropertySheet(const std::string& caption, CWnd* parent = nullptr, UINT selectPage = 0);
  void AddPage(CPropertyPage* page) { m_pages.push_back(page); }
  int GetPageCount() const { return static_cast<int>(m_pages.size()); }
  // IDOK or IDCANCEL; -1 when the sheet could not be shown.
  virtual INT_PTR DoModal();
  PROPSHEETHEADERA m_psh{};

 protected:
  std::string m_caption;
  HWND m_parent;
  std::vector<CPropertyPage*> m_pages;
};

}  // namespace fw

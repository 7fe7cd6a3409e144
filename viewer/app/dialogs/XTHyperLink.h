#pragma once
// CXTHyperLink: a static text control shown as a link. The text is drawn
// underlined in the link colour, the hand cursor and the hover colour show
// while the mouse is over the text itself (not the whole control), a tool tip
// names the target, and a click opens the target with the shell. Statics that
// show icons, bitmaps or frames keep their plain behaviour.
#include <windows.h>

#include <string>

#include "framework/Framework.h"

class CXTHyperLink : public fw::CStatic {
  FW_DECLARE_MESSAGE_MAP()

 public:
  static constexpr COLORREF kNoColor = static_cast<COLORREF>(-1);

  CXTHyperLink();
  ~CXTHyperLink() override;

  // Takes over control id of the dialog and, unless told otherwise,
  // initialises it as a link.
  bool SubclassLink(UINT id, fw::CWnd* parent);

  void SetURL(const std::string& target);  // also the tool tip text while that is empty
  const std::string& GetURL() const { return m_strURL; }
  void SetColors(COLORREF link, COLORREF visited, COLORREF hover);
  COLORREF GetLinkColor() const { return m_clrLink; }
  COLORREF GetVisitedColor() const { return m_clrVisited; }
  COLORREF GetHoverColor() const { return m_clrHover; }
  void SetVisited(bool visited);
  bool GetVisited() const { return m_bVisited; }
  void SetLinkCursor(HCURSOR cursor) { m_hcurHand = cursor; }
  HCURSOR GetLinkCursor() const { return m_hcurHand; }
  void SetUnderline(bool underline);
  bool GetUnderline() const { return m_bUnderline; }
  void SetBackColor(COLORREF color);
  COLORREF GetBackColor() const;
  // Opens url (the target when empty) with the shell; reports a failure.
  bool GotoURL(const std::string& url = "", int showCmd = SW_SHOW, const std::string& parameters = "",
               const std::string& folder = "");
  void ReportError(int code);
  bool IsTextControl() const;
  bool IsMouseOverText() const;
  void InitControl();
  void ReSetFont();
  void MakeFont(bool underline);

  // Switches for the owner, set before subclassing or creation.
  bool m_bInitControl = true;  // initialise when subclassing a template's control
  bool m_bShellExec = true;    // a click opens the target; false: only marks visited
  bool m_bToolTip = true;

  // The tool tip control, for tests and owners (null until first needed).
  HWND GetToolTip() const { return m_hToolTip; }
  bool IsHovering() const { return m_bHovering; }

  bool PreTranslateMessage(MSG* msg) override;

 protected:
  int OnCreate(CREATESTRUCTA* cs);
  BOOL OnSetCursor(WPARAM wParam, LPARAM lParam);
  void OnMouseMove(WPARAM wParam, LPARAM lParam);
  void OnTimer(WPARAM id);
  BOOL OnEraseBkgnd(WPARAM dc);
  LRESULT OnPaint();
  void OnWindowPosChanged(WPARAM, LPARAM);
  LRESULT OnNcHitTest(WPARAM, LPARAM);
  HBRUSH CtlColor(WPARAM dc, LPARAM);
  bool OnClicked(unsigned);

 private:
  // Opens via the shell; returns the result code (above 32: success).
  static INT_PTR ShellOpen(const std::string& target, int showCmd, const std::string& parameters,
                           const std::string& folder);
  void SetToolTipText(const std::string& text);

  fw::Font m_font;
  std::string m_strURL;
  std::string m_strToolTip;
  HCURSOR m_hcurHand = nullptr;
  COLORREF m_clrLink = RGB(0, 0, 255);
  COLORREF m_clrHover = RGB(255, 0, 0);
  COLORREF m_clrVisited = RGB(128, 0, 128);
  COLORREF m_clrBack = kNoColor;
  bool m_bUnderline = true;
  bool m_bHovering = false;
  bool m_bVisited = false;
  HWND m_hToolTip = nullptr;
};

// The text of the message box for a failed ShellExecute result code.
std::string HyperLinkErrorText(int code);

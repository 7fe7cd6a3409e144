#pragma once
// CMainFrame: the viewer's window with its three tool bars and the text input
// bar. It restores and saves its placement and bar layout, tells the view
// when the user closes it, and opens the HTML help file.
#include "framework/Framework.h"
#include "vertical/VerticalPreviewBar.h"

class CMainFrame : public fw::CFrameWnd {
  FW_DECLARE_MESSAGE_MAP()

 public:
  bool PreCreateWindow(CREATESTRUCTA& cs) override;
  bool DestroyWindow() override;
  void OnHelpCall(DWORD_PTR data, UINT cmd) override;

  fw::CToolBar& MainToolBar() { return m_wndToolBar; }
  fw::CDialogBar& TextInputBar() { return m_wndTextBar; }

 protected:
  int OnCreate(CREATESTRUCTA* cs);
  void OnClose();
  // Fills the size box from the text input bar's dialog initialisation data.
  void FillSizeBox();

  fw::CToolBar m_wndToolBar;
  fw::CToolBar m_wndFontBar;
  fw::CToolBar m_wndListBar;
  fw::CDialogBar m_wndTextBar;
  VerticalPreviewBar m_wndVertical;  // hidden until the user shows it
  fw::CDialogBar m_wndFindBar;
};

// x (or y) of a window of size extent on a screen of size screen: a position
// within 32 pixels of the far edge moves the window back onto the screen.
int KeepOnScreen(int position, int extent, int screen);

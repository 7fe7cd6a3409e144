#pragma once
// Control bars docked in a frame: tool bars from tool bar resources and
// dialog bars from dialog templates.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/DocView.h"
#include "framework/Gdi.h"
#include "framework/Wnd.h"

namespace fw {

// Bar styles (the low word and the gripper bit of the style given to Create).
inline constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
inline constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
inline constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
inline constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
inline constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
inline constexpr DWORD CBRS_BORDER_LEFT = 0x0100;
inline constexpr DWORD CBRS_BORDER_TOP = 0x0200;
inline constexpr DWORD CBRS_BORDER_RIGHT = 0x0400;
inline constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
inline constexpr DWORD CBRS_TOOLTIPS = 0x0010;
inline constexpr DWORD CBRS_FLYBY = 0x0020;
inline constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0080;
inline constexpr DWORD CBRS_GRIPPER = 0x00400000;
inline constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
inline constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
inline constexpr DWORD CBRS_LEFT = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
inline constexpr DWORD CBRS_RIGHT = CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT;

class CControlBar : public CWnd {
  FW_DECLARE_MESSAGE_MAP()

 public:
  ~CControlBar() override;

  // Sides (CBRS_ALIGN_*) where this bar may dock.
  void EnableDocking(DWORD sides) { m_dwDockStyle = sides; }
  DWORD GetDockStyle() const { return m_dwDockStyle; }
  // Style flags; the CBRS_ALIGN_* bits tell where the bar is docked now.
  DWORD GetBarStyle() const { return m_dwStyle; }
  void SetBarStyle(DWORD style) { m_dwStyle = style; }
  bool IsHorizontal() const { return (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0; }
  UINT GetBarId() const { return static_cast<UINT>(GetDlgCtrlID()); }
  // The bar's own visibility, also while its frame is still hidden.
  bool IsVisible() const { return m_hWnd && (GetStyle() & WS_VISIBLE) != 0; }
  // Size the bar wants when laid out horizontally or vertically (outer, with gripper).
  virtual CSize CalcFixedLayout(bool horizontal) = 0;
  // Length along its side when docked, given the room left on that row: by
  // default the fixed layout's; a pane returns `room` to span it.
  virtual LONG DockedLength(bool horizontal, LONG room) {
    (void)room;
    CSize s = CalcFixedLayout(horizontal);
    return horizontal ? s.cx : s.cy;
  }
  // Refreshes the state of the bar's commands (tool bar buttons) from target.
  virtual void OnUpdateCmdUI(CCmdTarget& target) { (void)target; }

  // Docking position kept by the frame: side 0 top, 1 bottom, 2 left, 3 right.
  int m_side = 0;
  int m_row = 0;
  int m_order = 0;
  CFrameWnd* m_pDockSite = nullptr;
  // A bar that keeps its layout in a profile section of its own: the frame's
  // SaveBarState and LoadBarState leave it out.
  bool m_bOwnBarState = false;

 protected:
  bool CreateBarWindow(CWnd* parent, DWORD style, UINT id);
  // Room taken by the gripper and borders around the bar's content.
  CRect Insets() const;
  virtual void LayoutContent() {}
  // The borders and the gripper, as OnPaint draws them.
  void DrawBarFrame(HDC dc) const;
  void OnPaint();
  void OnSize(WPARAM, LPARAM);
  LRESULT OnNotify(WPARAM, LPARAM);
  // Dragging by the gripper: the bar docks where the mouse is released.
  void OnLButtonDown(WPARAM, LPARAM);
  void OnLButtonUp(WPARAM, LPARAM);
  LRESULT OnSetCursor(WPARAM, LPARAM);
  bool m_dragging = false;

  DWORD m_dwStyle = 0;
  DWORD m_dwDockStyle = 0;
};

// A bar of buttons from a tool bar resource: bitmap resId plus a custom
// resource of type 241 (version 1, image width, height, count, ids; id 0 is a
// separator). Tool tips show the second line of each command's string resource.
class CToolBar : public CControlBar {
  FW_DECLARE_MESSAGE_MAP()

 public:
  bool Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = AFX_IDW_TOOLBAR);
  // ctrlStyle: TBSTYLE_FLAT or 0.
  bool CreateEx(CWnd* parent, DWORD ctrlStyle = TBSTYLE_FLAT, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                UINT id = AFX_IDW_TOOLBAR);
  bool LoadToolBar(UINT resId);
  // Button and image size; by default the image size from the resource and
  // buttons 7 pixels larger each way.
  void SetSizes(CSize button, CSize image);
  void SetButtons(const std::vector<UINT>& ids);
  int GetCount() const { return static_cast<int>(m_ids.size()); }
  UINT GetItemID(int index) const { return m_ids.at(static_cast<size_t>(index)); }
  // Button rectangle in the bar's client coordinates.
  CRect GetItemRect(int index) const;
  HWND GetToolBarCtrl() const { return m_toolbar; }
  bool IsButtonEnabled(UINT id) const;
  bool IsButtonChecked(UINT id) const;

  CSize CalcFixedLayout(bool horizontal) override;
  void OnUpdateCmdUI(CCmdTarget& target) override;

 protected:
  void LayoutContent() override;
  bool OnCommand(WPARAM wParam, LPARAM lParam) override;
  void ApplyButtons();

  HWND m_toolbar = nullptr;
  DWORD m_ctrlStyle = 0;
  std::vector<UINT> m_ids;
  CSize m_button{23, 22};
  CSize m_image{16, 15};
  Bitmap m_bitmap;
  bool m_vertical = false;
};

// A bar holding a dialog made from a template; its controls' notifications
// are routed like commands (active view first).
class CDialogBar : public CControlBar {
  FW_DECLARE_MESSAGE_MAP()

 public:
  bool Create(CWnd* parent, UINT templateId, DWORD style, UINT id);
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_dialog, id); }
  HWND GetDialog() const { return m_dialog; }
  CSize CalcFixedLayout(bool horizontal) override;
  bool PreTranslateMessage(MSG* msg) override;

 protected:
  void LayoutContent() override;
  static INT_PTR CALLBACK InnerProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND m_dialog = nullptr;
  CSize m_content;
};

}  // namespace fw

#pragma once
// The vertical preview pane: a control bar docked beside the list that sets
// the selected row's sample top to bottom in the face's "@" vertical variant,
// at the sample size, wrapping into columns from right to left. It follows
// the view on idle, keeps its layout in a profile section of its own (the
// frame's bar layout never lists it), and says whether the face substitutes
// vertical forms. Its inner edge sizes it.
#include <string>

#include "framework/Framework.h"

// What the pane draws, taken from the view: compared on idle, so that the
// pane repaints only when something it shows changed.
struct VerticalSample {
  std::string face;  // "" while the list is empty
  LOGFONTA font{};   // the row's sample font, height unset
  std::string text;
  int sizeTenths = 0;  // of a point
  bool hasVerticalFace = false;
  bool operator==(const VerticalSample& o) const;
};

class VerticalPreviewBar : public fw::CControlBar {
  FW_DECLARE_MESSAGE_MAP()

 public:
  // Creates the pane on the right side, or where and as the user left it.
  bool Create(fw::CFrameWnd* frame, UINT id);
  // Visibility, side and width into the pane's own profile section.
  void SaveState() const;

  fw::CSize CalcFixedLayout(bool horizontal) override;
  LONG DockedLength(bool horizontal, LONG room) override;
  void OnUpdateCmdUI(fw::CCmdTarget& target) override;

 protected:
  // Dragging the inner edge (towards the view) sets the pane's width; a
  // press elsewhere is the bar's (the gripper).
  void OnLButtonDown(WPARAM, LPARAM);
  void OnMouseMove(WPARAM, LPARAM);
  void OnLButtonUp(WPARAM, LPARAM);
  LRESULT OnSetCursor(WPARAM, LPARAM);
  bool OnInnerEdge(int x) const;
  void OnPaint();
  LRESULT OnEraseBackground(WPARAM, LPARAM) { return TRUE; }
  LRESULT OnShowWindow(WPARAM, LPARAM);
  // State for automation: see GLIMRA_QUERY_VERTICAL_*.
  LRESULT OnQuery(WPARAM what, LPARAM);
  // Takes the view's sample; true when it differs from the one shown.
  bool Follow();
  void Draw(fw::CDC& dc, const fw::CRect& client);
  int DrawVertical(fw::CDC& dc, const fw::CRect& area);

  VerticalSample sample_;
  std::string formsLine_;
  int forms_ = -1;  // GLIMRA_QUERY_VERTICAL_FORMS
  int width_ = 0;
  bool sizing_ = false;
  fw::Font labelFont_;
  // Of the last paint.
  int shown_ = 0;  // GLIMRA_QUERY_VERTICAL_SHOWN
  int columns_ = 0;
};

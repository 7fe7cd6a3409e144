// The view's commands go to its command groups; this file routes them and
// gives the groups what they ask of the view's window.
#include "view/GlimraView.h"

bool CGlimraView::OnCmdMsg(unsigned id, int code, fw::CCmdUI* ui) {
  if (DispatchOwnCommand(id, code, ui)) return true;
  fw::CCmdTarget* const groups[] = {&listModes_, &install_, &clipboard_, &print_, &update_, &coverage_, &search_};
  for (fw::CCmdTarget* group : groups)
    if (group->OnCmdMsg(id, code, ui)) return true;
  return m_pDocument && m_pDocument->OnCmdMsg(id, code, ui);
}

void CGlimraView::RedrawMarks() { Invalidate(true); }

void CGlimraView::Warn(unsigned textId, unsigned captionId) {
  ::MessageBoxA(m_hWnd, fw::LoadText(textId).c_str(), fw::LoadText(captionId).c_str(), MB_ICONEXCLAMATION | MB_OK);
}

bool CGlimraView::OnPreparePrinting(fw::CPrintInfo* info) { return print_.OnPreparePrinting(info); }

void CGlimraView::OnPrepareDC(fw::CDC* dc, fw::CPrintInfo* info) {
  fw::CView::OnPrepareDC(dc, info);
  print_.OnPrepareDC(info);
}

void CGlimraView::OnEndPrinting(fw::CDC*, fw::CPrintInfo*) { print_.OnEndPrinting(); }

LRESULT CGlimraView::OnLvkNotify(WPARAM code, LPARAM) {
  update_.OnReport(static_cast<int>(code));
  return 0;
}

// The view's clipboard commands: copy (57634) and copy font name (32774).
#include "ClipboardExport.h"
#include "view/GlimraView.h"

void CGlimraView::OnEditCopy() {
  CopySelectedSample(m_hWnd, fonts_, SelectedRow(), settings_.DispText, settings_.DispFontSize);
}

void CGlimraView::OnCopyFontName() { CopySelectedFontName(m_hWnd, fonts_, SelectedRow()); }

#include "ClipboardCommandTarget.h"

#include "ClipboardExport.h"
#include "res/ResourceIds.h"

// clang-format off
FW_BEGIN_MESSAGE_MAP(ClipboardCommandTarget, fw::CCmdTarget)
  fw::OnCommand(ID_EDIT_COPY, &ClipboardCommandTarget::OnEditCopy),
  fw::OnCommand(ID_COPY_FONTNAME, &ClipboardCommandTarget::OnCopyFontName),
FW_END_MESSAGE_MAP()
// clang-format on

void ClipboardCommandTarget::OnEditCopy() {
  CopySelectedSample(view_.m_hWnd, fonts_, site_.SelectedRow(), settings_.DispText, settings_.DispFontSize);
}

void ClipboardCommandTarget::OnCopyFontName() { CopySelectedFontName(view_.m_hWnd, fonts_, site_.SelectedRow()); }

// The view's side of printing and print preview: the framework's print loop
// and preview call these hooks, and the drawing request prints pages while
// the printing flag is up.
#include "PrintDraw.h"
#include "view/GlimraView.h"

namespace {
PrintSource SourceOf(CFontList& fonts, const DisplaySettings& settings) {
  PrintSource source;
  source.fonts = &fonts;
  source.sampleText = settings.DispText;
  source.sizeTenths = settings.DispFontSize;
  return source;
}
}  // namespace

bool CGlimraView::OnPreparePrinting(fw::CPrintInfo* info) {
  printing_ = 1;
  const bool prepared = DoPreparePrinting(info);
  if (!prepared) {
    // Cancelled: no print job follows, so nothing would lower the flag.
    printing_ = 0;
    return false;
  }
  info->SetMaxPage(static_cast<UINT>(Paginate(info->m_pd.hDC)));
  printing_ = 1;
  currentPage_ = 0;
  return true;
}

void CGlimraView::OnBeginPrinting(fw::CDC*, fw::CPrintInfo*) {}

void CGlimraView::OnPrepareDC(fw::CDC* dc, fw::CPrintInfo* info) {
  fw::CView::OnPrepareDC(dc, info);
  if (printing_ && info) {
    currentPage_ = static_cast<int>(info->m_nCurPage);
    printJob_.pageCount = static_cast<int>(info->GetMaxPage());
  }
}

void CGlimraView::OnEndPrinting(fw::CDC*, fw::CPrintInfo*) { printing_ = 0; }

int CGlimraView::Paginate(HDC printer) { return PaginateOnPrinter(printer, SourceOf(fonts_, settings_), printJob_); }

void CGlimraView::PrintPage(fw::CDC& dc, int page) {
  // An empty list has no pages; a preview still asks for its first one.
  if (printJob_.pagination.pages == 0) return;
  PrintPageOn(dc.m_hDC, dc.m_hAttribDC, SourceOf(fonts_, settings_), printJob_, page);
}

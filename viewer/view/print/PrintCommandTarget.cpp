// The view's side of printing and print preview: the framework's print loop
// and preview call the view's hooks, which come here, and the drawing
// request prints pages while the printing flag is up.
#include "PrintCommandTarget.h"

#include "res/ResourceIds.h"

// clang-format off
FW_BEGIN_MESSAGE_MAP(PrintCommandTarget, fw::CCmdTarget)
  fw::OnCommand(ID_FILE_PRINT, &PrintCommandTarget::OnFilePrint),
  fw::OnCommand(ID_FILE_PRINT_DIRECT, &PrintCommandTarget::OnFilePrintDirect),
  fw::OnCommand(ID_FILE_PRINT_PREVIEW, &PrintCommandTarget::OnFilePrintPreview),
FW_END_MESSAGE_MAP()
// clang-format on

PrintSource PrintCommandTarget::Source() const {
  PrintSource source;
  source.fonts = &fonts_;
  source.sampleText = settings_.DispText;
  source.sizeTenths = settings_.DispFontSize;
  return source;
}

bool PrintCommandTarget::OnPreparePrinting(fw::CPrintInfo* info) {
  printing_ = 1;
  const bool prepared = view_.DoPreparePrinting(info);
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

void PrintCommandTarget::OnPrepareDC(fw::CPrintInfo* info) {
  if (printing_ && info) {
    currentPage_ = static_cast<int>(info->m_nCurPage);
    printJob_.pageCount = static_cast<int>(info->GetMaxPage());
  }
}

bool PrintCommandTarget::DrawPageOn(fw::CDC& dc) {
  if (!printing_ || dc.GetDeviceCaps(TECHNOLOGY) != DT_RASPRINTER) return false;
  PrintPage(dc, currentPage_);
  return true;
}

int PrintCommandTarget::Paginate(HDC printer) { return PaginateOnPrinter(printer, Source(), printJob_); }

void PrintCommandTarget::PrintPage(fw::CDC& dc, int page) {
  // An empty list has no pages; a preview still asks for its first one.
  if (printJob_.pagination.pages == 0) return;
  PrintPageOn(dc.m_hDC, dc.m_hAttribDC, Source(), printJob_, page);
}

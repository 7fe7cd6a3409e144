// Printing and print preview of a view through its printing hooks.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <utility>

#include "framework/App.h"
#include "framework/DocView.h"

namespace fw {
namespace {

constexpr UINT kPreviewPrint = 1;
constexpr UINT kPreviewNext = 2;
constexpr UINT kPreviewPrev = 3;
constexpr UINT kPreviewZoom = 4;
constexpr UINT kPreviewClose = 5;
constexpr UINT kPreviewPageText = 6;
constexpr int kPreviewBarHeight = 34;

std::string DocumentName(CView* view) {
  CWinApp* app = AfxGetApp();
  std::string name = app ? app->m_pszAppName : std::string("Document");
  if (CDocument* doc = view->GetDocument())
    if (!doc->GetTitle().empty()) name = doc->GetTitle();
  return name;
}

// The preview: pages drawn by the view's printing hooks into enhanced
// metafiles whose reference device is the printer, shown scaled on screen.
class CPreviewWnd : public CWnd {
  FW_DECLARE_MESSAGE_MAP()

 public:
  CPreviewWnd(CView* view, std::unique_ptr<CPrintInfo> info) : view_(view), info_(std::move(info)) {}

  bool Open(CFrameWnd* frame) {
    frame_ = frame;
    printer_.m_hDC = printer_.m_hAttribDC = info_->m_pd.hDC;
    printer_.m_bPrinting = true;
    view_->OnBeginPrinting(&printer_, info_.get());
    CRect r = frame ? frame->GetWindowRect() : CRect(0, 0, 800, 600);
    std::string title =
        (AfxGetApp() ? AfxGetApp()->m_pszAppName : std::string()) + " - " + LoadText(FW_IDS_PREVIEW_TITLE);
    const char* cls = RegisterFrameworkClass("FwPrintPreview", CS_HREDRAW | CS_VREDRAW, nullptr,
                                             reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1));
    if (!CreateEx(0, cls, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL | WS_CLIPCHILDREN, r,
                  frame ? frame->m_hWnd : nullptr, 0)) {
      view_->OnEndPrinting(&printer_, info_.get());
      return false;
    }
    if (frame) ::EnableWindow(frame->m_hWnd, FALSE);
    ShowWindow(SW_SHOW);
    ShowPage(std::max<UINT>(1, info_->GetMinPage()));
    return true;
  }

 private:
  int OnCreate(CREATESTRUCTA*) {
    struct Button {
      UINT id;
      UINT text;
      int width;
    };
    const Button buttons[] = {{kPreviewPrint, FW_IDS_PREVIEW_PRINT, 80},
                              {kPreviewNext, FW_IDS_PREVIEW_NEXT, 80},
                              {kPreviewPrev, FW_IDS_PREVIEW_PREV, 80},
                              {kPreviewZoom, FW_IDS_PREVIEW_ZOOM_IN, 70},
                              {kPreviewClose, FW_IDS_PREVIEW_CLOSE, 70}};
    HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    int x = 6;
    for (const Button& b : buttons) {
      HWND w =
          ::CreateWindowExA(0, "BUTTON", LoadText(b.text).c_str(), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, 5, b.width,
                            24, m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(b.id)), nullptr, nullptr);
      ::SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      x += b.width + 6;
    }
    HWND text = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT, x + 10, 10, 200, 20, m_hWnd,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kPreviewPageText)), nullptr, nullptr);
    ::SendMessageA(text, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return 0;
  }

  UINT MaxPage() const { return info_->GetMaxPage(); }

  // Draws page into a metafile; false when the view says there is no such page.
  bool RenderPage(UINT page) {
    if (page_emf_) ::DeleteEnhMetaFile(page_emf_);
    page_emf_ = nullptr;
    HDC printer = info_->m_pd.hDC;
    int horz = ::GetDeviceCaps(printer, HORZRES), vert = ::GetDeviceCaps(printer, VERTRES);
    int dpiX = std::max(1, ::GetDeviceCaps(printer, LOGPIXELSX));
    int dpiY = std::max(1, ::GetDeviceCaps(printer, LOGPIXELSY));
    RECT frame{0, 0, MulDiv(horz, 2540, dpiX), MulDiv(vert, 2540, dpiY)};
    HDC meta = ::CreateEnhMetaFileA(printer, nullptr, &frame, nullptr);
    if (!meta) return false;
    CDC dc;
    dc.m_hDC = meta;
    dc.m_hAttribDC = printer;
    dc.m_bPrinting = true;
    info_->m_nCurPage = page;
    info_->m_bContinuePrinting = true;
    info_->m_rectDraw = CRect(0, 0, horz, vert);
    // The hooks may throw (a page they refuse); the metafile is closed either way.
    struct Closer {
      HDC& dc;
      HENHMETAFILE* out;
      ~Closer() {
        HENHMETAFILE m = ::CloseEnhMetaFile(dc);
        if (out)
          *out = m;
        else if (m)
          ::DeleteEnhMetaFile(m);
      }
    };
    bool ok = false;
    {
      Closer closer{meta, nullptr};
      view_->OnPrepareDC(&dc, info_.get());
      if (!info_->m_bContinuePrinting) return false;
      view_->OnPrint(&dc, info_.get());
      closer.out = &page_emf_;
      ok = true;
    }
    return ok;
  }

  bool HasPages() const { return MaxPage() == 0xFFFF || MaxPage() >= info_->GetMinPage(); }

  void ShowPage(UINT page) {
    UINT last = MaxPage();
    if (!HasPages()) {
      // Nothing to print: an empty sheet, and the hooks are not asked for a page.
      page_ = 0;
      if (page_emf_) ::DeleteEnhMetaFile(page_emf_);
      page_emf_ = nullptr;
    } else {
      if (last != 0xFFFF && page > last) page = last;
      if (page < 1) page = 1;
      page_ = page;
      bool drawn = false;
      try {
        drawn = RenderPage(page);
        if (!drawn && page > 1) {
          page_ = page - 1;
          RenderPage(page_);
        }
      } catch (const std::exception& e) {
        // A page the view refuses stays empty; the preview remains usable.
        ReportException(m_hWnd, &e);
      }
    }
    char text[64];
    if (last == 0xFFFF)
      std::snprintf(text, sizeof text, LoadText(FW_IDS_PREVIEW_PAGE).c_str(), page_);
    else
      std::snprintf(text, sizeof text, LoadText(FW_IDS_PREVIEW_PAGES).c_str(), page_, HasPages() ? last : 0);
    ::SetDlgItemTextA(m_hWnd, kPreviewPageText, text);
    ::EnableWindow(::GetDlgItem(m_hWnd, kPreviewPrev), page_ > 1);
    ::EnableWindow(::GetDlgItem(m_hWnd, kPreviewNext), HasPages() && (last == 0xFFFF || page_ < last));
    UpdateScrollBars();
    Invalidate();
  }

  // The page rectangle on screen: the whole physical page fitted into the
  // area below the buttons, twice that with zoom.
  CRect PageRect() const {
    CRect client = GetClientRect();
    client.top += kPreviewBarHeight;
    HDC printer = info_->m_pd.hDC;
    int pw = std::max(1, ::GetDeviceCaps(printer, PHYSICALWIDTH));
    int ph = std::max(1, ::GetDeviceCaps(printer, PHYSICALHEIGHT));
    int dpiX = std::max(1, ::GetDeviceCaps(printer, LOGPIXELSX));
    int dpiY = std::max(1, ::GetDeviceCaps(printer, LOGPIXELSY));
    double wIn = double(pw) / dpiX, hIn = double(ph) / dpiY;
    double availW = std::max(50L, client.Width() - 40), availH = std::max(50L, client.Height() - 40);
    double scale = std::min(availW / wIn, availH / hIn) * (zoom_ ? 2.0 : 1.0);
    LONG w = static_cast<LONG>(wIn * scale), h = static_cast<LONG>(hIn * scale);
    LONG x = zoom_ ? 20 - scrollX_ : client.left + (client.Width() - w) / 2;
    LONG y = zoom_ ? client.top + 20 - scrollY_ : client.top + (client.Height() - h) / 2;
    return CRect(x, y, x + w, y + h);
  }

  void UpdateScrollBars() {
    CRect client = GetClientRect();
    CRect page = PageRect();
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    if (zoom_) {
      si.nMax = page.Width() + 40;
      si.nPage = static_cast<UINT>(client.Width());
      si.nPos = scrollX_;
    }
    ::SetScrollInfo(m_hWnd, SB_HORZ, &si, TRUE);
    if (zoom_) {
      si.nMax = page.Height() + 40;
      si.nPage = static_cast<UINT>(std::max(1L, client.Height() - kPreviewBarHeight));
      si.nPos = scrollY_;
    } else {
      si.nMax = si.nPos = 0;
      si.nPage = 0;
    }
    ::SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
  }

  void OnPaint() {
    CPaintDC dc(this);
    CRect page = PageRect();
    HDC printer = info_->m_pd.hDC;
    int pw = std::max(1, ::GetDeviceCaps(printer, PHYSICALWIDTH));
    int ph = std::max(1, ::GetDeviceCaps(printer, PHYSICALHEIGHT));
    CRect shadow = page;
    shadow.OffsetRect(4, 4);
    ::FillRect(dc, &shadow, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
    ::FillRect(dc, &page, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::FrameRect(dc, &page, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    if (!page_emf_) return;
    // The printable area sits at the physical offsets inside the sheet.
    int ox = ::GetDeviceCaps(printer, PHYSICALOFFSETX), oy = ::GetDeviceCaps(printer, PHYSICALOFFSETY);
    int horz = ::GetDeviceCaps(printer, HORZRES), vert = ::GetDeviceCaps(printer, VERTRES);
    CRect target(page.left + MulDiv(ox, page.Width(), pw), page.top + MulDiv(oy, page.Height(), ph),
                 page.left + MulDiv(ox + horz, page.Width(), pw), page.top + MulDiv(oy + vert, page.Height(), ph));
    int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, target.left, target.top, target.right, target.bottom);
    ::PlayEnhMetaFile(dc, page_emf_, &target);
    ::RestoreDC(dc, saved);
  }

  void Scroll(int bar, WPARAM wParam) {
    int& pos = bar == SB_HORZ ? scrollX_ : scrollY_;
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    ::GetScrollInfo(m_hWnd, bar, &si);
    int page = static_cast<int>(si.nPage);
    switch (LOWORD(wParam)) {
      case SB_LINEUP: pos -= 40; break;
      case SB_LINEDOWN: pos += 40; break;
      case SB_PAGEUP: pos -= page; break;
      case SB_PAGEDOWN: pos += page; break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: pos = si.nTrackPos; break;
      default: return;
    }
    pos = std::max(0, std::min(pos, si.nMax - page + 1));
    UpdateScrollBars();
    Invalidate();
  }
  void OnVScroll(WPARAM w, LPARAM) { Scroll(SB_VERT, w); }
  void OnHScroll(WPARAM w, LPARAM) { Scroll(SB_HORZ, w); }
  void OnSize(WPARAM, LPARAM) {
    UpdateScrollBars();
    Invalidate();
  }
  void OnKeyDown(WPARAM key, LPARAM) {
    if (key == VK_NEXT)
      OnNext();
    else if (key == VK_PRIOR)
      OnPrev();
    else if (key == VK_ESCAPE)
      OnClosePreview();
  }

  void OnNext() {
    if (HasPages()) ShowPage(page_ + 1);
  }
  void OnPrev() {
    if (page_ > 1) ShowPage(page_ - 1);
  }
  void OnZoom() {
    zoom_ = !zoom_;
    scrollX_ = scrollY_ = 0;
    ::SetDlgItemTextA(m_hWnd, kPreviewZoom, LoadText(zoom_ ? FW_IDS_PREVIEW_ZOOM_OUT : FW_IDS_PREVIEW_ZOOM_IN).c_str());
    UpdateScrollBars();
    Invalidate();
  }
  void OnClosePreview() { ::DestroyWindow(m_hWnd); }
  void OnPrintFromPreview() {
    HWND frame = frame_ ? frame_->m_hWnd : nullptr;
    ::DestroyWindow(m_hWnd);
    if (frame) ::PostMessageA(frame, WM_COMMAND, MAKEWPARAM(ID_FILE_PRINT, 0), 0);
  }
  void OnClose() { ::DestroyWindow(m_hWnd); }

  void OnDestroy() {
    if (frame_ && frame_->m_hWnd) {
      ::EnableWindow(frame_->m_hWnd, TRUE);
      ::SetActiveWindow(frame_->m_hWnd);
    }
    try {
      view_->OnEndPrinting(&printer_, info_.get());
    } catch (const std::exception& e) {
      ReportException(nullptr, &e);
    }
  }

  void PostNcDestroy() override {
    if (page_emf_) ::DeleteEnhMetaFile(page_emf_);
    delete this;  // a preview lives exactly as long as its window
  }

  CView* view_;
  std::unique_ptr<CPrintInfo> info_;
  CFrameWnd* frame_ = nullptr;
  CDC printer_;
  HENHMETAFILE page_emf_ = nullptr;
  UINT page_ = 1;
  bool zoom_ = false;
  int scrollX_ = 0, scrollY_ = 0;
};

// clang-format off
FW_BEGIN_MESSAGE_MAP(CPreviewWnd, CWnd)
  OnMessage(WM_CREATE, &CPreviewWnd::OnCreate),
  OnMessage(WM_PAINT, &CPreviewWnd::OnPaint),
  OnMessage(WM_SIZE, &CPreviewWnd::OnSize),
  OnMessage(WM_VSCROLL, &CPreviewWnd::OnVScroll),
  OnMessage(WM_HSCROLL, &CPreviewWnd::OnHScroll),
  OnMessage(WM_KEYDOWN, &CPreviewWnd::OnKeyDown),
  OnMessage(WM_CLOSE, &CPreviewWnd::OnClose),
  OnMessage(WM_DESTROY, &CPreviewWnd::OnDestroy),
  fw::OnCommand(kPreviewPrint, &CPreviewWnd::OnPrintFromPreview),
  fw::OnCommand(kPreviewNext, &CPreviewWnd::OnNext),
  fw::OnCommand(kPreviewPrev, &CPreviewWnd::OnPrev),
  fw::OnCommand(kPreviewZoom, &CPreviewWnd::OnZoom),
  fw::OnCommand(kPreviewClose, &CPreviewWnd::OnClosePreview),
FW_END_MESSAGE_MAP()
// clang-format on

}  // namespace

CPrintInfo::CPrintInfo() {
  m_pd.lStructSize = sizeof m_pd;
  m_pd.nMinPage = 1;
  m_pd.nMaxPage = 0xFFFF;
  m_pd.nFromPage = 1;
  m_pd.nToPage = 0xFFFF;
}

// The print dialog's DC (or the printer DC put in its place) is ours.
CPrintInfo::~CPrintInfo() { win::CreatedDC owned(m_pd.hDC); }

UINT CPrintInfo::GetFromPage() const { return (m_pd.Flags & PD_PAGENUMS) ? m_pd.nFromPage : GetMinPage(); }
UINT CPrintInfo::GetToPage() const { return (m_pd.Flags & PD_PAGENUMS) ? m_pd.nToPage : GetMaxPage(); }

bool CView::DoPreparePrinting(CPrintInfo* info) {
  CWinApp* app = AfxGetApp();
  if (!app) return false;
  if (info->m_bPreview || info->m_bDirect) {
    OwnedDC dc;
    if (!app->CreatePrinterDC(dc)) {
      // Without a printer the command would otherwise end without a word.
      AfxMessageBox(LoadText(FW_IDS_NO_PRINTER), MB_OK | MB_ICONEXCLAMATION);
      return false;
    }
    win::CreatedDC replaced(std::exchange(info->m_pd.hDC, dc.Detach()));
  } else {
    PRINTDLGA& pd = info->m_pd;
    pd.hwndOwner = app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : m_hWnd;
    app->GetPrinterDeviceDefaults(&pd);
    pd.Flags |= PD_RETURNDC | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    if (pd.nMinPage > pd.nMaxPage || pd.nMaxPage == 0xFFFF) pd.Flags |= PD_NOPAGENUMS;
    if (pd.nToPage > pd.nMaxPage) pd.nToPage = pd.nMaxPage;
    if (!::PrintDlgA(&pd)) return false;
    app->AdoptPrinterSettings(pd);
  }
  if (!info->m_pd.hDC) return false;
  info->m_rectDraw = CRect(0, 0, ::GetDeviceCaps(info->m_pd.hDC, HORZRES), ::GetDeviceCaps(info->m_pd.hDC, VERTRES));
  return true;
}

void CView::OnFilePrint() { PrintJob(false); }
void CView::OnFilePrintDirect() { PrintJob(true); }

void CView::PrintJob(bool direct) {
  CPrintInfo info;
  info.m_bDirect = direct;
  if (!OnPreparePrinting(&info) || !info.m_pd.hDC) return;
  CDC dc;
  dc.m_hDC = dc.m_hAttribDC = info.m_pd.hDC;
  dc.m_bPrinting = true;
  OnBeginPrinting(&dc, &info);
  // The page range is read after the hooks had their say on the page count.
  UINT from = info.GetFromPage(), to = info.GetToPage();
  if (to == 0xFFFF && info.GetMaxPage() != 0xFFFF) to = info.GetMaxPage();
  bool started = false;
  try {
    if (from <= to) {
      std::string name = DocumentName(this);
      DOCINFOA doc{sizeof doc, name.c_str(), nullptr, nullptr, 0};
      started = ::StartDocA(dc, &doc) > 0;
      for (UINT page = from; started && page <= to; ++page) {
        info.m_nCurPage = page;
        info.m_bContinuePrinting = true;
        OnPrepareDC(&dc, &info);
        if (!info.m_bContinuePrinting) break;
        if (::StartPage(dc) <= 0) break;
        info.m_rectDraw = CRect(0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
        OnPrint(&dc, &info);
        if (::EndPage(dc) <= 0) break;
      }
      if (started) ::EndDoc(dc);
    }
  } catch (...) {
    if (started) ::AbortDoc(dc);
    OnEndPrinting(&dc, &info);
    throw;
  }
  OnEndPrinting(&dc, &info);
}

void CView::OnFilePrintPreview() {
  auto info = std::make_unique<CPrintInfo>();
  info->m_bPreview = true;
  if (!OnPreparePrinting(info.get()) || !info->m_pd.hDC) return;
  auto* preview = new CPreviewWnd(this, std::move(info));
  if (!preview->Open(GetParentFrame())) delete preview;
}

}  // namespace fw

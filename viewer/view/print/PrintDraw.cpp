#include "PrintDraw.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "PrintSampleImage.h"
#include "fonts/FontList.h"
#include "fonts/Win32FontSystem.h"
#include "framework/Gdi.h"

namespace {

constexpr UINT kCentredLine = DT_CENTER | DT_VCENTER | DT_NOPREFIX;     // 0x805
constexpr UINT kWrappedName = DT_WORDBREAK | DT_VCENTER | DT_NOPREFIX;  // 0x814

// Font for names, title and page number: the system menu face at 10 points.
fw::Font MakeLabelFont(HDC attrib) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  LOGFONTA lf{};
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    std::memcpy(lf.lfFaceName, metrics.lfMenuFont.lfFaceName, sizeof lf.lfFaceName);
  }
  lf.lfHeight = PointFontHeight(attrib, 100);
  lf.lfCharSet = DEFAULT_CHARSET;
  return fw::Font(CreateFontIndirectA(&lf));
}

fw::Font MakeSampleFont(HDC attrib, const PrintSource& source, int row) {
  LOGFONTA lf{};
  FillLogFontA(*source.fonts, row, lf);
  lf.lfHeight = PointFontHeight(attrib, source.sizeTenths);
  return fw::Font(CreateFontIndirectA(&lf));
}

SIZE Extent(HDC dc, const std::string& s) {
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc, s.data(), static_cast<int>(s.size()), &size);
  return size;
}

// Height of s in font on the attribute DC; 0 when the font is missing.
int MeasureHeight(HDC attrib, HFONT font, const std::string& s) {
  if (!font) return 0;
  fw::SelectScope selected(attrib, font);
  return Extent(attrib, s).cy;
}

RECT ToRect(const PrintRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

int PointFontHeight(HDC dc, int sizeTenths) {
  POINT pts[2] = {{0, MulDiv(GetDeviceCaps(dc, LOGPIXELSY), sizeTenths, 720)}, {0, 0}};
  DPtoLP(dc, pts, 2);
  return -std::abs(pts[0].y - pts[1].y);
}

int PaginateOnPrinter(HDC printer, const PrintSource& source, PrintPlan& job) {
  const int count = source.fonts->GetCount();
  fw::Font label = MakeLabelFont(printer);
  std::vector<int> heights(static_cast<std::size_t>(count));
  PrintMetrics m;
  {
    fw::SelectScope selected(printer, label.Get());
    // Only the height of the page number line matters; the count of the
    // last job stands in for the one being computed.
    m.footerHeight = Extent(printer, FooterText(job.pageCount, job.pageCount)).cy;
    m.area = PrintAreaFor(GetDeviceCaps(printer, PHYSICALOFFSETX), GetDeviceCaps(printer, PHYSICALOFFSETY),
                          GetDeviceCaps(printer, HORZRES), GetDeviceCaps(printer, VERTRES), m.footerHeight);
    int widest = 0;
    int tallest = 0;
    for (int i = 0; i < count; ++i) {
      const SIZE name = Extent(printer, source.fonts->GetName(i));
      widest = std::max(widest, static_cast<int>(name.cx));
      tallest = std::max(tallest, static_cast<int>(name.cy));
    }
    m.labelWidthMax = count > 0 ? widest + 40 : 0;
    m.labelHeightMax = tallest;
  }
  for (int i = 0; i < count; ++i) {
    const std::string s = source.fonts->ConvertSample(i, source.sampleText);
    fw::Font font = MakeSampleFont(printer, source, i);
    heights[static_cast<std::size_t>(i)] = MeasureHeight(printer, font.Get(), s);
  }
  job.metrics = m;
  job.pagination = Paginate(m, heights);
  job.rowCount = count;
  job.pageCount = job.pagination.pages;
  job.dpi = GetDeviceCaps(printer, LOGPIXELSY);
  return job.pageCount;
}

void PrintPageOn(HDC output, HDC attrib, const PrintSource& source, const PrintPlan& job, int page) {
  const PageRows rows = RowsOfPage(job.pagination, job.rowCount, page);
  const PrintMetrics& m = job.metrics;
  const PageFrame frame = FrameOfPage(m);
  const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);

  fw::Font label = MakeLabelFont(attrib);
  fw::Pen pen(CreatePen(PS_SOLID, 1, ink));
  const int saved = SaveDC(output);
  SelectObject(output, label.Get());
  SelectObject(output, pen.Get());
  SetTextColor(output, ink);

  RECT title = ToRect(frame.title);
  DrawTextA(output, kPrintTitle, -1, &title, kCentredLine);
  MoveToEx(output, m.area.left, frame.titleRuleY, nullptr);
  LineTo(output, m.area.right, frame.titleRuleY);

  {
    // Rows stay above the page number; only a row taller than the page
    // reaches that far, and it is cut there.
    const int rowsSaved = SaveDC(output);
    IntersectClipRect(output, frame.rowsClip.left, frame.rowsClip.top, frame.rowsClip.right, frame.rowsClip.bottom);
    int y = frame.firstRowY;
    for (int i = rows.first; i < rows.end; ++i) {
      const std::string s = source.fonts->ConvertSample(i, source.sampleText);
      fw::Font font = MakeSampleFont(attrib, source, i);
      const PrintRowPlace place = PlaceRow(m, y, MeasureHeight(attrib, font.Get(), s));
      if (font && !(PrintsSampleAsImage(output, attrib, font.Get()) &&
                    PrintTextAsImage(output, font.Get(), place.sampleX, place.sampleY, s, ink))) {
        SelectObject(output, font.Get());
        TextOutA(output, place.sampleX, place.sampleY, s.data(), static_cast<int>(s.size()));
        SelectObject(output, label.Get());
      }
      const std::string name = source.fonts->GetName(i);
      RECT nameRect = ToRect(place.name);
      DrawTextA(output, name.data(), static_cast<int>(name.size()), &nameRect, kWrappedName);
      MoveToEx(output, m.area.left, place.ruleY, nullptr);
      LineTo(output, m.area.right, place.ruleY);
      y = place.nextY;
    }
    RestoreDC(output, rowsSaved);
  }

  const std::string footer = FooterText(page, job.pageCount);
  RECT footerRect = ToRect(frame.footer);
  DrawTextA(output, footer.data(), static_cast<int>(footer.size()), &footerRect, kCentredLine);
  // Font, pen and text colour go back before the font and pen are deleted.
  RestoreDC(output, saved);
}

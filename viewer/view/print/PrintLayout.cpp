#include "PrintLayout.h"

#include <algorithm>
#include <cstdio>

#include "framework/InvalidArgument.h"

PrintRect PrintAreaFor(int offsetX, int offsetY, int horzRes, int vertRes, int footerHeight) {
  return PrintRect{offsetX, offsetY, offsetX + horzRes, offsetY + vertRes - footerHeight - 10};
}

Pagination Paginate(const PrintMetrics& m, const std::vector<int>& sampleHeights) {
  Pagination result;
  const int usable = (m.area.bottom - m.area.top) - HeaderAllowance(m.footerHeight);
  const int count = static_cast<int>(sampleHeights.size());
  int y = 0;
  int i = 0;
  while (i < count) {
    const int h = std::max(sampleHeights[i], m.labelHeightMax);
    // y == 0 means the page is still empty: a row that does not fit there
    // never will, so it takes the page alone instead of opening page after page.
    if (usable < y + h + 10 && y > 0) {
      result.pageStarts.push_back(i);
      ++result.pages;
      y = 0;
      continue;
    }
    if (result.pages == 0) result.pages = 1;
    y += h + 15;
    ++i;
  }
  return result;
}

PageRows RowsOfPage(const Pagination& pagination, int rowCount, int page) {
  if (page < 1 || page > pagination.pages || page > static_cast<int>(pagination.pageStarts.size())) {
    throw fw::InvalidArgumentError("page outside the pagination");
  }
  PageRows rows;
  rows.first = pagination.pageStarts[page - 1];
  rows.end = page < pagination.pages ? pagination.pageStarts[page] : rowCount;
  return rows;
}

PrintRowPlace PlaceRow(const PrintMetrics& m, int y, int sampleHeight) {
  const int h = std::max(sampleHeight, m.labelHeightMax);
  PrintRowPlace p;
  p.sampleX = m.area.left + m.labelWidthMax + 15;
  p.sampleY = y + 5;
  // The name column ends at the label width itself, not at left + width.
  p.name = PrintRect{m.area.left + 5, y + 5, m.labelWidthMax, y + h + 5};
  p.ruleY = y + h + 10;
  p.nextY = p.ruleY + 5;
  return p;
}

PageFrame FrameOfPage(const PrintMetrics& m) {
  const PrintRect& a = m.area;
  const int fh = m.footerHeight;
  PageFrame f;
  f.title = PrintRect{a.left, a.top + 5, a.right, a.top + fh + 10};
  f.firstRowY = a.top + 2 * fh + 20;
  f.titleRuleY = f.firstRowY - 5;
  f.footer = PrintRect{a.left, a.bottom - static_cast<int>(2.5 * fh) - 5, a.right, a.bottom - fh + 5};
  f.rowsClip = PrintRect{a.left, f.firstRowY, a.right, f.footer.top};
  return f;
}

std::string FooterText(long page, long pages) {
  char buf[64];
  std::snprintf(buf, sizeof buf, kPageFooterFormat, page, pages);
  return buf;
}

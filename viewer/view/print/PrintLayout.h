#pragma once
// Page model of the printed font list: how rows are spread over pages and
// where the title, the rows and the page number go on a page. All values are
// device units of the printer. The Win32 side measures and draws; everything
// that decides a position is here. Portable: no windows.h.
#include <functional>
#include <string>
#include <vector>

#include "PrintTexts.h"

struct PrintRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const PrintRect&) const = default;
};

// Metrics of one print job, measured by the preparation.
struct PrintMetrics {
  PrintRect area;          // bottom already lifted by the footer (fh + 10)
  int footerHeight = 0;    // fh: height of the page number line
  int labelWidthMax = 0;   // widest face name + 40
  int labelHeightMax = 0;  // tallest face name
};

// Print area from the printer's offsets and printable size, with the footer
// room taken off the bottom.
PrintRect PrintAreaFor(int offsetX, int offsetY, int horzRes, int vertRes, int footerHeight);

// Room the title and the page number take from a page's height.
inline int HeaderAllowance(int footerHeight) { return 5 * footerHeight + 50; }

struct Pagination {
  std::vector<int> pageStarts{0};  // element p - 1: first row of page p
  int pages = 0;                   // 0 for an empty list
};

// Spreads rows over pages. sampleHeights[i] is the measured height of row
// i's sample. A row taller than a whole page is placed alone on its page
// (cut at the bottom when printed) so that pagination always ends.
Pagination Paginate(const PrintMetrics& m, const std::vector<int>& sampleHeights);

// Rows [first, end) of page p (from 1). Throws fw::InvalidArgumentError for a
// page outside 1..pages.
struct PageRows {
  int first = 0;
  int end = 0;
};
PageRows RowsOfPage(const Pagination& pagination, int rowCount, int page);

// One row placed on a page, starting at y.
struct PrintRowPlace {
  int sampleX = 0, sampleY = 0;  // TextOut position of the sample
  PrintRect name;                // DrawText rectangle of the face name
  int ruleY = 0;                 // separator line under the row
  int nextY = 0;                 // top of the next row
};
PrintRowPlace PlaceRow(const PrintMetrics& m, int y, int sampleHeight);

// Fixed parts of a page.
struct PageFrame {
  PrintRect title;     // centred title line
  int titleRuleY = 0;  // line under the title
  int firstRowY = 0;   // top of the first row
  PrintRect footer;    // centred page number
  PrintRect rowsClip;  // rows are drawn inside this; cuts a too-tall row
};
PageFrame FrameOfPage(const PrintMetrics& m);

// The page number line (kPageFooterFormat) of a page.
std::string FooterText(long page, long pages);

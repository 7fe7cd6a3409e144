#include "PrintLayout.h"

#include <gtest/gtest.h>

#include "framework/InvalidArgument.h"

namespace {

// A page whose usable height for rows is 1000: area height 1000 + allowance.
PrintMetrics Metrics(int labelHeight = 20) {
  PrintMetrics m;
  m.footerHeight = 30;
  m.area = PrintRect{100, 50, 4900, 50 + 1000 + HeaderAllowance(30)};
  m.labelWidthMax = 400;
  m.labelHeightMax = labelHeight;
  return m;
}

TEST(Paginate, EmptyListHasNoPages) {
  const Pagination p = Paginate(Metrics(), {});
  EXPECT_EQ(p.pages, 0);
  EXPECT_EQ(p.pageStarts, std::vector<int>{0});
}

TEST(Paginate, RowsThatFitMakeOnePage) {
  // 4 rows of 235 (h + 15): the last ends at 3 * 250 + 235 + 10 = 995 <= 1000.
  const Pagination p = Paginate(Metrics(), {235, 235, 235, 235});
  EXPECT_EQ(p.pages, 1);
  EXPECT_EQ(p.pageStarts, std::vector<int>{0});
}

TEST(Paginate, BreakFallsBeforeTheFirstRowThatDoesNotFit) {
  // Row 3 would need 750 + 241 + 10 = 1001.
  const Pagination p = Paginate(Metrics(), {235, 235, 235, 241, 100, 100});
  EXPECT_EQ(p.pages, 2);
  EXPECT_EQ(p.pageStarts, (std::vector<int>{0, 3}));
  // The label height is the minimum of every row.
  const Pagination labels = Paginate(Metrics(480), {1, 1, 1});
  EXPECT_EQ(labels.pageStarts, (std::vector<int>{0, 2}));
}

TEST(Paginate, RowTallerThanAPageStandsAloneAndPaginationEnds) {
  const Pagination first = Paginate(Metrics(), {5000, 10});
  EXPECT_EQ(first.pages, 2);
  EXPECT_EQ(first.pageStarts, (std::vector<int>{0, 1}));
  const Pagination middle = Paginate(Metrics(), {10, 5000, 5000, 10, 10});
  EXPECT_EQ(middle.pages, 4);
  EXPECT_EQ(middle.pageStarts, (std::vector<int>{0, 1, 2, 3}));
  // A page too small for anything: one row per page, still terminating.
  PrintMetrics tiny = Metrics();
  tiny.area.bottom = tiny.area.top + 10;
  EXPECT_EQ(Paginate(tiny, {1, 1, 1}).pages, 3);
}

TEST(Paginate, EveryPageHoldsWhatFits) {
  // Pages from Paginate, re-checked by walking their rows with PlaceRow.
  const std::vector<int> heights = {300, 120, 480, 90, 700, 60, 60, 250, 333, 999, 10};
  const PrintMetrics m = Metrics();
  const Pagination p = Paginate(m, heights);
  const int usable = 1000;
  for (int page = 1; page <= p.pages; ++page) {
    const PageRows rows = RowsOfPage(p, static_cast<int>(heights.size()), page);
    ASSERT_LT(rows.first, rows.end);
    int y = 0;
    for (int i = rows.first; i < rows.end; ++i) {
      const PrintRowPlace place = PlaceRow(m, y, heights[i]);
      // Only a row that is alone on its page may overrun it.
      if (i > rows.first) {
        EXPECT_LE(place.ruleY, usable) << "page " << page << " row " << i;
      }
      y = place.nextY;
    }
    if (rows.end < static_cast<int>(heights.size())) {
      EXPECT_GT(PlaceRow(m, y, heights[rows.end]).ruleY, usable) << "page " << page << " could hold one more";
    }
  }
}

TEST(RowsOfPage, RangesAndRefusedPages) {
  const Pagination p = Paginate(Metrics(), {235, 235, 235, 241, 100});
  EXPECT_EQ(RowsOfPage(p, 5, 1).first, 0);
  EXPECT_EQ(RowsOfPage(p, 5, 1).end, 3);
  EXPECT_EQ(RowsOfPage(p, 5, 2).first, 3);
  EXPECT_EQ(RowsOfPage(p, 5, 2).end, 5);
  EXPECT_THROW(RowsOfPage(p, 5, 0), fw::InvalidArgumentError);
  EXPECT_THROW(RowsOfPage(p, 5, 3), fw::InvalidArgumentError);
  EXPECT_THROW(RowsOfPage(Paginate(Metrics(), {}), 0, 1), fw::InvalidArgumentError);
}

TEST(PageGeometry, AreaFrameAndRows) {
  EXPECT_EQ(PrintAreaFor(60, 70, 4800, 6800, 40), (PrintRect{60, 70, 4860, 6820}));
  PrintMetrics m;
  m.area = PrintRect{60, 70, 4860, 6820};
  m.footerHeight = 40;
  m.labelWidthMax = 500;
  m.labelHeightMax = 45;
  const PageFrame f = FrameOfPage(m);
  EXPECT_EQ(f.title, (PrintRect{60, 75, 4860, 120}));
  EXPECT_EQ(f.titleRuleY, 165);
  EXPECT_EQ(f.firstRowY, 170);
  EXPECT_EQ(f.footer, (PrintRect{60, 6715, 4860, 6785}));
  const PrintRowPlace r = PlaceRow(m, f.firstRowY, 30);  // label height wins
  EXPECT_EQ(r.sampleX, 575);
  EXPECT_EQ(r.sampleY, 175);
  EXPECT_EQ(r.name, (PrintRect{65, 175, 500, 220}));
  EXPECT_EQ(r.ruleY, 225);
  EXPECT_EQ(r.nextY, 230);
  EXPECT_EQ(PlaceRow(m, 0, 100).ruleY, 110);
  // Rows that pagination let onto a page end above the page number.
  EXPECT_LT(f.firstRowY + (m.area.bottom - m.area.top) - HeaderAllowance(40), f.footer.top);
}

TEST(PageGeometry, FooterText) {
  EXPECT_EQ(FooterText(1, 1), "Page 1／1");
  EXPECT_EQ(FooterText(12, 345), "Page 12／345");
}

}  // namespace

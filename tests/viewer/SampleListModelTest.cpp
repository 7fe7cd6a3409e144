#include "view/SampleListModel.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace viewer {
namespace {

// Lays out rows of the given sample heights into a window of the given
// bottom, as the view's paint does.
int Layout(SampleListModel& m, const std::vector<int>& heights, int bottom) {
  m.BeginLayout(bottom);
  for (int i = m.NextRow(); i >= 0; i = m.NextRow()) m.PlaceRow(heights[i]);
  return m.FinishLayout();
}

// 100 rows of pitch 50 (h 45) in a window that fits exactly 7 of them.
SampleListModel HundredRows(int top = 0) {
  SampleListModel m;
  m.labelHeightMax = 10;
  m.rowCount = 100;
  m.topRow = top;
  Layout(m, std::vector<int>(100, 45), 7 * 50 + 20);
  return m;
}

TEST(SampleListLayout, RowsStackWithHeightsTopsAndPartlyVisibleRow) {
  SampleListModel m;
  m.labelHeightMax = 15;  // minimum height trunc(2.2 * 15) = 33
  m.rowCount = 5;
  m.BeginLayout(100);
  RowBox a = m.PlaceRow(10);  // below the minimum
  RowBox b = m.PlaceRow(40);
  RowBox c = m.PlaceRow(1);  // a sample font that could not be made
  EXPECT_EQ(a.y, 0);
  EXPECT_EQ(a.height, 33);
  EXPECT_EQ(a.bottom, 37);
  EXPECT_TRUE(a.complete);
  EXPECT_EQ(b.y, 38);
  EXPECT_EQ(b.height, 40);
  EXPECT_EQ(b.bottom, 82);
  EXPECT_EQ(c.y, 83);
  EXPECT_EQ(c.bottom, 120);
  EXPECT_FALSE(c.complete);
  EXPECT_EQ(m.NextRow(), -1) << "the cut-off row ends the pass";
  EXPECT_EQ(m.FinishLayout(), -1);
  EXPECT_EQ(m.visibleRows, 2);
  EXPECT_EQ(m.rowTops, (std::vector<int>{0, 38, 83}));
  EXPECT_EQ(m.rowHeights, (std::vector<int>{33, 40, 33}));
  EXPECT_EQ(m.rowsBottom, 120);
  EXPECT_EQ(m.FillFrom(), 120);
}

TEST(SampleListLayout, RowEndingExactlyAtTheBottomCounts) {
  SampleListModel m;
  m.rowCount = 2;
  Layout(m, {46, 46}, 50);  // bottom line at 50
  EXPECT_EQ(m.visibleRows, 1);
  EXPECT_EQ(m.LayoutCount(), 2);
}

TEST(SampleListLayout, ShortListLeavesRestToFillAndNoPartlyRow) {
  SampleListModel m;
  m.rowCount = 2;
  m.labelHeightMax = 10;
  Layout(m, {30, 30}, 500);
  EXPECT_EQ(m.visibleRows, 2);
  EXPECT_EQ(m.LayoutCount(), 2);
  EXPECT_EQ(m.FillFrom(), 70);
}

TEST(SampleListLayout, SelectionIsPulledIntoTheRowsShown) {
  SampleListModel m = HundredRows(10);
  m.selectedRow = 3;  // above the top row
  Layout(m, std::vector<int>(100, 45), 370);
  EXPECT_EQ(m.selectedRow, 10);

  m.selectedRow = 40;  // below the rows shown: framed again at the last one
  EXPECT_EQ(Layout(m, std::vector<int>(100, 45), 370), 16);
  EXPECT_EQ(m.selectedRow, 16);
}

TEST(SampleListLayout, EmptyListAndTooLowWindowStaySafe) {
  SampleListModel m;
  m.rowCount = 0;
  m.selectedRow = 0;
  EXPECT_EQ(Layout(m, {}, 300), -1);
  EXPECT_EQ(m.selectedRow, 0);
  EXPECT_EQ(m.visibleRows, 1);
  EXPECT_EQ(m.FillFrom(), 0);

  m.rowCount = 3;
  m.topRow = 2;
  m.selectedRow = 2;
  EXPECT_EQ(Layout(m, {500, 500, 500}, 300), -1);
  EXPECT_EQ(m.selectedRow, 2) << "selection must stay a valid row";
  EXPECT_EQ(m.visibleRows, 1);
  EXPECT_EQ(m.LayoutCount(), 1);
}

TEST(SampleListLayout, FramesOutlineTheirCells) {
  SampleListModel m;
  m.rowCount = 3;
  m.width1 = 100;
  Layout(m, {40, 40, 40}, 500);
  EXPECT_EQ(m.SelectionFrame(1, 600),
            (std::vector<Rect>{{101, 45, 2, 44}, {598, 45, 2, 44}, {101, 45, 500, 2}, {101, 87, 500, 2}}));
  EXPECT_EQ(m.TemporaryFrame(0), (std::vector<Rect>{{0, 0, 2, 44}, {98, 0, 2, 44}, {0, 0, 100, 2}, {0, 42, 100, 2}}));
  EXPECT_TRUE(m.SelectionFrame(3, 600).empty()) << "outside the list";
  EXPECT_TRUE(m.SelectionFrame(-1, 600).empty());
  m.labelHeightMax = 15;
  EXPECT_EQ(m.MarksTop(100), 120);
  // Extra label lines stack under the marks and make room for themselves.
  EXPECT_EQ(m.ExtraLineTop(100, 0), 135);
  EXPECT_EQ(m.ExtraLineTop(100, 1), 150);
  m.labelExtraLines = 2;
  EXPECT_EQ(m.RowHeightFor(10), 33 + 30 + 2);
  EXPECT_EQ(m.RowHeightFor(90), 90);
}

TEST(SampleListScroll, EveryScrollCode) {
  SampleListModel m = HundredRows(50);
  ASSERT_EQ(m.visibleRows, 7);
  EXPECT_EQ(m.Scroll(kLineUp).kind, Reaction::kRepaint);
  EXPECT_EQ(m.topRow, 49);
  m.Scroll(kLineDown);
  EXPECT_EQ(m.topRow, 50);
  m.Scroll(kPageUp);
  EXPECT_EQ(m.topRow, 43);
  m.Scroll(kPageDown);
  EXPECT_EQ(m.topRow, 50);
  m.Scroll(kThumbTrack, 77);
  EXPECT_EQ(m.topRow, 77);
  m.Scroll(kThumbPosition, 5000);
  EXPECT_EQ(m.topRow, 99) << "a thumb position past the list is kept inside it";
  m.Scroll(kTop);
  EXPECT_EQ(m.topRow, 0);
  EXPECT_EQ(m.selectedRow, 0);
  m.Scroll(kBottom);
  EXPECT_EQ(m.topRow, 99);
  EXPECT_EQ(m.selectedRow, 99);
  EXPECT_EQ(m.Scroll(8).kind, Reaction::kNothing);
}

TEST(SampleListScroll, LimitsAtBothEnds) {
  SampleListModel m = HundredRows(0);
  EXPECT_EQ(m.Scroll(kLineUp).kind, Reaction::kNothing);
  m.Scroll(kPageUp);
  EXPECT_EQ(m.topRow, 0);
  m.topRow = 3;
  m.Scroll(kPageUp);
  EXPECT_EQ(m.topRow, 0);

  m.topRow = 93;  // 93 > 100 - 7 - 1: Page Down does nothing
  EXPECT_EQ(m.Scroll(kPageDown).kind, Reaction::kNothing);
  EXPECT_EQ(m.Scroll(kLineDown).kind, Reaction::kNothing);
  m.topRow = 92;
  m.Scroll(kPageDown);
  EXPECT_EQ(m.topRow, 99);
}

TEST(SampleListScroll, TopAndBottomWithoutMoveOnlyMoveTheFrame) {
  struct Case {
    int top, selected, code;
    Reaction::Kind kind;
    int from, to;
  };
  // 100 rows of which 7 fit: row 99 alone at the top is the last page.
  for (const Case& c : {Case{0, 4, kTop, Reaction::kMoveFrame, 4, 0}, Case{0, 0, kTop, Reaction::kNothing, 0, 0},
                        Case{99, 99, kBottom, Reaction::kNothing, 0, 0}}) {
    SampleListModel m = HundredRows(c.top);
    m.selectedRow = c.selected;
    m.wheelRemainder = 50;
    Reaction r = m.Scroll(c.code);
    EXPECT_EQ(r.kind, c.kind) << c.top << " " << c.selected;
    EXPECT_EQ(std::pair(r.from, r.to), std::pair(c.from, c.to));
    EXPECT_EQ(m.topRow, c.top);
    EXPECT_EQ(m.wheelRemainder, 50) << "no scroll, the remainder stays";
  }
  SampleListModel m = HundredRows(0);
  m.wheelRemainder = 50;
  m.Scroll(kLineDown);
  EXPECT_EQ(m.wheelRemainder, 0) << "a real move clears the wheel remainder";
}

TEST(SampleListScroll, EmptyListIgnoresScrolling) {
  SampleListModel m;
  EXPECT_EQ(m.Scroll(kBottom).kind, Reaction::kNothing);
  EXPECT_EQ(m.selectedRow, 0);
  EXPECT_EQ(m.Wheel(-360).kind, Reaction::kNothing);
  EXPECT_EQ(m.topRow, 0);
}

TEST(SampleListWheel, HalfNotchesAddUp) {
  SampleListModel m = HundredRows(10);
  EXPECT_EQ(m.Wheel(60).kind, Reaction::kNothing);
  EXPECT_EQ(m.Wheel(60).kind, Reaction::kRepaint);
  EXPECT_EQ(m.topRow, 9);
  EXPECT_EQ(m.wheelRemainder, 0);
  m.Wheel(-150);
  EXPECT_EQ(m.topRow, 10);
  EXPECT_EQ(m.wheelRemainder, -30);
  m.Wheel(400);
  EXPECT_EQ(m.topRow, 7);
  EXPECT_EQ(m.wheelRemainder, 10);
  m.Wheel(1200);
  EXPECT_EQ(m.topRow, 0);
}

TEST(SampleListWheel, FastDownSpinMayPassTheLastPageButNotTheList) {
  SampleListModel m = HundredRows(100 - 7 - 1);
  m.Wheel(-360);
  EXPECT_EQ(m.topRow, 100 - 7 + 2);
  EXPECT_EQ(m.Wheel(-360).kind, Reaction::kNothing);
  EXPECT_EQ(m.topRow, 95);
  m.topRow = 90;
  m.Wheel(-120 * 30);
  EXPECT_EQ(m.topRow, 99);
}

std::string NameOf(int i) {
  static const std::vector<std::string> names = {"Arial",  "Century", "MS Gothic", "mincho", "%Percent",
                                                 "'Quote", ".Dot",    "ＭＳ 明朝", "Zed"};
  return names[i];
}

SampleListModel NineNames() {
  SampleListModel m;
  m.rowCount = 9;
  Layout(m, std::vector<int>(9, 45), 120);  // two rows fit
  return m;
}

TEST(SampleListKeys, LetterJumpsToTheFirstInitialEveryTime) {
  SampleListModel m = NineNames();
  EXPECT_EQ(m.KeyDown('M', false, NameOf).kind, Reaction::kRelayout);
  EXPECT_EQ(m.topRow, 2);
  EXPECT_EQ(m.selectedRow, 2);
  m.selectedRow = 3;
  m.KeyDown('M', false, NameOf);
  EXPECT_EQ(m.selectedRow, 2) << "always the first name with that initial";
  EXPECT_EQ(m.KeyDown('Q', false, NameOf).kind, Reaction::kNothing);
  EXPECT_EQ(m.selectedRow, 2);
}

TEST(SampleListKeys, NavigationKeyCodesAlsoJump) {
  SampleListModel m = NineNames();
  m.KeyDown(0x25, false, NameOf);  // left arrow: '%'
  EXPECT_EQ(m.selectedRow, 4);
  m.KeyDown(0x27, false, NameOf);  // right arrow: apostrophe
  EXPECT_EQ(m.selectedRow, 5);
  m.KeyDown(0x2E, false, NameOf);  // delete: full stop
  EXPECT_EQ(m.selectedRow, 6);
  m.KeyDown(0x7A, false, NameOf);  // F11: 'z' → "Zed"
  EXPECT_EQ(m.selectedRow, 8);
  EXPECT_EQ(m.KeyDown(0x10, false, NameOf).kind, Reaction::kDefault);  // shift
  EXPECT_EQ(m.KeyDown(0x90, false, NameOf).kind, Reaction::kDefault);
}

TEST(SampleListKeys, HomeAndEndNeedControl) {
  SampleListModel m = HundredRows(20);
  EXPECT_EQ(m.KeyDown(kKeyEnd, false, NameOf).kind, Reaction::kNothing);
  EXPECT_EQ(m.KeyDown(kKeyHome, false, NameOf).kind, Reaction::kNothing);
  EXPECT_EQ(m.topRow, 20);
  m.KeyDown(kKeyEnd, true, NameOf);
  EXPECT_EQ(m.topRow, 99);
  EXPECT_EQ(m.selectedRow, 99);
  m.KeyDown(kKeyHome, true, NameOf);
  EXPECT_EQ(m.topRow, 0);
  EXPECT_EQ(m.selectedRow, 0);
  m.KeyDown(kKeyNext, false, NameOf);
  EXPECT_EQ(m.topRow, 7);
  m.KeyDown(kKeyPrior, false, NameOf);
  EXPECT_EQ(m.topRow, 0);
}

TEST(SampleListKeys, ArrowsMoveTheFrameThenScroll) {
  SampleListModel m = HundredRows(0);
  Reaction r = m.KeyDown(kKeyDown, false, NameOf);
  EXPECT_EQ(r.kind, Reaction::kMoveFrame);
  EXPECT_EQ(r.from, 0);
  EXPECT_EQ(r.to, 1);
  m.selectedRow = 6;  // last complete row
  EXPECT_EQ(m.KeyDown(kKeyDown, false, NameOf).kind, Reaction::kRelayout);
  EXPECT_EQ(m.topRow, 1);
  EXPECT_EQ(m.selectedRow, 7);
  m.selectedRow = 1;
  EXPECT_EQ(m.KeyDown(kKeyUp, false, NameOf).kind, Reaction::kRelayout);
  EXPECT_EQ(m.topRow, 0);
  EXPECT_EQ(m.selectedRow, 0);
  EXPECT_EQ(m.KeyDown(kKeyUp, false, NameOf).kind, Reaction::kNothing);

  m.topRow = 93;
  m.selectedRow = 99;
  Layout(m, std::vector<int>(100, 45), 370);
  EXPECT_EQ(m.KeyDown(kKeyDown, false, NameOf).kind, Reaction::kNothing) << "end of the list";
}

TEST(SampleListMouse, HitTestAndClicks) {
  SampleListModel m = HundredRows(0);
  EXPECT_EQ(m.HitTest(0), 0);
  EXPECT_EQ(m.HitTest(49), 0);
  EXPECT_EQ(m.HitTest(50), 1);
  EXPECT_EQ(m.HitTest(399), 7);  // the partly visible row
  EXPECT_EQ(m.HitTest(400), -1);

  Reaction r = m.Click(120);
  EXPECT_EQ(r.kind, Reaction::kMoveFrame);
  EXPECT_EQ(r.to, 2);
  EXPECT_EQ(m.Click(120).kind, Reaction::kDefault) << "same row: only the default processing";

  r = m.Click(360);  // partly visible row: scrolls by one
  EXPECT_EQ(r.kind, Reaction::kRelayout);
  EXPECT_EQ(m.topRow, 1);
  Layout(m, std::vector<int>(100, 45), 370);
  EXPECT_EQ(m.selectedRow, 7) << "pulled back to the last complete row";

  m.dragging = true;
  EXPECT_EQ(m.Click(10).kind, Reaction::kNothing);
}

TEST(SampleListMouse, ClickOnTheLastPartlyRowOfTheListDoesNothing) {
  SampleListModel m = HundredRows(92);  // rows 92..98 complete, 99 cut
  ASSERT_EQ(m.LayoutCount(), 8);
  EXPECT_EQ(m.Click(360).kind, Reaction::kDefault);
  EXPECT_EQ(m.topRow, 92);
}

TEST(SampleListMouse, DividerZoneAndLimits) {
  SampleListModel m = HundredRows(0);
  m.width1 = 100;
  EXPECT_TRUE(m.InDividerZone(98, 10));
  EXPECT_TRUE(m.InDividerZone(103, 10));
  EXPECT_FALSE(m.InDividerZone(97, 10));
  EXPECT_FALSE(m.InDividerZone(104, 10));
  EXPECT_TRUE(m.InDividerZone(100, m.rowsBottom));
  EXPECT_FALSE(m.InDividerZone(100, m.rowsBottom + 1));
  m.SetDivider(900, 600);
  EXPECT_EQ(m.width1, 599);
  m.SetDivider(600, 600);
  EXPECT_EQ(m.width1, 599);
  m.SetDivider(-20, 600);
  EXPECT_EQ(m.width1, 0);
  m.SetDivider(0, 0);
  EXPECT_EQ(m.width1, 0);
}

TEST(SampleListSettings, StartUpClamps) {
  EXPECT_EQ(ClampFontSize(10), 60);
  EXPECT_EQ(ClampFontSize(5000), 760);
  EXPECT_EQ(ClampFontSize(105), 105);
  EXPECT_EQ(InitialDivider(-1, 600, 140), 140);
  EXPECT_EQ(InitialDivider(-1, 600, 0), 300);
  EXPECT_EQ(InitialDivider(900, 600, 140), 598);
  EXPECT_EQ(InitialDivider(0, 600, 140), 0);
}

TEST(SampleListSettings, SizeTextBothWays) {
  EXPECT_EQ(FormatSize(240), "24");
  EXPECT_EQ(FormatSize(105), "10.5");
  EXPECT_EQ(FormatSize(60), "6");
  EXPECT_EQ(ParseSize("10.5"), 105);
  EXPECT_EQ(ParseSize("100"), 1000);
  EXPECT_EQ(ParseSize("abc"), 0);
  EXPECT_EQ(ParseSize(""), 0);
  EXPECT_EQ(ParseSize("-12"), -119);
  EXPECT_EQ(ParseSize("1e30"), 100000);
  EXPECT_EQ(ParseSize("nan"), 0);
  EXPECT_EQ(ParseSize("inf"), 0);
}

TEST(SampleListSettings, MarksFiltersKindsAndSamples) {
  EXPECT_EQ(MarksText(false, false), "");
  EXPECT_EQ(MarksText(true, false), " ★　");
  EXPECT_EQ(MarksText(false, true), " 　　！");
  EXPECT_EQ(MarksText(true, true), " ★　！");

  EXPECT_EQ(FilterCodes(1, 1, 0, 1, 1), (std::vector<int>{0, 128, -2, -3}));
  EXPECT_EQ(FilterCodes(0, 0, 1, 1, 0), (std::vector<int>{-1, -2}));

  int tmp = 1, org = 0;
  ToggleKind(tmp, org);  // turning off the only kind shows the other
  EXPECT_EQ(tmp, 0);
  EXPECT_EQ(org, 1);
  ToggleKind(tmp, org);
  EXPECT_EQ(tmp, 1);
  EXPECT_EQ(org, 1);

  const std::string ja = "Aaあぁアァ亜宇", en = "Sample string";
  std::string text = ja;
  EXPECT_TRUE(AdjustBuiltInSample(text, false, ja, en));
  EXPECT_EQ(text, en);
  EXPECT_FALSE(AdjustBuiltInSample(text, false, ja, en));
  text = "typed";
  EXPECT_FALSE(AdjustBuiltInSample(text, true, ja, en));
  EXPECT_EQ(text, "typed");
}

}  // namespace
}  // namespace viewer

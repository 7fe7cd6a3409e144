#include "view/SampleListModel.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace viewer {

namespace {

// A size beyond ten thousand points is a typing accident; capping it keeps
// the point-font arithmetic inside 32 bits.
constexpr double kMaxSizeTenths = 100000.0;

}  // namespace

void SampleListModel::BeginLayout(int clientBottom) {
  rowTops.clear();
  rowHeights.clear();
  if (selectedRow < topRow) selectedRow = topRow;
  visibleRows = 0;
  rowsBottom = 0;
  clientBottom_ = clientBottom;
  nextY_ = 0;
  fillFrom_ = 0;
  stopped_ = false;
}

int SampleListModel::NextRow() const {
  if (stopped_) return -1;
  int i = topRow + LayoutCount();
  return i < rowCount ? i : -1;
}

int SampleListModel::RowHeightFor(int sampleHeight) const {
  // 2.2 label heights, truncated; in integers so that x87 and SSE builds agree.
  int minimum = 22 * labelHeightMax / 10;
  if (labelExtraLines > 0) minimum += labelExtraLines * labelHeightMax + 2;
  return std::max(sampleHeight, minimum);
}

RowBox SampleListModel::PlaceRow(int sampleHeight) {
  RowBox box{};
  box.index = topRow + LayoutCount();
  box.y = nextY_;
  box.height = RowHeightFor(sampleHeight);
  box.bottom = box.y + box.height + 4;
  rowTops.push_back(box.y);
  rowHeights.push_back(box.height);
  rowsBottom = box.bottom;
  if (box.bottom > clientBottom_) {
    // Drawn cut off at the window bottom; it ends the pass.
    box.complete = false;
    stopped_ = true;
    fillFrom_ = box.bottom;
    return box;
  }
  box.complete = true;
  ++visibleRows;
  nextY_ = box.bottom + 1;
  fillFrom_ = nextY_;
  return box;
}

int SampleListModel::FinishLayout() {
  int frameRow = -1;
  if (rowCount <= 0) {
    selectedRow = 0;
  } else if (visibleRows == 0) {
    // Not even the top row fits: it keeps the selection so that the index
    // stays valid, but a frame on a cut-off row would be misleading.
    selectedRow = topRow;
  } else if (selectedRow >= topRow + visibleRows) {
    selectedRow = topRow + visibleRows - 1;
    frameRow = selectedRow;
  }
  if (visibleRows < 1) visibleRows = 1;
  return frameRow;
}

bool SampleListModel::IsLaidOut(int i) const {
  return rowCount > 0 && i >= topRow && i - topRow < LayoutCount() && i < rowCount;
}

std::vector<Rect> SampleListModel::SelectionFrame(int i, int clientWidth) const {
  if (!IsLaidOut(i)) return {};
  int k = i - topRow;
  int y = rowTops[k], h = rowHeights[k], w = width1, r = clientWidth;
  return {{w + 1, y, 2, h + 4}, {r - 2, y, 2, h + 4}, {w + 1, y, r - w, 2}, {w + 1, y + h + 2, r - w, 2}};
}

std::vector<Rect> SampleListModel::TemporaryFrame(int i) const {
  if (!IsLaidOut(i)) return {};
  int k = i - topRow;
  int y = rowTops[k], h = rowHeights[k], w = width1;
  return {{0, y, 2, h + 4}, {w - 2, y, 2, h + 4}, {0, y, w, 2}, {0, y + h + 2, w, 2}};
}

int SampleListModel::MarksTop(int y) const {
  return 12 * labelHeightMax / 10 + y + 2;  // 1.2 label heights below the row top
}

int SampleListModel::ExtraLineTop(int y, int k) const { return 22 * labelHeightMax / 10 + k * labelHeightMax + y + 2; }

Reaction SampleListModel::Scroll(int code, int position) {
  Reaction r{Reaction::kNothing};
  if (rowCount <= 0) return r;
  const int t0 = topRow, n = rowCount, v = visibleRows, s0 = selectedRow;
  int t = t0;
  switch (code) {
    case kLineUp:
      if (t0 > 0) t = t0 - 1;
      break;
    case kLineDown:
      if (t0 <= n - v - 1) t = t0 + 1;
      break;
    case kPageUp: t = std::max(0, t0 - v); break;
    case kPageDown:
      if (t0 <= n - v - 1) t = t0 + v;
      break;
    case kThumbPosition:
    case kThumbTrack:
      // The scroll bar only reports positions inside its range; a message
      // from elsewhere must not put the top row outside the list.
      t = std::clamp(position, 0, n - 1);
      break;
    case kTop:
      t = 0;
      selectedRow = 0;
      break;
    case kBottom:
      t = n - 1;
      selectedRow = n - 1;
      break;
    default: break;
  }
  if (t != t0) {
    wheelRemainder = 0;
    topRow = t;
    r.kind = Reaction::kRepaint;
  } else if (selectedRow != s0) {
    // Top or bottom without a scroll: only the frame moves, and the old one
    // must not stay on screen.
    r = IsLaidOut(s0) && IsLaidOut(selectedRow) ? Reaction{Reaction::kMoveFrame, s0, selectedRow}
                                                : Reaction{Reaction::kRelayout};
  }
  return r;
}

Reaction SampleListModel::Wheel(int delta) {
  Reaction r{Reaction::kNothing};
  wheelRemainder += delta;
  int steps = wheelRemainder / 120;
  if (steps == 0) return r;
  wheelRemainder -= 120 * steps;
  const int t0 = topRow, n = rowCount, v = visibleRows;
  int t;
  if (steps > 0) {
    t = std::max(0, t0 - steps);
  } else {
    t = t0 <= n - v - 1 ? t0 - steps : t0;
    if (t >= n) t = std::max(0, n - 1);
  }
  if (t != t0) {
    topRow = t;
    r.kind = Reaction::kRepaint;
  }
  return r;
}

Reaction SampleListModel::KeyDown(int vk, bool control, const std::function<std::string(int)>& nameAt) {
  const int n = rowCount, v = visibleRows;
  switch (vk) {
    case kKeyPrior: return Scroll(kPageUp);
    case kKeyNext: return Scroll(kPageDown);
    case kKeyHome: return control ? Scroll(kTop) : Reaction{Reaction::kNothing};
    case kKeyEnd: return control ? Scroll(kBottom) : Reaction{Reaction::kNothing};
    case kKeyUp:
      if (selectedRow > topRow && IsLaidOut(selectedRow - 1)) {
        Reaction r{Reaction::kMoveFrame, selectedRow, selectedRow - 1};
        selectedRow -= 1;
        return r;
      }
      if (selectedRow > 0 && topRow > 0) {
        topRow -= 1;
        selectedRow -= 1;
        return {Reaction::kRelayout};
      }
      return {Reaction::kNothing};
    case kKeyDown:
      if (selectedRow < topRow + v - 1 && IsLaidOut(selectedRow + 1)) {
        Reaction r{Reaction::kMoveFrame, selectedRow, selectedRow + 1};
        selectedRow += 1;
        return r;
      }
      if (topRow <= n - v - 1) {
        topRow += 1;
        selectedRow += 1;
        return {Reaction::kRelayout};
      }
      return {Reaction::kNothing};
    default: break;
  }
  if (vk < 0x21 || vk > 0x7E) return {Reaction::kDefault};
  // Any printable key code jumps, arrows and function keys included: the
  // code is taken as the initial of a face name.
  const int wanted = std::toupper(vk);
  for (int i = 0; i < n; ++i) {
    std::string name = nameAt(i);
    if (!name.empty() && std::toupper(static_cast<unsigned char>(name[0])) == wanted) {
      topRow = i;
      selectedRow = i;
      return {Reaction::kRelayout};
    }
  }
  return {Reaction::kNothing};
}

int SampleListModel::HitTest(int y) const {
  for (int k = 0; k < LayoutCount(); ++k)
    if (y < rowTops[k] + rowHeights[k] + 5) return k;
  return -1;
}

Reaction SampleListModel::Click(int y) {
  if (dragging) return {Reaction::kNothing};
  int k = HitTest(y);
  if (k < 0) return {Reaction::kNothing};
  Reaction r{Reaction::kDefault};
  if (k < visibleRows) {
    if (topRow + k != selectedRow) {
      r = {Reaction::kMoveFrame, selectedRow, topRow + k};
      selectedRow = topRow + k;
    }
    return r;
  }
  const int laidOut = LayoutCount();
  if (topRow + laidOut < rowCount) {
    // The layout pulls this back to the last row that fits.
    selectedRow = topRow + laidOut;
    topRow += 1;
    r.kind = Reaction::kRelayout;
  }
  return r;
}

bool SampleListModel::InDividerZone(int x, int y) const {
  return y <= rowsBottom && x >= width1 - 2 && x <= width1 + 3;
}

void SampleListModel::SetDivider(int x, int clientWidth) {
  if (x < 0)
    width1 = 0;
  else if (x >= clientWidth)
    width1 = std::max(0, clientWidth - 1);
  else
    width1 = x;
}

int ClampFontSize(int tenths) { return std::clamp(tenths, 60, 760); }

int InitialDivider(int width1, int clientWidth, int labelWidthMax) {
  if (width1 > clientWidth - 2) width1 = clientWidth - 2;
  if (width1 < 0) width1 = labelWidthMax >= 1 ? labelWidthMax : clientWidth / 2;
  return width1;
}

std::string FormatSize(int tenths) {
  char text[32];
  int rest = std::abs(tenths % 10);
  if (rest != 0)
    std::snprintf(text, sizeof text, "%s%d.%d", tenths < 0 ? "-" : "", std::abs(tenths / 10), rest);
  else
    std::snprintf(text, sizeof text, "%d", tenths / 10);
  return text;
}

int ParseSize(const char* text) {
  double v = std::atof(text ? text : "");
  if (!std::isfinite(v)) return 0;
  v = v * 10.0 + 0.5;
  v = std::clamp(v, -kMaxSizeTenths, kMaxSizeTenths);
  return static_cast<int>(v);
}

std::string MarksText(bool favourite, bool candidate) {
  if (!favourite && !candidate) return {};
  std::string marks = favourite ? " ★　" : " 　　";
  if (candidate) marks += "！";
  return marks;
}

std::vector<int> FilterCodes(int langEN, int langJA, int langALL, int fontORG, int fontTMP) {
  std::vector<int> codes;
  if (langEN == 1) codes.push_back(0);
  if (langJA == 1) codes.push_back(128);
  if (langALL == 1) codes.push_back(-1);
  if (fontORG == 1) codes.push_back(-2);
  if (fontTMP == 1) codes.push_back(-3);
  return codes;
}

void ToggleKind(int& flag, int& other) {
  flag = flag == 0 ? 1 : 0;
  if (flag == 0 && other == 0) other = 1;
}

bool AdjustBuiltInSample(std::string& text, bool japanese, const std::string& japaneseSample,
                         const std::string& westernSample) {
  if (text != japaneseSample && text != westernSample) return false;
  const std::string& wanted = japanese ? japaneseSample : westernSample;
  if (text == wanted) return false;
  text = wanted;
  return true;
}

}  // namespace viewer

#pragma once
// Geometry and navigation of the sample list, kept apart from GDI so that
// every rule about rows, scrolling, keys and the divider can be tested
// without a window. The view feeds it measured heights and turns its
// answers into drawing. Portable: no windows.h.
#include <functional>
#include <string>
#include <vector>

namespace viewer {

struct Rect {
  int x, y, width, height;
  bool operator==(const Rect&) const = default;
};

// One row placed by the layout pass.
struct RowBox {
  int index;      // index into the visible list
  int y;          // top of the row
  int height;     // h: sample height or the label minimum, whichever is larger
  int bottom;     // y + h + 4: the row's bottom separator line
  bool complete;  // false for the last, partly visible row
};

// Scroll codes of WM_VSCROLL, numbered as Windows numbers them.
enum ScrollCode {
  kLineUp = 0,
  kLineDown = 1,
  kPageUp = 2,
  kPageDown = 3,
  kThumbPosition = 4,
  kThumbTrack = 5,
  kTop = 6,
  kBottom = 7,
};

// Virtual-key codes the list reacts to.
enum Key {
  kKeyPrior = 0x21,
  kKeyNext = 0x22,
  kKeyEnd = 0x23,
  kKeyHome = 0x24,
  kKeyUp = 0x26,
  kKeyDown = 0x28,
};

// What the view has to do after an input.
struct Reaction {
  enum Kind {
    kDefault,    // let the system's default processing have it
    kNothing,    // handled, nothing changes on screen
    kRepaint,    // top row moved by a scroll request: repaint everything
    kRelayout,   // lay out and paint again with the new top and selection
    kMoveFrame,  // erase the frame of `from`, draw the one of `to`
  };
  Kind kind = kNothing;
  int from = 0;
  int to = 0;
};

class SampleListModel {
 public:
  // --- state the view reads and writes -------------------------------------
  int rowCount = 0;
  int topRow = 0;
  int selectedRow = 0;
  int visibleRows = 0;
  int rowsBottom = 0;
  int wheelRemainder = 0;
  int labelHeightMax = 0;
  // Label lines that optional features draw under the name and marks; the
  // row's minimum height grows by one label height for each.
  int labelExtraLines = 0;
  int width1 = -1;
  bool dragging = false;
  std::vector<int> rowTops;
  std::vector<int> rowHeights;

  // --- layout pass ----------------------------------------------------------
  // Starts a pass over a client area whose bottom is clientBottom.
  void BeginLayout(int clientBottom);
  // Index of the next row to place, or -1 when the list is exhausted or the
  // pass has met a row that does not fit.
  int NextRow() const;
  // Places the next row with its measured sample height (1 when the sample
  // font could not be made).
  RowBox PlaceRow(int sampleHeight);
  // Ends the pass. Returns the row whose selection frame still has to be
  // drawn because the selection was pulled up into the rows shown, or -1.
  int FinishLayout();
  // y from which the rest of the client area is cleared after the pass.
  int FillFrom() const { return fillFrom_; }
  int LayoutCount() const { return static_cast<int>(rowTops.size()); }
  // Row height for a measured sample: never below 2.2 label heights (plus
  // the extra label lines).
  int RowHeightFor(int sampleHeight) const;
  // True when row i (a visible-list index) was laid out by the last pass.
  bool IsLaidOut(int i) const;

  // --- frames and marks -----------------------------------------------------
  // The four bars of the selection frame around the sample cell of row i.
  std::vector<Rect> SelectionFrame(int i, int clientWidth) const;
  // The four bars of the temporary-font frame around the name cell of row i.
  std::vector<Rect> TemporaryFrame(int i) const;
  // Top of the marks line under the face name of a row starting at y.
  int MarksTop(int y) const;
  // Top of extra label line k (from 0) of a row starting at y.
  int ExtraLineTop(int y, int k) const;

  // --- input ----------------------------------------------------------------
  // A scroll request; the position is used by the thumb codes only.
  Reaction Scroll(int code, int position = 0);
  Reaction Wheel(int delta);
  // nameAt gives the face name of a visible-list index.
  Reaction KeyDown(int vk, bool control, const std::function<std::string(int)>& nameAt);
  // Laid-out row holding client y, or -1 below all rows.
  int HitTest(int y) const;
  // Left click (outside the divider zone) or right click at client y.
  Reaction Click(int y);

  // --- divider --------------------------------------------------------------
  bool InDividerZone(int x, int y) const;
  // Stores x as the divider position kept inside the client area.
  void SetDivider(int x, int clientWidth);

 private:
  int clientBottom_ = 0;
  int nextY_ = 0;
  int fillFrom_ = 0;
  bool stopped_ = false;
};

// Largest-first-paint clamps: the stored size into 6..76 points and the
// divider inside the client area (or at the widest name when never set).
int ClampFontSize(int tenths);
int InitialDivider(int width1, int clientWidth, int labelWidthMax);

// "24" for 240, "10.5" for 105.
std::string FormatSize(int tenths);
// Typed size text to tenths of a point, rounded: "10.5" gives 105, text that
// is not a number 0. Absurd magnitudes are capped so no font size overflows.
int ParseSize(const char* text);

// The marks under a face name, or empty when it has none.
std::string MarksText(bool favourite, bool candidate);

// The filter codes for the catalogue from the display switches.
std::vector<int> FilterCodes(int langEN, int langJA, int langALL, int fontORG, int fontTMP);

// Turns one of the two kind switches over; both off is not allowed, so the
// other one comes on.
void ToggleKind(int& flag, int& other);

// When text is one of the two built-in samples, replaces it by the one that
// fits the Japanese switch and returns true.
bool AdjustBuiltInSample(std::string& text, bool japanese, const std::string& japaneseSample,
                         const std::string& westernSample);

}  // namespace viewer

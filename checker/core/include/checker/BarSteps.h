#pragma once
// Which download positions change what a progress bar shows. A bar of a few
// hundred pixels shows a 32 MiB download in far fewer steps than its 32768
// blocks; asking the dialog's thread to move the bar costs a cross-thread
// round trip, so only positions that move it by a pixel are passed on.
#include <cstdint>

namespace checker {

class BarSteps {
 public:
  // A new bar: the control's default range 0..100, nothing shown yet.
  explicit BarSteps(int pixels) : pixels_(pixels > 0 ? pixels : kFallbackPixels) {}

  // A new range; the next position is always passed on.
  void SetRange(int low, int high);
  // True when pos must reach the bar: it lands on another pixel than the last
  // position passed on, or it reaches the end of the range (so that the bar
  // ends holding the exact final position).
  bool Moves(int pos);

 private:
  static constexpr int kFallbackPixels = 1000;
  std::int64_t Pixel(int pos) const;

  int pixels_;
  int low_ = 0;
  int high_ = 100;
  bool shown_ = false;
  int lastKept_ = 0;
  std::int64_t lastPixel_ = 0;
};

}  // namespace checker

#include "checker/BarSteps.h"

namespace checker {

void BarSteps::SetRange(int low, int high) {
  low_ = low;
  high_ = high;
  shown_ = false;
}

std::int64_t BarSteps::Pixel(int pos) const {
  if (high_ <= low_) return pos > low_ ? 1 : 0;
  if (pos <= low_) return 0;
  if (pos >= high_) return pixels_;
  return (static_cast<std::int64_t>(pos) - low_) * pixels_ / (static_cast<std::int64_t>(high_) - low_);
}

bool BarSteps::Moves(int pos) {
  // The control keeps a position inside its range.
  int kept = pos < low_ ? low_ : pos > high_ ? high_ : pos;
  std::int64_t pixel = Pixel(pos);
  bool moves = !shown_ || pixel != lastPixel_ || (kept == high_ && kept != lastKept_);
  if (moves) {
    shown_ = true;
    lastKept_ = kept;
    lastPixel_ = pixel;
  }
  return moves;
}

}  // namespace checker

#pragma once
// The one owner behind the handle owners of win/: it holds one handle, lets
// go of it on every path out of its scope, moves but never copies. Traits
// say what counts as no handle and how the handle is given back.
#include <utility>

namespace win {

template <class H, class Traits>
class Unique {
 public:
  Unique() = default;
  explicit Unique(H h) : h_(Traits::Valid(h) ? h : nullptr) {}
  Unique(Unique&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  Unique& operator=(Unique&& o) noexcept {
    if (this != &o) Reset(std::exchange(o.h_, nullptr));
    return *this;
  }
  ~Unique() { Reset(); }

  // Takes h; the handle held so far is given back unless it is h itself.
  void Reset(H h = nullptr) {
    if (h_ && h_ != h) Traits::Free(h_);
    h_ = Traits::Valid(h) ? h : nullptr;
  }
  // Gives the handle back now and tells whether the system took it (a
  // file's last buffered write can fail here).
  bool Close() {
    H h = std::exchange(h_, nullptr);
    return !h || Traits::Free(h);
  }
  H Get() const { return h_; }
  H Release() { return std::exchange(h_, nullptr); }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  H h_ = nullptr;
};

// Handles whose only empty value is null.
struct NullIsNone {
  template <class H>
  static bool Valid(H h) {
    return h != nullptr;
  }
};

}  // namespace win

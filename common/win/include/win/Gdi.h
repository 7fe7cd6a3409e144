#pragma once
// Owners of GDI objects and device contexts: a font, pen or brush is deleted
// by its owner, an object selected into a DC is selected out when the scope
// ends, a DC taken from a window is released, a DC we created is deleted.
#include <windows.h>

#include "win/Unique.h"

namespace win {

// Owner of one GDI object (HFONT, HPEN, HBRUSH, HBITMAP, HRGN).
struct GdiObjectTraits : NullIsNone {
  static bool Free(HGDIOBJ h) { return DeleteObject(h) != FALSE; }
};
template <class H>
class GdiObject : public Unique<H, GdiObjectTraits> {
 public:
  using Unique<H, GdiObjectTraits>::Unique;
  operator H() const { return this->Get(); }
};

// Selects an object into a DC and the previous one back at scope end.
class SelectScope {
 public:
  SelectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;
  ~SelectScope() {
    if (old_) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// GetDC/ReleaseDC: a window's DC, or the screen's for a null window.
class WindowDC {
 public:
  explicit WindowDC(HWND wnd) : wnd_(wnd), dc_(GetDC(wnd)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (dc_) ReleaseDC(wnd_, dc_);
  }
  HDC Get() const { return dc_; }
  operator HDC() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND wnd_;
  HDC dc_;
};

// A DC that we created (CreateDCA, CreateCompatibleDC) and therefore delete.
struct CreatedDCTraits : NullIsNone {
  static bool Free(HDC h) { return DeleteDC(h) != FALSE; }
};
class CreatedDC : public Unique<HDC, CreatedDCTraits> {
 public:
  using Unique::Unique;
  operator HDC() const { return Get(); }
};

}  // namespace win

#pragma once
// Device contexts and GDI objects with owners: a font, pen or brush is deleted
// by its owner, an object selected into a DC is selected out when the scope
// ends, a DC obtained for a window is released.
#include <windows.h>

#include <string>
#include <string_view>
#include <utility>

#include "win/Gdi.h"

namespace fw {

class CWnd;

struct CPoint : POINT {
  CPoint() : POINT{0, 0} {}
  CPoint(LONG x0, LONG y0) : POINT{x0, y0} {}
};

struct CSize : SIZE {
  CSize() : SIZE{0, 0} {}
  CSize(LONG cx0, LONG cy0) : SIZE{cx0, cy0} {}
};

struct CRect : RECT {
  CRect() : RECT{0, 0, 0, 0} {}
  CRect(LONG l, LONG t, LONG r, LONG b) : RECT{l, t, r, b} {}
  CRect(const RECT& r) : RECT(r) {}
  LONG Width() const { return right - left; }
  LONG Height() const { return bottom - top; }
  bool IsRectEmpty() const { return right <= left || bottom <= top; }
  bool PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  void OffsetRect(LONG dx, LONG dy) {
    left += dx, right += dx;
    top += dy, bottom += dy;
  }
};

// The owners live in win/Gdi.h; drawing code names them through fw.
template <class H>
using GdiObject = win::GdiObject<H>;
using Font = GdiObject<HFONT>;
using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;
using Bitmap = GdiObject<HBITMAP>;
using win::SelectScope;

// A device context as drawing code sees it. Output goes to m_hDC; questions
// about the device (capabilities, text metrics) go to m_hAttribDC, which in
// print preview is the printer while the output is the preview's page.
class CDC {
 public:
  CDC() = default;
  explicit CDC(HDC dc) : m_hDC(dc), m_hAttribDC(dc) {}
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;
  virtual ~CDC() = default;

  HDC GetSafeHdc() const { return m_hDC; }
  operator HDC() const { return m_hDC; }
  bool IsPrinting() const { return m_bPrinting; }

  int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hAttribDC, index); }
  HGDIOBJ SelectObject(HGDIOBJ obj) { return ::SelectObject(m_hDC, obj); }
  COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
  COLORREF SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }
  int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
  bool TextOut(int x, int y, std::string_view s) {
    return ::TextOutA(m_hDC, x, y, s.data(), static_cast<int>(s.size())) != FALSE;
  }
  int DrawText(std::string_view s, RECT* r, UINT format) {
    return ::DrawTextA(m_hDC, s.data(), static_cast<int>(s.size()), r, format);
  }
  CSize GetTextExtent(std::string_view s) const {
    CSize size;
    ::GetTextExtentPoint32A(m_hDC, s.data(), static_cast<int>(s.size()), &size);
    return size;
  }
  void MoveTo(int x, int y) { ::MoveToEx(m_hDC, x, y, nullptr); }
  void LineTo(int x, int y) { ::LineTo(m_hDC, x, y); }
  void FillSolidRect(const RECT& r, COLORREF c) {
    COLORREF old = ::SetBkColor(m_hDC, c);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
  }
  int SaveDC() { return ::SaveDC(m_hDC); }
  bool RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved) != FALSE; }

  HDC m_hDC = nullptr;
  HDC m_hAttribDC = nullptr;
  bool m_bPrinting = false;
};

// GetDC/ReleaseDC of a window's client area.
class CClientDC : public CDC {
 public:
  explicit CClientDC(HWND wnd) : CDC(::GetDC(wnd)), wnd_(wnd) {}
  explicit CClientDC(const CWnd* wnd);
  ~CClientDC() override {
    if (m_hDC) ::ReleaseDC(wnd_, m_hDC);
  }

 private:
  HWND wnd_;
};

// BeginPaint/EndPaint in WM_PAINT.
class CPaintDC : public CDC {
 public:
  explicit CPaintDC(HWND wnd) : wnd_(wnd) { m_hDC = m_hAttribDC = ::BeginPaint(wnd, &m_ps); }
  explicit CPaintDC(const CWnd* wnd);
  ~CPaintDC() override { ::EndPaint(wnd_, &m_ps); }
  PAINTSTRUCT m_ps{};

 private:
  HWND wnd_;
};

// A DC that we created (CreateDCA, CreateCompatibleDC) and therefore delete.
class OwnedDC : public CDC {
 public:
  OwnedDC() = default;
  explicit OwnedDC(HDC dc) : CDC(dc) {}
  OwnedDC(OwnedDC&& o) noexcept {
    m_hDC = std::exchange(o.m_hDC, nullptr);
    m_hAttribDC = std::exchange(o.m_hAttribDC, nullptr);
    m_bPrinting = o.m_bPrinting;
  }
  ~OwnedDC() override {
    if (m_hDC) ::DeleteDC(m_hDC);
  }
  void Attach(HDC dc) {
    if (m_hDC) ::DeleteDC(m_hDC);
    m_hDC = m_hAttribDC = dc;
  }
  HDC Detach() {
    m_hAttribDC = nullptr;
    return std::exchange(m_hDC, nullptr);
  }
};

}  // namespace fw

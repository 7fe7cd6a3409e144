#include "PrintSampleImage.h"

#include <cstring>

#include "framework/Gdi.h"

namespace {

constexpr DWORD kGlyfTable = 0x66796c67;  // 'glyf' as GetFontData reads the tag

// A top-down bitmap with one bit a pixel: 0 paper, 1 ink.
struct TwoColourInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colours[2];
};

TwoColourInfo TwoColours(int width, int height, COLORREF ink) {
  TwoColourInfo info{};
  info.header.biSize = sizeof info.header;
  info.header.biWidth = width;
  info.header.biHeight = -height;
  info.header.biPlanes = 1;
  info.header.biBitCount = 1;
  info.header.biCompression = BI_RGB;
  info.header.biClrUsed = 2;  // said outright: Wine's metafiles drop an implied table
  info.colours[0] = RGBQUAD{255, 255, 255, 0};
  info.colours[1] = RGBQUAD{GetBValue(ink), GetGValue(ink), GetRValue(ink), 0};
  return info;
}

}  // namespace

bool RunningUnderWine() {
  static const bool wine = [] {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return wine;
}

bool HasTrueTypeOutlines(HDC dc, HFONT font) {
  fw::SelectScope selected(dc, font);
  return GetFontData(dc, kGlyfTable, 0, nullptr, 0) != GDI_ERROR;
}

bool PrintsSampleAsImage(HDC output, HDC attrib, HFONT font) {
  if (!font || !RunningUnderWine()) return false;
  // A preview records into a metafile on the screen: no font is downloaded.
  if (GetObjectType(output) != OBJ_DC || GetDeviceCaps(output, TECHNOLOGY) != DT_RASPRINTER) return false;
  return !HasTrueTypeOutlines(attrib, font);
}

bool PrintTextAsImage(HDC output, HFONT font, int x, int y, const std::string& text, COLORREF ink) {
  const win::CreatedDC memory(CreateCompatibleDC(nullptr));
  if (!memory) return false;
  fw::SelectScope selectedFont(memory, font);
  SIZE size{0, 0};
  GetTextExtentPoint32A(memory, text.data(), static_cast<int>(text.size()), &size);
  if (size.cx <= 0 || size.cy <= 0) return true;  // nothing to print

  // Drawn in black, printed in the ink: a pale ink cannot fall on the paper bit.
  TwoColourInfo drawn = TwoColours(size.cx, size.cy, RGB(0, 0, 0));
  void* bits = nullptr;
  fw::Bitmap bitmap(CreateDIBSection(memory, reinterpret_cast<BITMAPINFO*>(&drawn), DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return false;
  {
    fw::SelectScope selectedBitmap(memory, bitmap.Get());
    // All bits 0 is paper; the text sets the ink bits.
    const int stride = ((size.cx + 31) / 32) * 4;
    std::memset(bits, 0, static_cast<std::size_t>(stride) * static_cast<std::size_t>(size.cy));
    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, RGB(0, 0, 0));
    TextOutA(memory, 0, 0, text.data(), static_cast<int>(text.size()));
    GdiFlush();
  }
  TwoColourInfo printed = TwoColours(size.cx, size.cy, ink);
  return StretchDIBits(output, x, y, size.cx, size.cy, 0, 0, size.cx, size.cy, bits,
                       reinterpret_cast<BITMAPINFO*>(&printed), DIB_RGB_COLORS, SRCCOPY) != 0;
}

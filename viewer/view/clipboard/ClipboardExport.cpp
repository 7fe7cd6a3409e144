#include "ClipboardExport.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "RtfText.h"
#include "fonts/FontList.h"
#include "fonts/Win32FontSystem.h"
#include "framework/Gdi.h"
#include "win/Handles.h"

namespace {

constexpr UINT kGlobalFlags = GMEM_MOVEABLE | GMEM_DDESHARE;

// Puts bytes and a terminating zero under format. The block belongs to the
// clipboard once set; when setting fails it is ours to free.
bool SetClipboardBytes(UINT format, std::string_view bytes) {
  win::GlobalMemory block(kGlobalFlags, bytes.size() + 1);
  if (!block) return false;
  {
    win::GlobalLockScope locked(block.Get());
    auto* p = static_cast<char*>(locked.Get());
    if (!p) return false;
    std::memcpy(p, bytes.data(), bytes.size());
    p[bytes.size()] = '\0';
  }
  if (!SetClipboardData(format, block.Get())) return false;
  block.Release();
  return true;
}

int Whole(double v) { return static_cast<int>(v + 0.5); }

SIZE Extent(HDC dc, std::string_view s) {
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc, s.data(), static_cast<int>(s.size()), &size);
  return size;
}

// Draws the picture into a memory metafile and returns it closed.
HENHMETAFILE RecordSample(HDC screen, const LOGFONTA& lf, std::string_view sample, SIZE whole) {
  const double scale = GetDeviceCaps(screen, VERTSIZE) * 72.0 * 10.0 / (GetDeviceCaps(screen, VERTRES) * 25.4);
  HDC meta = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  if (!meta) return nullptr;
  SetMapMode(meta, MM_ANISOTROPIC);
  SetBkMode(meta, TRANSPARENT);
  SetWindowOrgEx(meta, 0, 0, nullptr);
  SetViewportOrgEx(meta, 0, 0, nullptr);
  SetWindowExtEx(meta, Whole(whole.cx * scale), Whole(whole.cy * scale), nullptr);
  SetViewportExtEx(meta, whole.cx, whole.cy, nullptr);
  {
    fw::Font fontB(CreateFontIndirectA(&lf));
    fw::SelectScope selected(meta, fontB.Get());
    SetTextColor(meta, GetSysColor(COLOR_WINDOWTEXT));
    // Runs of one character class each, placed by their widths on the screen:
    // the picture keeps the screen's spacing whatever the metafile's player does.
    int x = 0;
    for (const TextRun& run : SplitRunsByClass(sample)) {
      const std::string_view part = sample.substr(run.begin, run.length);
      TextOutA(meta, x, 0, part.data(), static_cast<int>(part.size()));
      x += Extent(screen, part).cx;
    }
    // fontB is selected out before it is deleted (reverse order of scope).
  }
  return CloseEnhMetaFile(meta);
}

// A copy of the picture whose frame is larger by a twentieth of its height
// at the right and the bottom. Takes the picture.
HENHMETAFILE WithFrameMargin(HENHMETAFILE picture) {
  const UINT size = GetEnhMetaFileBits(picture, 0, nullptr);
  std::vector<BYTE> bits(size);
  const bool copied = size >= sizeof(ENHMETAHEADER) && GetEnhMetaFileBits(picture, size, bits.data()) == size;
  DeleteEnhMetaFile(picture);
  if (!copied) return nullptr;
  ENHMETAHEADER header;
  std::memcpy(&header, bits.data(), sizeof header);
  const LONG d = static_cast<LONG>(std::ceil(header.rclFrame.bottom / 20.0));
  header.rclFrame.right += d;
  header.rclFrame.bottom += d;
  std::memcpy(bits.data(), &header, sizeof header);
  return SetEnhMetaFileBits(size, bits.data());
}

}  // namespace

HENHMETAFILE BuildSampleMetafile(const LOGFONTA& face, std::string_view sample, int sizeTenths) {
  fw::CClientDC screen(GetDesktopWindow());
  if (!screen.GetSafeHdc()) return nullptr;
  LOGFONTA lf = face;
  lf.lfHeight = -sizeTenths;
  fw::Font fontA(CreateFontIndirectA(&lf));
  if (!fontA) return nullptr;
  fw::SelectScope selected(screen.GetSafeHdc(), fontA.Get());
  const SIZE whole = Extent(screen.GetSafeHdc(), sample);
  HENHMETAFILE picture = RecordSample(screen.GetSafeHdc(), lf, sample, whole);
  return picture ? WithFrameMargin(picture) : nullptr;
}

bool CopySampleToClipboard(HWND owner, const SampleExport& e) {
  win::ClipboardSession clipboard(owner);
  if (!clipboard.IsOpen()) return false;
  EmptyClipboard();
  SetClipboardBytes(CF_TEXT, e.sample);
  const bool bold = e.weight == 700;
  const std::string rtf = BuildRtfDocument(e.sample, e.faceName, e.sizeTenths, e.charset, bold);
  const UINT rtfFormat = RegisterClipboardFormatA("Rich Text Format");
  if (rtfFormat) SetClipboardBytes(rtfFormat, rtf);
  if (HENHMETAFILE picture = BuildSampleMetafile(e.logFont, e.sample, e.sizeTenths)) {
    if (!SetClipboardData(CF_ENHMETAFILE, picture)) DeleteEnhMetaFile(picture);
  }
  return true;
}

bool CopyTextToClipboard(HWND owner, std::string_view text) {
  win::ClipboardSession clipboard(owner);
  if (!clipboard.IsOpen()) return false;
  EmptyClipboard();
  SetClipboardBytes(CF_TEXT, text);
  return true;
}

bool CopySelectedSample(HWND owner, const CFontList& fonts, int row, const std::string& sampleText, int sizeTenths) {
  if (row < 0) return false;
  // Everything is read from the catalogue first: a bad row is refused while
  // the clipboard still holds what it held.
  SampleExport e;
  e.sample = fonts.ConvertSample(row, sampleText);
  FontLogFont record;
  fonts.GetLogFont(row, record);
  ToLogFontA(record, e.logFont);
  e.faceName = fonts.GetName(row);
  e.charset = record.charset;
  e.weight = record.weight;
  e.sizeTenths = sizeTenths;
  return CopySampleToClipboard(owner, e);
}

bool CopySelectedFontName(HWND owner, const CFontList& fonts, int row) {
  const std::string name = fonts.GetName(row);
  return CopyTextToClipboard(owner, name);
}

// The clipboard commands on the real clipboard of the test prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "ClipboardExport.h"

namespace {

std::string ReadFormat(UINT format) {
  std::string out;
  if (!OpenClipboard(nullptr)) return "<busy>";
  if (HANDLE h = GetClipboardData(format)) {
    if (const char* p = static_cast<const char*>(GlobalLock(h))) {
      out = p;
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return out;
}

RECTL MetafileFrame(HENHMETAFILE picture) {
  ENHMETAHEADER header{};
  GetEnhMetaFileHeader(picture, sizeof header, &header);
  return header.rclFrame;
}

SampleExport Sample(const char* text, const char* face, BYTE charset, int weight) {
  SampleExport e;
  e.sample = text;
  e.faceName = face;
  e.sizeTenths = 240;
  e.charset = charset;
  e.weight = weight;
  lstrcpynA(e.logFont.lfFaceName, face, LF_FACESIZE);
  e.logFont.lfCharSet = charset;
  e.logFont.lfWeight = weight;
  return e;
}

TEST(ClipboardWin32, SampleGoesOnInThreeFormats) {
  ASSERT_TRUE(CopySampleToClipboard(nullptr, Sample("Aaあ{", "IPAGothic", 128, 700)));
  EXPECT_EQ(ReadFormat(CF_TEXT), "Aaあ{");
  const UINT rtf = RegisterClipboardFormatA("Rich Text Format");
  EXPECT_EQ(ReadFormat(rtf),
            "{\\rtf1\\ansi\\ansicpg932\\deff0\\deflang1033\\deflangfe1041{\\fonttbl{\\f0\\fscript\\fprq1"
            "\\fcharset128 IPAGothic;}}\r\n\\uc1\\pard\\b\\f0\\fs48 Aa\\'82\\'a0\\'7b}");
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_ENHMETAFILE));
  CloseClipboard();
}

TEST(ClipboardWin32, MetafileFrameHasAMarginOfATwentiethOfItsHeight) {
  LOGFONTA lf{};
  lstrcpynA(lf.lfFaceName, "IPAGothic", LF_FACESIZE);
  lf.lfCharSet = 128;
  HENHMETAFILE small = BuildSampleMetafile(lf, "Sample", 120);
  HENHMETAFILE large = BuildSampleMetafile(lf, "Sample", 480);
  ASSERT_NE(small, nullptr);
  ASSERT_NE(large, nullptr);
  const RECTL s = MetafileFrame(small);
  const RECTL l = MetafileFrame(large);
  // A 48 point line is about 17 mm high (1/100 mm units), four times a 12 point one.
  EXPECT_GT(l.bottom, 1200);
  EXPECT_LT(l.bottom, 3000);
  EXPECT_NEAR(static_cast<double>(l.bottom) / s.bottom, 4.0, 0.6);
  EXPECT_GT(l.right, l.bottom);
  // The frame of the same drawing without the margin: bottom' = b + ceil(b / 20).
  bool consistent = false;
  for (LONG b = l.bottom * 20 / 21 - 2; b <= l.bottom; ++b) {
    if (b + (b + 19) / 20 == l.bottom) consistent = true;
  }
  EXPECT_TRUE(consistent) << l.bottom;
  DeleteEnhMetaFile(small);
  DeleteEnhMetaFile(large);
}

TEST(ClipboardWin32, BusyClipboardCopiesNothing) {
  ASSERT_TRUE(CopyTextToClipboard(nullptr, "before"));
  std::atomic<bool> held{false};
  std::atomic<bool> release{false};
  HWND holder = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  std::thread other([&] {
    HWND w = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    held = OpenClipboard(w) != FALSE;
    while (!release) Sleep(5);
    if (held) CloseClipboard();
    DestroyWindow(w);
  });
  while (!held) Sleep(5);
  const DWORD start = GetTickCount();
  EXPECT_FALSE(CopyTextToClipboard(holder, "after"));
  EXPECT_FALSE(CopySampleToClipboard(holder, Sample("x", "IPAGothic", 128, 400)));
  const DWORD waited = GetTickCount() - start;
  release = true;
  other.join();
  EXPECT_GE(waited, 150u);  // ten tries each, 10 ms apart
  EXPECT_LT(waited, 2000u);
  EXPECT_EQ(ReadFormat(CF_TEXT), "before");
  DestroyWindow(holder);
}

}  // namespace

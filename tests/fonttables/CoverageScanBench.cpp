// Prints figures for the coverage scan of every installed face under Wine or
// Windows: the bare EnumFontFamiliesExA time, the scan through GetFontData
// and the peak working set. A benchmark: it never fails on a figure.
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <type_traits>

#include "coverage/Coverage.h"
#include "fonttables/GdiTableSource.h"

namespace {

// <chrono> does not compile with the cp932 execution character set.
LONGLONG Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

double MillisecondsSince(LONGLONG start) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return double(Now() - start) * 1000.0 / double(frequency.QuadPart);
}

int CALLBACK AddFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM faces) {
  if (font->lfFaceName[0] != '@') reinterpret_cast<std::set<std::string>*>(faces)->insert(font->lfFaceName);
  return 1;
}

std::set<std::string> EnumerateFaces(HDC dc) {
  LOGFONTA all{};
  all.lfCharSet = DEFAULT_CHARSET;
  std::set<std::string> faces;
  EnumFontFamiliesExA(dc, &all, AddFace, reinterpret_cast<LPARAM>(&faces), 0);
  return faces;
}

struct DcDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct FontDeleter {
  void operator()(HFONT font) const { DeleteObject(font); }
};

}  // namespace

int main() {
  std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter> dc(CreateCompatibleDC(nullptr));
  LONGLONG start = Now();
  std::set<std::string> faces = EnumerateFaces(dc.get());
  double enumeration = MillisecondsSince(start);
  // Wine reads every font file on the first font call of a process; the
  // second enumeration is the bare walk over the faces.
  start = Now();
  EnumerateFaces(dc.get());
  double enumerationAgain = MillisecondsSince(start);

  start = Now();
  std::size_t measured = 0, failed = 0, fullJoyo = 0;
  for (const std::string& face : faces) {
    std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter> font(
        CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face.c_str()));
    HGDIOBJ old = SelectObject(dc.get(), font.get());
    fonttables::GdiTableSource tables(dc.get());
    fonttables::Result<coverage::FaceReport> report = coverage::MeasureFace(tables);
    SelectObject(dc.get(), old);
    if (!report) {
      ++failed;
      continue;
    }
    ++measured;
    fullJoyo += report->covered[coverage::kJoyo] == coverage::kCharacterSets[coverage::kJoyo].chars.size();
  }
  double scan = MillisecondsSince(start);

  PROCESS_MEMORY_COUNTERS memory{};
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  std::printf("faces %zu\nenumeration_ms %.1f\nenumeration_again_ms %.1f\nscan_ms %.1f\nscan_per_face_ms %.3f\n",
              faces.size(), enumeration, enumerationAgain, scan, faces.empty() ? 0.0 : scan / faces.size());
  std::printf("measured %zu\nfailed %zu\nfull_joyo %zu\npeak_working_set_mb %.1f\n", measured, failed, fullJoyo,
              memory.PeakWorkingSetSize / 1048576.0);
  return 0;
}

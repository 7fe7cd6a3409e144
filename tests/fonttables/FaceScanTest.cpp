// Measuring installed faces through GDI under Wine: one face on the calling
// thread, and the background scan with its hand-over to the UI thread.
#include <windows.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "facescan/FaceScanner.h"
#include "facescan/SelectedFace.h"

namespace {

constexpr UINT kScanned = WM_APP + 7;
const char kNoSuchFace[] = "Glimra No Such Face";

int CALLBACK AddFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM faces) {
  if (font->lfFaceName[0] != '@') reinterpret_cast<std::set<std::string>*>(faces)->insert(font->lfFaceName);
  return 1;
}

std::set<std::string> InstalledFaces() {
  HDC dc = GetDC(nullptr);
  LOGFONTA all{};
  all.lfCharSet = DEFAULT_CHARSET;
  std::set<std::string> faces;
  EnumFontFamiliesExA(dc, &all, AddFace, reinterpret_cast<LPARAM>(&faces), 0);
  ReleaseDC(nullptr, dc);
  return faces;
}

// An installed IPA face (the test machine installs the IPA fonts).
std::string IpaFace() {
  for (const std::string& face : InstalledFaces())
    if (face.rfind("IPA", 0) == 0) return face;
  return {};
}

TEST(SelectedFace, MeasuresAnInstalledFaceAndRefusesAnUnknownName) {
  const std::string ipa = IpaFace();
  ASSERT_FALSE(ipa.empty());
  fonttables::Result<coverage::FaceReport> report = facescan::MeasureInstalledFace(ipa);
  ASSERT_TRUE(report) << report.Error();
  EXPECT_EQ(report->covered[coverage::kJoyo], coverage::kCharacterSets[coverage::kJoyo].chars.size());
  EXPECT_FALSE(report->names.english.empty());

  // GDI would hand over a substitute; its tables must not pass for this name.
  facescan::SelectedFace unknown(kNoSuchFace);
  EXPECT_FALSE(unknown.Ok());
  EXPECT_FALSE(facescan::MeasureInstalledFace(kNoSuchFace));
  EXPECT_FALSE(facescan::MeasureInstalledFace(""));
  EXPECT_FALSE(facescan::MeasureInstalledFace(std::string(40, 'A')));
}

class ScannerWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override { DestroyWindow(window_); }

  // Runs the message loop until the scanner has nothing outstanding.
  bool PumpUntilDone(facescan::FaceScanner& scanner) {
    const DWORD start = GetTickCount();
    while (scanner.Busy()) {
      if (GetTickCount() - start > 60000) return false;
      MSG msg;
      if (PeekMessageA(&msg, window_, kScanned, kScanned, PM_REMOVE)) {
        scanner.Collect();
      } else {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_POSTMESSAGE);
      }
    }
    return true;
  }

  HWND window_ = nullptr;
};

TEST_F(ScannerWindow, EveryRequestedFaceIsMeasuredOnceAndListenersHearOfIt) {
  const std::string ipa = IpaFace();
  ASSERT_FALSE(ipa.empty());
  facescan::FaceScanner scanner;
  int heard = 0;
  scanner.AddListener([&heard] { ++heard; });
  scanner.Request({ipa});  // no window yet: nothing happens
  EXPECT_FALSE(scanner.Busy());

  scanner.SetNotify(window_, kScanned);
  scanner.Request({ipa, kNoSuchFace, ipa});
  EXPECT_EQ(scanner.Outstanding(), 2u);
  ASSERT_TRUE(PumpUntilDone(scanner));
  EXPECT_GT(heard, 0);
  ASSERT_NE(scanner.Find(ipa), nullptr);
  EXPECT_TRUE(scanner.Find(ipa)->measured);
  ASSERT_NE(scanner.Find(kNoSuchFace), nullptr);
  EXPECT_FALSE(scanner.Find(kNoSuchFace)->measured);
  EXPECT_FALSE(scanner.Find(kNoSuchFace)->error.empty());

  // Known faces are not measured again, even when asked for first.
  scanner.Request({ipa, kNoSuchFace}, true);
  EXPECT_FALSE(scanner.Busy());
  EXPECT_EQ(scanner.CollectedCount(), 2u);
}

TEST_F(ScannerWindow, EndingWithAFullQueueStopsTheWorker) {
  std::set<std::string> installed = InstalledFaces();
  std::vector<std::string> faces(installed.begin(), installed.end());
  for (int i = 0; i < 200; ++i) faces.push_back("Glimra Missing " + std::to_string(i));
  const DWORD start = GetTickCount();
  {
    facescan::FaceScanner scanner;
    scanner.SetNotify(window_, kScanned);
    scanner.Request(faces);
    scanner.Request({faces.back()}, true);
  }
  // The destructor waits for one face at most, not for the queue.
  EXPECT_LT(GetTickCount() - start, 5000u);
}

}  // namespace

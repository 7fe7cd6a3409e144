// Pagination and page drawing with real fonts: pages are recorded into
// enhanced metafiles and their text read back from the records.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "PrintDraw.h"
#include "PrintSampleImage.h"
#include "fonts/FontList.h"
#include "framework/Gdi.h"
#include "framework/InvalidArgument.h"

namespace {

class FixedFaces : public FontSystem {
 public:
  void EnumerateFaces(const std::function<void(const FontEntry&)>& sink) override {
    for (const char* name : {"IPAGothic", "IPAMincho", "IPAPGothic", "IPAPMincho", "IPAexGothic", "IPAexMincho"}) {
      sink(FontEntry{name, 128, 400, 0, ""});
    }
    for (const char* name : {"DejaVu Sans", "DejaVu Serif", "Nimbus Roman", "Nimbus Sans", "URW Gothic", "P052"}) {
      sink(FontEntry{name, 0, 400, 0, ""});
    }
  }
  int LoadFontFile(const std::string&) override { return 0; }
  int UnloadFontFile(const std::string&) override { return 0; }
};

int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* rec, int, LPARAM p) {
  auto* out = reinterpret_cast<std::vector<std::string>*>(p);
  const auto* base = reinterpret_cast<const BYTE*>(rec);
  if (rec->iType == EMR_EXTTEXTOUTW || rec->iType == EMR_EXTTEXTOUTA) {
    const auto* t = reinterpret_cast<const EMREXTTEXTOUTW*>(rec);
    const BYTE* chars = base + t->emrtext.offString;
    if (rec->iType == EMR_EXTTEXTOUTA) {
      out->emplace_back(reinterpret_cast<const char*>(chars), t->emrtext.nChars);
    } else {
      char buf[1024] = {};
      const int n = WideCharToMultiByte(932, 0, reinterpret_cast<const wchar_t*>(chars),
                                        static_cast<int>(t->emrtext.nChars), buf, sizeof buf, nullptr, nullptr);
      out->emplace_back(buf, n > 0 ? n : 0);
    }
  }
  return 1;
}

// Every string drawn into a metafile, in drawing order, in code page 932.
std::vector<std::string> TextsOf(HENHMETAFILE picture) {
  std::vector<std::string> texts;
  EnumEnhMetaFile(nullptr, picture, CollectText, &texts, nullptr);
  return texts;
}

bool Contains(const std::vector<std::string>& texts, const std::string& s) {
  for (const auto& t : texts)
    if (t == s) return true;
  return false;
}

class PrintDraw : public ::testing::Test {
 protected:
  void SetUp() override {
    fonts_.Rebuild(true);
    screen_ = GetDC(nullptr);
    source_.fonts = &fonts_;
    source_.sampleText = "Aaあ亜";
    source_.sizeTenths = 760;
  }
  void TearDown() override { ReleaseDC(nullptr, screen_); }

  HENHMETAFILE RecordPage(const PrintPlan& job, int page) {
    HDC meta = CreateEnhMetaFileA(screen_, nullptr, nullptr, nullptr);
    PrintPageOn(meta, screen_, source_, job, page);
    return CloseEnhMetaFile(meta);
  }

  FixedFaces system_;
  CFontList fonts_{system_};
  HDC screen_ = nullptr;
  PrintSource source_;
};

TEST_F(PrintDraw, PagesShowTheirRowsTitleAndNumber) {
  PrintPlan job;
  const int pages = PaginateOnPrinter(screen_, source_, job);
  ASSERT_EQ(fonts_.GetCount(), 12);
  // 76 point samples: a 1080 pixel high screen page holds a few rows only.
  ASSERT_GT(pages, 1);
  EXPECT_EQ(job.pageCount, pages);
  EXPECT_GT(job.metrics.labelWidthMax, 40);
  const std::string last = "Page " + std::to_string(pages) + "／" + std::to_string(pages);
  for (int page = 1; page <= pages; ++page) {
    HENHMETAFILE picture = RecordPage(job, page);
    const auto texts = TextsOf(picture);
    DeleteEnhMetaFile(picture);
    EXPECT_TRUE(Contains(texts, "ソルベナ！！　Ｇｌｉｍｒａ Ver.2"));
    EXPECT_TRUE(Contains(texts, "Page " + std::to_string(page) + "／" + std::to_string(pages)));
    const PageRows rows = RowsOfPage(job.pagination, job.rowCount, page);
    for (int i = 0; i < fonts_.GetCount(); ++i) {
      const bool here = i >= rows.first && i < rows.end;
      EXPECT_EQ(Contains(texts, fonts_.GetName(i)), here) << "page " << page << " row " << i;
    }
    EXPECT_TRUE(Contains(texts, fonts_.ConvertSample(rows.first, source_.sampleText)));
  }
}

TEST_F(PrintDraw, SmallSamplesFitOnePageAndBadPagesAreRefused) {
  source_.sizeTenths = 60;
  PrintPlan job;
  EXPECT_EQ(PaginateOnPrinter(screen_, source_, job), 1);
  HENHMETAFILE picture = RecordPage(job, 1);
  const auto texts = TextsOf(picture);
  DeleteEnhMetaFile(picture);
  EXPECT_TRUE(Contains(texts, "Page 1／1"));
  // A western face shows the double-byte characters as question marks.
  EXPECT_TRUE(Contains(texts, "Aa??"));
  HDC meta = CreateEnhMetaFileA(screen_, nullptr, nullptr, nullptr);
  EXPECT_THROW(PrintPageOn(meta, screen_, source_, job, 2), fw::InvalidArgumentError);
  DeleteEnhMetaFile(CloseEnhMetaFile(meta));
}

TEST_F(PrintDraw, EmptyListHasNoPages) {
  class NoFaces : public FixedFaces {
    void EnumerateFaces(const std::function<void(const FontEntry&)>&) override {}
  } empty;
  CFontList fonts(empty);
  fonts.Rebuild(true);
  source_.fonts = &fonts;
  PrintPlan job;
  job.pageCount = 7;  // a previous job
  EXPECT_EQ(PaginateOnPrinter(screen_, source_, job), 0);
  EXPECT_EQ(job.pageCount, 0);
  EXPECT_EQ(job.metrics.labelWidthMax, 0);
}

// The images a metafile draws: how many, the first one's record and colours.
struct ImagesSeen {
  int images = 0;
  EMRSTRETCHDIBITS first{};
  RGBQUAD colours[2]{};
};

int CALLBACK CollectImages(HDC, HANDLETABLE*, const ENHMETARECORD* rec, int, LPARAM p) {
  auto* seen = reinterpret_cast<ImagesSeen*>(p);
  if (rec->iType == EMR_STRETCHDIBITS && seen->images++ == 0) {
    seen->first = *reinterpret_cast<const EMRSTRETCHDIBITS*>(rec);
    const BYTE* info = reinterpret_cast<const BYTE*>(rec) + seen->first.offBmiSrc;
    std::memcpy(seen->colours, info + sizeof(BITMAPINFOHEADER), sizeof seen->colours);
  }
  return 1;
}

// Outlines decide how a sample reaches a printer; a preview's metafile always
// gets text. The image keeps the place and the ink of the text it replaces.
TEST(PrintSampleImage, CffFacesArePicturesOfTheirText) {
  HDC screen = GetDC(nullptr);
  struct Case {
    const char* face;
    bool trueType;
  };
  int tried = 0;
  for (const Case& c : {Case{"DejaVu Sans", true}, Case{"IPAGothic", true}, Case{"P052", false}, Case{"C059", false}}) {
    LOGFONTA lf{};
    lf.lfHeight = -40;
    lstrcpynA(lf.lfFaceName, c.face, LF_FACESIZE);
    fw::Font font(CreateFontIndirectA(&lf));
    char got[LF_FACESIZE] = {};
    {
      fw::SelectScope selected(screen, font.Get());
      GetTextFaceA(screen, LF_FACESIZE, got);
    }
    if (std::string(got) != c.face) continue;  // not installed here
    ++tried;
    EXPECT_EQ(HasTrueTypeOutlines(screen, font.Get()), c.trueType) << c.face;

    HDC meta = CreateEnhMetaFileA(screen, nullptr, nullptr, nullptr);
    EXPECT_FALSE(PrintsSampleAsImage(meta, screen, font.Get())) << c.face;
    ASSERT_TRUE(PrintTextAsImage(meta, font.Get(), 30, 70, "Aa", RGB(0, 0, 128)));
    HENHMETAFILE picture = CloseEnhMetaFile(meta);
    ImagesSeen seen;
    EnumEnhMetaFile(nullptr, picture, CollectImages, &seen, nullptr);
    DeleteEnhMetaFile(picture);
    EXPECT_EQ(seen.images, 1) << c.face;
    EXPECT_EQ(std::pair(seen.first.xDest, seen.first.yDest), std::pair(30L, 70L)) << c.face;
    EXPECT_GT(seen.first.cxDest, 20) << c.face;
    EXPECT_GE(seen.first.cyDest, 40) << c.face;
    EXPECT_EQ(seen.colours[1].rgbBlue, 128) << "printed in the ink";
  }
  ReleaseDC(nullptr, screen);
  EXPECT_GE(tried, 2) << "too few of the faces are installed";
}

}  // namespace

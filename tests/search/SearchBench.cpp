// Search as you type over 5,000 faces: the time to fold the names once, when
// the list is built, and the time per keystroke to filter every face by what
// has been typed so far (queries typed in code page 932, as an edit box of
// the viewer hands them over). The budget from keystroke to repaint is 50 ms.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/Cp932.h"
#include "fonttables/Text.h"
#include "search/NameIndex.h"

namespace {

struct Word {
  const char* cp932;
  std::u16string_view japanese;
  const char* english;
};
constexpr Word kWords[] = {
    {"ゴシック", u"ゴシック", "Gothic"},   {"明朝", u"明朝", "Mincho"},  {"丸ゴシック", u"丸ゴシック", "Maru Gothic"},
    {"教科書体", u"教科書体", "Kyokasho"}, {"ポップ", u"ポップ", "Pop"}, {"楷書", u"楷書", "Kaisho"},
    {"ｺﾞｼｯｸ", u"ｺﾞｼｯｸ", "Gothic Narrow"},  {"行書", u"行書", "Gyosho"},
};
constexpr const char* kMakers[] = {"グリムラ", "ＭＳ ", "IPA", "源ノ", "ヒラギノ", "Glimra "};
constexpr const char* kMakersEnglish[] = {"Glimra", "MS ", "IPA", "Gen No ", "Hiragino ", "Glimra "};

struct Face {
  std::string faceName;
  std::u16string japanese, english;
};

std::u16string Widen(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

std::vector<Face> MakeFaces(int count) {
  std::uint32_t seed = 2026u;
  auto next = [&] { return seed = seed * 1664525u + 1013904223u, seed >> 8; };
  std::vector<Face> faces;
  for (int i = 0; i < count; ++i) {
    const Word& word = kWords[next() % std::size(kWords)];
    const std::size_t maker = next() % std::size(kMakers);
    const std::string number = " " + std::to_string(i);
    Face face;
    face.faceName = kMakers[maker] + std::string(word.cp932) + number;
    if (i % 5 != 0) face.japanese = std::u16string(word.japanese) + Widen(number);  // some have no Japanese name
    face.english = Widen(kMakersEnglish[maker] + std::string(word.english) + number);
    faces.push_back(std::move(face));
  }
  return faces;
}

search::NameIndex MakeIndex(const std::vector<Face>& faces) {
  search::NameIndex index;
  for (const Face& face : faces) index.Add({face.faceName, face.japanese, face.english});
  return index;
}

void BM_BuildIndex(benchmark::State& state) {
  const std::vector<Face> faces = MakeFaces(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(MakeIndex(faces));
  state.counters["per_face"] = benchmark::Counter(
      static_cast<double>(faces.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_BuildIndex)->Arg(5000)->Unit(benchmark::kMillisecond);

// Types the query one character at a time, filtering after each.
constexpr const char* kTyped[] = {"ごしっく", "ｺﾞｼｯｸ", "glimra mincho 4", "ＩＰＡ", "明朝 12", "zzz"};

void BM_Keystroke(benchmark::State& state) {
  const search::NameIndex index = MakeIndex(MakeFaces(5000));
  const std::string typed = kTyped[state.range(0)];
  state.SetLabel(fonttables::ToUtf8(fonttables::DecodeCp932(typed)));
  std::size_t keystrokes = 0, found = 0;
  for (auto _ : state) {
    for (std::size_t end = cp932::Next(typed, 0);; end = cp932::Next(typed, end)) {
      found = index.Filter(search::Query::FromCp932(std::string_view(typed).substr(0, end))).size();
      ++keystrokes;
      if (end == typed.size()) break;
    }
  }
  state.counters["faces_found"] = static_cast<double>(found);
  state.counters["per_keystroke"] =
      benchmark::Counter(static_cast<double>(keystrokes), benchmark::Counter::kInvert | benchmark::Counter::kIsRate);
}
// Wall-clock time: what the user waits for on a busy machine.
BENCHMARK(BM_Keystroke)->DenseRange(0, std::size(kTyped) - 1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

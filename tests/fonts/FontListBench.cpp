// How the catalogue scales: rebuilds of 500, 5,000 and 50,000 faces of about
// six entries each from a scripted enumeration, and ApplyFilter over them.
// Prints the time per entry (per face for the filter) and the ratio of the
// largest catalogue to the smallest; the goal is to stay within 3x.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "fonts/FontList.h"

namespace {

class ScriptedFonts : public FontSystem {
 public:
  explicit ScriptedFonts(int faces) {
    std::uint32_t seed = 2024u + static_cast<std::uint32_t>(faces);
    auto next = [&] { return seed = seed * 1664525u + 1013904223u, seed >> 8; };
    const char* kana[] = {"ゴシック", "明朝", "丸ゴ", "ソフト", "表示", "ポップ"};
    const unsigned char sets[] = {0, 238, 204, 161, 162, 186, 128, 136};
    std::vector<std::vector<FontEntry>> groups;
    for (int f = 0; f < faces; ++f) {
      std::string name;
      switch (f % 4) {
        case 0: name = "Face " + std::to_string(next() % 100000000) + " Sans"; break;
        case 1: name = "ＭＳ " + std::string(kana[next() % 6]) + std::to_string(next() % 100000000); break;
        case 2: name = "ipa" + std::string(kana[next() % 6]) + "-" + std::to_string(next() % 100000000); break;
        default: name = "@ﾌｫﾝﾄ" + std::to_string(next() % 100000000); break;
      }
      std::vector<FontEntry> group;
      const int count = 4 + static_cast<int>(next() % 5);  // 4..8, about six
      for (int e = 0; e < count; ++e) {
        // The same face sometimes comes back in another letter case.
        std::string spelt = (e == 2 && f % 3 == 0) ? Upper(name) : name;
        group.push_back({spelt, sets[(f + e) % 8], 400, 0, "Regular"});
      }
      groups.push_back(std::move(group));
    }
    // Windows reports a face's character sets together, but the faces in no
    // name order: shuffle the faces.
    for (std::size_t i = groups.size(); i > 1; --i) std::swap(groups[i - 1], groups[next() % i]);
    for (auto& group : groups)
      for (auto& entry : group) {
        script_.push_back({names_.size(), entry.faceName.size(), entry.charset});
        names_ += entry.faceName;
      }
  }

  void EnumerateFaces(const std::function<void(const FontEntry&)>& sink) override {
    // Like Windows, hand each entry over in one reused record.
    FontEntry entry;
    entry.weight = 400;
    entry.styleName = "Regular";
    for (const Scripted& e : script_) {
      entry.faceName.assign(names_, e.nameAt, e.nameLength);
      entry.charset = e.charset;
      sink(entry);
    }
  }
  int LoadFontFile(const std::string&) override { return 0; }
  int UnloadFontFile(const std::string&) override { return 0; }
  std::size_t Entries() const { return script_.size(); }

 private:
  static std::string Upper(std::string s) {
    for (char& c : s)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);  // ASCII-only names here
    return s;
  }
  struct Scripted {
    std::size_t nameAt, nameLength;
    unsigned char charset;
  };
  std::string names_;
  std::vector<Scripted> script_;
};

void BM_Rebuild(benchmark::State& state) {
  ScriptedFonts fonts(static_cast<int>(state.range(0)));
  DisplaySettings settings;
  settings.Favourites = {"Face 1 Sans", "ＭＳ 明朝1"};
  CFontList list(fonts, &settings);
  list.Rebuild(true);  // a baseline to compare against
  for (auto _ : state) list.Rebuild(false);
  state.counters["per_entry"] =
      benchmark::Counter(static_cast<double>(fonts.Entries()),
                         benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Rebuild)->Arg(500)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_ApplyFilter(benchmark::State& state) {
  ScriptedFonts fonts(static_cast<int>(state.range(0)));
  DisplaySettings settings;
  CFontList list(fonts, &settings);
  list.Rebuild(true);
  const std::vector<int> filters = {kFilterWestern, kFilterJapanese, kFilterRegistered, kFilterTemporary};
  for (auto _ : state) list.ApplyFilter(filters);
  state.counters["per_face"] =
      benchmark::Counter(static_cast<double>(list.MasterList().size()),
                         benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ApplyFilter)->Arg(500)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

// Collects the per-item figures to print the scaling ratio at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration) continue;
      for (const char* counter : {"per_entry", "per_face"}) {
        auto it = run.counters.find(counter);
        if (it == run.counters.end()) continue;
        // Other programs on the machine only ever add time: keep the best.
        auto [at, fresh] = figures_.try_emplace(run.benchmark_name(), it->second.value);
        if (!fresh && it->second.value < at->second) at->second = it->second.value;
      }
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const char* name : {"BM_Rebuild", "BM_ApplyFilter"}) {
      const std::string base = std::string(name) + "/";
      auto small = figures_.find(base + "500"), large = figures_.find(base + "50000");
      if (small == figures_.end() || large == figures_.end() || small->second <= 0) continue;
      for (const char* size : {"500", "5000", "50000"}) {
        auto at = figures_.find(base + size);
        if (at != figures_.end())
          std::printf("%s %6s faces: %8.1f ns per item (best of the repetitions)\n", name, size, at->second * 1e9);
      }
      const double ratio = large->second / small->second;
      std::printf("%s: time per item at 50000 faces / at 500 faces = %.2f (%s)\n", name, ratio,
                  ratio <= 3.0 ? "within 3x" : "OVER 3x");
    }
  }

 private:
  std::map<std::string, double> figures_;
};

}  // namespace

int main(int argc, char** argv) {
  // Several repetitions by default; the best of them is compared.
  std::vector<char*> args(argv, argv + argc);
  std::string repetitions = "--benchmark_repetitions=5";
  bool given = false;
  for (int i = 1; i < argc; ++i) given |= std::string(argv[i]).rfind("--benchmark_repetitions", 0) == 0;
  if (!given) args.push_back(repetitions.data());
  argc = static_cast<int>(args.size());
  args.push_back(nullptr);
  argv = args.data();
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

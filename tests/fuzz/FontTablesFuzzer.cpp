// libFuzzer target: the font-table reader and the coverage counts on
// whatever the fuzzer makes. The first byte chooses what the rest is:
//   0: a font file or collection, every face measured;
//   1: a 'cmap' table;  2: a 'name' table;  3: a 'GSUB' table.
// Besides not crashing, a character map must be sorted, disjoint and inside
// Unicode, and the counts must agree with the missing lists.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "coverage/Coverage.h"
#include "fonttables/Text.h"

namespace {

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

void CheckMap(const fonttables::CharacterMap& map) {
  char32_t next = 0;
  bool first = true;
  for (fonttables::CodeRange r : map.Ranges()) {
    Check(r.first <= r.last && r.last <= 0x10FFFF, "ranges inside Unicode");
    Check(first || r.first > next, "ranges sorted and apart");
    next = r.last + 1;
    first = false;
  }
  for (const coverage::CharacterSet& set : coverage::kCharacterSets)
    Check(coverage::CountCovered(map, set) + coverage::Missing(map, set).size() == set.chars.size(),
          "counted and missing make the set");
}

void MeasureFile(fonttables::Bytes file) {
  auto faces = fonttables::FaceOffsets(file);
  if (!faces) return;
  for (std::size_t offset : *faces) {
    auto tables = fonttables::TableDirectory::Read(file, offset);
    if (!tables) continue;
    auto report = coverage::MeasureFace(*tables);
    auto map = coverage::ReadCharacterMap(*tables);
    Check(bool(report) || !report.Error().empty(), "failures give a reason");
    if (report && map) {
      Check(report->covered[coverage::kJoyo] == coverage::CountCovered(*map, coverage::kCharacterSets[coverage::kJoyo]),
            "report and map agree");
      fonttables::ToUtf8(report->names.japanese);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  fonttables::Bytes rest(data + 1, size - 1);
  switch (data[0] & 3) {
    case 0: MeasureFile(rest); break;
    case 1:
      if (auto map = fonttables::ReadCmap(rest)) CheckMap(*map);
      break;
    case 2:
      if (auto names = fonttables::ReadFamilyNames(rest)) fonttables::ToUtf8(names->english);
      fonttables::DecodeCp932(std::string_view(reinterpret_cast<const char*>(rest.data()), rest.size()));
      break;
    case 3:
      if (auto tags = fonttables::ReadFeatureTags(rest)) fonttables::FindVerticalForms(*tags);
      break;
  }
  return 0;
}

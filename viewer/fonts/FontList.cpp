#include "fonts/FontList.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <unordered_set>

#include "common/Cp932.h"
#include "framework/InvalidArgument.h"

namespace {

// Keys whose byte order is the catalogue's case-insensitive order.
void AppendSortKey(std::string_view name, std::string& out) { cp932::AppendSortKeyNoCase(name, out); }

std::string SortKey(std::string_view name) { return cp932::SortKeyNoCase(name); }

bool Contains(const std::vector<int>& codes, int code) {
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// Gathers one enumeration: the faces with their keys in one buffer, found
// again through an open-addressing table, and the entries in arrival order.
// The records are made afterwards, in catalogue order, so that walking the
// master list walks memory in order.
class FaceCollector {
 public:
  struct Face {
    std::size_t nameAt, nameLength;
    std::size_t keyAt, keyLength;
    std::uint32_t entries = 0;
  };
  struct Entry {
    std::uint32_t face;
    int weight;
    unsigned char charset, italic;
  };

  // Room for about as many faces and entries as the last enumeration had.
  void Reserve(std::size_t faces, std::size_t entries) {
    faces_.reserve(faces + faces / 8);
    entries_.reserve(entries + entries / 8);
    names_.reserve(faces * 24);
    keys_.reserve(faces * 32);
    std::size_t slots = 64;
    while (slots < faces * 2) slots *= 2;
    slots_.assign(slots, kNone);
  }

  void Add(const FontEntry& e) {
    // Windows reports the character sets of a face one after the other.
    if (last_ == kNone || Name(last_) != e.faceName) last_ = FindOrAdd(e.faceName);
    ++faces_[last_].entries;
    const bool italic = e.italic != 0 || cp932::EqualsNoCase(e.styleName, "Italic");
    entries_.push_back({last_, e.weight, e.charset, static_cast<unsigned char>(italic ? 1 : 0)});
  }

  std::string_view Name(std::uint32_t face) const {
    return std::string_view(names_).substr(faces_[face].nameAt, faces_[face].nameLength);
  }
  std::string_view Key(std::uint32_t face) const {
    return std::string_view(keys_).substr(faces_[face].keyAt, faces_[face].keyLength);
  }

  // A face in catalogue order with where its text and entries are.
  struct Sorted {
    std::uint64_t high, low;  // the key's first 16 bytes, zero-padded
    std::size_t nameAt, keyAt, entriesAt;
    std::uint32_t nameLength, keyLength, entries;
  };

  // The faces in catalogue order, and every entry regrouped in that order
  // by face (each group in arrival order) into `grouped`. Sorting on the
  // key's head held in the item spares most comparisons a look at the key
  // text; the entries are then written, not read, out of order.
  std::vector<Sorted> Finish(std::vector<Entry>& grouped) const {
    std::vector<Sorted> items(faces_.size());
    for (std::uint32_t f = 0; f < items.size(); ++f) {
      const Face& face = faces_[f];
      unsigned char head[16] = {};  // the zero padding sorts first, as a shorter key does
      Key(f).copy(reinterpret_cast<char*>(head), sizeof head);
      std::uint64_t high = 0, low = 0;
      for (int b = 0; b < 8; ++b) high = (high << 8) | head[b];
      for (int b = 8; b < 16; ++b) low = (low << 8) | head[b];
      items[f] = {high,
                  low,
                  face.nameAt,
                  face.keyAt,
                  f,  // the face for now; where its entries go after sorting
                  static_cast<std::uint32_t>(face.nameLength),
                  static_cast<std::uint32_t>(face.keyLength),
                  face.entries};
    }
    std::sort(items.begin(), items.end(), [this](const Sorted& a, const Sorted& b) {
      if (a.high != b.high) return a.high < b.high;
      if (a.low != b.low) return a.low < b.low;
      return KeyOf(a) < KeyOf(b);
    });
    std::vector<std::size_t> fill(items.size());
    std::size_t at = 0;
    for (Sorted& item : items) {
      fill[item.entriesAt] = at;
      item.entriesAt = at;
      at += item.entries;
    }
    grouped.resize(entries_.size());
    for (const Entry& e : entries_) grouped[fill[e.face]++] = e;
    return items;
  }

  std::string_view NameOf(const Sorted& s) const { return std::string_view(names_).substr(s.nameAt, s.nameLength); }
  std::string_view KeyOf(const Sorted& s) const { return std::string_view(keys_).substr(s.keyAt, s.keyLength); }

 private:
  static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

  std::uint32_t FindOrAdd(const std::string& name) {
    const std::size_t keyAt = keys_.size();
    AppendSortKey(name, keys_);
    const std::string_view key = std::string_view(keys_).substr(keyAt);
    if ((faces_.size() + 1) * 2 > slots_.size()) Grow();
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = std::hash<std::string_view>{}(key)&mask;; at = (at + 1) & mask) {
      if (slots_[at] == kNone) {
        slots_[at] = static_cast<std::uint32_t>(faces_.size());
        faces_.push_back({names_.size(), name.size(), keyAt, key.size()});
        names_.append(name);
        return slots_[at];
      }
      if (Key(slots_[at]) == key) {
        keys_.resize(keyAt);  // known face in another spelling
        return slots_[at];
      }
    }
  }

  void Grow() {
    std::vector<std::uint32_t> slots(slots_.empty() ? 64 : slots_.size() * 2, kNone);
    const std::size_t mask = slots.size() - 1;
    for (std::uint32_t face = 0; face < faces_.size(); ++face) {
      std::size_t at = std::hash<std::string_view>{}(Key(face)) & mask;
      while (slots[at] != kNone) at = (at + 1) & mask;
      slots[at] = face;
    }
    slots_.swap(slots);
  }

  std::vector<Face> faces_;
  std::vector<Entry> entries_;
  std::string names_, keys_;  // all faces' text in two buffers
  std::vector<std::uint32_t> slots_;
  std::uint32_t last_ = kNone;
};

}  // namespace

CFontList::CFontList(FontSystem& system, DisplaySettings* settings) : system_(system), settings_(settings) {}

CFontList::~CFontList() = default;

_FONTDEF& CFontList::Visible(int index) const {
  if (index < 0 || index >= GetCount()) throw fw::InvalidArgumentError("font index outside the visible list");
  return *visible_[static_cast<std::size_t>(index)];
}

int CFontList::CheckedEntry(const _FONTDEF& font) {
  if (font.chosenEntry < 0 || static_cast<std::size_t>(font.chosenEntry) >= font.charsets.size())
    throw fw::InvalidArgumentError("chosen entry outside the font's entries");
  return font.chosenEntry;
}

const _FONTDEF& CFontList::GetFont(int index) const { return Visible(index); }

void CFontList::Rebuild(bool resetBaseline) {
  FaceCollector collector;
  collector.Reserve(master_.size(), lastEntryCount_);
  system_.EnumerateFaces([&](const FontEntry& entry) { collector.Add(entry); });

  std::unordered_set<std::string_view> favourites;
  if (settings_) {
    for (const std::string& name : settings_->Favourites)
      if (!name.empty()) favourites.insert(name);
  }

  std::vector<FaceCollector::Entry> entries;
  const std::vector<FaceCollector::Sorted> sorted = collector.Finish(entries);

  // The old records are recycled: a rebuild after a font change mostly finds
  // the same faces in the same order, so names and entry arrays keep their
  // memory and the new list lies where the old one did.
  visible_.clear();
  visibleMaster_.clear();
  std::vector<std::unique_ptr<_FONTDEF>> spare;
  spare.swap(master_);
  std::size_t spareAt = 0;
  std::vector<std::unique_ptr<_FONTDEF>> master;
  std::vector<FaceSummary> summaries;
  master.reserve(sorted.size());
  summaries.reserve(sorted.size());
  std::string newBaselineKeys;
  std::vector<std::size_t> newBaselineEnds;
  std::size_t baselineAt = 0;  // merge walk over the (sorted) baseline keys
  for (const FaceCollector::Sorted& face : sorted) {
    std::unique_ptr<_FONTDEF> font;
    if (spareAt < spare.size()) {
      font = std::move(spare[spareAt++]);
      font->charsets.clear();
      font->weights.clear();
      font->italics.clear();
      font->chosenEntry = 0;
      font->candidate = 0;
    } else {
      font = std::make_unique<_FONTDEF>();
    }
    font->name.assign(collector.NameOf(face));
    const std::size_t count = face.entries;
    font->charsets.reserve(count);
    font->weights.reserve(count);
    font->italics.reserve(count);
    FaceSummary summary;
    summary.vertical = !font->name.empty() && font->name[0] == '@';
    for (std::size_t g = face.entriesAt; g < face.entriesAt + count; ++g) {
      const FaceCollector::Entry& e = entries[g];
      const int at = static_cast<int>(font->charsets.size());
      if (e.charset == 0 || e.charset == 1) summary.lastWestern = at;
      if (e.charset >= 128) summary.lastHigh = at;
      if (e.charset == 128) summary.lastJapanese = at;
      summary.last = at;
      font->charsets.push_back(e.charset);
      font->weights.push_back(e.weight);
      font->italics.push_back(e.italic);
    }
    font->favourite = favourites.count(font->name) ? 1 : 0;
    const std::string_view key = collector.KeyOf(face);
    if (resetBaseline) {
      newBaselineKeys.append(key);
      newBaselineEnds.push_back(newBaselineKeys.size());
      font->kind = kFontRegistered;
    } else {
      while (baselineAt < baselineKeyEnds_.size() && BaselineKey(baselineAt) < key) ++baselineAt;
      const bool known = baselineAt < baselineKeyEnds_.size() && BaselineKey(baselineAt) == key;
      font->kind = known ? kFontRegistered : kFontTemporary;
    }
    summary.kind = font->kind;
    summary.favourite = static_cast<unsigned char>(font->favourite);
    master.push_back(std::move(font));
    summaries.push_back(summary);
  }

  master_.swap(master);
  summaries_.swap(summaries);
  lastEntryCount_ = entries.size();
  if (resetBaseline) {
    baseline_.clear();
    baseline_.reserve(master_.size());
    for (const auto& font : master_) baseline_.push_back(font->name);
    baselineKeys_.swap(newBaselineKeys);
    baselineKeyEnds_.swap(newBaselineEnds);
  }

  ApplyFilter({kFilterAllLanguages, kFilterRegistered, kFilterTemporary});
}

std::string_view CFontList::BaselineKey(std::size_t i) const {
  const std::size_t begin = i == 0 ? 0 : baselineKeyEnds_[i - 1];
  return std::string_view(baselineKeys_).substr(begin, baselineKeyEnds_[i] - begin);
}

void CFontList::ApplyFilter(const std::vector<int>& filters) {
  visible_.clear();
  visibleMaster_.clear();
  const bool allLanguages = Contains(filters, kFilterAllLanguages);
  const bool showRegistered = Contains(filters, kFilterRegistered);
  const bool showTemporary = Contains(filters, kFilterTemporary);
  std::vector<int> languages;
  for (int code : filters)
    if (code >= 0) languages.push_back(code);

  // The view asks only for Western, Japanese and all languages; those choices
  // come from the classes noted at the rebuild without reading the entries.
  const bool onlyCommonCodes = std::all_of(languages.begin(), languages.end(),
                                           [](int f) { return f == kFilterWestern || f == kFilterJapanese; });
  const bool western = Contains(languages, kFilterWestern);
  const bool japanese = Contains(languages, kFilterJapanese);

  visible_.reserve(master_.size());
  visibleMaster_.reserve(master_.size());
  for (std::size_t m = 0; m < master_.size(); ++m) {
    const FaceSummary& summary = summaries_[m];
    if (summary.vertical) continue;  // vertical-writing twin
    if (settings_) {
      if (settings_->ListMode == kListFavourites && !summary.favourite) continue;
      if (settings_->ListMode == kListCandidates && !summary.candidate) continue;
    }
    if (!((showRegistered && summary.kind == kFontRegistered) || (showTemporary && summary.kind == kFontTemporary)))
      continue;
    _FONTDEF& font = *master_[m];

    // Each class keeps the last entry that matches it; the first class in
    // the order Japanese, other, Western, high, low that has one decides.
    int classJapanese = -1, classOther = -1, classWestern = -1, classHigh = -1, classLow = -1;
    if (onlyCommonCodes) {
      if (japanese) classJapanese = allLanguages ? summary.last : summary.lastJapanese;
      if (western) classWestern = summary.lastWestern;
      if (allLanguages) {
        classHigh = summary.lastHigh;
        classLow = summary.lastWestern;
      }
    } else {
      for (std::size_t i = 0; i < font.charsets.size(); ++i) {
        const int c = font.charsets[i];
        const int at = static_cast<int>(i);
        if (allLanguages) {
          if (c == 0 || c == 1) classLow = at;
          if (c >= 128) classHigh = at;
        }
        for (int f : languages) {
          if (f == kFilterWestern) {
            if (c == 0 || c == 1) classWestern = at;
          } else if (f == kFilterJapanese) {
            if (c == 128 || allLanguages) classJapanese = at;
          } else if (c == f || allLanguages) {
            classOther = at;
          }
        }
      }
    }
    int chosen = -1;
    for (int candidate : {classJapanese, classOther, classWestern, classHigh, classLow}) {
      if (candidate != -1) {
        chosen = candidate;
        break;
      }
    }
    if (chosen == -1) continue;
    if (!std::all_of(narrowings_.begin(), narrowings_.end(),
                     [&font](const Narrowing& keep) { return !keep || keep(font); }))
      continue;
    font.chosenEntry = chosen;
    visible_.push_back(&font);
    visibleMaster_.push_back(static_cast<std::uint32_t>(m));
  }
}

void CFontList::SetNarrowing(NarrowingSlot slot, Narrowing keep) { narrowings_.at(slot) = std::move(keep); }

int CFontList::FindVisible(std::string_view name) const {
  for (std::size_t i = 0; i < visible_.size(); ++i)
    if (visible_[i]->name == name) return static_cast<int>(i);
  return -1;
}

std::string CFontList::GetName(int index) const { return Visible(index).name; }

void CFontList::GetLogFont(int index, FontLogFont& lf) const {
  const _FONTDEF& font = Visible(index);
  const std::size_t entry = static_cast<std::size_t>(CheckedEntry(font));
  lf = FontLogFont{};
  lf.charset = font.charsets[entry];
  lf.weight = font.weights[entry];
  lf.italic = font.italics[entry];
  // Windows limits face names to 31 bytes; never cut a double-byte character.
  std::size_t length = 0;
  while (length < font.name.size()) {
    std::size_t next = cp932::Next(font.name, length);
    if (next > static_cast<std::size_t>(FontLogFont::kFaceSize - 1)) break;
    length = next;
  }
  font.name.copy(lf.faceName, length);
  lf.faceName[length] = '\0';
}

std::string CFontList::ConvertSample(int index, std::string_view text) const {
  const _FONTDEF& font = Visible(index);
  const bool japanese = font.charsets[static_cast<std::size_t>(CheckedEntry(font))] == 128;
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (cp932::IsDoubleByteAt(text, i)) {
      if (japanese) {
        out.append(text.substr(i, 2));
      } else {
        out.push_back('?');
      }
      i += 2;
    } else {
      out.push_back(text[i]);
      ++i;
    }
  }
  return out;
}

int CFontList::SetFavourite(int index, bool on) {
  _FONTDEF& font = Visible(index);
  if (!settings_) return 0;
  auto& list = settings_->Favourites;
  auto found = std::find(list.begin(), list.end(), font.name);
  if (found != list.end()) {
    if (!on) list.erase(found);
  } else if (on && static_cast<long long>(list.size()) < settings_->FavMax) {
    list.push_back(font.name);
  }
  font.favourite = on ? 1 : 0;
  SummaryOf(index).favourite = static_cast<unsigned char>(font.favourite);
  return 1;
}

void CFontList::SetCandidate(int index, bool on) {
  Visible(index).candidate = on ? 1 : 0;
  SummaryOf(index).candidate = on ? 1 : 0;
}

int CFontList::AddTempFontFile(const std::string& path, const char* owner) {
  std::unordered_set<std::string> before;
  if (owner) {
    before.reserve(master_.size());
    for (const auto& font : master_) before.insert(font->name);
  }
  const int loaded = system_.LoadFontFile(path);
  if (!owner) return loaded;

  Rebuild(false);
  // A refused file brought nothing: faces that appeared meanwhile are not its.
  if (loaded == 0) return 0;
  std::unordered_set<std::string> recorded;
  for (const auto& temp : temps_) recorded.insert(SortKey(temp->name));
  for (const auto& font : master_) {
    if (before.count(font->name)) continue;
    if (!recorded.insert(SortKey(font->name)).second) continue;  // already recorded
    temps_.push_back(std::make_unique<_TMPFONTDEF>(_TMPFONTDEF{font->name, owner}));
  }
  return loaded;
}

int CFontList::RemoveTempFontFile(const std::string& path) {
  std::erase_if(temps_,
                [&](const std::unique_ptr<_TMPFONTDEF>& temp) { return cp932::EqualsNoCase(temp->path, path); });
  return system_.UnloadFontFile(path);
}

void CFontList::MarkPermanent(int index) {
  _FONTDEF& font = Visible(index);
  font.kind = kFontRegistered;
  SummaryOf(index).kind = kFontRegistered;
  auto found = std::find_if(temps_.begin(), temps_.end(), [&](const auto& temp) { return temp->name == font.name; });
  if (found != temps_.end()) temps_.erase(found);
  // Keep it registered across later rebuilds: it is installed for good now.
  const std::string key = SortKey(font.name);
  std::size_t at = 0;
  while (at < baselineKeyEnds_.size() && BaselineKey(at) < key) ++at;
  if (at < baselineKeyEnds_.size() && BaselineKey(at) == key) return;
  baseline_.push_back(font.name);
  const std::size_t offset = at == 0 ? 0 : baselineKeyEnds_[at - 1];
  baselineKeys_.insert(offset, key);
  baselineKeyEnds_.insert(baselineKeyEnds_.begin() + static_cast<std::ptrdiff_t>(at), offset);
  for (std::size_t i = at; i < baselineKeyEnds_.size(); ++i) baselineKeyEnds_[i] += key.size();
}

std::string CFontList::FindTempPath(std::string_view faceName) const {
  for (const auto& temp : temps_)
    if (cp932::EqualsNoCase(temp->name, faceName)) return temp->path;
  return {};
}

std::string CFontList::TempPathAt(int index) const {
  const _FONTDEF& font = Visible(index);
  for (const auto& temp : temps_)
    if (temp->name == font.name) return temp->path;
  return {};
}

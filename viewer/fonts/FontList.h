#pragma once
// CFontList: the viewer's font catalogue. One record per face name in a master
// list sorted case-insensitively (code page 932 rules), a visible list that the
// view draws (filtered by language, kind and list mode), a baseline of the
// faces present at the last reset (faces added later count as temporary), and
// the faces that font files loaded by the viewer brought.
//
// Indexes taken by the operations are indexes into the visible list; one
// outside it raises fw::InvalidArgumentError and changes nothing.
// Portable: no windows.h (Win32FontSystem.h turns FontLogFont into LOGFONTA).
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fonts/FontSystem.h"
#include "settings/DisplaySettings.h"

// Kinds of a face.
inline constexpr int kFontRegistered = 0;  // present at the last reset
inline constexpr int kFontTemporary = 2;   // appeared after it

// Filter codes for ApplyFilter besides the character sets themselves.
inline constexpr int kFilterWestern = 0;     // character set 0 or 1
inline constexpr int kFilterJapanese = 128;  // SHIFTJIS_CHARSET
inline constexpr int kFilterAllLanguages = -1;
inline constexpr int kFilterRegistered = -2;
inline constexpr int kFilterTemporary = -3;

struct _FONTDEF {
  std::string name;                     // as spelt by the first entry
  std::vector<unsigned char> charsets;  // one per enumeration entry,
  std::vector<int> weights;             // in enumeration order;
  std::vector<unsigned char> italics;   // the three always equally long
  int kind = kFontRegistered;
  int chosenEntry = 0;  // set by ApplyFilter: the entry used to draw
  int favourite = 0;
  int candidate = 0;
};

struct _TMPFONTDEF {
  std::string name;  // face name
  std::string path;  // the font file that brought it
};

// The font-describing part of a LOGFONT: what a sample font is made from.
struct FontLogFont {
  static constexpr int kFaceSize = 32;  // LF_FACESIZE, terminating zero included
  int height = 0;                       // left 0: the caller sets it
  int weight = 0;
  unsigned char italic = 0;
  unsigned char charset = 0;
  char faceName[kFaceSize] = {};
};

class CFontList {
 public:
  // The settings (not owned) give the favourites, their limit and the list
  // mode; without them list modes and favourites are skipped.
  explicit CFontList(FontSystem& system, DisplaySettings* settings = nullptr);
  CFontList(const CFontList&) = delete;
  CFontList& operator=(const CFontList&) = delete;
  virtual ~CFontList();

  void BindSettings(DisplaySettings* settings) { settings_ = settings; }

  // Re-enumerates every face. With reset, every face present now becomes
  // registered; otherwise faces not in the baseline are temporary. Candidate
  // marks are cleared, favourite marks restored from the favourites list.
  // Ends with ApplyFilter({-1, -2, -3}).
  void Rebuild(bool resetBaseline);

  // Rebuilds the visible list from the filter codes above and the list mode,
  // choosing for each shown face the entry it is drawn with.
  void ApplyFilter(const std::vector<int>& filters);

  // Narrowings that features beyond the display switches lay on top of them,
  // one per slot: ApplyFilter keeps only the faces every set narrowing keeps.
  // An empty function lifts the slot's narrowing; the caller applies again.
  enum NarrowingSlot { kNarrowCoverage, kNarrowSearch, kNarrowingSlots };
  using Narrowing = std::function<bool(const _FONTDEF&)>;
  void SetNarrowing(NarrowingSlot slot, Narrowing keep);

  int GetCount() const { return static_cast<int>(visible_.size()); }
  // The visible row showing that face (exact name), or -1.
  int FindVisible(std::string_view name) const;
  // The record behind a visible row (kind, marks, entries).
  const _FONTDEF& GetFont(int index) const;

  std::string GetName(int index) const;
  // Character set, weight, italic flag of the chosen entry and the face name;
  // every other field 0.
  void GetLogFont(int index, FontLogFont& lf) const;
  // The sample as the chosen character set can show it: double-byte
  // characters become "?" unless the set is 128.
  std::string ConvertSample(int index, std::string_view text) const;

  // 1 done, 0 when no settings are bound. Adding respects FavMax but the flag
  // follows the argument either way (the caller checks the limit first).
  int SetFavourite(int index, bool on);
  void SetCandidate(int index, bool on);

  // Loads a font file; with an owner, records the faces it brought under the
  // owner path (one record per face, case-insensitively). Returns the number
  // of faces loaded, 0 when the system refused the file.
  int AddTempFontFile(const std::string& path, const char* owner);
  // Forgets the faces recorded for path (case-insensitive) and unloads it.
  int RemoveTempFontFile(const std::string& path);
  // The face was installed for good: it becomes and stays registered.
  void MarkPermanent(int index);
  // Path of the first temporary record of that face (case-insensitive), or "".
  std::string FindTempPath(std::string_view faceName) const;
  // Same for a visible row, matching its face name exactly.
  std::string TempPathAt(int index) const;

  // Read-only views for diagnostics and tests.
  const std::vector<std::unique_ptr<_FONTDEF>>& MasterList() const { return master_; }
  const std::vector<std::string>& Baseline() const { return baseline_; }
  const std::vector<std::unique_ptr<_TMPFONTDEF>>& TempRecords() const { return temps_; }

 private:
  // Per master record, beside it: which entries fall in which class (noted
  // at the rebuild) and a copy of the marks that a filter reads, so that a
  // filter pass reads this small array instead of every record.
  struct FaceSummary {
    int lastJapanese = -1;  // character set 128
    int lastWestern = -1;   // 0 or 1
    int lastHigh = -1;      // 128 and above
    int last = -1;
    int kind = kFontRegistered;
    unsigned char favourite = 0, candidate = 0;
    bool vertical = false;  // name begins with '@'
  };

  _FONTDEF& Visible(int index) const;
  FaceSummary& SummaryOf(int index) { return summaries_[visibleMaster_[static_cast<std::size_t>(index)]]; }
  static int CheckedEntry(const _FONTDEF& font);
  std::string_view BaselineKey(std::size_t i) const;

  FontSystem& system_;
  DisplaySettings* settings_;
  std::vector<std::string> baseline_;
  // The baseline as sort keys in catalogue order, packed end to end, so that
  // a rebuild decides every kind in one merge walk.
  std::string baselineKeys_;
  std::vector<std::size_t> baselineKeyEnds_;
  std::vector<std::unique_ptr<_FONTDEF>> master_;
  std::vector<FaceSummary> summaries_;  // parallel to master_
  std::size_t lastEntryCount_ = 0;      // enumeration entries at the last rebuild
  std::vector<_FONTDEF*> visible_;
  std::vector<std::uint32_t> visibleMaster_;  // master index of each visible row
  std::vector<std::unique_ptr<_TMPFONTDEF>> temps_;
  std::array<Narrowing, kNarrowingSlots> narrowings_;
};

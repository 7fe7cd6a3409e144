#pragma once
// Finding faces by name as the user types, and the English family names in
// the labels. Ctrl+F opens the frame's find bar; each change of its edit box
// narrows the visible list to the faces whose enumerated, Japanese or
// English name contains the text; Esc empties the box, hides the bar and
// gives the list back. The family names come from the background face
// scanner: while its results arrive, a timer takes them in a few times a
// second instead of on every batch.
#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "facescan/FaceScanner.h"
#include "fonts/FontList.h"
#include "framework/Framework.h"
#include "search/FaceSearch.h"
#include "view/RowLabels.h"
#include "view/SampleListModel.h"

class SearchCommandTarget : public fw::CCmdTarget {
  FW_DECLARE_MESSAGE_MAP()

 public:
  // renarrow applies the narrowings again, keeping the selection.
  SearchCommandTarget(fw::CWnd& view, CFontList& fonts, const viewer::SampleListModel& model,
                      facescan::FaceScanner& scanner, fw::ProfileStore& profile, std::function<void()> renarrow);
  ~SearchCommandTarget() override;
  SearchCommandTarget(const SearchCommandTarget&) = delete;
  SearchCommandTarget& operator=(const SearchCommandTarget&) = delete;

  // " / IPAGothic" after the face name while 英語名も表示 is on.
  const RowLabelProvider& Labels() const { return labels_; }
  // GLIMRA_QUERY_SEARCH_* answers: the last text change's times.
  LRESULT Query(int what) const;

 private:
  class EnglishLabels : public RowLabelProvider {
   public:
    explicit EnglishLabels(SearchCommandTarget& owner) : owner_(owner) {}
    std::string NameSuffix(const std::string& face) const override;

   private:
    SearchCommandTarget& owner_;
  };

  void OnFind();
  void OnTextChange();
  // Esc in the find bar; other dialog bars' Esc goes on.
  bool OnCancel(unsigned id);
  // Enter in the find bar: on to the list.
  bool OnEnter(unsigned id);
  void OnEnglishNames();
  void OnUpdateEnglishNames(fw::CCmdUI* ui);

  fw::CDialogBar* Bar() const;
  HWND Edit() const;
  // Whether the window is (in) the shown find bar.
  bool InBar(HWND window) const;
  // Queues every face for the scanner, the rows on screen first.
  void RequestScan();
  // Folds the catalogue's names again when the catalogue changed since the
  // last time or, with newNames, when the scanner collected more. True when
  // the faces the text keeps changed.
  bool UpdateNames(bool newNames);
  void ApplyNarrowing();
  void StartTimer();
  void OnTick();
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);

  fw::CWnd& view_;
  CFontList& fonts_;
  const viewer::SampleListModel& model_;
  facescan::FaceScanner& scanner_;
  fw::ProfileStore& profile_;
  std::function<void()> renarrow_;
  EnglishLabels labels_{*this};

  search::FaceSearch search_;
  long long matchMicroseconds_ = -1, paintMicroseconds_ = -1;
  bool englishNames_ = false;
  bool namesArrived_ = false;  // scanner results not yet taken in
  bool timer_ = false;
  // What the folded names were made from: the catalogue and the scan.
  std::size_t namesCatalogue_ = 0;
  const void* namesFirstFace_ = nullptr;
  std::size_t namesCollected_ = 0;
  bool namesBuilt_ = false;
  // Faces the labels want names for, asked for on the next tick.
  std::set<std::string> wanted_;
};

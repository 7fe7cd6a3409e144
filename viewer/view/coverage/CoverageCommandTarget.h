#pragma once
// The coverage commands of the view: the coverage line under each face name,
// the filter that keeps the faces with every joyo kanji, the coverage window
// of the selected face and the CSV file of every face. All of it is off until
// the user turns it on; the switches live in the profile section "Coverage".
// Faces are measured by the view's background scan; its results are taken
// in at most every few hundred milliseconds, never once per face.
#include <windows.h>

#include <string>

#include "CoverageText.h"
#include "facescan/FaceScanner.h"
#include "fonts/FontList.h"
#include "framework/Framework.h"
#include "view/RowLabels.h"
#include "view/SampleListModel.h"

class CoverageCommandTarget : public fw::CCmdTarget, public RowLabelProvider {
  FW_DECLARE_MESSAGE_MAP()

 public:
  class Site {
   public:
    // A row of the visible list, or -1 when nothing is selected.
    virtual int SelectedRow() const = 0;
    // The narrowing changed: rebuild the visible list, keep the selection.
    virtual void Renarrow() = 0;
    virtual const viewer::SampleListModel& Model() const = 0;

   protected:
    ~Site() = default;
  };

  CoverageCommandTarget(fw::CWnd& view, facescan::FaceScanner& scan, CFontList& fonts, fw::ProfileStore& profile,
                        Site& site);
  ~CoverageCommandTarget() override;

  int LineCount() const override { return lineOn_ ? 1 : 0; }
  std::string Line(const std::string& face, int k) const override;

  // Answers the coverage codes of WM_GLIMRA_QUERY.
  LRESULT Query(WPARAM what, LPARAM param) const;

 private:
  void OnViewCoverage();
  void OnFullJoyo();
  void OnDetails();
  void OnSaveCsv();
  void OnUpdateViewCoverage(fw::CCmdUI* ui);
  void OnUpdateFullJoyo(fw::CCmdUI* ui);
  void OnUpdateNeedsFace(fw::CCmdUI* ui);

  // The facts of a face, or null while it is not measured.
  const facescan::FaceFacts* Facts(const std::string& face) const;
  void SaveSettings();
  void ApplyNarrowing();
  // Asks the scan for the rows on screen first, then for every face.
  void RequestScan();
  // Every face of the catalogue is queued (again when the catalogue grew).
  void EnsureScanRequested() const;
  // Results came in: take them in on the next tick of the timer.
  void OnResults();
  static void CALLBACK OnTimer(HWND window, UINT, UINT_PTR, DWORD);
  void Tick();
  // Paints the list now (it lays the rows out again).
  void Redraw();
  // Rows on screen whose faces are measured: a repaint is due when it grows.
  std::size_t MeasuredOnScreen() const;
  // The scan's progress in the frame's caption while it runs.
  void ShowProgress();

  fw::CWnd& view_;
  facescan::FaceScanner& scan_;
  CFontList& fonts_;
  fw::ProfileStore& profile_;
  Site& site_;
  bool lineOn_ = false;
  bool filterOn_ = false;
  bool timerRunning_ = false;
  bool dirty_ = false;
  std::size_t shownMeasured_ = 0;
  mutable std::size_t requestedFaces_ = 0;
  std::string frameTitle_;  // the caption before the progress, while it shows
  coverageui::LineWords words_;
};

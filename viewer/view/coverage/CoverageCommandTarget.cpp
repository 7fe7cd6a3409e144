// The coverage line, the full-joyo filter, the coverage window and the CSV file.
#include "CoverageCommandTarget.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "CoverageDialogs.h"
#include "CoverageResource.h"
#include "res/ResourceIds.h"

namespace {

const char kSection[] = "Coverage";
// The view window's property that leads its timer back to this object.
const char kTimerOwner[] = "GlimraCoverageTarget";
constexpr UINT_PTR kTimerId = 0x4347;  // 'CG'
// How often results of a running scan are taken in.
constexpr UINT kTimerMs = 300;

}  // namespace

const facescan::FaceFacts* CoverageCommandTarget::Facts(const std::string& face) const {
  return scan_.Find(coverageui::MeasuredName(face));
}

// clang-format off
FW_BEGIN_MESSAGE_MAP(CoverageCommandTarget, fw::CCmdTarget)
  fw::OnCommand(ID_VIEW_COVERAGE, &CoverageCommandTarget::OnViewCoverage),
  fw::OnCommand(ID_COVERAGE_FULL_JOYO, &CoverageCommandTarget::OnFullJoyo),
  fw::OnCommand(ID_COVERAGE_DETAILS, &CoverageCommandTarget::OnDetails),
  fw::OnCommand(ID_COVERAGE_SAVE_CSV, &CoverageCommandTarget::OnSaveCsv),
  fw::OnUpdateCommandUI(ID_VIEW_COVERAGE, &CoverageCommandTarget::OnUpdateViewCoverage),
  fw::OnUpdateCommandUI(ID_COVERAGE_FULL_JOYO, &CoverageCommandTarget::OnUpdateFullJoyo),
  fw::OnUpdateCommandUI(ID_COVERAGE_DETAILS, &CoverageCommandTarget::OnUpdateNeedsFace),
FW_END_MESSAGE_MAP()
// clang-format on

CoverageCommandTarget::CoverageCommandTarget(fw::CWnd& view, facescan::FaceScanner& scan, CFontList& fonts,
                                             fw::ProfileStore& profile, Site& site)
    : view_(view), scan_(scan), fonts_(fonts), profile_(profile), site_(site) {
  words_ = {fw::LoadText(IDS_COVERAGE_WORD_JOYO), fw::LoadText(IDS_COVERAGE_WORD_JIS2),
            fw::LoadText(IDS_COVERAGE_WORD_IVS), fw::LoadText(IDS_COVERAGE_PENDING),
            fw::LoadText(IDS_COVERAGE_UNREADABLE)};
  lineOn_ = profile_.GetInt(kSection, "Line", 0) != 0;
  filterOn_ = profile_.GetInt(kSection, "FullJoyo", 0) != 0;
  ApplyNarrowing();
  scan_.AddListener([this] { OnResults(); });
}

CoverageCommandTarget::~CoverageCommandTarget() {
  if (timerRunning_ && ::IsWindow(view_.m_hWnd)) {
    ::KillTimer(view_.m_hWnd, kTimerId);
    ::RemovePropA(view_.m_hWnd, kTimerOwner);
  }
}

std::string CoverageCommandTarget::Line(const std::string& face, int) const {
  EnsureScanRequested();
  const facescan::FaceFacts* facts = Facts(face);
  if (!facts) return words_.pending;
  if (!facts->measured) return words_.unreadable;
  return coverageui::CoverageLine(facts->report, words_);
}

void CoverageCommandTarget::SaveSettings() {
  // Written as soon as a switch changes: nothing else is kept in the section.
  profile_.WriteInt(kSection, "Line", lineOn_ ? 1 : 0);
  profile_.WriteInt(kSection, "FullJoyo", filterOn_ ? 1 : 0);
}

void CoverageCommandTarget::ApplyNarrowing() {
  if (!filterOn_) {
    fonts_.SetNarrowing(CFontList::kNarrowCoverage, nullptr);
    return;
  }
  // Faces not measured yet stay hidden until their results come in.
  fonts_.SetNarrowing(CFontList::kNarrowCoverage, [this](const _FONTDEF& font) {
    EnsureScanRequested();
    // At start the view measures its label height on the visible faces: an
    // empty list would leave it 0. Until then the filter keeps every face.
    if (site_.Model().labelHeightMax == 0) return true;
    const facescan::FaceFacts* facts = Facts(font.name);
    return facts && facts->measured && coverageui::HasFullJoyo(facts->report);
  });
}

void CoverageCommandTarget::RequestScan() {
  const viewer::SampleListModel& model = site_.Model();
  std::vector<std::string> onScreen;
  const int end = std::min(fonts_.GetCount(), model.topRow + std::max(model.visibleRows, 1) + 1);
  for (int row = std::max(model.topRow, 0); row < end; ++row)
    onScreen.push_back(coverageui::MeasuredName(fonts_.GetName(row)));
  if (!onScreen.empty()) scan_.Request(onScreen, true);
  EnsureScanRequested();
}

void CoverageCommandTarget::EnsureScanRequested() const {
  const auto& master = fonts_.MasterList();
  if (master.size() == requestedFaces_ || !view_.m_hWnd) return;
  requestedFaces_ = master.size();
  std::vector<std::string> faces;
  faces.reserve(master.size());
  for (const auto& font : master)
    if (coverageui::MeasuredName(font->name) == font->name) faces.push_back(font->name);
  scan_.Request(faces);
}

void CoverageCommandTarget::OnResults() {
  dirty_ = true;
  if (timerRunning_ || !view_.m_hWnd) return;
  ::SetPropA(view_.m_hWnd, kTimerOwner, this);
  timerRunning_ = ::SetTimer(view_.m_hWnd, kTimerId, kTimerMs, &CoverageCommandTarget::OnTimer) != 0;
}

void CALLBACK CoverageCommandTarget::OnTimer(HWND window, UINT, UINT_PTR, DWORD) {
  // No exception may leave a timer procedure.
  try {
    if (auto* self = static_cast<CoverageCommandTarget*>(::GetPropA(window, kTimerOwner))) self->Tick();
  } catch (const std::exception& e) {
    fw::ReportException(window, &e);
  }
}

void CoverageCommandTarget::Tick() {
  if (dirty_) {
    dirty_ = false;
    if (filterOn_)
      site_.Renarrow();
    else if (lineOn_ && MeasuredOnScreen() != shownMeasured_)
      Redraw();
  }
  ShowProgress();
  if (!dirty_ && !scan_.Busy()) {
    ::KillTimer(view_.m_hWnd, kTimerId);
    ::RemovePropA(view_.m_hWnd, kTimerOwner);
    timerRunning_ = false;
  }
}

std::size_t CoverageCommandTarget::MeasuredOnScreen() const {
  const viewer::SampleListModel& model = site_.Model();
  std::size_t measured = 0;
  const int end = std::min(fonts_.GetCount(), model.topRow + model.visibleRows + 1);
  for (int row = std::max(model.topRow, 0); row < end; ++row) measured += Facts(fonts_.GetName(row)) ? 1 : 0;
  return measured;
}

void CoverageCommandTarget::Redraw() {
  // Every pixel of the view is painted: no erasing, no flicker.
  ::InvalidateRect(view_.m_hWnd, nullptr, FALSE);
  ::UpdateWindow(view_.m_hWnd);
  shownMeasured_ = MeasuredOnScreen();
}

void CoverageCommandTarget::ShowProgress() {
  HWND frame = ::GetAncestor(view_.m_hWnd, GA_ROOT);
  if (!frame) return;
  const bool show = scan_.Busy() && (lineOn_ || filterOn_);
  if (show) {
    if (frameTitle_.empty()) {
      char title[256] = {};
      ::GetWindowTextA(frame, title, sizeof title);
      frameTitle_ = title;
    }
    const std::size_t done = scan_.CollectedCount(), total = done + scan_.Outstanding();
    char text[256];
    std::snprintf(text, sizeof text, fw::LoadText(IDS_COVERAGE_PROGRESS).c_str(), static_cast<unsigned>(done),
                  static_cast<unsigned>(total));
    ::SetWindowTextA(frame, (frameTitle_ + " - " + text).c_str());
  } else if (!frameTitle_.empty()) {
    ::SetWindowTextA(frame, frameTitle_.c_str());
    frameTitle_.clear();
  }
}

void CoverageCommandTarget::OnViewCoverage() {
  lineOn_ = !lineOn_;
  SaveSettings();
  if (lineOn_) RequestScan();
  // Rows change height: lay the list out again from the top row.
  Redraw();
  ShowProgress();
}

void CoverageCommandTarget::OnFullJoyo() {
  filterOn_ = !filterOn_;
  SaveSettings();
  if (filterOn_) RequestScan();
  ApplyNarrowing();
  site_.Renarrow();
  ShowProgress();
}

void CoverageCommandTarget::OnDetails() {
  const int row = site_.SelectedRow();
  if (row < 0 || row >= fonts_.GetCount()) return;
  ShowCoverageDetails(view_.m_hWnd, coverageui::MeasuredName(fonts_.GetName(row)));
}

void CoverageCommandTarget::OnSaveCsv() {
  EnsureScanRequested();
  SaveCoverageCsv(view_.m_hWnd, scan_, fonts_);
}

void CoverageCommandTarget::OnUpdateViewCoverage(fw::CCmdUI* ui) { ui->SetCheck(lineOn_ ? 1 : 0); }
void CoverageCommandTarget::OnUpdateFullJoyo(fw::CCmdUI* ui) { ui->SetCheck(filterOn_ ? 1 : 0); }
void CoverageCommandTarget::OnUpdateNeedsFace(fw::CCmdUI* ui) { ui->Enable(fonts_.GetCount() > 0); }

LRESULT CoverageCommandTarget::Query(WPARAM what, LPARAM param) const {
  const viewer::SampleListModel& model = site_.Model();
  switch (what) {
    case GLIMRA_QUERY_COVERAGE_OUTSTANDING: return static_cast<LRESULT>(scan_.Outstanding() + (timerRunning_ ? 1 : 0));
    case GLIMRA_QUERY_COVERAGE_COLLECTED: return static_cast<LRESULT>(scan_.CollectedCount());
    case GLIMRA_QUERY_ROW_HEIGHT:
      return param >= 0 && param < static_cast<LPARAM>(model.rowHeights.size())
                 ? model.rowHeights[static_cast<std::size_t>(param)]
                 : -1;
    case GLIMRA_QUERY_COVERAGE_JOYO: {
      if (param < 0 || param >= fonts_.GetCount()) return -1;
      const facescan::FaceFacts* facts = Facts(fonts_.GetName(static_cast<int>(param)));
      if (!facts) return -1;
      return facts->measured ? static_cast<LRESULT>(facts->report.covered[coverage::kJoyo]) : -2;
    }
    case GLIMRA_QUERY_PEAK_MEMORY_KB: {
      PROCESS_MEMORY_COUNTERS counters{};
      counters.cb = sizeof counters;
      if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters)) return -1;
      return static_cast<LRESULT>(counters.PeakWorkingSetSize / 1024);
    }
    default: return -1;
  }
}

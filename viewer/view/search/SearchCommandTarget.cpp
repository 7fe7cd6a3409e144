#include "SearchCommandTarget.h"

#include <algorithm>
#include <utility>

#include "res/ResourceIds.h"

namespace {

const char kSection[] = "Search";
const char kEnglishNames[] = "EnglishNames";
// How often arriving names are taken in: often enough to watch the list
// fill, seldom enough that the scan does not spend its time repainting.
constexpr UINT kTickMs = 300;

// The narrow text of a name, as the label draws it.
std::string ToAnsi(const std::u16string& text) {
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  const int size = ::WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(std::max(size, 0)), '\0');
  if (size > 0) ::WideCharToMultiByte(CP_ACP, 0, wide, length, out.data(), size, nullptr, nullptr);
  return out;
}

class Stopwatch {
 public:
  Stopwatch() { ::QueryPerformanceCounter(&start_); }
  long long Microseconds() const {
    LARGE_INTEGER now, frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return (now.QuadPart - start_.QuadPart) * 1000000 / frequency.QuadPart;
  }

 private:
  LARGE_INTEGER start_;
};

}  // namespace

// clang-format off
FW_BEGIN_MESSAGE_MAP(SearchCommandTarget, fw::CCmdTarget)
  fw::OnCommand(ID_EDIT_FIND, &SearchCommandTarget::OnFind),
  fw::OnEnChange(IDC_FIND_TEXT, &SearchCommandTarget::OnTextChange),
  fw::OnCommand(IDCANCEL, &SearchCommandTarget::OnCancel),
  fw::OnCommand(IDOK, &SearchCommandTarget::OnEnter),
  fw::OnCommand(ID_VIEW_ENGLISH_NAMES, &SearchCommandTarget::OnEnglishNames),
  fw::OnUpdateCommandUI(ID_VIEW_ENGLISH_NAMES, &SearchCommandTarget::OnUpdateEnglishNames),
FW_END_MESSAGE_MAP()
// clang-format on

SearchCommandTarget::SearchCommandTarget(fw::CWnd& view, CFontList& fonts, const viewer::SampleListModel& model,
                                         facescan::FaceScanner& scanner, fw::ProfileStore& profile,
                                         std::function<void()> renarrow)
    : view_(view), fonts_(fonts), model_(model), scanner_(scanner), profile_(profile), renarrow_(std::move(renarrow)) {
  englishNames_ = profile_.GetInt(kSection, kEnglishNames, 0) != 0;
  scanner_.AddListener([this] {
    namesArrived_ = true;
    if (search_.Narrowing() || englishNames_) StartTimer();
  });
}

SearchCommandTarget::~SearchCommandTarget() {
  if (timer_ && view_.m_hWnd) ::KillTimer(view_.m_hWnd, reinterpret_cast<UINT_PTR>(this));
}

fw::CDialogBar* SearchCommandTarget::Bar() const {
  fw::CFrameWnd* frame = view_.GetParentFrame();
  return frame ? dynamic_cast<fw::CDialogBar*>(frame->GetControlBar(IDD_FINDBAR)) : nullptr;
}

HWND SearchCommandTarget::Edit() const {
  fw::CDialogBar* bar = Bar();
  return bar ? bar->GetDlgItem(IDC_FIND_TEXT) : nullptr;
}

void SearchCommandTarget::OnFind() {
  fw::CDialogBar* bar = Bar();
  if (!bar) return;
  if (!bar->IsVisible()) view_.GetParentFrame()->ShowControlBar(bar, true, false);
  RequestScan();
  UpdateNames(false);
  HWND edit = bar->GetDlgItem(IDC_FIND_TEXT);
  ::SetFocus(edit);
  ::SendMessageA(edit, EM_SETSEL, 0, -1);
}

void SearchCommandTarget::OnTextChange() {
  HWND edit = Edit();
  if (!edit) return;
  const Stopwatch clock;
  const bool namesChanged = UpdateNames(true);
  const bool changed = search_.SetText(fw::WindowText(edit)) || namesChanged;
  matchMicroseconds_ = clock.Microseconds();
  // More letters that keep the same faces leave the list as it is.
  if (changed) ApplyNarrowing();
  paintMicroseconds_ = clock.Microseconds() - matchMicroseconds_;
  if (search_.Narrowing() && scanner_.Busy()) StartTimer();
}

bool SearchCommandTarget::OnCancel(unsigned) {
  if (!InBar(::GetFocus())) return false;
  fw::CDialogBar* bar = Bar();
  // Emptying the box lifts the narrowing through its change notification.
  ::SetWindowTextA(bar->GetDlgItem(IDC_FIND_TEXT), "");
  if (search_.Narrowing()) {
    search_.SetText("");
    ApplyNarrowing();
  }
  view_.GetParentFrame()->ShowControlBar(bar, false, false);
  ::SetFocus(view_.m_hWnd);
  return true;
}

bool SearchCommandTarget::OnEnter(unsigned) {
  if (!InBar(::GetFocus())) return false;
  ::SetFocus(view_.m_hWnd);  // the narrowed list, to walk with the keys
  return true;
}

bool SearchCommandTarget::InBar(HWND window) const {
  fw::CDialogBar* bar = Bar();
  return bar && bar->IsVisible() && window && ::IsChild(bar->GetDialog(), window);
}

LRESULT SearchCommandTarget::Query(int what) const {
  const long long value = what == GLIMRA_QUERY_SEARCH_MATCH_US ? matchMicroseconds_ : paintMicroseconds_;
  return static_cast<LRESULT>(value);
}

void SearchCommandTarget::OnEnglishNames() {
  englishNames_ = !englishNames_;
  profile_.WriteInt(kSection, kEnglishNames, englishNames_ ? 1 : 0);
  if (englishNames_) RequestScan();
  // The labels ask for the names of the rows they draw.
  view_.Invalidate(true);
}

void SearchCommandTarget::OnUpdateEnglishNames(fw::CCmdUI* ui) {
  ui->Enable(true);
  ui->SetCheck(englishNames_ ? 1 : 0);
}

void SearchCommandTarget::RequestScan() {
  std::vector<std::string> all, onScreen;
  const auto& master = fonts_.MasterList();
  all.reserve(master.size());
  for (const auto& face : master)
    if (!face->name.empty() && face->name[0] != '@') all.push_back(face->name);
  const int end = std::min(fonts_.GetCount(), model_.topRow + model_.visibleRows + 1);
  for (int row = std::max(model_.topRow, 0); row < end; ++row) onScreen.push_back(fonts_.GetName(row));
  scanner_.Request(all);
  scanner_.Request(onScreen, true);
  if (scanner_.Busy()) StartTimer();
}

bool SearchCommandTarget::UpdateNames(bool newNames) {
  const auto& master = fonts_.MasterList();
  const void* first = master.empty() ? nullptr : master.front().get();
  const bool catalogueChanged = master.size() != namesCatalogue_ || first != namesFirstFace_;
  if (namesBuilt_ && !catalogueChanged && !(newNames && scanner_.CollectedCount() != namesCollected_)) return false;
  if (namesBuilt_ && catalogueChanged) RequestScan();  // faces that came since
  std::vector<search::FaceNames> faces;
  faces.reserve(master.size());
  for (const auto& face : master) {
    const facescan::FaceFacts* facts = scanner_.Find(face->name);
    if (facts && facts->measured)
      faces.push_back({face->name, facts->report.names.japanese, facts->report.names.english});
    else
      faces.push_back({face->name, {}, {}});
  }
  const bool changed = search_.SetFaces(faces) || catalogueChanged;
  namesCatalogue_ = master.size();
  namesFirstFace_ = first;
  namesCollected_ = scanner_.CollectedCount();
  namesBuilt_ = true;
  return changed;
}

void SearchCommandTarget::ApplyNarrowing() {
  if (search_.Narrowing())
    fonts_.SetNarrowing(CFontList::kNarrowSearch, [this](const _FONTDEF& face) { return search_.Keeps(face.name); });
  else
    fonts_.SetNarrowing(CFontList::kNarrowSearch, nullptr);
  renarrow_();
}

void SearchCommandTarget::StartTimer() {
  if (timer_ || !view_.m_hWnd) return;
  // The timer's id is this object, which its procedure is handed back.
  timer_ = ::SetTimer(view_.m_hWnd, reinterpret_cast<UINT_PTR>(this), kTickMs, &TimerProc) != 0;
}

void CALLBACK SearchCommandTarget::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  // No exception may leave a timer procedure.
  try {
    reinterpret_cast<SearchCommandTarget*>(id)->OnTick();
  } catch (...) {
  }
}

void SearchCommandTarget::OnTick() {
  if (!wanted_.empty()) {
    scanner_.Request(std::vector<std::string>(wanted_.begin(), wanted_.end()), true);
    wanted_.clear();
  }
  if (namesArrived_) {
    namesArrived_ = false;
    // The list changes only when a face came in or went out.
    if (search_.Narrowing() && UpdateNames(true)) ApplyNarrowing();
    if (englishNames_) view_.Invalidate(false);
  }
  if (!scanner_.Busy() && !namesArrived_ && wanted_.empty()) {
    ::KillTimer(view_.m_hWnd, reinterpret_cast<UINT_PTR>(this));
    timer_ = false;
  }
}

std::string SearchCommandTarget::EnglishLabels::NameSuffix(const std::string& face) const {
  if (!owner_.englishNames_) return {};
  const facescan::FaceFacts* facts = owner_.scanner_.Find(face);
  if (!facts) {
    // Asked for on the next tick, ahead of the faces off screen.
    if (face.empty() || face[0] != '@') owner_.wanted_.insert(face);
    owner_.StartTimer();
    return {};
  }
  if (!facts->measured) return {};
  return ToAnsi(search::EnglishSuffix(face, facts->report.names.english));
}

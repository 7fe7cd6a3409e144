#include "CoverageDialogs.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "CoverageResource.h"
#include "CoverageText.h"
#include "facescan/SelectedFace.h"
#include "fonttables/Text.h"
#include "framework/Framework.h"
#include "win/Gdi.h"
#include "win/Handles.h"

namespace {

using coverage::kCharacterSets;
using coverage::kSetCount;

// Faces that draw most Japanese characters, best first; the window uses the
// one that maps the most of the characters it shows.
const char* const kFallbackFaces[] = {"IPAexゴシック", "IPAゴシック", "Yu Gothic UI", "Meiryo UI", "MS UI Gothic"};

std::string Format(UINT id, unsigned a, unsigned b) {
  char text[256];
  std::snprintf(text, sizeof text, fw::LoadText(id).c_str(), a, b);
  return text;
}

class CoverageDetailsDlg : public fw::CDialog {
  FW_DECLARE_MESSAGE_MAP()

 public:
  CoverageDetailsDlg(HWND owner, std::string face) : fw::CDialog(IDD_COVERAGE_DETAILS, owner), face_(std::move(face)) {}
  bool OnInitDialog() override;

 private:
  void OnSetChange();
  void ShowMissing(std::size_t set);
  // The fallback face that maps most of chars, as a font for the list.
  void ChooseFallback(const std::vector<char32_t>& chars);

  std::string face_;
  std::optional<fonttables::CharacterMap> map_;
  win::GdiObject<HFONT> fallback_;
  HWND missing_ = nullptr;
};

// clang-format off
FW_BEGIN_MESSAGE_MAP(CoverageDetailsDlg, fw::CDialog)
  fw::OnControl(LBN_SELCHANGE, IDC_COVERAGE_SETS, &CoverageDetailsDlg::OnSetChange),
FW_END_MESSAGE_MAP()
// clang-format on

bool CoverageDetailsDlg::OnInitDialog() {
  ::SetDlgItemTextA(m_hWnd, IDC_COVERAGE_FACE, face_.c_str());
  // The missing characters go beyond code page 932: a Unicode edit control.
  HWND area = ::GetDlgItem(m_hWnd, IDC_COVERAGE_MISSING_AREA);
  RECT rect{};
  ::GetWindowRect(area, &rect);
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
  missing_ = ::CreateWindowExW(
      WS_EX_CLIENTEDGE, L"EDIT", L"",
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, rect.left,
      rect.top, rect.right - rect.left, rect.bottom - rect.top, m_hWnd,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_COVERAGE_MISSING)), ::GetModuleHandleA(nullptr), nullptr);

  HWND sets = ::GetDlgItem(m_hWnd, IDC_COVERAGE_SETS);
  facescan::SelectedFace selected(face_);
  fonttables::Result<coverage::FaceReport> report =
      selected.Ok() ? coverage::MeasureFace(selected.Tables())
                    : fonttables::Result<coverage::FaceReport>::Fail(selected.Error());
  if (report) {
    fonttables::Result<fonttables::CharacterMap> map = coverage::ReadCharacterMap(selected.Tables());
    if (map) map_ = std::move(*map);
  }
  if (!report || !map_) {
    const std::string why = report ? std::string() : report.Error();
    char text[512];
    std::snprintf(text, sizeof text, fw::LoadText(IDS_COVERAGE_FACE_ERROR).c_str(), why.c_str());
    ::SetWindowTextA(missing_, text);
    return true;
  }
  const INT tabs[] = {64, 124};  // dialog units: name, counts, percent
  ::SendMessageA(sets, LB_SETTABSTOPS, 2, reinterpret_cast<LPARAM>(tabs));
  const std::vector<std::string> names = coverageui::SplitBars(fw::LoadText(IDS_COVERAGE_SET_NAMES));
  for (std::size_t set = 0; set < kSetCount; ++set) {
    const std::size_t total = kCharacterSets[set].chars.size(), covered = report->covered[set];
    char counts[64];
    std::snprintf(counts, sizeof counts, "\t%u / %u\t%d%%", static_cast<unsigned>(covered),
                  static_cast<unsigned>(total), coverageui::Percent(covered, total));
    const std::string name = set < names.size() ? names[set] : kCharacterSets[set].name;
    ::SendMessageA(sets, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>((name + counts).c_str()));
  }
  const std::string ivs = fw::LoadText(IDS_COVERAGE_IVS_LINE) + "\t" + std::to_string(report->ideographicVariations);
  ::SendMessageA(sets, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ivs.c_str()));
  ::SendMessageA(sets, LB_SETCURSEL, coverage::kJoyo, 0);
  ShowMissing(coverage::kJoyo);
  return true;
}

void CoverageDetailsDlg::OnSetChange() {
  const LRESULT set = ::SendDlgItemMessageA(m_hWnd, IDC_COVERAGE_SETS, LB_GETCURSEL, 0, 0);
  if (set >= 0 && set < static_cast<LRESULT>(kSetCount)) ShowMissing(static_cast<std::size_t>(set));
}

void CoverageDetailsDlg::ShowMissing(std::size_t set) {
  if (!map_) return;
  const std::vector<char32_t> missing = coverage::Missing(*map_, kCharacterSets[set]);
  ::SetDlgItemTextA(m_hWnd, IDC_COVERAGE_MISSING_LABEL,
                    Format(IDS_COVERAGE_MISSING_COUNT, static_cast<unsigned>(missing.size()), 0).c_str());
  ChooseFallback(missing);
  std::u16string text;
  for (char32_t c : missing) {
    if (!text.empty()) text += u' ';
    if (c >= 0x10000) {
      text += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      text += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      text += static_cast<char16_t>(c);
    }
  }
  ::SetWindowTextW(missing_, reinterpret_cast<const wchar_t*>(text.c_str()));
}

void CoverageDetailsDlg::ChooseFallback(const std::vector<char32_t>& chars) {
  const char* best = nullptr;
  std::size_t bestCount = 0;
  const coverage::CharacterSet probe{"", "", chars};
  for (const char* face : kFallbackFaces) {
    facescan::SelectedFace candidate(face);
    if (!candidate.Ok()) continue;
    fonttables::Result<fonttables::CharacterMap> map = coverage::ReadCharacterMap(candidate.Tables());
    const std::size_t count = map ? coverage::CountCovered(*map, probe) : 0;
    if (!best || count > bestCount) best = face, bestCount = count;
    if (count == chars.size()) break;
  }
  LOGFONTA lf{};
  lf.lfHeight = -18;
  lf.lfCharSet = DEFAULT_CHARSET;
  if (best) lstrcpynA(lf.lfFaceName, best, LF_FACESIZE);
  HFONT font = best ? ::CreateFontIndirectA(&lf) : nullptr;
  ::SendMessageW(missing_, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : ::GetStockObject(DEFAULT_GUI_FONT)),
                 TRUE);
  fallback_.Reset(font);  // after the control has let go of the previous one
}

// Shows the scan's progress until every face is measured; Cancel gives up.
class CoverageWaitDlg : public fw::CDialog {
  FW_DECLARE_MESSAGE_MAP()

 public:
  CoverageWaitDlg(HWND owner, facescan::FaceScanner& scan) : fw::CDialog(IDD_COVERAGE_WAIT, owner), scan_(scan) {}
  bool OnInitDialog() override {
    ::SetTimer(m_hWnd, 1, 200, nullptr);
    Update();
    return true;
  }
  void OnCancel() override {
    ::KillTimer(m_hWnd, 1);
    fw::CDialog::OnCancel();
  }

 private:
  LRESULT OnTimer(WPARAM, LPARAM) {
    Update();
    if (!scan_.Busy()) {
      ::KillTimer(m_hWnd, 1);
      EndDialog(IDOK);
    }
    return 0;
  }
  void Update() {
    const std::size_t done = scan_.CollectedCount(), total = done + scan_.Outstanding();
    ::SetDlgItemTextA(m_hWnd, IDC_COVERAGE_WAIT_TEXT,
                      Format(IDS_COVERAGE_PROGRESS, static_cast<unsigned>(done), static_cast<unsigned>(total)).c_str());
    fw::CProgressCtrl bar(::GetDlgItem(m_hWnd, IDC_COVERAGE_WAIT_BAR));
    bar.SetRange32(0, static_cast<int>(std::max<std::size_t>(total, 1)));
    bar.SetPos(static_cast<int>(done));
  }

  facescan::FaceScanner& scan_;
};

// clang-format off
FW_BEGIN_MESSAGE_MAP(CoverageWaitDlg, fw::CDialog)
  fw::OnMessage(WM_TIMER, &CoverageWaitDlg::OnTimer),
FW_END_MESSAGE_MAP()
// clang-format on

// The file to write, or "" when the user cancelled.
std::string ChooseCsvPath(HWND owner) {
  std::string filter;
  for (const std::string& part : coverageui::SplitBars(fw::LoadText(IDS_COVERAGE_CSV_FILTER))) filter += part + '\0';
  const std::string title = fw::LoadText(IDS_COVERAGE_CSV_TITLE);
  std::vector<char> file(MAX_PATH * 2, '\0');
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrTitle = title.c_str();
  ofn.lpstrDefExt = "csv";
  ofn.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  return ::GetSaveFileNameA(&ofn) ? std::string(file.data()) : std::string();
}

std::string SystemMessage(DWORD error) {
  char* text = nullptr;
  ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = text ? text : "error " + std::to_string(error);
  if (text) ::LocalFree(text);
  return message;
}

// Writes content to a temporary file beside path, then puts it in place;
// returns the system's reason on failure, with no temporary file left.
std::string WriteWholeFile(const std::string& path, const std::string& content) {
  const std::string temporary = path + ".part";
  DWORD error = 0;
  {
    win::UniqueHandle file(
        ::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return SystemMessage(::GetLastError());
    std::size_t at = 0;
    while (at < content.size() && error == 0) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size() - at, 1 << 20));
      DWORD written = 0;
      if (!::WriteFile(file.Get(), content.data() + at, chunk, &written, nullptr) || written == 0)
        error = ::GetLastError() ? ::GetLastError() : ERROR_WRITE_FAULT;
      at += written;
    }
    if (error == 0 && !::FlushFileBuffers(file.Get())) error = ::GetLastError();
  }
  if (error == 0 && !::MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
    error = ::GetLastError();
  if (error == 0) return {};
  ::DeleteFileA(temporary.c_str());
  return SystemMessage(error);
}

}  // namespace

void ShowCoverageDetails(HWND owner, const std::string& face) {
  CoverageDetailsDlg dialog(owner, face);
  dialog.DoModal();
}

void SaveCoverageCsv(HWND owner, facescan::FaceScanner& scan, const CFontList& fonts) {
  const std::string path = ChooseCsvPath(owner);
  if (path.empty()) return;
  if (scan.Busy()) {
    CoverageWaitDlg wait(owner, scan);
    if (wait.DoModal() != IDOK) return;
  }
  // UTF-8 with a byte order mark: family names read from the fonts go beyond
  // code page 932, and spreadsheets on Japanese Windows read the mark.
  std::string content = "\xEF\xBB\xBF" + coverageui::CsvHeader();
  for (const auto& font : fonts.MasterList()) {
    // A vertical face is its horizontal face over again.
    if (coverageui::MeasuredName(font->name) != font->name) continue;
    const facescan::FaceFacts* facts = scan.Find(font->name);
    content += coverageui::CsvRow(fonttables::ToUtf8(fonttables::DecodeCp932(font->name)),
                                  facts && facts->measured ? &facts->report : nullptr);
  }
  const std::string error = WriteWholeFile(path, content);
  if (error.empty()) return;
  char text[1024];
  std::snprintf(text, sizeof text, fw::LoadText(IDS_COVERAGE_WRITE_ERROR).c_str(), path.c_str(), error.c_str());
  ::MessageBoxA(owner, text, fw::LoadText(IDS_COVERAGE_CAPTION).c_str(), MB_ICONEXCLAMATION | MB_OK);
}

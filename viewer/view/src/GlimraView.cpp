// Construction, first-paint initialisation, refresh, layout and painting.
#include "view/GlimraView.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/LvkMessages.h"
#include "fonts/Win32FontSystem.h"
#include "res/ResourceIds.h"

namespace {

constexpr COLORREF kGridColour = RGB(192, 192, 192);
constexpr COLORREF kMarkColour = RGB(0, 255, 0);
constexpr COLORREF kTemporaryColour = RGB(0, 255, 0);
constexpr COLORREF kSelectionColour = RGB(255, 0, 0);
// Word-wrapped, clipped, ampersands shown as they are.
constexpr UINT kNameFormat = DT_WORDBREAK | DT_VCENTER | DT_NOPREFIX;

// Windows 2000 and XP: the only systems on which the permanent installation
// through the font install program works.
bool DetectClassicSystem() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!::GetVersionExA(&info)) return false;
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion == 5 &&
         (info.dwMinorVersion == 0 || info.dwMinorVersion == 1);
}

void FillRect(fw::CDC& dc, const viewer::Rect& r, COLORREF colour) {
  RECT rc{r.x, r.y, r.x + r.width, r.y + r.height};
  dc.FillSolidRect(rc, colour);
}

}  // namespace

// clang-format off
FW_BEGIN_MESSAGE_MAP(CGlimraView, fw::CView)
  fw::OnMessage(WM_SIZE, &CGlimraView::OnSizeMsg),
  fw::OnMessage(WM_VSCROLL, &CGlimraView::OnVScroll),
  fw::OnMessage(WM_MOUSEWHEEL, &CGlimraView::OnMouseWheel),
  fw::OnMessage(WM_KEYDOWN, &CGlimraView::OnKeyDown),
  fw::OnMessage(WM_MOUSEMOVE, &CGlimraView::OnMouseMove),
  fw::OnMessage(WM_LBUTTONDOWN, &CGlimraView::OnLButtonDown),
  fw::OnMessage(WM_LBUTTONUP, &CGlimraView::OnLButtonUp),
  fw::OnMessage(WM_RBUTTONDOWN, &CGlimraView::OnRButtonDown),
  fw::OnMessage(WM_GLIMRA_CLOSING, &CGlimraView::OnClosing),
  fw::OnMessage(WM_GLIMRA_QUERY, &CGlimraView::OnQuery),
  fw::OnEnChange(IDC_SAMPLE_TEXT, &CGlimraView::OnSampleTextChange),
  fw::OnCbnEditChange(IDC_SAMPLE_SIZE, &CGlimraView::OnSizeEditChange),
  fw::OnCbnSelChange(IDC_SAMPLE_SIZE, &CGlimraView::OnSizeSelChange),
  fw::OnCommand(ID_EDIT_PASTE, &CGlimraView::OnEditPaste),
  fw::OnMessage(WM_LVK_NOTIFY, &CGlimraView::OnLvkNotify),
  fw::OnMessage(WM_GLIMRA_FACES_SCANNED, &CGlimraView::OnFacesScanned),
FW_END_MESSAGE_MAP()
// clang-format on

ViewHost& TheViewHost() { return dynamic_cast<ViewHost&>(*fw::AfxGetApp()); }

CGlimraView::CGlimraView() : host_(TheViewHost()), fonts_(SystemFontSystem()) {
  LoadSettings();
  fonts_.BindSettings(&settings_);
  classicSystem_ = DetectClassicSystem();
  AddRowLabels(coverage_);
  AddRowLabels(search_.Labels());
}

CGlimraView::~CGlimraView() = default;

void CGlimraView::LoadSettings() { ::LoadSettings(settings_, host_.Profile()); }

void CGlimraView::SaveSettings() { ::SaveSettings(settings_, host_.Profile()); }

bool CGlimraView::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!fw::CView::PreCreateWindow(cs)) return false;
  cs.style |= WS_VSCROLL;
  return true;
}

void CGlimraView::OnDraw(fw::CDC* dc) {
  // Pages on a printer are the printing code's business.
  if (print_.DrawPageOn(*dc)) return;
  if (dc->IsPrinting()) return;
  if (!initialised_) {
    InitialiseView(*dc);
    initialised_ = true;
    return;
  }
  LayoutAndPaint(*dc);
}

void CGlimraView::OnSizeMsg(WPARAM, LPARAM) {
  Default();
  if (initialised_) Repaint();
}

HFONT CGlimraView::CreatePointFont(LOGFONTA lf, fw::CDC& dc) const {
  POINT pts[2] = {{0, ::MulDiv(dc.GetDeviceCaps(LOGPIXELSY), lf.lfHeight, 720)}, {0, 0}};
  ::DPtoLP(dc.m_hAttribDC, pts, 2);
  lf.lfHeight = -std::abs(pts[0].y - pts[1].y);
  return ::CreateFontIndirectA(&lf);
}

void CGlimraView::SetSampleTextBox(const std::string& text) {
  if (textBar_) ::SetWindowTextA(textBar_->GetDlgItem(IDC_SAMPLE_TEXT), text.c_str());
}

void CGlimraView::InitialiseView(fw::CDC& dc) {
  update_.StartAutomatic(settings_.AutoUpdate, host_.Profile(), TodayForUpdateCheck());
  fw::CRect client = GetClientRect();
  settings_.DispFontSize = viewer::ClampFontSize(settings_.DispFontSize);
  if (settings_.Width1 > client.right - 2) settings_.Width1 = client.right - 2;
  if (settings_.DispText.empty())
    settings_.DispText = fw::LoadResString(settings_.SelLangJA ? IDS_SAMPLE_JAPANESE : IDS_SAMPLE_WESTERN);
  model_.topRow = model_.selectedRow = model_.wheelRemainder = 0;
  model_.dragging = false;

  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  int dpi = dc.GetDeviceCaps(LOGPIXELSY);
  labelSize_ = dpi > 0 ? static_cast<int>(std::fabs(metrics.lfMenuFont.lfHeight * 720.0 / dpi) + 0.5) : 90;
  labelFace_ = metrics.lfMenuFont.lfFaceName;

  textBar_ = host_.TextBar();
  faceScan_.SetNotify(m_hWnd, WM_GLIMRA_FACES_SCANNED);
  fonts_.Rebuild(true);
  if (textBar_) {
    SetSampleTextBox(settings_.DispText);
    ::SetWindowTextA(textBar_->GetDlgItem(IDC_SAMPLE_SIZE), viewer::FormatSize(settings_.DispFontSize).c_str());
  }

  LOGFONTA lf{};
  lf.lfHeight = labelSize_;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(lf.lfFaceName, labelFace_.c_str(), LF_FACESIZE);
  labelFont_.Reset(CreatePointFont(lf, dc));
  {
    fw::SelectScope label(dc, labelFont_);
    int widest = 0, tallest = 0;
    for (int i = 0; i < fonts_.GetCount(); ++i) {
      fw::CSize size = dc.GetTextExtent(fonts_.GetName(i));
      if (size.cx > widest) widest = size.cx;
      if (size.cy > tallest) tallest = size.cy;
    }
    labelWidthMax_ = widest;
    model_.labelHeightMax = tallest;
  }
  settings_.Width1 = viewer::InitialDivider(settings_.Width1, client.right, labelWidthMax_);
  gridPen_.Reset(::CreatePen(PS_SOLID, 1, kGridColour));
  RefreshAndRepaint(dc);
}

void CGlimraView::RefreshAndRepaint() {
  fw::CClientDC dc(m_hWnd);
  RefreshAndRepaint(dc);
}

void CGlimraView::ApplyDisplayFilter() {
  fonts_.ApplyFilter(viewer::FilterCodes(settings_.SelLangEN, settings_.SelLangJA, settings_.SelLangALL,
                                         settings_.SelFontORG, settings_.SelFontTMP));
  model_.rowCount = fonts_.GetCount();
}

void CGlimraView::RefreshAndRepaint(fw::CDC& dc) {
  model_.topRow = model_.selectedRow = 0;
  ApplyDisplayFilter();
  if (viewer::AdjustBuiltInSample(settings_.DispText, settings_.SelLangJA == 1, fw::LoadResString(IDS_SAMPLE_JAPANESE),
                                  fw::LoadResString(IDS_SAMPLE_WESTERN)))
    SetSampleTextBox(settings_.DispText);
  LayoutAndPaint(dc);
}

void CGlimraView::Renarrow() {
  if (!initialised_) return;
  const std::string selected = model_.rowCount > 0 ? fonts_.GetName(model_.selectedRow) : std::string();
  const int offset = std::max(0, model_.selectedRow - model_.topRow);
  ApplyDisplayFilter();
  const int row = selected.empty() ? -1 : fonts_.FindVisible(selected);
  model_.selectedRow = std::max(row, 0);
  model_.topRow = row < 0 ? 0 : std::max(0, row - offset);
  Repaint();
}

LRESULT CGlimraView::OnFacesScanned(WPARAM, LPARAM) {
  faceScan_.Collect();
  return 0;
}

std::string CGlimraView::LabelName(int row) const {
  std::string face = fonts_.GetName(row), name = face;
  for (const RowLabelProvider* provider : rowLabels_) name += provider->NameSuffix(face);
  return name;
}

void CGlimraView::DrawExtraLabelLines(fw::CDC& dc, int row, int y) {
  const std::string face = fonts_.GetName(row);
  int k = 0;
  for (const RowLabelProvider* provider : rowLabels_)
    for (int line = 0; line < provider->LineCount(); ++line, ++k) {
      const int top = model_.ExtraLineTop(y, k);
      RECT rect{2, top, settings_.Width1, top + model_.labelHeightMax};
      dc.DrawText(provider->Line(face, line), &rect, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
}

void CGlimraView::Repaint() {
  fw::CClientDC dc(m_hWnd);
  LayoutAndPaint(dc);
}

void CGlimraView::LayoutAndPaint(fw::CDC& dc) {
  fw::CRect client = GetClientRect();
  const int right = client.right, width1 = settings_.Width1;
  const COLORREF window = ::GetSysColor(COLOR_WINDOW), text = ::GetSysColor(COLOR_WINDOWTEXT);
  fw::Pen separator(::CreatePen(PS_SOLID, 1, text));
  // Whatever we select goes back before our objects are deleted.
  int saved = dc.SaveDC();

  model_.rowCount = fonts_.GetCount();
  model_.width1 = width1;
  model_.labelExtraLines = 0;
  for (const RowLabelProvider* provider : rowLabels_) model_.labelExtraLines += provider->LineCount();
  model_.BeginLayout(client.bottom);
  dc.SetTextColor(text);
  for (int i = model_.NextRow(); i >= 0; i = model_.NextRow()) {
    std::string sample = fonts_.ConvertSample(i, settings_.DispText);
    LOGFONTA lf{};
    FillLogFontA(fonts_, i, lf);
    lf.lfHeight = settings_.DispFontSize;
    fw::Font font(CreatePointFont(lf, dc));
    int sampleHeight = 1;
    if (font) {
      dc.SelectObject(font);
      sampleHeight = dc.GetTextExtent(sample).cy;
    }
    viewer::RowBox row = model_.PlaceRow(sampleHeight);
    const int y = row.y, h = row.height;
    dc.FillSolidRect(fw::CRect(0, y, right, y + h + 5), window);
    dc.SetBkColor(window);
    if (font) dc.TextOut(width1 + 5, y + 2, sample);

    dc.SelectObject(labelFont_);
    RECT nameRect{2, y + 2, width1, y + h + 2};
    dc.DrawText(LabelName(i), &nameRect, kNameFormat);
    const _FONTDEF& def = fonts_.GetFont(i);
    std::string marks = viewer::MarksText(def.favourite == 1, def.candidate == 1);
    if (!marks.empty()) {
      COLORREF old = dc.SetTextColor(kMarkColour);
      RECT marksRect{2, model_.MarksTop(y), width1, y + h + 2};
      dc.DrawText(marks, &marksRect, kNameFormat);
      dc.SetTextColor(old);
    }
    if (model_.labelExtraLines > 0) DrawExtraLabelLines(dc, i, y);
    dc.SelectObject(gridPen_);
    dc.MoveTo(width1 + 1, y);
    dc.LineTo(width1 + 1, y + h + 4);
    // Our sample font leaves the DC before it is deleted at the end of the row.
    dc.SelectObject(labelFont_);
    if (!row.complete) break;

    if (def.kind == kFontTemporary) DrawTemporaryFrame(dc, i);
    if (i == model_.selectedRow) DrawSelectionFrame(dc, i, true);
    dc.SelectObject(separator);
    dc.MoveTo(0, row.bottom);
    dc.LineTo(right, row.bottom);
  }
  int frameRow = model_.FinishLayout();
  if (frameRow >= 0) DrawSelectionFrame(dc, frameRow, true);
  if (model_.FillFrom() < client.bottom)
    dc.FillSolidRect(fw::CRect(0, model_.FillFrom(), right, client.bottom), window);

  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  info.nMin = 0;
  info.nMax = model_.rowCount - 1;
  info.nPage = static_cast<UINT>(model_.visibleRows);
  info.nPos = model_.topRow;
  ::SetScrollInfo(m_hWnd, SB_VERT, &info, TRUE);
  dc.RestoreDC(saved);
}

void CGlimraView::DrawSelectionFrame(fw::CDC& dc, int row, bool show) {
  if (model_.rowCount == 0) return;
  std::vector<viewer::Rect> bars = model_.SelectionFrame(row, GetClientRect().right);
  if (bars.empty()) throw fw::InvalidArgumentError("selection frame of a row outside the layout");
  COLORREF colour = show ? kSelectionColour : ::GetSysColor(COLOR_WINDOW);
  for (const viewer::Rect& r : bars) FillRect(dc, r, colour);
  if (show) return;
  // The frame's left bar covers the divider segment: put it back.
  const viewer::Rect& left = bars.front();
  fw::SelectScope grid(dc, gridPen_);
  dc.MoveTo(left.x, left.y);
  dc.LineTo(left.x, left.y + left.height);
}

void CGlimraView::DrawTemporaryFrame(fw::CDC& dc, int row) {
  if (model_.rowCount == 0 || fonts_.GetFont(row).kind != kFontTemporary) return;
  std::vector<viewer::Rect> bars = model_.TemporaryFrame(row);
  if (bars.empty()) throw fw::InvalidArgumentError("temporary frame of a row outside the layout");
  for (const viewer::Rect& r : bars) FillRect(dc, r, kTemporaryColour);
}

LRESULT CGlimraView::OnQuery(WPARAM what, LPARAM param) {
  if (!initialised_) return -1;
  if (what >= GLIMRA_QUERY_COVERAGE_FIRST && what <= GLIMRA_QUERY_COVERAGE_LAST) return coverage_.Query(what, param);
  const PrintPlan& printJob = print_.LastJob();
  const std::vector<int>& pageStarts = printJob.pagination.pageStarts;
  switch (what) {
    case GLIMRA_QUERY_TOP_ROW: return model_.topRow;
    case GLIMRA_QUERY_SELECTED_ROW: return model_.selectedRow;
    case GLIMRA_QUERY_ROW_COUNT: return model_.rowCount;
    case GLIMRA_QUERY_VISIBLE_ROWS: return model_.visibleRows;
    case GLIMRA_QUERY_DIVIDER: return settings_.Width1;
    case GLIMRA_QUERY_FONT_SIZE: return settings_.DispFontSize;
    case GLIMRA_QUERY_UPDATE_STATE: return update_.GetState();
    case GLIMRA_QUERY_PRINT_DPI: return printJob.dpi;
    case GLIMRA_QUERY_PRINT_FOOTER_HEIGHT: return printJob.metrics.footerHeight;
    case GLIMRA_QUERY_PAGE_START:
      return param >= 1 && param <= printJob.pageCount && param <= static_cast<LPARAM>(pageStarts.size())
                 ? pageStarts[static_cast<std::size_t>(param - 1)]
                 : -1;
    case GLIMRA_QUERY_SEARCH_MATCH_US:
    case GLIMRA_QUERY_SEARCH_PAINT_US: return search_.Query(static_cast<int>(what));
    default: return -1;
  }
}

void CGlimraView::SetDividerPos(int x) {
  model_.SetDivider(x, GetClientRect().right);
  settings_.Width1 = model_.width1;
  Repaint();
}

#include "vertical/VerticalPreviewBar.h"

#include <algorithm>
#include <cstring>

#include "facescan/SelectedFace.h"
#include "fonts/Win32FontSystem.h"
#include "fonttables/Gsub.h"
#include "res/ResourceIds.h"
#include "vertical/VerticalLayout.h"
#include "view/GlimraView.h"

namespace {

const char kSection[] = "VerticalPreview";
constexpr int kDefaultWidth = 200;
constexpr int kMinWidth = 60;
constexpr int kMargin = 6;
constexpr int kEdge = 5;        // the inner edge's grip, in pixels
constexpr int kViewLeft = 100;  // what a wide pane leaves of the frame
// Rotated a quarter turn clockwise, as vertical variants are drawn.
constexpr LONG kDownwards = 2700;

bool HasVerticalTwin(const CFontList& fonts, const std::string& face) {
  const std::string twin = "@" + face;
  return std::any_of(fonts.MasterList().begin(), fonts.MasterList().end(),
                     [&](const auto& record) { return record->name == twin; });
}

VerticalSample SampleOf(fw::CView* active) {
  VerticalSample sample;
  auto* view = dynamic_cast<CGlimraView*>(active);
  if (!view || !view->IsInitialised() || view->Fonts().GetCount() == 0) return sample;
  const CFontList& fonts = view->Fonts();
  const int row = std::clamp(view->SelectedRow(), 0, fonts.GetCount() - 1);
  sample.face = fonts.GetName(row);
  FillLogFontA(fonts, row, sample.font);
  sample.text = fonts.ConvertSample(row, view->Settings().DispText);
  sample.sizeTenths = view->Settings().DispFontSize;
  sample.hasVerticalFace = HasVerticalTwin(fonts, sample.face);
  return sample;
}

// 1 for 'vert', 2 for 'vrt2'; -1 when the face's tables cannot be read.
int ReadVerticalForms(const std::string& face) {
  facescan::SelectedFace selected(face);
  if (!selected.Ok()) return -1;
  std::optional<fonttables::Bytes> gsub = selected.Tables().Table(fonttables::MakeTag("GSUB"));
  if (!gsub) return 0;
  fonttables::Result<std::vector<fonttables::Tag>> tags = fonttables::ReadFeatureTags(*gsub);
  if (!tags) return -1;
  const fonttables::VerticalForms forms = fonttables::FindVerticalForms(*tags);
  return (forms.vert ? 1 : 0) | (forms.vrt2 ? 2 : 0);
}

HFONT CreateLabelFont() {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
  return ::CreateFontIndirectA(&metrics.lfMessageFont);
}

}  // namespace

bool VerticalSample::operator==(const VerticalSample& o) const {
  return face == o.face && text == o.text && sizeTenths == o.sizeTenths && hasVerticalFace == o.hasVerticalFace &&
         std::memcmp(&font, &o.font, sizeof font) == 0;
}

// clang-format off
FW_BEGIN_MESSAGE_MAP(VerticalPreviewBar, fw::CControlBar)
  fw::OnMessage(WM_PAINT, &VerticalPreviewBar::OnPaint),
  fw::OnMessage(WM_ERASEBKGND, &VerticalPreviewBar::OnEraseBackground),
  fw::OnMessage(WM_SHOWWINDOW, &VerticalPreviewBar::OnShowWindow),
  fw::OnMessage(WM_GLIMRA_QUERY, &VerticalPreviewBar::OnQuery),
  fw::OnMessage(WM_LBUTTONDOWN, &VerticalPreviewBar::OnLButtonDown),
  fw::OnMessage(WM_MOUSEMOVE, &VerticalPreviewBar::OnMouseMove),
  fw::OnMessage(WM_LBUTTONUP, &VerticalPreviewBar::OnLButtonUp),
  fw::OnMessage(WM_SETCURSOR, &VerticalPreviewBar::OnSetCursor),
FW_END_MESSAGE_MAP()
// clang-format on

bool VerticalPreviewBar::Create(fw::CFrameWnd* frame, UINT id) {
  fw::CWinApp* app = fw::AfxGetApp();
  const bool visible = app && app->GetProfileInt(kSection, "Visible", 0) != 0;
  const bool left = app && app->GetProfileInt(kSection, "Side", 3) == 2;
  width_ = std::max(kMinWidth, app ? app->GetProfileInt(kSection, "Width", kDefaultWidth) : kDefaultWidth);
  m_bOwnBarState = true;
  if (!CreateBarWindow(frame, WS_CHILD | fw::CBRS_RIGHT | fw::CBRS_GRIPPER, id)) return false;
  SetWindowText(fw::LoadText(IDS_VERTICAL_TITLE));
  labelFont_.Reset(CreateLabelFont());
  EnableDocking(fw::CBRS_ALIGN_LEFT | fw::CBRS_ALIGN_RIGHT);
  frame->DockControlBar(this, left ? AFX_IDW_DOCKBAR_LEFT : AFX_IDW_DOCKBAR_RIGHT);
  if (visible) frame->ShowControlBar(this, true, false);
  return true;
}

void VerticalPreviewBar::SaveState() const {
  fw::CWinApp* app = fw::AfxGetApp();
  if (!app || !m_hWnd) return;
  app->WriteProfileInt(kSection, "Visible", IsVisible() ? 1 : 0);
  app->WriteProfileInt(kSection, "Side", m_side);
  app->WriteProfileInt(kSection, "Width", width_);
}

// Docked on the left or right only: its width across (leaving the view some
// room, whatever the saved width), the room along.
fw::CSize VerticalPreviewBar::CalcFixedLayout(bool) {
  int width = width_;
  if (m_pDockSite) width = std::min(width, std::max<int>(kMinWidth, m_pDockSite->GetClientRect().Width() - kViewLeft));
  return fw::CSize(width, width);
}

LONG VerticalPreviewBar::DockedLength(bool, LONG room) { return std::max<LONG>(room, 0); }

bool VerticalPreviewBar::OnInnerEdge(int x) const {
  const LONG width = GetClientRect().Width();
  return m_side == 2 ? x >= width - kEdge : x < kEdge;
}

void VerticalPreviewBar::OnLButtonDown(WPARAM wParam, LPARAM lParam) {
  if (!OnInnerEdge(static_cast<short>(LOWORD(lParam)))) {
    fw::CControlBar::OnLButtonDown(wParam, lParam);
    return;
  }
  sizing_ = true;
  ::SetCapture(m_hWnd);
}

void VerticalPreviewBar::OnMouseMove(WPARAM wParam, LPARAM lParam) {
  if (sizing_ && !(wParam & MK_LBUTTON)) sizing_ = false;  // the capture went elsewhere
  if (!sizing_ || !m_pDockSite) return;
  POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ::MapWindowPoints(m_hWnd, m_pDockSite->m_hWnd, &p, 1);
  const fw::CRect bar = GetWindowRect(), frame = m_pDockSite->GetClientRect();
  POINT outer{m_side == 2 ? bar.left : bar.right, 0};
  ::ScreenToClient(m_pDockSite->m_hWnd, &outer);
  const int wanted = m_side == 2 ? p.x - outer.x : outer.x - p.x;
  const int widest = std::max<int>(kMinWidth, frame.Width() - kViewLeft);
  const int width = std::clamp(wanted, kMinWidth, widest);
  if (width == width_) return;
  width_ = width;
  m_pDockSite->RecalcLayout();
}

void VerticalPreviewBar::OnLButtonUp(WPARAM wParam, LPARAM lParam) {
  if (!sizing_) {
    fw::CControlBar::OnLButtonUp(wParam, lParam);
    return;
  }
  sizing_ = false;
  ::ReleaseCapture();
}

LRESULT VerticalPreviewBar::OnSetCursor(WPARAM wParam, LPARAM lParam) {
  POINT p{};
  ::GetCursorPos(&p);
  ::ScreenToClient(m_hWnd, &p);
  if (reinterpret_cast<HWND>(wParam) == m_hWnd && OnInnerEdge(p.x)) {
    ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<const char*>(IDC_SIZEWE)));
    return TRUE;
  }
  return fw::CControlBar::OnSetCursor(wParam, lParam);
}

void VerticalPreviewBar::OnUpdateCmdUI(fw::CCmdTarget&) {
  if (Follow()) Invalidate(false);
}

LRESULT VerticalPreviewBar::OnShowWindow(WPARAM show, LPARAM) {
  if (show) Follow();
  return Default();
}

bool VerticalPreviewBar::Follow() {
  VerticalSample now = SampleOf(m_pDockSite ? m_pDockSite->GetActiveView() : nullptr);
  if (now == sample_) return false;
  if (now.face != sample_.face) {
    forms_ = now.face.empty() ? -1 : ReadVerticalForms(now.face);
    fonttables::VerticalForms found;
    found.vert = forms_ > 0 && (forms_ & 1);
    found.vrt2 = forms_ > 0 && (forms_ & 2);
    formsLine_ = forms_ < 0 ? fw::LoadText(IDS_VERTICAL_FORMS_UNKNOWN)
                            : vertical::VerticalFormsLine(found, fw::LoadText(IDS_VERTICAL_FORMS_YES),
                                                          fw::LoadText(IDS_VERTICAL_FORMS_NO));
  }
  sample_ = std::move(now);
  return true;
}

void VerticalPreviewBar::OnPaint() {
  fw::CPaintDC paint(this);
  const fw::CRect client = GetClientRect();
  if (client.IsRectEmpty()) return;
  // Drawn off screen and copied in one go: no flicker while the sample changes.
  fw::OwnedDC memory(::CreateCompatibleDC(paint));
  fw::Bitmap bitmap(::CreateCompatibleBitmap(paint, client.Width(), client.Height()));
  if (!memory || !bitmap) {
    Draw(paint, client);
    return;
  }
  win::SelectScope target(memory, bitmap);
  Draw(memory, client);
  ::BitBlt(paint, 0, 0, client.Width(), client.Height(), memory, 0, 0, SRCCOPY);
}

void VerticalPreviewBar::Draw(fw::CDC& dc, const fw::CRect& client) {
  dc.FillSolidRect(client, ::GetSysColor(COLOR_WINDOW));
  DrawBarFrame(dc);
  shown_ = columns_ = 0;
  if (sample_.face.empty()) return;

  const fw::CRect in = Insets();
  fw::CRect area(client.left + in.left + kMargin, client.top + in.top + kMargin, client.right - in.right - kMargin,
                 client.bottom - in.bottom - kMargin);
  if (area.IsRectEmpty()) return;
  {
    win::SelectScope label(dc, labelFont_);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
    const UINT format = DT_WORDBREAK | DT_NOPREFIX;
    RECT line = area;
    const int height = dc.DrawText(formsLine_, &line, format | DT_CALCRECT);
    line = area;
    dc.DrawText(formsLine_, &line, format);
    area.top += height + kMargin;
    if (!sample_.hasVerticalFace) {
      RECT note = area;
      dc.DrawText(fw::LoadText(IDS_VERTICAL_NO_FACE), &note, format);
      shown_ = 2;
      return;
    }
  }
  if (area.IsRectEmpty()) return;
  columns_ = DrawVertical(dc, area);
  shown_ = 1;
}

int VerticalPreviewBar::DrawVertical(fw::CDC& dc, const fw::CRect& area) {
  LOGFONTA lf = sample_.font;
  const std::string twin = "@" + sample_.face;
  lstrcpynA(lf.lfFaceName, twin.c_str(), LF_FACESIZE);
  lf.lfHeight = -::MulDiv(dc.GetDeviceCaps(LOGPIXELSY), sample_.sizeTenths, 720);
  lf.lfEscapement = lf.lfOrientation = kDownwards;
  fw::Font font(::CreateFontIndirectA(&lf));
  if (!font) return 0;
  win::SelectScope select(dc, font);
  TEXTMETRICA tm{};
  ::GetTextMetricsA(dc, &tm);
  const int thickness = std::max<int>(tm.tmHeight, 1);
  const int pitch = thickness + thickness / 2;

  const std::vector<std::string> characters = vertical::SplitCharacters(sample_.text);
  std::vector<int> advances;
  advances.reserve(characters.size());
  for (const std::string& c : characters) advances.push_back(dc.GetTextExtent(c).cx);
  const std::vector<vertical::Placement> places = vertical::PlaceInColumns(advances, area.Height());

  const int saved = dc.SaveDC();
  ::IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
  ::SetTextAlign(dc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
  int columns = 0;
  for (std::size_t i = 0; i < characters.size(); ++i) {
    const int left = vertical::ColumnLeft(area.right, places[i].column, pitch) + (pitch - thickness) / 2;
    if (left < area.left) break;  // no room for more columns
    // Turned a quarter clockwise, the glyph's top faces right: the reference
    // point is the right edge of its cell.
    dc.TextOut(left + thickness, area.top + places[i].offset, characters[i]);
    columns = places[i].column + 1;
  }
  dc.RestoreDC(saved);
  return columns;
}

LRESULT VerticalPreviewBar::OnQuery(WPARAM what, LPARAM) {
  switch (what) {
    case GLIMRA_QUERY_VERTICAL_SHOWN: return IsVisible() ? shown_ : 0;
    case GLIMRA_QUERY_VERTICAL_FORMS: return forms_;
    case GLIMRA_QUERY_VERTICAL_COLUMNS: return columns_;
    default: return -1;
  }
}

// Scrolling, wheel, keys, clicks, the divider, the context menu and the
// sample text and size typed into the text input bar.
#include "res/ResourceIds.h"
#include "view/GlimraView.h"

namespace {

// Client coordinates of a mouse message, signed.
int XOf(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }
int YOf(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }

bool ControlHeld() { return (::GetKeyState(VK_LCONTROL) & 0x8000) != 0 || (::GetKeyState(VK_RCONTROL) & 0x8000) != 0; }

}  // namespace

void CGlimraView::Apply(const viewer::Reaction& r) {
  switch (r.kind) {
    case viewer::Reaction::kRepaint: Repaint(); break;
    case viewer::Reaction::kRelayout: {
      fw::CClientDC dc(m_hWnd);
      LayoutAndPaint(dc);
      break;
    }
    case viewer::Reaction::kMoveFrame: {
      fw::CClientDC dc(m_hWnd);
      DrawSelectionFrame(dc, r.from, false);
      DrawSelectionFrame(dc, r.to, true);
      break;
    }
    default: break;
  }
}

LRESULT CGlimraView::OnVScroll(WPARAM wParam, LPARAM) {
  Apply(model_.Scroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam))));
  return 0;
}

LRESULT CGlimraView::OnMouseWheel(WPARAM wParam, LPARAM) {
  Apply(model_.Wheel(static_cast<short>(HIWORD(wParam))));
  return 0;
}

LRESULT CGlimraView::OnKeyDown(WPARAM wParam, LPARAM) {
  viewer::Reaction r =
      model_.KeyDown(static_cast<int>(wParam), ControlHeld(), [this](int i) { return fonts_.GetName(i); });
  if (r.kind == viewer::Reaction::kDefault) return Default();
  Apply(r);
  return 0;
}

LRESULT CGlimraView::OnMouseMove(WPARAM, LPARAM lParam) {
  int x = XOf(lParam), y = YOf(lParam);
  HCURSOR sizing = ::LoadCursorA(nullptr, IDC_SIZEWE);
  if (model_.dragging) {
    SetDividerPos(x);
    ::SetCursor(sizing);
    return 0;
  }
  if (model_.InDividerZone(x, y)) ::SetCursor(sizing);
  return Default();
}

LRESULT CGlimraView::OnLButtonDown(WPARAM, LPARAM lParam) {
  int x = XOf(lParam), y = YOf(lParam);
  if (!model_.dragging && model_.InDividerZone(x, y)) {
    model_.dragging = true;
    ::SetCapture(m_hWnd);
    SetDividerPos(x);
    return 0;
  }
  if (ClickAt(y)) return Default();
  return 0;
}

LRESULT CGlimraView::OnLButtonUp(WPARAM, LPARAM lParam) {
  if (!model_.dragging) return Default();
  SetDividerPos(XOf(lParam));
  model_.dragging = false;
  ::ReleaseCapture();
  return 0;
}

bool CGlimraView::ClickAt(int y) {
  viewer::Reaction r = model_.Click(y);
  Apply(r);
  return r.kind != viewer::Reaction::kNothing;
}

LRESULT CGlimraView::OnRButtonDown(WPARAM, LPARAM lParam) {
  LRESULT result = ClickAt(YOf(lParam)) ? Default() : 0;
  POINT at{};
  ::GetCursorPos(&at);
  HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_CONTEXTMENU));
  if (menu) {
    ::TrackPopupMenu(::GetSubMenu(menu, 0), TPM_RIGHTBUTTON | TPM_LEFTALIGN, at.x, at.y, 0, m_hWnd, nullptr);
    ::DestroyMenu(menu);
  }
  return result;
}

void CGlimraView::OnSampleTextChange() {
  if (!initialised_ || !textBar_) return;
  settings_.DispText = fw::WindowText(textBar_->GetDlgItem(IDC_SAMPLE_TEXT));
  Repaint();
}

void CGlimraView::OnSizeEditChange() {
  if (!initialised_ || !textBar_) return;
  settings_.DispFontSize = viewer::ParseSize(fw::WindowText(textBar_->GetDlgItem(IDC_SAMPLE_SIZE)).c_str());
  Repaint();
}

void CGlimraView::OnSizeSelChange() {
  if (!initialised_ || !textBar_) return;
  HWND box = textBar_->GetDlgItem(IDC_SAMPLE_SIZE);
  LRESULT index = ::SendMessageA(box, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return;
  const std::optional<std::string> text = fw::ComboItemText(box, static_cast<int>(index));
  if (!text) return;
  settings_.DispFontSize = viewer::ParseSize(text->c_str());
  Repaint();
}

void CGlimraView::OnEditPaste() {
  HWND edit = textBar_ ? textBar_->GetDlgItem(IDC_SAMPLE_TEXT) : nullptr;
  if (edit && ::GetFocus() == edit) {
    ::SendMessageA(edit, WM_PASTE, 0, 0);
    return;
  }
  win::ClipboardSession clipboard(m_hWnd);
  if (!clipboard.IsOpen()) return;
  if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
    const char* text = static_cast<const char*>(::GlobalLock(data));
    settings_.DispText = text ? text : "";
    if (text) ::GlobalUnlock(data);
    if (edit)
      ::SetWindowTextA(edit, settings_.DispText.c_str());
    else if (initialised_)
      Repaint();
  }
}

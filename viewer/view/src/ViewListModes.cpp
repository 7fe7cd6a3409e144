// Language and kind switches, list modes, favourites and candidates.
#include "res/ResourceIds.h"
#include "view/GlimraView.h"

namespace {

void Invert(int& flag) { flag = flag == 0 ? 1 : 0; }

}  // namespace

void CGlimraView::OnLangWestern() {
  Invert(settings_.SelLangEN);
  RefreshAndRepaint();
}

void CGlimraView::OnLangJapanese() {
  Invert(settings_.SelLangJA);
  RefreshAndRepaint();
}

void CGlimraView::OnLangAll() {
  Invert(settings_.SelLangALL);
  RefreshAndRepaint();
}

void CGlimraView::OnKindTemporary() {
  viewer::ToggleKind(settings_.SelFontTMP, settings_.SelFontORG);
  RefreshAndRepaint();
}

void CGlimraView::OnKindRegistered() {
  viewer::ToggleKind(settings_.SelFontORG, settings_.SelFontTMP);
  RefreshAndRepaint();
}

void CGlimraView::OnModeStandard() {
  settings_.ListMode = kListStandard;
  RefreshAndRepaint();
}

void CGlimraView::OnModeFavourites() {
  settings_.ListMode = kListFavourites;
  RefreshAndRepaint();
}

void CGlimraView::OnModeCandidates() {
  settings_.ListMode = kListCandidates;
  RefreshAndRepaint();
}

void CGlimraView::OnFavouriteAdd() {
  if (static_cast<int>(settings_.Favourites.size()) >= settings_.FavMax) {
    ::MessageBoxA(m_hWnd, fw::LoadText(IDS_FAVOURITE_LIMIT).c_str(), fw::LoadText(IDS_FAVOURITE_LIMIT_CAPTION).c_str(),
                  MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  fonts_.SetFavourite(model_.selectedRow, true);
  Invalidate(true);
  // A favourite must survive even a killed process.
  SaveSettings();
}

void CGlimraView::OnFavouriteRemove() {
  fonts_.SetFavourite(model_.selectedRow, false);
  Invalidate(true);
  SaveSettings();
}

void CGlimraView::OnCandidateAdd() {
  fonts_.SetCandidate(model_.selectedRow, true);
  Invalidate(true);
}

void CGlimraView::OnCandidateRemove() {
  fonts_.SetCandidate(model_.selectedRow, false);
  Invalidate(true);
}

void CGlimraView::OnUpdateLangWestern(fw::CCmdUI* ui) { ui->SetCheck(settings_.SelLangEN == 1); }
void CGlimraView::OnUpdateLangJapanese(fw::CCmdUI* ui) { ui->SetCheck(settings_.SelLangJA == 1); }
void CGlimraView::OnUpdateLangAll(fw::CCmdUI* ui) { ui->SetCheck(settings_.SelLangALL == 1); }
void CGlimraView::OnUpdateKindTemporary(fw::CCmdUI* ui) { ui->SetCheck(settings_.SelFontTMP == 1); }
void CGlimraView::OnUpdateKindRegistered(fw::CCmdUI* ui) { ui->SetCheck(settings_.SelFontORG == 1); }
void CGlimraView::OnUpdateModeStandard(fw::CCmdUI* ui) { ui->SetCheck(settings_.ListMode == kListStandard); }
void CGlimraView::OnUpdateModeFavourites(fw::CCmdUI* ui) { ui->SetCheck(settings_.ListMode == kListFavourites); }
void CGlimraView::OnUpdateModeCandidates(fw::CCmdUI* ui) { ui->SetCheck(settings_.ListMode == kListCandidates); }

const _FONTDEF* CGlimraView::SelectedFont() const {
  int row = model_.selectedRow;
  return row >= 0 && row < fonts_.GetCount() ? &fonts_.GetFont(row) : nullptr;
}

void CGlimraView::OnUpdateFavouriteAdd(fw::CCmdUI* ui) {
  if (model_.selectedRow < 0) return;
  if (static_cast<int>(settings_.Favourites.size()) >= settings_.FavMax) {
    ui->Enable(false);
    return;
  }
  const _FONTDEF* font = SelectedFont();
  ui->Enable(!font || font->favourite != 1);
}

void CGlimraView::OnUpdateFavouriteRemove(fw::CCmdUI* ui) {
  if (model_.selectedRow < 0) return;
  const _FONTDEF* font = SelectedFont();
  ui->Enable(font && font->favourite == 1);
}

void CGlimraView::OnUpdateCandidateAdd(fw::CCmdUI* ui) {
  if (model_.selectedRow < 0) return;
  const _FONTDEF* font = SelectedFont();
  ui->Enable(!font || font->candidate != 1);
}

void CGlimraView::OnUpdateCandidateRemove(fw::CCmdUI* ui) {
  if (model_.selectedRow < 0) return;
  const _FONTDEF* font = SelectedFont();
  ui->Enable(font && font->candidate == 1);
}

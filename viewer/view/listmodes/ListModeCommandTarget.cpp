// Language and kind switches, list modes, favourites and candidates.
#include "ListModeCommandTarget.h"

#include "res/ResourceIds.h"
#include "view/SampleListModel.h"

namespace {

void Invert(int& flag) { flag = flag == 0 ? 1 : 0; }

}  // namespace

// clang-format off
FW_BEGIN_MESSAGE_MAP(ListModeCommandTarget, fw::CCmdTarget)
  fw::OnCommand(ID_LANG_WESTERN, &ListModeCommandTarget::OnLangWestern),
  fw::OnCommand(ID_LANG_JAPANESE, &ListModeCommandTarget::OnLangJapanese),
  fw::OnCommand(ID_LANG_ALL, &ListModeCommandTarget::OnLangAll),
  fw::OnCommand(ID_KIND_TEMPORARY, &ListModeCommandTarget::OnKindTemporary),
  fw::OnCommand(ID_KIND_REGISTERED, &ListModeCommandTarget::OnKindRegistered),
  fw::OnCommand(ID_MODE_STANDARD, &ListModeCommandTarget::OnModeStandard),
  fw::OnCommand(ID_MODE_FAVOURITES, &ListModeCommandTarget::OnModeFavourites),
  fw::OnCommand(ID_MODE_CANDIDATES, &ListModeCommandTarget::OnModeCandidates),
  fw::OnCommand(ID_FAVOURITE_ADD, &ListModeCommandTarget::OnFavouriteAdd),
  fw::OnCommand(ID_FAVOURITE_REMOVE, &ListModeCommandTarget::OnFavouriteRemove),
  fw::OnCommand(ID_CANDIDATE_ADD, &ListModeCommandTarget::OnCandidateAdd),
  fw::OnCommand(ID_CANDIDATE_REMOVE, &ListModeCommandTarget::OnCandidateRemove),
  fw::OnUpdateCommandUI(ID_LANG_WESTERN, &ListModeCommandTarget::OnUpdateLangWestern),
  fw::OnUpdateCommandUI(ID_LANG_JAPANESE, &ListModeCommandTarget::OnUpdateLangJapanese),
  fw::OnUpdateCommandUI(ID_LANG_ALL, &ListModeCommandTarget::OnUpdateLangAll),
  fw::OnUpdateCommandUI(ID_KIND_TEMPORARY, &ListModeCommandTarget::OnUpdateKindTemporary),
  fw::OnUpdateCommandUI(ID_KIND_REGISTERED, &ListModeCommandTarget::OnUpdateKindRegistered),
  fw::OnUpdateCommandUI(ID_MODE_STANDARD, &ListModeCommandTarget::OnUpdateModeStandard),
  fw::OnUpdateCommandUI(ID_MODE_FAVOURITES, &ListModeCommandTarget::OnUpdateModeFavourites),
  fw::OnUpdateCommandUI(ID_MODE_CANDIDATES, &ListModeCommandTarget::OnUpdateModeCandidates),
  fw::OnUpdateCommandUI(ID_FAVOURITE_ADD, &ListModeCommandTarget::OnUpdateFavouriteAdd),
  fw::OnUpdateCommandUI(ID_FAVOURITE_REMOVE, &ListModeCommandTarget::OnUpdateFavouriteRemove),
  fw::OnUpdateCommandUI(ID_CANDIDATE_ADD, &ListModeCommandTarget::OnUpdateCandidateAdd),
  fw::OnUpdateCommandUI(ID_CANDIDATE_REMOVE, &ListModeCommandTarget::OnUpdateCandidateRemove),
FW_END_MESSAGE_MAP()
// clang-format on

void ListModeCommandTarget::OnLangWestern() {
  Invert(settings_.SelLangEN);
  site_.RefreshAndRepaint();
}

void ListModeCommandTarget::OnLangJapanese() {
  Invert(settings_.SelLangJA);
  site_.RefreshAndRepaint();
}

void ListModeCommandTarget::OnLangAll() {
  Invert(settings_.SelLangALL);
  site_.RefreshAndRepaint();
}

void ListModeCommandTarget::OnKindTemporary() {
  viewer::ToggleKind(settings_.SelFontTMP, settings_.SelFontORG);
  site_.RefreshAndRepaint();
}

void ListModeCommandTarget::OnKindRegistered() {
  viewer::ToggleKind(settings_.SelFontORG, settings_.SelFontTMP);
  site_.RefreshAndRepaint();
}

void ListModeCommandTarget::OnModeStandard() {
  settings_.ListMode = kListStandard;
  site_.RefreshAndRepaint();
}

void ListModeCommandTarget::OnModeFavourites() {
  settings_.ListMode = kListFavourites;
  site_.RefreshAndRepaint();
}

void ListModeCommandTarget::OnModeCandidates() {
  settings_.ListMode = kListCandidates;
  site_.RefreshAndRepaint();
}

void ListModeCommandTarget::OnFavouriteAdd() {
  if (static_cast<int>(settings_.Favourites.size()) >= settings_.FavMax) {
    site_.Warn(IDS_FAVOURITE_LIMIT, IDS_FAVOURITE_LIMIT_CAPTION);
    return;
  }
  fonts_.SetFavourite(site_.SelectedRow(), true);
  site_.RedrawMarks();
  // A favourite must survive even a killed process.
  site_.SaveSettings();
}

void ListModeCommandTarget::OnFavouriteRemove() {
  fonts_.SetFavourite(site_.SelectedRow(), false);
  site_.RedrawMarks();
  site_.SaveSettings();
}

void ListModeCommandTarget::OnCandidateAdd() {
  fonts_.SetCandidate(site_.SelectedRow(), true);
  site_.RedrawMarks();
}

void ListModeCommandTarget::OnCandidateRemove() {
  fonts_.SetCandidate(site_.SelectedRow(), false);
  site_.RedrawMarks();
}

void ListModeCommandTarget::OnUpdateLangWestern(fw::CCmdUI* ui) { ui->SetCheck(settings_.SelLangEN == 1); }
void ListModeCommandTarget::OnUpdateLangJapanese(fw::CCmdUI* ui) { ui->SetCheck(settings_.SelLangJA == 1); }
void ListModeCommandTarget::OnUpdateLangAll(fw::CCmdUI* ui) { ui->SetCheck(settings_.SelLangALL == 1); }
void ListModeCommandTarget::OnUpdateKindTemporary(fw::CCmdUI* ui) { ui->SetCheck(settings_.SelFontTMP == 1); }
void ListModeCommandTarget::OnUpdateKindRegistered(fw::CCmdUI* ui) { ui->SetCheck(settings_.SelFontORG == 1); }
void ListModeCommandTarget::OnUpdateModeStandard(fw::CCmdUI* ui) { ui->SetCheck(settings_.ListMode == kListStandard); }
void ListModeCommandTarget::OnUpdateModeFavourites(fw::CCmdUI* ui) {
  ui->SetCheck(settings_.ListMode == kListFavourites);
}
void ListModeCommandTarget::OnUpdateModeCandidates(fw::CCmdUI* ui) {
  ui->SetCheck(settings_.ListMode == kListCandidates);
}

const _FONTDEF* ListModeCommandTarget::SelectedFont() const {
  int row = site_.SelectedRow();
  return row >= 0 && row < fonts_.GetCount() ? &fonts_.GetFont(row) : nullptr;
}

void ListModeCommandTarget::OnUpdateFavouriteAdd(fw::CCmdUI* ui) {
  if (site_.SelectedRow() < 0) return;
  if (static_cast<int>(settings_.Favourites.size()) >= settings_.FavMax) {
    ui->Enable(false);
    return;
  }
  const _FONTDEF* font = SelectedFont();
  ui->Enable(!font || font->favourite != 1);
}

void ListModeCommandTarget::OnUpdateFavouriteRemove(fw::CCmdUI* ui) {
  if (site_.SelectedRow() < 0) return;
  const _FONTDEF* font = SelectedFont();
  ui->Enable(font && font->favourite == 1);
}

void ListModeCommandTarget::OnUpdateCandidateAdd(fw::CCmdUI* ui) {
  if (site_.SelectedRow() < 0) return;
  const _FONTDEF* font = SelectedFont();
  ui->Enable(!font || font->candidate != 1);
}

void ListModeCommandTarget::OnUpdateCandidateRemove(fw::CCmdUI* ui) {
  if (site_.SelectedRow() < 0) return;
  const _FONTDEF* font = SelectedFont();
  ui->Enable(font && font->candidate == 1);
}

#pragma once
// The list commands of the sample view: language and kind switches, list
// modes, favourites and candidates, with their check and enable states. The
// view routes these commands here; what needs its window it does through Site.
#include "fonts/FontList.h"
#include "framework/CmdTarget.h"
#include "settings/DisplaySettings.h"

class ListModeCommandTarget : public fw::CCmdTarget {
  FW_DECLARE_MESSAGE_MAP()

 public:
  class Site {
   public:
    // A row of the visible list, or -1 when nothing is selected.
    virtual int SelectedRow() const = 0;
    // A switch or the mode changed: rebuild the visible list and repaint.
    virtual void RefreshAndRepaint() = 0;
    // Only the marks changed: repaint.
    virtual void RedrawMarks() = 0;
    virtual void SaveSettings() = 0;
    virtual void Warn(unsigned textId, unsigned captionId) = 0;

   protected:
    ~Site() = default;
  };

  ListModeCommandTarget(DisplaySettings& settings, CFontList& fonts, Site& site)
      : settings_(settings), fonts_(fonts), site_(site) {}

 private:
  void OnLangWestern();
  void OnLangJapanese();
  void OnLangAll();
  void OnKindTemporary();
  void OnKindRegistered();
  void OnModeStandard();
  void OnModeFavourites();
  void OnModeCandidates();
  void OnFavouriteAdd();
  void OnFavouriteRemove();
  void OnCandidateAdd();
  void OnCandidateRemove();
  void OnUpdateLangWestern(fw::CCmdUI* ui);
  void OnUpdateLangJapanese(fw::CCmdUI* ui);
  void OnUpdateLangAll(fw::CCmdUI* ui);
  void OnUpdateKindTemporary(fw::CCmdUI* ui);
  void OnUpdateKindRegistered(fw::CCmdUI* ui);
  void OnUpdateModeStandard(fw::CCmdUI* ui);
  void OnUpdateModeFavourites(fw::CCmdUI* ui);
  void OnUpdateModeCandidates(fw::CCmdUI* ui);
  void OnUpdateFavouriteAdd(fw::CCmdUI* ui);
  void OnUpdateFavouriteRemove(fw::CCmdUI* ui);
  void OnUpdateCandidateAdd(fw::CCmdUI* ui);
  void OnUpdateCandidateRemove(fw::CCmdUI* ui);
  // The selected row's record, or null for an empty list.
  const _FONTDEF* SelectedFont() const;

  DisplaySettings& settings_;
  CFontList& fonts_;
  Site& site_;
};

#pragma once
// The clipboard commands of the sample view: copy of the selected sample
// (57634) and of its font name (32774). The view routes them here. Both are
// always offered: nobody decides their state but the routing.
#include "fonts/FontList.h"
#include "framework/CmdTarget.h"
#include "framework/Wnd.h"
#include "settings/DisplaySettings.h"

class ClipboardCommandTarget : public fw::CCmdTarget {
  FW_DECLARE_MESSAGE_MAP()

 public:
  class Site {
   public:
    // A row of the visible list, or -1 when nothing is selected.
    virtual int SelectedRow() const = 0;

   protected:
    ~Site() = default;
  };

  ClipboardCommandTarget(const fw::CWnd& view, const CFontList& fonts, const DisplaySettings& settings, Site& site)
      : view_(view), fonts_(fonts), settings_(settings), site_(site) {}

 private:
  void OnEditCopy();
  void OnCopyFontName();

  const fw::CWnd& view_;  // owner of the clipboard while it is written
  const CFontList& fonts_;
  const DisplaySettings& settings_;
  Site& site_;
};

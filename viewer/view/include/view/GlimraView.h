#pragma once
// CGlimraView: the font list. One row per face of the catalogue's visible
// list, name and marks on the left of a draggable divider, the sample in that
// face on the right. Geometry and input rules live in SampleListModel; this
// class measures, draws and talks to the window system. Its handlers are
// split by concern: painting (GlimraView.cpp), input (ViewInput.cpp), list
// modes and marks (ViewListModes.cpp), closing (ViewClosing.cpp), update
// check (ViewUpdate.cpp).
#include <string>

#include "PrintDraw.h"
#include "fonts/FontList.h"
#include "framework/Framework.h"
#include "install/LoadedFileList.h"
#include "settings/DisplaySettings.h"
#include "update/UpdateCheck.h"
#include "view/SampleListModel.h"
#include "view/ViewHost.h"

class FontInstallCommands;

class CGlimraView : public fw::CView {
  FW_DECLARE_MESSAGE_MAP()

 public:
  CGlimraView();
  ~CGlimraView() override;

  bool PreCreateWindow(CREATESTRUCTA& cs) override;
  void OnDraw(fw::CDC* dc) override;

  // Lays the rows out from the top row down and paints them on dc.
  void LayoutAndPaint(fw::CDC& dc);
  // LayoutAndPaint on a client-area device context.
  void Repaint();
  // Rebuilds the visible list from the switches and the list mode, puts the
  // top and the selection on the first row, and paints.
  void RefreshAndRepaint();
  void RefreshAndRepaint(fw::CDC& dc);
  // Draws (show) or erases the red frame around a laid-out row's sample.
  void DrawSelectionFrame(fw::CDC& dc, int row, bool show);
  // The green frame around the name of a temporary font's row.
  void DrawTemporaryFrame(fw::CDC& dc, int row);
  // Moves the divider, kept inside the client area, and repaints.
  void SetDividerPos(int x);

  void LoadSettings();
  void SaveSettings();

  DisplaySettings& Settings() { return settings_; }
  CFontList& Fonts() { return fonts_; }
  LoadedFileList& LoadedFiles() { return loadedFiles_; }
  const viewer::SampleListModel& Model() const { return model_; }
  int SelectedRow() const { return model_.selectedRow; }
  bool IsClassicSystem() const { return classicSystem_; }
  bool IsInitialised() const { return initialised_; }

 protected:
  // --- painting (GlimraView.cpp)
  void InitialiseView(fw::CDC& dc);
  void OnSizeMsg(WPARAM type, LPARAM size);
  // A font of tenths-of-a-point height for dc (the point-font rule).
  HFONT CreatePointFont(LOGFONTA lf, fw::CDC& dc) const;
  void SetSampleTextBox(const std::string& text);

  // --- input (ViewInput.cpp)
  LRESULT OnVScroll(WPARAM wParam, LPARAM lParam);
  LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam);
  LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
  LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
  LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
  LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
  LRESULT OnRButtonDown(WPARAM wParam, LPARAM lParam);
  // Selection by a click at client y; true when a row was hit.
  bool ClickAt(int y);
  void Apply(const viewer::Reaction& r);
  void OnSampleTextChange();
  void OnSizeEditChange();
  void OnSizeSelChange();
  void OnEditPaste();

  // --- list modes, favourites, candidates (ViewListModes.cpp)
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

  // State for automation: see WM_GLIMRA_QUERY. -1 before the first paint.
  LRESULT OnQuery(WPARAM what, LPARAM param);

  // --- closing (ViewClosing.cpp)
  LRESULT OnClosing(WPARAM, LPARAM);
  void RemoveTemporaryFonts();

  // --- font installation (ViewInstall.cpp)
  void OnFontTempInstall();
  void OnFontFolderInstall();
  void OnFontTempUninstall();
  void OnUpdateFontTempUninstall(fw::CCmdUI* ui);
  void OnFontPermanent();
  void OnUpdateFontPermanent(fw::CCmdUI* ui);
  void OnFontProperties();
  FontInstallCommands InstallCommands();
  std::string fontDialogPath_;  // the path the font file dialog reported last

  // --- clipboard (clipboard/ViewClipboard.cpp)
  void OnEditCopy();
  void OnCopyFontName();

  // --- printing and preview (print/ViewPrinting.cpp)
 public:
  bool OnPreparePrinting(fw::CPrintInfo* info) override;
  void OnBeginPrinting(fw::CDC* dc, fw::CPrintInfo* info) override;
  void OnPrepareDC(fw::CDC* dc, fw::CPrintInfo* info = nullptr) override;
  void OnEndPrinting(fw::CDC* dc, fw::CPrintInfo* info) override;
  // Measures the visible list on the printer; returns the page count.
  int Paginate(HDC printer);
  // Draws page (from 1) of the current print job on dc.
  void PrintPage(fw::CDC& dc, int page);

 protected:
  int printing_ = 0;     // 1 from print preparation until printing ends
  int currentPage_ = 0;  // the page the framework is about to draw
  PrintPlan printJob_;   // page starts and print metrics of the last job

  // --- update check (ViewUpdate.cpp)
  void StartAutomaticUpdateCheck();
  void OnUpdateCheck();
  void OnUpdateUpdateCheck(fw::CCmdUI* ui);
  LRESULT OnLvkNotify(WPARAM code, LPARAM);

  ViewHost& host_;  // first: the settings are read from its profile
  DisplaySettings settings_;
  CFontList fonts_;
  LoadedFileList loadedFiles_;
  viewer::SampleListModel model_;
  bool initialised_ = false;
  bool classicSystem_ = false;
  viewer::UpdateCheck update_;
  fw::CDialogBar* textBar_ = nullptr;
  std::string labelFace_;
  int labelSize_ = 0;  // tenths of a point
  fw::Font labelFont_;
  fw::Pen gridPen_;
  int labelWidthMax_ = 0;
};

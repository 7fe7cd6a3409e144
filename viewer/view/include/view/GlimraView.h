#pragma once
// CGlimraView: the font list. One row per face of the catalogue's visible
// list, name and marks on the left of a draggable divider, the sample in that
// face on the right. Geometry and input rules live in SampleListModel; this
// class measures, draws and talks to the window system: painting
// (GlimraView.cpp), input (ViewInput.cpp), closing (ViewClosing.cpp). Each
// command group has a command target of its own in its folder, owned by the
// view and reached through OnCmdMsg (ViewCommands.cpp).
#include <string>
#include <vector>

#include "ClipboardCommandTarget.h"
#include "CoverageCommandTarget.h"
#include "ListModeCommandTarget.h"
#include "PrintCommandTarget.h"
#include "SearchCommandTarget.h"
#include "facescan/FaceScanner.h"
#include "fonts/FontList.h"
#include "framework/Framework.h"
#include "install/FontInstallCommands.h"
#include "install/InstallCommandTarget.h"
#include "install/LoadedFileList.h"
#include "settings/DisplaySettings.h"
#include "update/LanvikUpdateHost.h"
#include "update/UpdateCommandTarget.h"
#include "view/RowLabels.h"
#include "view/SampleListModel.h"
#include "view/ViewHost.h"

class CGlimraView : public fw::CView,
                    private ListModeCommandTarget::Site,
                    private InstallCommandTarget::Site,
                    private ClipboardCommandTarget::Site,
                    private CoverageCommandTarget::Site {
  FW_DECLARE_MESSAGE_MAP()

 public:
  CGlimraView();
  ~CGlimraView() override;

  // The view's own table, then its command groups, then the document.
  bool OnCmdMsg(unsigned id, int code, fw::CCmdUI* ui) override;

  bool PreCreateWindow(CREATESTRUCTA& cs) override;
  void OnDraw(fw::CDC* dc) override;

  // Lays the rows out from the top row down and paints them on dc.
  void LayoutAndPaint(fw::CDC& dc);
  // LayoutAndPaint on a client-area device context.
  void Repaint();
  // Rebuilds the visible list from the switches and the list mode, puts the
  // top and the selection on the first row, and paints.
  void RefreshAndRepaint() override;
  void RefreshAndRepaint(fw::CDC& dc);
  // Applies the display switches and the narrowings again after a narrowing
  // changed: the selected face stays selected, at the same place on screen,
  // while it remains visible; otherwise the first row is selected.
  void Renarrow();
  // Draws (show) or erases the red frame around a laid-out row's sample.
  void DrawSelectionFrame(fw::CDC& dc, int row, bool show);
  // The green frame around the name of a temporary font's row.
  void DrawTemporaryFrame(fw::CDC& dc, int row);
  // Moves the divider, kept inside the client area, and repaints.
  void SetDividerPos(int x);

  void LoadSettings();
  void SaveSettings() override;

  DisplaySettings& Settings() { return settings_; }
  CFontList& Fonts() { return fonts_; }
  LoadedFileList& LoadedFiles() { return loadedFiles_; }
  const viewer::SampleListModel& Model() const { return model_; }
  // Names, coverage and vertical forms of every face, measured in the
  // background on request; results arrive on WM_GLIMRA_FACES_SCANNED.
  facescan::FaceScanner& FaceScan() { return faceScan_; }
  // Providers of label text beyond the face name and marks (not owned).
  void AddRowLabels(const RowLabelProvider& provider) { rowLabels_.push_back(&provider); }
  int SelectedRow() const override { return model_.selectedRow; }
  bool IsClassicSystem() const override { return classicSystem_; }
  bool IsInitialised() const { return initialised_; }

 protected:
  // --- painting (GlimraView.cpp)
  void InitialiseView(fw::CDC& dc);
  void OnSizeMsg(WPARAM type, LPARAM size);
  // A font of tenths-of-a-point height for dc (the point-font rule).
  HFONT CreatePointFont(LOGFONTA lf, fw::CDC& dc) const;
  void SetSampleTextBox(const std::string& text);
  // The visible list from the display switches, list mode and narrowings.
  void ApplyDisplayFilter();
  // The face name with what the label providers append to it.
  std::string LabelName(int row) const;
  void DrawExtraLabelLines(fw::CDC& dc, int row, int y);
  LRESULT OnFacesScanned(WPARAM, LPARAM);

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

  // --- what the command groups ask of the view (ViewCommands.cpp)
  void RedrawMarks() override;
  void Warn(unsigned textId, unsigned captionId) override;

  // State for automation: see WM_GLIMRA_QUERY. -1 before the first paint.
  LRESULT OnQuery(WPARAM what, LPARAM param);

  // --- closing (ViewClosing.cpp)
  LRESULT OnClosing(WPARAM, LPARAM);
  void RemoveTemporaryFonts();

  // --- printing hooks, handed to the print commands (ViewCommands.cpp)
 public:
  bool OnPreparePrinting(fw::CPrintInfo* info) override;
  void OnPrepareDC(fw::CDC* dc, fw::CPrintInfo* info = nullptr) override;
  void OnEndPrinting(fw::CDC* dc, fw::CPrintInfo* info) override;

 protected:
  // The launcher's reports for the update check (ViewCommands.cpp).
  LRESULT OnLvkNotify(WPARAM code, LPARAM);

  ViewHost& host_;  // first: the settings are read from its profile
  DisplaySettings settings_;
  CFontList fonts_;
  LoadedFileList loadedFiles_;
  viewer::SampleListModel model_;
  bool initialised_ = false;
  bool classicSystem_ = false;
  fw::CDialogBar* textBar_ = nullptr;
  std::string labelFace_;
  int labelSize_ = 0;  // tenths of a point
  fw::Font labelFont_;
  fw::Pen gridPen_;
  int labelWidthMax_ = 0;
  facescan::FaceScanner faceScan_;
  std::vector<const RowLabelProvider*> rowLabels_;

  // The command groups, in the order OnCmdMsg offers them a command.
  ListModeCommandTarget listModes_{settings_, fonts_, *this};
  FontInstallWork installWork_{*this, fonts_, loadedFiles_, host_.InstallFolder()};
  InstallCommandTarget install_{fonts_, loadedFiles_, *this, installWork_};
  ClipboardCommandTarget clipboard_{*this, fonts_, settings_, *this};
  PrintCommandTarget print_{*this, fonts_, settings_};
  LanvikUpdateHost updateHost_{*this, host_.Title(), [this] { SaveSettings(); }};
  UpdateCommandTarget update_{updateHost_};
  CoverageCommandTarget coverage_{*this, faceScan_, fonts_, host_.Profile(), *this};
  SearchCommandTarget search_{*this, fonts_, model_, faceScan_, host_.Profile(), [this] { Renarrow(); }};
};

#pragma once
// Document, view, frame window and the single-document template.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Resource.h"
#include "framework/Wnd.h"

namespace fw {

class CControlBar;
class CDocTemplate;
class CDocument;
class CView;

// What a print job or a preview tells the view's printing hooks.
struct CPrintInfo {
  CPrintInfo();
  ~CPrintInfo();
  CPrintInfo(const CPrintInfo&) = delete;
  CPrintInfo& operator=(const CPrintInfo&) = delete;

  void SetMinPage(UINT page) { m_pPD->nMinPage = static_cast<WORD>(page); }
  void SetMaxPage(UINT page) { m_pPD->nMaxPage = static_cast<WORD>(page); }
  UINT GetMinPage() const { return m_pPD->nMinPage; }
  UINT GetMaxPage() const { return m_pPD->nMaxPage; }
  UINT GetFromPage() const;
  UINT GetToPage() const;

  PRINTDLGA m_pd{};
  PRINTDLGA* m_pPD = &m_pd;
  bool m_bPreview = false;
  bool m_bDirect = false;  // no print dialog
  bool m_bContinuePrinting = true;
  UINT m_nCurPage = 1;
  UINT m_nNumPreviewPages = 1;
  CRect m_rectDraw;            // the printable page in device units
  HDC m_hPrinterDC = nullptr;  // the chosen printer (owned by the CPrintInfo)
};

class CDocument : public CCmdTarget {
  FW_DECLARE_MESSAGE_MAP()

 public:
  // The framework's default initialisation of a new document.
  virtual bool OnNewDocument();
  virtual void OnCloseDocument() {}
  void AddView(CView* view);
  void RemoveView(CView* view);
  CView* GetFirstView() const { return m_views.empty() ? nullptr : m_views.front(); }
  const std::vector<CView*>& Views() const { return m_views; }
  void UpdateAllViews(CView* sender);
  const std::string& GetTitle() const { return m_strTitle; }
  void SetTitle(const std::string& title);
  bool IsModified() const { return m_bModified; }
  void SetModifiedFlag(bool modified = true) { m_bModified = modified; }
  CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

  CDocTemplate* m_pDocTemplate = nullptr;

 protected:
  std::vector<CView*> m_views;
  std::string m_strTitle;
  bool m_bModified = false;
};

// Creation data handed from the template through the frame to its view.
struct CCreateContext {
  CDocument* m_pCurrentDoc = nullptr;
  CDocTemplate* m_pNewDocTemplate = nullptr;
  std::function<std::unique_ptr<CView>()> m_newView;
};

class CView : public CWnd {
  FW_DECLARE_MESSAGE_MAP()

 public:
  CDocument* GetDocument() const { return m_pDocument; }
  // Draws the view on screen, in print and in preview (dc->IsPrinting()).
  virtual void OnDraw(CDC* dc) = 0;
  virtual void OnInitialUpdate() {}
  virtual void OnUpdate(CView*) { Invalidate(); }
  bool PreCreateWindow(CREATESTRUCTA& cs) override;
  // View first, then its document.
  bool OnCmdMsg(unsigned id, int code, CCmdUI* ui) override;

  // Printing hooks, in the order the print loop and the preview call them.
  virtual bool OnPreparePrinting(CPrintInfo* info) { return DoPreparePrinting(info); }
  virtual void OnBeginPrinting(CDC*, CPrintInfo*) {}
  virtual void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr);
  virtual void OnPrint(CDC* dc, CPrintInfo*) { OnDraw(dc); }
  virtual void OnEndPrinting(CDC*, CPrintInfo*) {}
  // The print dialog (or the chosen printer for preview and direct printing);
  // false when cancelled or no printer exists.
  bool DoPreparePrinting(CPrintInfo* info);

  // Standard commands, mapped by the program's view where printing is offered.
  void OnFilePrint();
  void OnFilePrintDirect();
  void OnFilePrintPreview();

  CDocument* m_pDocument = nullptr;

 protected:
  void OnPaint();
  int OnMouseActivate(WPARAM, LPARAM);
  void PrintJob(bool direct);
};

class CFrameWnd : public CWnd {
  FW_DECLARE_MESSAGE_MAP()

 public:
  // Adds the document's title to the caption (removed by PreCreateWindow to keep
  // the caption as the template's title only).
  static constexpr DWORD FWS_ADDTOTITLE = 0x00008000;

  CFrameWnd();
  ~CFrameWnd() override;

  // Loads menu, accelerators, icon and title (string resource) of resId and
  // creates the window (PreCreateWindow, then WM_CREATE -> OnCreate).
  bool LoadFrame(UINT resId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, CWnd* parent = nullptr,
                 CCreateContext* context = nullptr);
  bool PreCreateWindow(CREATESTRUCTA& cs) override;
  bool PreTranslateMessage(MSG* msg) override;
  bool OnCommand(WPARAM wParam, LPARAM lParam) override;
  // Active view, then the frame, then the application.
  bool OnCmdMsg(unsigned id, int code, CCmdUI* ui) override;
  virtual bool OnCreateClient(CREATESTRUCTA* cs, CCreateContext* context);
  void InitialUpdateFrame(CDocument* doc, bool makeVisible);
  virtual void OnUpdateFrameTitle();

  CView* GetActiveView() const { return m_pActiveView; }
  void SetActiveView(CView* view);
  CDocument* GetActiveDocument() const;
  UINT GetResourceId() const { return m_nIDResource; }
  const std::string& GetTitle() const { return m_strTitle; }

  // WM_CREATE: creates the view from the creation context. Derived frames map
  // WM_CREATE to their own handler and call this first.
  int OnCreate(CREATESTRUCTA* cs);
  // WM_CLOSE: the framework's close, DestroyWindow().
  void OnClose();

  // Help requests: data is a context number, cmd one of FW_HELP_*. The
  // framework's version does nothing; programs override it.
  virtual void OnHelpCall(DWORD_PTR data, UINT cmd);

  // Control bars. sides and dock sides are CBRS_ALIGN_* flags; a dock bar id
  // (AFX_IDW_DOCKBAR_*) of 0 means the first side the bar allows. With a
  // rectangle (frame client coordinates, as GetWindowRect of a docked bar
  // mapped into the frame) the bar joins the row under the rectangle's top
  // left corner, to the right of the bars left of that point; without one
  // it opens a new row on the outside of that side.
  void EnableDocking(DWORD sides) { m_dockSides = sides; }
  void DockControlBar(CControlBar* bar, UINT dockBarId = 0, const RECT* rect = nullptr);
  void ShowControlBar(CControlBar* bar, bool show, bool delay);
  // Where a bar dragged by its gripper lands (screen point): near an edge of
  // the client area the bar docks on that side (if both allow it), otherwise
  // it joins the row under the point on its side. False when nothing moved.
  bool DockControlBarAt(CControlBar* bar, POINT screen);
  CControlBar* GetControlBar(UINT id) const;
  const std::vector<CControlBar*>& ControlBars() const { return m_bars; }
  virtual void RecalcLayout(bool notify = true);
  // Bar layout (visibility, side, row, order) under a profile name, in the
  // application's profile: "<name>-Summary" and "<name>-Bar<n>" sections.
  void SaveBarState(const char* profileName) const;
  void LoadBarState(const char* profileName);
  // View-menu handling of bars: toggles the bar with the command's id / its
  // check mark follows visibility. Mapped for ids 59392 to 59647 here;
  // programs map their other bar ids to these.
  bool OnBarCheck(unsigned id);
  void OnUpdateControlBarMenu(CCmdUI* ui);
  // Idle: refreshes the enable and check state of visible tool bar buttons.
  void OnUpdateToolBars();

  HACCEL m_hAccelTable = nullptr;
  HMENU m_hMenuDefault = nullptr;

 protected:
  void OnSize(WPARAM, LPARAM);
  void OnSetFocus();
  void OnDestroy();
  void OnInitMenuPopup(HMENU menu, LPARAM);
  LRESULT OnHelpMsg(WPARAM, LPARAM);
  void OnHelpIndex();
  void OnHelpFinder();
  void OnHelpUsing();
  void PostNcDestroy() override;

  friend class CControlBar;
  void AddControlBar(CControlBar* bar);
  void RemoveControlBar(CControlBar* bar);
  void NormaliseRows();

  UINT m_nIDResource = 0;
  std::string m_strTitle;
  CView* m_pActiveView = nullptr;
  CCreateContext* m_pCreateContext = nullptr;
  std::unique_ptr<CView> m_ownedView;
  std::vector<CControlBar*> m_bars;
  DWORD m_dockSides = 0;
  HICON m_hIcon = nullptr;
  bool m_addToTitleFlag = false;
};

// Makes document, frame and view of one resource id.
class CDocTemplate : public CCmdTarget {
 public:
  using DocFactory = std::function<std::unique_ptr<CDocument>()>;
  using FrameFactory = std::function<std::unique_ptr<CFrameWnd>()>;
  using ViewFactory = std::function<std::unique_ptr<CView>()>;

  CDocTemplate(UINT resId, DocFactory doc, FrameFactory frame, ViewFactory view);
  ~CDocTemplate() override;
  virtual CDocument* OpenDocumentFile(const char* path, bool makeVisible = true) = 0;
  UINT GetResourceId() const { return m_nIDResource; }
  // Substring n (0 window title, 1 document name, 2 new-file name, ...) of
  // the template string resource, separated by line feeds.
  std::string GetDocString(int index) const;

 protected:
  UINT m_nIDResource;
  DocFactory m_newDoc;
  FrameFactory m_newFrame;
  ViewFactory m_newView;
};

// One document with one frame and one view at a time.
class CSingleDocTemplate : public CDocTemplate {
 public:
  using CDocTemplate::CDocTemplate;
  ~CSingleDocTemplate() override;
  CDocument* OpenDocumentFile(const char* path, bool makeVisible = true) override;
  CDocument* GetDocument() const { return m_doc.get(); }
  CFrameWnd* GetFrame() const { return m_frame.get(); }
  // Destroys the window (if any) and the objects; used at application end.
  void CloseAll();

 private:
  std::unique_ptr<CDocument> m_doc;
  std::unique_ptr<CFrameWnd> m_frame;
};

template <class Doc, class Frame, class View>
std::unique_ptr<CSingleDocTemplate> MakeSingleDocTemplate(UINT resId) {
  return std::make_unique<CSingleDocTemplate>(
      resId, [] { return std::unique_ptr<CDocument>(new Doc()); },
      [] { return std::unique_ptr<CFrameWnd>(new Frame()); }, [] { return std::unique_ptr<CView>(new View()); });
}

}  // namespace fw

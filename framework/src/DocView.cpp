#include <algorithm>

#include "framework/App.h"
#include "framework/DocView.h"

namespace fw {

// ---- CDocument -----------------------------------------------------------------

// clang-format off
FW_BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
FW_END_MESSAGE_MAP()
// clang-format on

bool CDocument::OnNewDocument() {
  m_bModified = false;
  m_strTitle.clear();
  return true;
}

void CDocument::AddView(CView* view) {
  if (std::find(m_views.begin(), m_views.end(), view) == m_views.end()) m_views.push_back(view);
  view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view) {
  m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
  if (view->m_pDocument == this) view->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CView* sender) {
  for (CView* v : m_views)
    if (v != sender) v->OnUpdate(sender);
}

void CDocument::SetTitle(const std::string& title) {
  m_strTitle = title;
  for (CView* v : m_views)
    if (CFrameWnd* f = v->m_hWnd ? v->GetParentFrame() : nullptr) f->OnUpdateFrameTitle();
}

// ---- CView -----------------------------------------------------------------------

// clang-format off
FW_BEGIN_MESSAGE_MAP(CView, CWnd)
  OnMessage(WM_PAINT, &CView::OnPaint),
  OnMessage(WM_MOUSEACTIVATE, &CView::OnMouseActivate),
FW_END_MESSAGE_MAP()
// clang-format on

bool CView::PreCreateWindow(CREATESTRUCTA& cs) {
  cs.lpszClass = RegisterFrameworkClass("FwView", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
  cs.style |= WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  return true;
}

bool CView::OnCmdMsg(unsigned id, int code, CCmdUI* ui) {
  if (DispatchOwnCommand(id, code, ui)) return true;
  return m_pDocument && m_pDocument->OnCmdMsg(id, code, ui);
}

void CView::OnPaint() {
  CPaintDC dc(this);
  OnPrepareDC(&dc, nullptr);
  OnDraw(&dc);
}

int CView::OnMouseActivate(WPARAM, LPARAM) {
  LRESULT r = Default();
  if (::GetFocus() != m_hWnd && !::IsChild(m_hWnd, ::GetFocus())) ::SetFocus(m_hWnd);
  return static_cast<int>(r);
}

void CView::OnPrepareDC(CDC*, CPrintInfo* info) {
  if (info) info->m_bContinuePrinting = info->GetMaxPage() != 0xFFFF || info->m_nCurPage == 1;
}

// ---- templates ---------------------------------------------------------------------

CDocTemplate::CDocTemplate(UINT resId, DocFactory doc, FrameFactory frame, ViewFactory view)
    : m_nIDResource(resId), m_newDoc(std::move(doc)), m_newFrame(std::move(frame)), m_newView(std::move(view)) {}

CDocTemplate::~CDocTemplate() = default;

std::string CDocTemplate::GetDocString(int index) const {
  std::string s = LoadResString(m_nIDResource);
  size_t start = 0;
  for (int i = 0; i < index; ++i) {
    size_t lf = s.find('\n', start);
    if (lf == std::string::npos) return std::string();
    start = lf + 1;
  }
  size_t end = s.find('\n', start);
  return s.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

CSingleDocTemplate::~CSingleDocTemplate() { CloseAll(); }

void CSingleDocTemplate::CloseAll() {
  if (m_frame && m_frame->m_hWnd && ::IsWindow(m_frame->m_hWnd)) ::DestroyWindow(m_frame->m_hWnd);
  m_frame.reset();
  m_doc.reset();
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const char*, bool makeVisible) {
  if (m_doc && m_frame && m_frame->m_hWnd) {
    // One document at a time: a new document reuses the frame and view.
    if (!m_doc->OnNewDocument()) return nullptr;
    return m_doc.get();
  }
  CloseAll();
  m_doc = m_newDoc();
  m_doc->m_pDocTemplate = this;
  m_frame = m_newFrame();
  CCreateContext context;
  context.m_pCurrentDoc = m_doc.get();
  context.m_pNewDocTemplate = this;
  context.m_newView = m_newView;
  CWinApp* app = AfxGetApp();
  if (app && !app->m_pMainWnd) app->m_pMainWnd = m_frame.get();
  if (!m_frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | CFrameWnd::FWS_ADDTOTITLE, nullptr, &context)) {
    if (app && app->m_pMainWnd == m_frame.get()) app->m_pMainWnd = nullptr;
    CloseAll();
    return nullptr;
  }
  if (!m_doc->OnNewDocument()) {
    if (app && app->m_pMainWnd == m_frame.get()) app->m_pMainWnd = nullptr;
    CloseAll();
    return nullptr;
  }
  std::string name = GetDocString(2);
  m_doc->SetTitle(name.empty() ? "Untitled" : name);
  m_frame->InitialUpdateFrame(m_doc.get(), makeVisible);
  return m_doc.get();
}

}  // namespace fw

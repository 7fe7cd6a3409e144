#include "framework/App.h"

#include <commctrl.h>
#include <commdlg.h>
#include <ole2.h>

#include "common/Paths.h"
#include "framework/DocView.h"
#include "framework/MemoryProfile.h"
#include "framework/RegistryProfile.h"
#include "framework/Resource.h"

namespace fw {
namespace {

CWinApp* g_app = nullptr;

// Walks from the message's window up to its top-level window, giving each of
// our windows the chance to consume the message.
bool WalkPreTranslate(MSG* msg) {
  for (HWND w = msg->hwnd; w; w = ::GetParent(w)) {
    if (CWnd* wnd = CWnd::FromHandlePermanent(w))
      if (wnd->PreTranslateMessage(msg)) return true;
    if (!(::GetWindowLongA(w, GWL_STYLE) & WS_CHILD)) break;
  }
  return false;
}

}  // namespace

// ---- CWinThread -------------------------------------------------------------

DWORD WINAPI CWinThread::ThreadStart(void* param) {
  auto* self = static_cast<CWinThread*>(param);
  int code = 0;
  try {
    code = self->InitInstance() ? self->Run() : self->ExitInstance();
  } catch (const std::exception& e) {
    ReportException(nullptr, &e);
    code = -1;
  } catch (...) {
    code = -1;
  }
  if (self->m_bAutoDelete) delete self;
  return static_cast<DWORD>(code);
}

bool CWinThread::CreateThread(DWORD createFlags, UINT stackSize) {
  thread_.Reset(::CreateThread(nullptr, stackSize, &CWinThread::ThreadStart, this, createFlags, &m_nThreadID));
  m_hThread = thread_.Get();
  return m_hThread != nullptr;
}

bool CWinThread::PreTranslateMessage(MSG* msg) { return WalkPreTranslate(msg); }

bool CWinThread::OnIdle(long) { return false; }

int CWinThread::Run() {
  MSG msg;
  for (;;) {
    long idleCount = 0;
    while (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
      if (!OnIdle(idleCount++)) break;
    BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    if (!PreTranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
  m_exitCode = static_cast<int>(msg.wParam);
  return ExitInstance();
}

// ---- CWinApp ----------------------------------------------------------------

// clang-format off
FW_BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
  fw::OnCommand(ID_APP_EXIT, &CWinApp::OnAppExit),
FW_END_MESSAGE_MAP()
// clang-format on

// Profile functions before SetRegistryKey: remembered for the run only.
CWinApp::CWinApp(const char* appName) : m_profile(std::make_unique<MemoryProfile>()) {
  if (appName) m_pszAppName = appName;
  g_app = this;
}

CWinApp::~CWinApp() {
  m_templates.clear();
  if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

ProgramNames ProgramNamesOf(const std::string& modulePath) {
  std::string name = paths::BaseName(modulePath);
  return {name, paths::FolderWithSeparator(modulePath) + name + ".HLP"};
}

int AfxWinInit(HINSTANCE instance, int cmdShow) {
  CWinApp* app = AfxGetApp();
  if (!app) return 0;
  app->m_hInstance = instance ? instance : ::GetModuleHandleA(nullptr);
  app->m_nCmdShow = cmdShow;
  app->m_nThreadID = ::GetCurrentThreadId();
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  ProgramNames names = ProgramNamesOf(path);
  app->m_pszExeName = names.exeName;
  app->m_pszHelpFilePath = names.helpFilePath;
  if (app->m_pszAppName.empty()) app->m_pszAppName = LoadResString(AFX_IDS_APP_TITLE);
  if (app->m_pszAppName.empty()) app->m_pszAppName = app->m_pszExeName;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&icc);
  return 1;
}

int AfxWinMain(HINSTANCE instance, int cmdShow) {
  CWinApp* app = AfxGetApp();
  if (!app || !AfxWinInit(instance, cmdShow)) return -1;
  bool started = false;
  try {
    started = app->InitInstance();
  } catch (const std::exception& e) {
    ReportException(nullptr, &e);
  }
  return started ? app->Run() : app->ExitInstance();
}

bool AfxOleInit() {
  HRESULT hr = ::OleInitialize(nullptr);
  return SUCCEEDED(hr);
}

int AfxMessageBox(const std::string& text, UINT type) {
  CWinApp* app = AfxGetApp();
  HWND owner = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
  return ::MessageBoxA(owner, text.c_str(), app ? app->m_pszAppName.c_str() : "", type);
}

void CWinApp::SetRegistryKey(const char* company) {
  m_pszRegistryKey = company ? company : "";
  m_profile = std::make_unique<RegistryProfile>(m_pszRegistryKey, m_pszAppName);
}

int CWinApp::GetProfileInt(const char* section, const char* entry, int defaultValue) const {
  return m_profile->GetInt(section, entry, defaultValue);
}

std::string CWinApp::GetProfileString(const char* section, const char* entry, const char* defaultValue) const {
  return m_profile->GetString(section, entry, defaultValue ? defaultValue : "");
}

bool CWinApp::WriteProfileInt(const char* section, const char* entry, int value) {
  m_profile->WriteInt(section, entry, value);
  return true;
}

bool CWinApp::WriteProfileString(const char* section, const char* entry, const char* value) {
  m_profile->WriteString(section, entry, value ? value : "");
  return true;
}

void CWinApp::AddDocTemplate(std::unique_ptr<CDocTemplate> tmpl) { m_templates.push_back(std::move(tmpl)); }

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
  info.m_nShellCommand = CCommandLineInfo::FileNew;
  info.m_strFileName.clear();
}

bool CWinApp::ProcessShellCommand(CCommandLineInfo& info) {
  if (info.m_nShellCommand == CCommandLineInfo::FileNothing) return true;
  if (m_templates.empty()) return false;
  CDocument* doc = m_templates.front()->OpenDocumentFile(nullptr);
  return doc != nullptr && m_pMainWnd != nullptr;
}

void CWinApp::OnFileNew() {
  if (!m_templates.empty()) m_templates.front()->OpenDocumentFile(nullptr);
}

void CWinApp::OnAppExit() {
  if (m_pMainWnd && m_pMainWnd->m_hWnd) m_pMainWnd->PostMessage(WM_CLOSE);
}

CFrameWnd* CWinApp::GetMainFrame() const { return dynamic_cast<CFrameWnd*>(m_pMainWnd); }

void CWinApp::OnHelp() {
  if (CFrameWnd* frame = GetMainFrame())
    frame->OnHelpCall(FW_HID_BASE_RESOURCE + frame->GetResourceId(), FW_HELP_CONTEXT);
}

bool CWinApp::OnCmdMsg(unsigned id, int code, CCmdUI* ui) { return DispatchOwnCommand(id, code, ui); }

bool CWinApp::OnIdle(long count) {
  if (count == 0)
    if (CFrameWnd* frame = GetMainFrame())
      if (frame->m_hWnd) frame->OnUpdateToolBars();
  return false;
}

int CWinApp::Run() {
  int code = CWinThread::Run();
  // A loop ended by PostQuitMessage may leave the frame standing; its window
  // goes first, while every object of it still exists.
  if (m_pMainWnd && m_pMainWnd->m_hWnd && ::IsWindow(m_pMainWnd->m_hWnd)) {
    // Destroying a shown window hides it first, and under Wine without a
    // window manager hiding a framed window waits 2 s for a state change that
    // never comes: a process that is on its way out (for an installer that
    // waits for it) would pay that. Unmarked, the window just vanishes.
    const HWND frame = m_pMainWnd->m_hWnd;
    const LONG_PTR style = ::GetWindowLongPtrA(frame, GWL_STYLE);
    if (style & WS_VISIBLE) ::SetWindowLongPtrA(frame, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
    ::DestroyWindow(frame);
  }
  m_pMainWnd = nullptr;
  m_templates.clear();
  return code;
}

int CWinApp::ExitInstance() { return m_exitCode; }

bool CWinApp::GetPrinterDeviceDefaults(PRINTDLGA* pd) {
  if (!m_devNames) {
    PRINTDLGA probe{};
    probe.lStructSize = sizeof probe;
    probe.Flags = PD_RETURNDEFAULT;
    if (!::PrintDlgA(&probe)) return false;
    AdoptPrinterSettings(probe);
  }
  pd->hDevMode = m_devMode.Get();
  pd->hDevNames = m_devNames.Get();
  return m_devNames.Get() != nullptr;
}

void CWinApp::AdoptPrinterSettings(const PRINTDLGA& pd) {
  m_devMode.Reset(pd.hDevMode);
  m_devNames.Reset(pd.hDevNames);
}

bool CWinApp::CreatePrinterDC(OwnedDC& dc) {
  PRINTDLGA pd{};
  if (!GetPrinterDeviceDefaults(&pd)) return false;
  win::GlobalLockScope names(pd.hDevNames);
  win::GlobalLockScope mode(pd.hDevMode);
  auto* dn = static_cast<DEVNAMES*>(names.Get());
  if (!dn) return false;
  const char* base = reinterpret_cast<const char*>(dn);
  HDC hdc = ::CreateDCA(base + dn->wDriverOffset, base + dn->wDeviceOffset, base + dn->wOutputOffset,
                        static_cast<DEVMODEA*>(mode.Get()));
  dc.Attach(hdc);
  return hdc != nullptr;
}

void CWinApp::OnFilePrintSetup() {
  PRINTDLGA pd{};
  pd.lStructSize = sizeof pd;
  pd.hwndOwner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
  GetPrinterDeviceDefaults(&pd);
  pd.Flags = PD_PRINTSETUP;
  if (::PrintDlgA(&pd)) AdoptPrinterSettings(pd);
}

}  // namespace fw

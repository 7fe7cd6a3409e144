#include "framework/Wnd.h"

#include <exception>
#include <mutex>
#include <unordered_map>

#include "framework/App.h"
#include "framework/DocView.h"
#include "framework/InvalidArgument.h"
#include "framework/Resource.h"

namespace fw {

namespace {

// Which object a window belongs to. Not GWLP_USERDATA, which may be another
// library's data when we look at arbitrary children; and not a window
// property either: every message looks its window up, and under Wine reading
// a property is a round trip to the server.
class Bindings {
 public:
  CWnd* Find(HWND wnd) {
    std::lock_guard<std::mutex> hold(lock_);
    auto it = map_.find(wnd);
    return it == map_.end() ? nullptr : it->second;
  }
  void Bind(HWND wnd, CWnd* object) {
    std::lock_guard<std::mutex> hold(lock_);
    map_[wnd] = object;
  }
  void Unbind(HWND wnd, const CWnd* object) {
    std::lock_guard<std::mutex> hold(lock_);
    auto it = map_.find(wnd);
    if (it != map_.end() && it->second == object) map_.erase(it);
  }

 private:
  std::mutex lock_;
  std::unordered_map<HWND, CWnd*> map_;
};

Bindings& WindowBindings() {
  static Bindings bindings;
  return bindings;
}

// The object whose window CreateEx is creating on this thread; bound at the
// first message the new window receives (WM_GETMINMAXINFO comes before WM_NCCREATE).
thread_local CWnd* t_creating = nullptr;

}  // namespace

// clang-format off
FW_BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
FW_END_MESSAGE_MAP()
// clang-format on

// clang-format off
FW_BEGIN_MESSAGE_MAP(CStatic, CWnd)
FW_END_MESSAGE_MAP()
// clang-format on

CWnd::~CWnd() {
  if (!m_hWnd) return;
  HWND wnd = m_hWnd;
  bool created = m_oldProc == nullptr;
  // The derived parts are gone: no message may reach this object any more.
  Detach();
  if (created && ::IsWindow(wnd) && ::GetWindowThreadProcessId(wnd, nullptr) == ::GetCurrentThreadId())
    ::DestroyWindow(wnd);
}

CWnd* CWnd::FromHandlePermanent(HWND wnd) { return wnd ? WindowBindings().Find(wnd) : nullptr; }

void CWnd::Attach(HWND wnd) {
  m_hWnd = wnd;
  if (wnd) WindowBindings().Bind(wnd, this);
}

void CWnd::Detach() {
  if (!m_hWnd) return;
  WindowBindings().Unbind(m_hWnd, this);
  if (::IsWindow(m_hWnd) && m_oldProc) ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_oldProc));
  m_oldProc = nullptr;
  m_hWnd = nullptr;
}

const char* CWnd::RegisterFrameworkClass(const char* name, UINT style, HICON icon, HBRUSH background) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  HINSTANCE inst = ::GetModuleHandleA(nullptr);
  if (::GetClassInfoExA(inst, name, &wc)) return name;
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = WndProcThunk;
  wc.hInstance = inst;
  wc.hIcon = icon;
  wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<const char*>(IDC_ARROW));
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  ::RegisterClassExA(&wc);
  return name;
}

bool CWnd::PreCreateWindow(CREATESTRUCTA&) { return true; }

bool CWnd::CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, const RECT& rect, HWND parent,
                    UINT idOrMenu, void* param) {
  CREATESTRUCTA cs{};
  cs.dwExStyle = exStyle;
  cs.lpszClass = className;
  cs.lpszName = title;
  cs.style = style;
  cs.x = rect.left;
  cs.y = rect.top;
  cs.cx = rect.right - rect.left;
  cs.cy = rect.bottom - rect.top;
  cs.hwndParent = parent;
  cs.hMenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(idOrMenu));
  cs.hInstance = ::GetModuleHandleA(nullptr);
  cs.lpCreateParams = param;
  return CreateFromStruct(cs);
}

bool CWnd::CreateFromStruct(CREATESTRUCTA cs) {
  if (!PreCreateWindow(cs)) return false;
  CWnd* outer = t_creating;
  t_creating = this;
  HWND wnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                               cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  t_creating = outer;
  if (!wnd) {
    if (m_hWnd && !::IsWindow(m_hWnd)) m_hWnd = nullptr;
    return false;
  }
  if (!m_hWnd) Attach(wnd);  // a class with another procedure: take it over now
  return true;
}

bool CWnd::SubclassWindow(HWND wnd) {
  if (!wnd || FromHandlePermanent(wnd)) return false;
  Attach(wnd);
  m_oldProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::WndProcThunk)));
  return true;
}

bool CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  return parent && SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow() {
  HWND wnd = m_hWnd;
  Detach();
  return wnd;
}

bool CWnd::DestroyWindow() { return m_hWnd && ::DestroyWindow(m_hWnd) != FALSE; }

bool CWnd::PreTranslateMessage(MSG*) { return false; }

bool CWnd::ModifyStyle(DWORD remove, DWORD add) {
  DWORD old = GetStyle();
  DWORD now = (old & ~remove) | add;
  if (now == old) return false;
  ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(now));
  return true;
}

std::string WindowText(HWND wnd) {
  int n = ::GetWindowTextLengthA(wnd);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  n = ::GetWindowTextA(wnd, s.data(), n + 1);
  s.resize(static_cast<size_t>(n < 0 ? 0 : n));
  return s;
}

std::string CWnd::GetWindowText() const { return WindowText(m_hWnd); }

CFrameWnd* CWnd::GetParentFrame() const {
  for (HWND w = ::GetParent(m_hWnd); w; w = ::GetParent(w))
    if (auto* frame = dynamic_cast<CFrameWnd*>(FromHandlePermanent(w))) return frame;
  return nullptr;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_oldProc) return ::CallWindowProcA(m_oldProc, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  return DefWindowProc(m_current.message, static_cast<WPARAM>(m_current.wParam), static_cast<LPARAM>(m_current.lParam));
}

bool CWnd::ReflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  CWnd* target = FromHandlePermanent(child);
  if (!target) return false;
  MsgArgs m{message, wParam, lParam};
  if (message == WM_COMMAND) {
    const MessageEntry* e = target->FindEntry(MessageEntry::Kind::ReflectCommand, HIWORD(wParam));
    if (!e) return false;
    *result = 0;
    return e->handler(*target, MsgArgs{message, LOWORD(wParam), lParam}, nullptr) != 0;
  }
  const MessageEntry* e = target->FindEntry(MessageEntry::Kind::ReflectMessage, message);
  if (!e) return false;
  *result = static_cast<LRESULT>(e->handler(*target, m, nullptr));
  return *result != 0;
}

bool CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  HWND control = reinterpret_cast<HWND>(lParam);
  LRESULT reflected = 0;
  if (control && ReflectToChild(control, WM_COMMAND, wParam, lParam, &reflected)) return true;
  // Menus send code 0, accelerators 1: both are plain commands.
  int code = control ? HIWORD(wParam) : kCmdCommand;
  return OnCmdMsg(LOWORD(wParam), code, nullptr);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) return OnCommand(wParam, lParam) ? 0 : Default();
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    LRESULT result = 0;
    if (ReflectToChild(reinterpret_cast<HWND>(lParam), message, wParam, lParam, &result)) return result;
  }
  if (const MessageEntry* e = FindEntry(MessageEntry::Kind::Message, message))
    return static_cast<LRESULT>(e->handler(*this, MsgArgs{message, wParam, lParam}, nullptr));
  return Default();
}

namespace {
ExceptionReporter g_reporter = nullptr;
}  // namespace

ExceptionReporter SetExceptionReporter(ExceptionReporter reporter) {
  ExceptionReporter old = g_reporter;
  g_reporter = reporter;
  return old;
}

void ReportException(HWND owner, const std::exception* e) {
  try {
    if (g_reporter) {
      g_reporter(owner, e);
      return;
    }
    std::string text;
    if (dynamic_cast<const InvalidArgumentError*>(e))
      text = LoadText(FW_IDS_INVALID_ARGUMENT);
    else
      text = LoadText(FW_IDS_ERROR_OCCURRED) + "\n" + (e ? e->what() : "");
    std::string title = AfxGetApp() ? AfxGetApp()->m_pszAppName : std::string();
    HWND root = owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
    ::MessageBoxA(root, text.c_str(), title.c_str(), MB_OK | MB_ICONEXCLAMATION);
  } catch (...) {
    // Nothing may leave the dispatch boundary, not even a failed report.
  }
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  MsgArgs saved = m_current;
  m_current = MsgArgs{message, wParam, lParam};
  LRESULT result = 0;
  bool failed = true;
  try {
    result = WindowProc(message, wParam, lParam);
    failed = false;
  } catch (const std::exception& e) {
    ReportException(m_hWnd, &e);
  } catch (...) {
    ReportException(m_hWnd, nullptr);
  }
  if (failed && m_hWnd) {
    // The operation was abandoned; the message is answered as unhandled.
    try {
      result = Default();
    } catch (...) {
      result = 0;
    }
  }
  m_current = saved;
  return result;
}

LRESULT CALLBACK CWnd::WndProcThunk(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* self = FromHandlePermanent(wnd);
  if (!self && t_creating && !t_creating->m_hWnd) {
    self = t_creating;
    self->Attach(wnd);
  }
  if (!self) return ::DefWindowProcA(wnd, message, wParam, lParam);
  if (message != WM_NCDESTROY) return self->Dispatch(message, wParam, lParam);
  LRESULT result = self->Dispatch(message, wParam, lParam);
  // The last message: the object lets go of the window (handlers may have done so already).
  if ((self = FromHandlePermanent(wnd)) != nullptr) {
    self->Detach();
    self->PostNcDestroy();
  }
  return result;
}

INT_PTR CALLBACK CWnd::DlgProcThunk(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // After WM_INITDIALOG the dialog runs on WndProcThunk; the dialog manager
  // calls us only from Default, where "not handled" is the answer.
  if (message != WM_INITDIALOG || FromHandlePermanent(wnd)) return FALSE;
  auto* self = reinterpret_cast<CWnd*>(lParam);
  if (!self) return FALSE;
  self->Attach(wnd);
  self->m_oldProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::WndProcThunk)));
  return self->Dispatch(message, wParam, lParam);
}

std::string LoadResString(UINT id) {
  char buffer[4096];
  int n = ::LoadStringA(::GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

std::string LoadText(UINT id) {
  std::string text = LoadResString(id);
  return text.empty() ? "#" + std::to_string(id) : text;
}

std::string CommandPrompt(UINT id) {
  std::string s = LoadResString(id);
  return s.substr(0, s.find('\n'));
}

std::string CommandToolTip(UINT id) {
  std::string s = LoadResString(id);
  size_t lf = s.find('\n');
  return lf == std::string::npos ? std::string() : s.substr(lf + 1);
}

CClientDC::CClientDC(const CWnd* wnd) : CClientDC(wnd ? wnd->m_hWnd : nullptr) {}
CPaintDC::CPaintDC(const CWnd* wnd) : CPaintDC(wnd->m_hWnd) {}

}  // namespace fw

// The frame's help: the HTML help file beside the program, opened through
// HtmlHelpA of hhctrl.ocx, loaded when help is first asked for. Under Wine,
// whose HTML engine is usually missing (the help window stays empty), the
// same topics open as HTML pages in the system's browser: the pages lie in
// the folder "help" beside the help file.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

#include "app/GlimraApp.h"
#include "app/MainFrame.h"
#include "common/Cp932.h"

namespace {

constexpr UINT kHhDisplayToc = 1;
constexpr UINT kHhDisplayIndex = 2;
constexpr UINT kHhDisplaySearch = 3;
constexpr UINT kHhHelpContext = 15;
constexpr DWORD kControlContextBase = 0x50000;

// HH_FTS_QUERY of the HTML help API (32 bytes on 32-bit Windows).
struct FtsQuery {
  int cbStruct;
  BOOL fUniCodeStrings;
  const char* pszSearchQuery;
  LONG iProximity;
  BOOL fStemmedSearch;
  BOOL fTitleOnly;
  BOOL fExecute;
  const char* pszWindow;
};

using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

HtmlHelpFn HtmlHelp() {
  static HtmlHelpFn fn = [] {
    HMODULE module = ::LoadLibraryA("hhctrl.ocx");
    return module ? reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(::GetProcAddress(module, "HtmlHelpA")))
                  : nullptr;
  }();
  return fn;
}

BOOL CALLBACK CancelModeOf(HWND wnd, LPARAM) {
  ::SendMessageA(wnd, WM_CANCELMODE, 0, 0);
  return TRUE;
}

void CancelModeTree(HWND top) {
  if (!top) return;
  ::SendMessageA(top, WM_CANCELMODE, 0, 0);
  ::EnumChildWindows(top, CancelModeOf, 0);
}

bool RunsUnderWine() {
  HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
}

// The help project's context map (Glimra.hhp, [MAP] and [ALIAS]).
const char* PageOfContext(DWORD context) {
  struct Topic {
    DWORD context;
    const char* page;
  };
  static constexpr Topic kTopics[] = {{0x20080, "index.html"}};
  for (const Topic& t : kTopics)
    if (t.context == context) return t.page;
  return nullptr;
}

constexpr const char* kContentsPage = "index.html";

std::string PagesFolderOf(const std::string& helpFile) {
  size_t slash = cp932::FindLastOf(helpFile, "\\");
  return (slash == std::string::npos ? std::string() : helpFile.substr(0, slash + 1)) + "help\\";
}

bool FileExists(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

void CMainFrame::OnHelpCall(DWORD_PTR data, UINT cmd) {
  HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  CancelModeTree(m_hWnd);
  HWND topLevel = ::GetAncestor(m_hWnd, GA_ROOT);
  if (topLevel != m_hWnd) CancelModeTree(topLevel);
  if (HWND capture = ::GetCapture()) ::SendMessageA(capture, WM_CANCELMODE, 0, 0);

  const std::string& file = GlimraApp().m_pszHelpFilePath;
  const bool browser = RunsUnderWine();
  const std::string pages = PagesFolderOf(file);
  char text[1024];
  const std::string needed = browser ? pages + kContentsPage : file;
  if (!FileExists(needed)) {
    std::snprintf(text, sizeof text, "Not Exist Html Help File\n\n   File Path [ %s ]", needed.c_str());
    ::SetCursor(previous);
    fw::AfxMessageBox(text);
    return;
  }
  auto openPage = [&](const char* page) {
    ::ShellExecuteA(m_hWnd, "open", (pages + page).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return true;
  };
  HtmlHelpFn help = browser ? nullptr : HtmlHelp();
  auto showContext = [&](DWORD context) {
    if (browser) {
      const char* page = PageOfContext(context);
      return page && openPage(page);
    }
    return help && help(m_hWnd, file.c_str(), kHhHelpContext, context) != nullptr;
  };
  const DWORD context = static_cast<DWORD>(data);
  switch (cmd) {
    case FW_HELP_CONTEXT: {
      bool shown = false;
      if (context != 0 && (help || browser)) {
        shown = showContext(context);
        // No topic for this context: try the controls under the mouse, from
        // the innermost parent outwards.
        POINT at{};
        ::GetCursorPos(&at);
        for (HWND w = ::WindowFromPoint(at); !shown && w;) {
          w = ::GetParent(w);
          if (!w) break;
          DWORD controlContext = static_cast<DWORD>(::GetDlgCtrlID(w)) | kControlContextBase;
          shown = showContext(controlContext);
        }
      }
      if (!shown) {
        std::snprintf(text, sizeof text, "Error Context ID\n\n   File Path [ %s ]\n  ContextID [0x%x + 0x%04x(%d)]",
                      file.c_str(), static_cast<unsigned>(context & 0xFFFF0000u),
                      static_cast<unsigned>(context & 0xFFFF), static_cast<int>(context & 0xFFFF));
        ::SetCursor(previous);
        fw::AfxMessageBox(text);
        return;
      }
      break;
    }
    case FW_HELP_INDEX:
      if (browser) openPage(kContentsPage);
      if (help) help(m_hWnd, file.c_str(), kHhDisplayToc, 0);
      break;
    case FW_HELP_HELPONHELP: {
      FtsQuery query{sizeof(FtsQuery), FALSE, "", 0, FALSE, FALSE, FALSE, ""};
      if (browser) openPage(kContentsPage);
      if (help) help(m_hWnd, file.c_str(), kHhDisplaySearch, reinterpret_cast<DWORD_PTR>(&query));
      break;
    }
    case FW_HELP_FINDER:
      if (browser) openPage(kContentsPage);
      if (help) help(m_hWnd, file.c_str(), kHhDisplayIndex, 0);
      break;
    default: break;
  }
  ::SetCursor(previous);
}

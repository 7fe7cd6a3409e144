// wtool: a small Win32 console helper through which the end-to-end tests
// look at and drive our programs under Wine. One command per run; output on
// stdout in code page 932, one item per line; exit code 0 on success, 1 when
// the thing asked for was not found or failed, 2 on bad usage.
#include <windows.h>
#include <shlwapi.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "win/Handles.h"

namespace {

using Args = std::vector<std::string>;

unsigned long Number(const std::string& s) { return std::strtoul(s.c_str(), nullptr, 0); }
HWND Window(const std::string& s) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(Number(s))); }

std::string WindowText(HWND w) {
  char buf[1024] = {};
  // WM_GETTEXT works across processes for every window class.
  SendMessageTimeoutA(w, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, nullptr);
  return buf;
}

std::string ClassOf(HWND w) {
  char buf[256] = {};
  GetClassNameA(w, buf, sizeof buf);
  return buf;
}

void PrintWindow(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  std::printf("0x%lx id=%ld class=%s visible=%d enabled=%d rect=%ld,%ld,%ld,%ld text=%s\n",
              static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(w)), static_cast<long>(GetDlgCtrlID(w)),
              ClassOf(w).c_str(), IsWindowVisible(w) ? 1 : 0, IsWindowEnabled(w) ? 1 : 0, r.left, r.top, r.right,
              r.bottom, WindowText(w).c_str());
}

struct FindQuery {
  std::string cls, title;
  DWORD pid = 0;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND w, LPARAM p) {
  auto* q = reinterpret_cast<FindQuery*>(p);
  if (!q->cls.empty() && q->cls != "-" && ClassOf(w) != q->cls) return TRUE;
  if (!q->title.empty() && q->title != "-" && WindowText(w).find(q->title) == std::string::npos) return TRUE;
  if (q->pid) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != q->pid) return TRUE;
  }
  if (!IsWindowVisible(w)) return TRUE;
  q->found.push_back(w);
  return TRUE;
}

// find <class|-> <title part|-> [timeout ms] [process id]: visible top-level
// windows, of that process only when an id is given.
int Find(const Args& a) {
  if (a.size() < 2) return 2;
  DWORD timeout = a.size() > 2 ? Number(a[2]) : 0;
  DWORD pid = a.size() > 3 ? Number(a[3]) : 0;
  DWORD start = GetTickCount();
  for (;;) {
    FindQuery q{a[0], a[1], pid, {}};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&q));
    if (!q.found.empty()) {
      for (HWND w : q.found) PrintWindow(w);
      return 0;
    }
    if (GetTickCount() - start >= timeout) return 1;
    Sleep(100);
  }
}

BOOL CALLBACK PrintChild(HWND w, LPARAM) {
  PrintWindow(w);
  return TRUE;
}

int Children(const Args& a) {
  if (a.size() < 1) return 2;
  EnumChildWindows(Window(a[0]), PrintChild, 0);
  return 0;
}

// send/post <hwnd> <msg> [wparam] [lparam]
int Send(const Args& a, bool post) {
  if (a.size() < 2) return 2;
  WPARAM wp = a.size() > 2 ? Number(a[2]) : 0;
  LPARAM lp = a.size() > 3 ? static_cast<LPARAM>(Number(a[3])) : 0;
  if (post) return PostMessageA(Window(a[0]), Number(a[1]), wp, lp) ? 0 : 1;
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(Window(a[0]), Number(a[1]), wp, lp, SMTO_ABORTIFHUNG, 10000, &result)) return 1;
  std::printf("%ld\n", static_cast<long>(result));
  return 0;
}

// command <hwnd> <id>: posts WM_COMMAND as a menu choice would.
int Command(const Args& a) {
  if (a.size() < 2) return 2;
  return PostMessageA(Window(a[0]), WM_COMMAND, MAKEWPARAM(Number(a[1]), 0), 0) ? 0 : 1;
}

// settext <hwnd> <text>
int SetText(const Args& a) {
  if (a.size() < 2) return 2;
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(Window(a[0]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a[1].c_str()), SMTO_NORMAL, 10000,
                           &result)) {
    std::fprintf(stderr, "not delivered: error %lu\n", GetLastError());
    return 1;
  }
  if (!result) {
    std::fprintf(stderr, "refused by the window\n");
    return 1;
  }
  return 0;
}

int Text(const Args& a) {
  if (a.size() < 1) return 2;
  std::printf("%s\n", WindowText(Window(a[0])).c_str());
  return 0;
}

// keys <hwnd> <vk>[+ctrl|+shift]...: focuses the window's top-level parent
// and types the keys with SendInput.
int Keys(const Args& a) {
  if (a.size() < 2) return 2;
  HWND w = Window(a[0]);
  HWND top = GetAncestor(w, GA_ROOT);
  SetForegroundWindow(top);
  for (std::size_t i = 1; i < a.size(); ++i) {
    std::string k = a[i];
    std::vector<WORD> mods;
    std::size_t plus;
    while ((plus = k.rfind('+')) != std::string::npos && plus > 0) {
      std::string m = k.substr(plus + 1);
      if (m == "ctrl") mods.push_back(VK_CONTROL);
      if (m == "shift") mods.push_back(VK_SHIFT);
      if (m == "alt") mods.push_back(VK_MENU);
      k.resize(plus);
    }
    WORD vk = static_cast<WORD>(k.size() == 1 ? VkKeyScanA(k[0]) & 0xFF : Number(k));
    std::vector<INPUT> in;
    auto key = [&](WORD v, bool up) {
      INPUT i{};
      i.type = INPUT_KEYBOARD;
      i.ki.wVk = v;
      i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
      in.push_back(i);
    };
    for (WORD m : mods) key(m, false);
    key(vk, false);
    key(vk, true);
    for (auto m = mods.rbegin(); m != mods.rend(); ++m) key(*m, true);
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
    Sleep(50);
  }
  return 0;
}

// type <hwnd> <text>: sends each character of text (code page 932) to the
// window as WM_CHAR and prints, one line per character, the milliseconds
// that the synchronous send took: all the window does for a keystroke,
// what it paints included.
int Type(const Args& a) {
  if (a.size() < 2) return 2;
  HWND w = Window(a[0]);
  const int length = MultiByteToWideChar(CP_ACP, 0, a[1].data(), static_cast<int>(a[1].size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(std::max(length, 0)), L'\0');
  MultiByteToWideChar(CP_ACP, 0, a[1].data(), static_cast<int>(a[1].size()), text.data(), length);
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  for (wchar_t c : text) {
    QueryPerformanceCounter(&start);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(w, WM_CHAR, c, 1, SMTO_NORMAL, 10000, &result)) return 1;
    QueryPerformanceCounter(&end);
    std::printf("%.2f\n", static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart);
  }
  return 0;
}

// click <x> <y> [right]: screen coordinates.
int Click(const Args& a) {
  if (a.size() < 2) return 2;
  bool right = a.size() > 2 && a[2] == "right";
  SetCursorPos(static_cast<int>(Number(a[0])), static_cast<int>(Number(a[1])));
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
  SendInput(2, in, sizeof(INPUT));
  return 0;
}

// drag <x0> <y0> <x1> <y1>: left button down at the first point, moved in
// steps to the second, released there (screen coordinates).
int Drag(const Args& a) {
  if (a.size() < 4) return 2;
  int x0 = static_cast<int>(Number(a[0])), y0 = static_cast<int>(Number(a[1]));
  int x1 = static_cast<int>(Number(a[2])), y1 = static_cast<int>(Number(a[3]));
  auto button = [](DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof(INPUT));
  };
  SetCursorPos(x0, y0);
  Sleep(50);
  button(MOUSEEVENTF_LEFTDOWN);
  Sleep(50);
  for (int i = 1; i <= 10; ++i) {
    SetCursorPos(x0 + (x1 - x0) * i / 10, y0 + (y1 - y0) * i / 10);
    button(MOUSEEVENTF_MOVE);
    Sleep(20);
  }
  button(MOUSEEVENTF_LEFTUP);
  return 0;
}

HKEY Root(std::string& path) {
  std::size_t slash = path.find('\\');
  std::string root = path.substr(0, slash);
  path = slash == std::string::npos ? std::string() : path.substr(slash + 1);
  if (root == "HKCU" || root == "HKEY_CURRENT_USER") return HKEY_CURRENT_USER;
  if (root == "HKLM" || root == "HKEY_LOCAL_MACHINE") return HKEY_LOCAL_MACHINE;
  return nullptr;
}

// reg-get <key> <value>: prints "dword <signed>" or "sz <text>".
int RegGet(const Args& a) {
  if (a.size() < 2) return 2;
  std::string path = a[0];
  HKEY root = Root(path);
  win::RegKey key;
  if (!root || !key.Open(root, path)) return 1;
  BYTE data[4096] = {};
  DWORD type = 0, size = sizeof data - 1;
  if (RegQueryValueExA(key.Get(), a[1].c_str(), nullptr, &type, data, &size) != ERROR_SUCCESS) return 1;
  if (type == REG_DWORD)
    std::printf("dword %ld\n", static_cast<long>(*reinterpret_cast<DWORD*>(data)));
  else if (type == REG_SZ || type == REG_EXPAND_SZ)
    std::printf("sz %s\n", reinterpret_cast<char*>(data));
  else
    std::printf("type %lu\n", type);
  return 0;
}

// reg-set <key> <value> dword|sz <data>
int RegSet(const Args& a) {
  if (a.size() < 4) return 2;
  std::string path = a[0];
  HKEY root = Root(path);
  win::RegKey key;
  if (!root || !key.Create(root, path)) return 1;
  LONG rc;
  if (a[2] == "dword") {
    DWORD v = static_cast<DWORD>(std::strtol(a[3].c_str(), nullptr, 0));
    rc = RegSetValueExA(key.Get(), a[1].c_str(), 0, REG_DWORD, reinterpret_cast<BYTE*>(&v), sizeof v);
  } else {
    rc = RegSetValueExA(key.Get(), a[1].c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(a[3].c_str()),
                        static_cast<DWORD>(a[3].size() + 1));
  }
  return rc == ERROR_SUCCESS ? 0 : 1;
}

// reg-delete <key>: the key and everything below it (missing is fine).
int RegDelete(const Args& a) {
  if (a.size() < 1) return 2;
  std::string path = a[0];
  HKEY root = Root(path);
  if (!root || path.empty()) return 2;
  DWORD rc = SHDeleteKeyA(root, path.c_str());
  return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND ? 0 : 1;
}

int Screen(const Args&) {
  std::printf("%d %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  return 0;
}

int Acp(const Args&) {
  std::printf("%u\n", GetACP());
  return 0;
}

// set-clipboard-text <text>: puts text on the clipboard as CF_TEXT.
int SetClipboardText(const Args& a) {
  if (a.size() < 1) return 2;
  win::ClipboardSession clipboard(nullptr, 1);
  if (!clipboard.IsOpen()) return 1;
  EmptyClipboard();
  win::GlobalMemory mem(GMEM_MOVEABLE, a[0].size() + 1);
  if (!mem) return 1;
  memcpy(GlobalLock(mem.Get()), a[0].c_str(), a[0].size() + 1);
  GlobalUnlock(mem.Get());
  if (!SetClipboardData(CF_TEXT, mem.Get())) return 1;
  mem.Release();  // the clipboard's now
  return 0;
}

// clipboard-text: CF_TEXT as it is; exit 1 when the clipboard has none.
int ClipboardText(const Args&) {
  win::ClipboardSession clipboard(nullptr, 1);
  if (!clipboard.IsOpen()) return 1;
  win::GlobalLockScope text(GetClipboardData(CF_TEXT));
  if (!text.Get()) return 1;
  std::fwrite(text.Get(), 1, std::strlen(static_cast<const char*>(text.Get())), stdout);
  return 0;
}

// file-dialog <title part> <text>...: in the open/save dialog whose title
// holds the part, puts each text into the file name field and confirms it
// with OK, one after the other (a folder to go to, then the names).
int FileDialog(const Args& a) {
  if (a.size() < 2) return 2;
  for (std::size_t i = 1; i < a.size(); ++i) {
    HWND dlg = nullptr;
    for (DWORD start = GetTickCount(); !dlg && GetTickCount() - start < 10000; Sleep(100)) {
      FindQuery q{"#32770", a[0], 0, {}};
      EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&q));
      if (!q.found.empty()) dlg = q.found[0];
    }
    if (!dlg) return 1;
    HWND name = GetDlgItem(dlg, 0x47c);        // the file name combo box
    if (!name) name = GetDlgItem(dlg, 0x480);  // or the plain edit of older dialogs
    if (!name) return 1;
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a[i].c_str()));
    PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDOK)));
    Sleep(500);
  }
  return 0;
}

// toolbar-buttons <hwnd>: one line per button of a tool bar control of any
// process: "<index> <id> <x0>,<y0>,<x1>,<y1> enabled=<0|1> checked=<0|1>"
// (screen coordinates; id 0 for separators). The rectangle is fetched through
// memory in the tool bar's process.
int ToolbarButtons(const Args& a) {
  if (a.empty()) return 2;
  HWND tb = Window(a[0]);
  DWORD pid = 0;
  GetWindowThreadProcessId(tb, &pid);
  win::UniqueHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
  HANDLE proc = process.Get();
  if (!proc) return 1;
  void* remote = VirtualAllocEx(proc, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE);
  if (!remote) return 1;
  LRESULT count = SendMessageA(tb, 0x0418 /* TB_BUTTONCOUNT */, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    RECT r{};
    SendMessageA(tb, 0x041D /* TB_GETITEMRECT */, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote));
    SIZE_T got = 0;
    ReadProcessMemory(proc, remote, &r, sizeof r, &got);
    // TBBUTTON: iBitmap, idCommand, fsState, fsStyle, ... (20 bytes on 32-bit)
    BYTE button[32] = {};
    SendMessageA(tb, 0x0417 /* TB_GETBUTTON */, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(proc, remote, button, sizeof button, &got);
    int id = *reinterpret_cast<int*>(button + 4);
    BYTE state = button[8], style = button[9];
    if (style & 0x01 /* TBSTYLE_SEP */) id = 0;
    MapWindowPoints(tb, nullptr, reinterpret_cast<POINT*>(&r), 2);
    std::printf("%ld %d %ld,%ld,%ld,%ld enabled=%d checked=%d\n", static_cast<long>(i), id, r.left, r.top, r.right,
                r.bottom, (state & 0x04) ? 1 : 0, (state & 0x01) ? 1 : 0);
  }
  VirtualFreeEx(proc, remote, 0, MEM_RELEASE);
  return 0;
}

// run <program> [args]: starts the program, prints "pid <id>" (its Windows
// process id, by which its windows are told from others) and waits for it.
// Exits with the program's exit code.
int Run(const Args& a) {
  std::string line;
  for (const std::string& arg : a) {
    if (!line.empty()) line += ' ';
    // Backslashes before the closing quote are doubled so they stay backslashes.
    std::size_t tail = arg.size() - std::min(arg.size(), arg.find_last_not_of('\\') + 1);
    line += '"' + arg + std::string(tail, '\\') + '"';
  }
  STARTUPINFOA start{};
  start.cb = sizeof start;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &process)) {
    std::fprintf(stderr, "cannot start %s: error %lu\n", a[0].c_str(), GetLastError());
    return 127;
  }
  const win::ProcessHandles started(process);
  std::printf("pid %lu\n", process.dwProcessId);
  std::fflush(stdout);
  WaitForSingleObject(started.process.Get(), INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(started.process.Get(), &code);
  return static_cast<int>(code);
}

// kill <process id>: ends the process with exit code 1.
int Kill(const Args& a) {
  if (a.size() < 1) return 2;
  const win::UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, Number(a[0])));
  if (!process) return 1;
  return TerminateProcess(process.Get(), 1) ? 0 : 1;
}

int Usage() {
  std::fputs(
      "usage: wtool <command> [args]\n"
      "  find <class|-> <title part|-> [timeout ms] [pid]  visible top-level windows\n"
      "  run <program> [args]                         start, print \"pid <id>\", wait; its exit code\n"
      "  kill <pid>                                   end a process\n"
      "  children <hwnd>                              all child windows\n"
      "  text <hwnd> | settext <hwnd> <text>\n"
      "  send|post <hwnd> <msg> [wparam] [lparam]\n"
      "  command <hwnd> <id>                          post WM_COMMAND\n"
      "  keys <hwnd> <key>[+ctrl|+shift|+alt]...      type keys (letter or VK number)\n"
      "  type <hwnd> <text>                           WM_CHAR per character, ms per send\n"
      "  click <x> <y> [right]                        mouse click, screen coordinates\n"
      "  drag <x0> <y0> <x1> <y1>                     left-button drag, screen coordinates\n"
      "  reg-get <key> <value> | reg-set <key> <value> dword|sz <data> | reg-delete <key>\n"
      "  screen | acp | clipboard-text | set-clipboard-text <text>\n"
      "  file-dialog <title part> <text>...           fill and confirm a file dialog\n"
      "  toolbar-buttons <hwnd>                       buttons of a tool bar: index id rect state\n",
      stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // exact bytes, no CR added
  if (argc < 2) return Usage();
  std::string cmd = argv[1];
  Args a(argv + 2, argv + argc);
  // The program's own exit code, whatever it is.
  if (cmd == "run") return a.empty() ? Usage() : Run(a);
  int rc;
  if (cmd == "find")
    rc = Find(a);
  else if (cmd == "kill")
    rc = Kill(a);
  else if (cmd == "children")
    rc = Children(a);
  else if (cmd == "text")
    rc = Text(a);
  else if (cmd == "settext")
    rc = SetText(a);
  else if (cmd == "send")
    rc = Send(a, false);
  else if (cmd == "post")
    rc = Send(a, true);
  else if (cmd == "command")
    rc = Command(a);
  else if (cmd == "keys")
    rc = Keys(a);
  else if (cmd == "type")
    rc = Type(a);
  else if (cmd == "click")
    rc = Click(a);
  else if (cmd == "drag")
    rc = Drag(a);
  else if (cmd == "reg-get")
    rc = RegGet(a);
  else if (cmd == "reg-set")
    rc = RegSet(a);
  else if (cmd == "reg-delete")
    rc = RegDelete(a);
  else if (cmd == "screen")
    rc = Screen(a);
  else if (cmd == "acp")
    rc = Acp(a);
  else if (cmd == "clipboard-text")
    rc = ClipboardText(a);
  else if (cmd == "set-clipboard-text")
    rc = SetClipboardText(a);
  else if (cmd == "file-dialog")
    rc = FileDialog(a);
  else if (cmd == "toolbar-buttons")
    rc = ToolbarButtons(a);
  else
    return Usage();
  if (rc == 2) return Usage();
  std::fflush(stdout);
  return rc;
}

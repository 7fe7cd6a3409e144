// A plain Win32 window for the test bed's own end-to-end check: it draws
// Japanese text and records the code page it runs under in the registry.
#include <windows.h>

namespace {

const char kTitle[] = "Glimra スモークテスト";
const char kSample[] = "あいうえお　日本語フォント Aa";

void RecordRun() {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\VANTO\\GlimraSmoke", 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  DWORD acp = GetACP();
  RegSetValueExA(key, "Acp", 0, REG_DWORD, reinterpret_cast<BYTE*>(&acp), sizeof acp);
  RegSetValueExA(key, "Sample", 0, REG_SZ, reinterpret_cast<const BYTE*>(kSample), sizeof kSample);
  RegCloseKey(key);
}

void Paint(HWND w) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  HFONT font = CreateFontA(-32, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "IPAGothic");
  HGDIOBJ old = SelectObject(dc, font);
  TextOutA(dc, 20, 20, kSample, lstrlenA(kSample));
  SelectObject(dc, old);
  DeleteObject(font);
  EndPaint(w, &ps);
}

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: RecordRun(); return 0;
    case WM_PAINT: Paint(w); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int show) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "GlimraSmoke";
  RegisterClassA(&wc);
  HWND w =
      CreateWindowA("GlimraSmoke", kTitle, WS_OVERLAPPEDWINDOW, 100, 100, 640, 200, nullptr, nullptr, inst, nullptr);
  ShowWindow(w, show);
  UpdateWindow(w);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

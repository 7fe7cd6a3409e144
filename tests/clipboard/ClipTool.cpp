// cliptool: reads and holds the clipboard for the end-to-end tests of the
// viewer's copy commands. Output in code page 932; exit code 0 on success,
// 1 when the clipboard or the format is not there, 2 on bad usage.
//   formats           one line per format: "<id> <name>"
//   text | rtf        the CF_TEXT / "Rich Text Format" bytes as they are
//   emf-frame         "frame l t r b bounds l t r b" of the CF_ENHMETAFILE
//   emf-texts         the strings drawn by the picture, one per line
//   set-text <text>   replaces the clipboard with a text
//   hold <ms>         opens the clipboard, prints "held", keeps it for ms
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool Open() {
  for (int i = 0; i < 50; ++i) {
    if (OpenClipboard(nullptr)) return true;
    Sleep(20);
  }
  return false;
}

int Formats() {
  if (!Open()) return 1;
  for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f)) {
    char name[256] = {};
    if (!GetClipboardFormatNameA(f, name, sizeof name)) {
      switch (f) {
        case CF_TEXT: std::strcpy(name, "CF_TEXT"); break;
        case CF_ENHMETAFILE: std::strcpy(name, "CF_ENHMETAFILE"); break;
        default: std::strcpy(name, "-"); break;
      }
    }
    std::printf("%u %s\n", f, name);
  }
  CloseClipboard();
  return 0;
}

int Bytes(UINT format) {
  if (!format || !Open()) return 1;
  int rc = 1;
  if (HANDLE h = GetClipboardData(format)) {
    if (auto* p = static_cast<const char*>(GlobalLock(h))) {
      std::fwrite(p, 1, std::strlen(p), stdout);
      GlobalUnlock(h);
      rc = 0;
    }
  }
  CloseClipboard();
  return rc;
}

int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* rec, int, LPARAM) {
  if (rec->iType != EMR_EXTTEXTOUTW && rec->iType != EMR_EXTTEXTOUTA) return 1;
  const auto* t = reinterpret_cast<const EMREXTTEXTOUTW*>(rec);
  const auto* chars = reinterpret_cast<const BYTE*>(rec) + t->emrtext.offString;
  std::string s;
  if (rec->iType == EMR_EXTTEXTOUTA) {
    s.assign(reinterpret_cast<const char*>(chars), t->emrtext.nChars);
  } else {
    char buf[1024] = {};
    int n = WideCharToMultiByte(932, 0, reinterpret_cast<const wchar_t*>(chars), static_cast<int>(t->emrtext.nChars),
                                buf, sizeof buf, nullptr, nullptr);
    s.assign(buf, n > 0 ? n : 0);
  }
  std::printf("%ld %s\n", static_cast<long>(t->emrtext.ptlReference.x), s.c_str());
  return 1;
}

int Picture(bool texts) {
  if (!Open()) return 1;
  int rc = 1;
  if (auto emf = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE))) {
    ENHMETAHEADER h{};
    if (GetEnhMetaFileHeader(emf, sizeof h, &h)) {
      if (texts) {
        EnumEnhMetaFile(nullptr, emf, CollectText, nullptr, nullptr);
      } else {
        std::printf("frame %ld %ld %ld %ld bounds %ld %ld %ld %ld\n", h.rclFrame.left, h.rclFrame.top, h.rclFrame.right,
                    h.rclFrame.bottom, h.rclBounds.left, h.rclBounds.top, h.rclBounds.right, h.rclBounds.bottom);
      }
      rc = 0;
    }
  }
  CloseClipboard();
  return rc;
}

int SetText(const char* text) {
  if (!Open()) return 1;
  EmptyClipboard();
  const std::size_t n = std::strlen(text) + 1;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, n);
  std::memcpy(GlobalLock(block), text, n);
  GlobalUnlock(block);
  const bool ok = SetClipboardData(CF_TEXT, block) != nullptr;
  CloseClipboard();
  return ok ? 0 : 1;
}

int Hold(DWORD ms) {
  if (!Open()) return 1;
  std::printf("held\n");
  std::fflush(stdout);
  Sleep(ms);
  CloseClipboard();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  _setmode(_fileno(stdout), _O_BINARY);  // the clipboard's bytes, CR LF untouched
  const std::string cmd = argv[1];
  int rc = 2;
  if (cmd == "formats")
    rc = Formats();
  else if (cmd == "text")
    rc = Bytes(CF_TEXT);
  else if (cmd == "rtf")
    rc = Bytes(RegisterClipboardFormatA("Rich Text Format"));
  else if (cmd == "emf-frame")
    rc = Picture(false);
  else if (cmd == "emf-texts")
    rc = Picture(true);
  else if (cmd == "set-text" && argc > 2)
    rc = SetText(argv[2]);
  else if (cmd == "hold" && argc > 2)
    rc = Hold(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)));
  std::fflush(stdout);
  return rc;
}

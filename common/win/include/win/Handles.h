#pragma once
// Owners of kernel handles, registry keys, global memory and clipboard
// sessions: each is released on every path out of the scope that took it.
#include <windows.h>

#include <string>
#include <utility>

#include "win/Unique.h"

namespace win {

// A kernel handle (event, thread, process, file, mutex) closed with
// CloseHandle. INVALID_HANDLE_VALUE, as CreateFile fails, counts as none.
struct KernelHandleTraits {
  static bool Valid(HANDLE h) { return h && h != INVALID_HANDLE_VALUE; }
  static bool Free(HANDLE h) { return CloseHandle(h) != FALSE; }
};
using UniqueHandle = Unique<HANDLE, KernelHandleTraits>;

// A FindFirstFile search, ended with FindClose.
struct FindHandleTraits : KernelHandleTraits {
  static bool Free(HANDLE h) { return FindClose(h) != FALSE; }
};
using FindHandle = Unique<HANDLE, FindHandleTraits>;

// The two handles CreateProcess hands back.
struct ProcessHandles {
  explicit ProcessHandles(const PROCESS_INFORMATION& pi) : process(pi.hProcess), thread(pi.hThread) {}
  UniqueHandle process;
  UniqueHandle thread;
};

// An open registry key.
struct RegKeyTraits : NullIsNone {
  static bool Free(HKEY h) { return RegCloseKey(h) == ERROR_SUCCESS; }
};
class RegKey : public Unique<HKEY, RegKeyTraits> {
 public:
  bool Open(HKEY root, const std::string& path, REGSAM access = KEY_READ) {
    HKEY key = nullptr;
    Reset(RegOpenKeyExA(root, path.c_str(), 0, access, &key) == ERROR_SUCCESS ? key : nullptr);
    return Get() != nullptr;
  }
  bool Create(HKEY root, const std::string& path, REGSAM access = KEY_WRITE) {
    HKEY key = nullptr;
    const LONG rc =
        RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
    Reset(rc == ERROR_SUCCESS ? key : nullptr);
    return Get() != nullptr;
  }
};

// A global memory block, freed unless handed over (to the clipboard) by Release.
struct GlobalMemoryTraits : NullIsNone {
  static bool Free(HGLOBAL h) { return GlobalFree(h) == nullptr; }
};
class GlobalMemory : public Unique<HGLOBAL, GlobalMemoryTraits> {
 public:
  using Unique::Unique;
  GlobalMemory() = default;
  GlobalMemory(UINT flags, SIZE_T size) : Unique(GlobalAlloc(flags, size)) {}
};

// GlobalLock for the life of the scope.
class GlobalLockScope {
 public:
  explicit GlobalLockScope(HGLOBAL h) : h_(h), p_(h ? GlobalLock(h) : nullptr) {}
  GlobalLockScope(const GlobalLockScope&) = delete;
  GlobalLockScope& operator=(const GlobalLockScope&) = delete;
  ~GlobalLockScope() {
    if (p_) GlobalUnlock(h_);
  }
  void* Get() const { return p_; }

 private:
  HGLOBAL h_;
  void* p_;
};

// An open clipboard; closed when the scope ends. Another program may hold
// the clipboard for a moment, so opening is tried several times (by default
// ten, 10 ms apart) with a pause after each failure.
class ClipboardSession {
 public:
  explicit ClipboardSession(HWND owner, int tries = 10, DWORD pauseMs = 10) {
    for (int attempt = 0; attempt < tries && !open_; ++attempt) {
      open_ = OpenClipboard(owner) != FALSE;
      if (!open_) Sleep(pauseMs);
    }
  }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;
  ~ClipboardSession() {
    if (open_) CloseClipboard();
  }
  bool IsOpen() const { return open_; }

 private:
  bool open_ = false;
};

}  // namespace win

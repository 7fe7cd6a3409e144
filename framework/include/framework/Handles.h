#pragma once
// RAII owners for kernel handles, registry keys, global memory and clipboard
// sessions: each is released on every path out of the scope that took it.
#include <windows.h>

#include <string>
#include <utility>

namespace fw {

// A kernel handle (event, thread, process, file, mutex) closed with CloseHandle.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE h) : h_(Valid(h) ? h : nullptr) {}
  UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) Reset(std::exchange(o.h_, nullptr));
    return *this;
  }
  ~UniqueHandle() { Reset(); }
  void Reset(HANDLE h = nullptr) {
    if (h_) CloseHandle(h_);
    h_ = Valid(h) ? h : nullptr;
  }
  HANDLE Get() const { return h_; }
  HANDLE Release() { return std::exchange(h_, nullptr); }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  static bool Valid(HANDLE h) { return h && h != INVALID_HANDLE_VALUE; }
  HANDLE h_ = nullptr;
};

// An open registry key.
class RegKey {
 public:
  RegKey() = default;
  RegKey(RegKey&& o) noexcept : key_(std::exchange(o.key_, nullptr)) {}
  RegKey& operator=(RegKey&& o) noexcept {
    if (this != &o) {
      Close();
      key_ = std::exchange(o.key_, nullptr);
    }
    return *this;
  }
  ~RegKey() { Close(); }
  bool Open(HKEY root, const std::string& path, REGSAM access = KEY_READ) {
    Close();
    return RegOpenKeyExA(root, path.c_str(), 0, access, &key_) == ERROR_SUCCESS || (key_ = nullptr, false);
  }
  bool Create(HKEY root, const std::string& path, REGSAM access = KEY_WRITE) {
    Close();
    return RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key_, nullptr) ==
               ERROR_SUCCESS ||
           (key_ = nullptr, false);
  }
  void Close() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
  }
  HKEY Get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }

 private:
  HKEY key_ = nullptr;
};

// A global memory block, freed unless handed over (to the clipboard) by Release.
class GlobalMemory {
 public:
  GlobalMemory() = default;
  GlobalMemory(UINT flags, SIZE_T size) : h_(GlobalAlloc(flags, size)) {}
  GlobalMemory(GlobalMemory&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  GlobalMemory& operator=(GlobalMemory&& o) noexcept {
    if (this != &o) {
      if (h_) GlobalFree(h_);
      h_ = std::exchange(o.h_, nullptr);
    }
    return *this;
  }
  ~GlobalMemory() {
    if (h_) GlobalFree(h_);
  }
  HGLOBAL Get() const { return h_; }
  HGLOBAL Release() { return std::exchange(h_, nullptr); }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  HGLOBAL h_ = nullptr;
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
// the clipboard for a moment, so opening can be tried several times with a
// pause after each failure.
class ClipboardSession {
 public:
  explicit ClipboardSession(HWND owner, int tries = 1, DWORD pauseMs = 0) {
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

}  // namespace fw

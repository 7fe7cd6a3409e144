#pragma once
// Owner of a WinINet handle (session, connection, request).
#include <windows.h>
#include <wininet.h>

#include "win/Unique.h"

namespace win {

struct InternetHandleTraits : NullIsNone {
  static bool Free(HINTERNET h) { return InternetCloseHandle(h) != FALSE; }
};
using InternetHandle = Unique<HINTERNET, InternetHandleTraits>;

}  // namespace win

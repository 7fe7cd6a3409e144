#include "checker/HttpTransfer.h"

#include <windows.h>
#include <wininet.h>

#include "checker/AutoUpdate.h"
#include "checker/Trace.h"
#include "checker/Url.h"
#include "win/Handles.h"
#include "win/Internet.h"

namespace checker {
namespace {

constexpr DWORD kBlock = 1024;
constexpr DWORD_PTR kContext = 1;

// The system's text for a WinINet (or other) error, always ending in a line
// feed so that the trace line stays whole.
std::string ErrorText(DWORD error) {
  char text[1025] = {};
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS, GetModuleHandleA("wininet.dll"),
                           error, 0, text, sizeof text - 1, nullptr);
  if (n == 0)
    n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                       sizeof text - 1, nullptr);
  std::string s = n ? std::string(text, n) : "error " + std::to_string(error);
  if (s.empty() || s.back() != '\n') s += '\n';
  return s;
}

void SetTimeouts(HINTERNET h) {
  DWORD ms = kTransferTimeoutMs;
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
                       INTERNET_OPTION_DATA_SEND_TIMEOUT, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT})
    InternetSetOptionA(h, option, &ms, sizeof ms);
  DWORD retries = 1;
  InternetSetOptionA(h, INTERNET_OPTION_CONNECT_RETRIES, &retries, sizeof retries);
}

// A failed WinINet call: after a cancel (the gate closed the session under
// it) it is the cancel that ends the transfer, not an error.
void TraceFailure(CAutoUpdate& run, DWORD error) {
  if (run.TransferMustStop())
    Trace("Connect Canceled\n");
  else
    Trace("Error:%s", ErrorText(error).c_str());
}

}  // namespace

bool TransferGate::Enter(void* session) {
  std::lock_guard<std::mutex> hold(lock_);
  if (aborted_) return false;
  session_ = session;
  return true;
}

bool TransferGate::Leave() {
  std::lock_guard<std::mutex> hold(lock_);
  bool ours = session_ != nullptr;
  session_ = nullptr;
  return ours;
}

void TransferGate::Abort() {
  std::lock_guard<std::mutex> hold(lock_);
  aborted_ = true;
  // Closing the session makes the transfer's pending call return at once.
  win::InternetHandle closing(static_cast<HINTERNET>(session_));
  session_ = nullptr;
}

namespace {

// The session of one transfer, registered with the gate while it lives: only
// one of the two closes it.
class GatedSession {
 public:
  GatedSession(HINTERNET session, TransferGate* gate) : session_(session), gate_(gate) {
    if (session_ && gate_ && !gate_->Enter(session_.Get())) session_.Reset();
  }
  ~GatedSession() {
    if (session_ && gate_ && !gate_->Leave()) session_.Release();  // the gate has closed it
  }
  GatedSession(const GatedSession&) = delete;
  GatedSession& operator=(const GatedSession&) = delete;
  HINTERNET get() const { return session_.Get(); }
  explicit operator bool() const { return static_cast<bool>(session_); }

 private:
  win::InternetHandle session_;
  TransferGate* gate_;
};

}  // namespace

int DownloadUrl(CAutoUpdate& run, const std::string& url, std::string* text, const std::string* file,
                TransferGate* gate) {
  GatedSession session(InternetOpenA("Mervik", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0), gate);
  if (!session) return 0;
  SetTimeouts(session.get());
  UrlParts parts;
  if (!SplitUrl(url, parts) || parts.scheme != "http") return 0;
  Trace("Connectting %s\n", url.c_str());

  // The handles below die before the session (declared after it), also when
  // the gate has closed the session already: closing a dead handle only fails.
  win::InternetHandle connection(InternetConnectA(session.get(), parts.host.c_str(), parts.port, nullptr, nullptr,
                                                  INTERNET_SERVICE_HTTP, 0, kContext));
  if (!connection) {
    TraceFailure(run, GetLastError());
    return 0;
  }
  SetTimeouts(connection.Get());
  // A package is fetched once and kept in its own file: a copy in the
  // system's cache would only double the disk writes.
  const DWORD flags = INTERNET_FLAG_EXISTING_CONNECT | (file ? INTERNET_FLAG_NO_CACHE_WRITE : 0);
  win::InternetHandle request(
      HttpOpenRequestA(connection.Get(), "GET", parts.path.c_str(), "HTTP/1.0", nullptr, nullptr, flags, kContext));
  if (request) SetTimeouts(request.Get());
  if (!request || !HttpSendRequestA(request.Get(), nullptr, 0, nullptr, 0)) {
    TraceFailure(run, GetLastError());
    return 0;
  }
  DWORD status = 0, length = sizeof status;
  if (!HttpQueryInfoA(request.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length, nullptr) ||
      status != 200)
    return 0;

  win::UniqueHandle out;
  if (file) {
    out.Reset(CreateFileA(file->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) {
      Trace("File open error (%s).\n", file->c_str());
      return 0;
    }
  }

  int announced = 0;
  bool haveLength = false;
  char header[64] = {};
  length = sizeof header - 1;
  if (HttpQueryInfoA(request.Get(), HTTP_QUERY_CONTENT_LENGTH, header, &length, nullptr)) {
    haveLength = true;
    announced = static_cast<int>(ParseDecimal(header));
    Trace("Download file size %d\n", announced);
    run.DownloadSize(announced);
  }

  char block[kBlock + 1];
  int total = 0;
  int result = 1;
  DWORD buffered = 0;  // what WinINet said it holds, as far as not read yet
  for (;;) {
    // Asked what it holds, WinINet fills its own buffer with one socket read
    // for several blocks; a read of a block that is not there yet costs a
    // socket read (and under Wine two server round trips) for each block.
    if (buffered == 0 && !InternetQueryDataAvailable(request.Get(), &buffered, 0, 0)) buffered = 0;
    DWORD got = 0;
    if (!InternetReadFile(request.Get(), block, kBlock, &got)) {
      TraceFailure(run, GetLastError());
      result = 0;
      break;
    }
    // A cancel that closed the session under the read may show as an end.
    const bool stop = run.TransferMustStop();
    if (got == 0 && !stop) break;
    if (stop) {
      Trace("Connect Canceled\n");
      result = 0;
      break;
    }
    if (text) {
      block[got] = '\0';
      text->append(block);  // a zero byte cuts off the rest of the block
    }
    if (out) {
      DWORD written = 0;
      if (!WriteFile(out.Get(), block, got, &written, nullptr) || written != got) {
        result = 0;
        break;
      }
    }
    buffered = buffered > got ? buffered - got : 0;
    total += static_cast<int>(got);
    if (announced > 0) run.DownloadProgress(total);
  }
  // A connection that closes early ends the read like a complete body does;
  // only the announced length tells a cut transfer from a whole one.
  if (result == 1 && haveLength && total < announced) {
    Trace("Error:The connection closed after %d of %d bytes.\n", total, announced);
    result = 0;
  }
  out.Reset();
  if (result == 1) {
    Trace("Done total size %d\n", total);
    if (text) Trace("Data\n%s\n", text->c_str());
  }
  return result;
}

}  // namespace checker

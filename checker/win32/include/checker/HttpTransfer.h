#pragma once
// One HTTP GET over WinINet, read in 1024-byte blocks, into a string or a file.
#include <mutex>
#include <string>

namespace checker {

class CAutoUpdate;

// Bounds of every transfer: connecting, sending the request and each wait
// for data (the response headers included) give up after this long.
constexpr unsigned long kTransferTimeoutMs = 10000;

// Lets another thread stop the transfer in progress: Abort closes the
// transfer's internet session, which makes a call blocked in it return, and
// refuses every later transfer of the run.
class TransferGate {
 public:
  // The transfer starts using session; false once aborted.
  bool Enter(void* session);
  // The transfer is done with its session: true when it is still the
  // transfer's to close (Abort has not closed it).
  bool Leave();
  void Abort();

 private:
  std::mutex lock_;
  void* session_ = nullptr;
  bool aborted_ = false;
};

// 1 when the whole body arrived with status 200, 0 otherwise. Reports size and
// progress to run and stops at the next block once the run is cancelled, or
// at once when gate is aborted.
int DownloadUrl(CAutoUpdate& run, const std::string& url, std::string* text, const std::string* file,
                TransferGate* gate = nullptr);

}  // namespace checker

#pragma once
// Measures many installed faces on a worker thread with a device context of
// its own, so that the window stays responsive while thousands of faces are
// read. Each face is measured once per run of the program; results reach
// the UI thread when it collects them on the scanner's posted message.
//
// Everything but the worker itself runs on the UI thread.
#include <windows.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "coverage/Coverage.h"

namespace facescan {

struct FaceFacts {
  bool measured = false;  // false: `error` says why
  std::string error;
  coverage::FaceReport report;
};

class FaceScanner {
 public:
  FaceScanner() = default;
  FaceScanner(const FaceScanner&) = delete;
  FaceScanner& operator=(const FaceScanner&) = delete;
  // Stops the worker after the face it is measuring.
  ~FaceScanner();

  // The window that receives `message` (posted, no parameters) when results
  // wait to be collected. Before this, nothing is measured.
  void SetNotify(HWND window, UINT message);

  // Queues the faces neither measured nor queued yet; `first` puts them ahead
  // of the queue (the rows on screen). Starts the worker when needed.
  void Request(const std::vector<std::string>& faces, bool first = false);

  // Call on the posted message: takes in the waiting results, then tells
  // every listener. Returns how many results came in.
  std::size_t Collect();
  // Called by Collect after results came in.
  void AddListener(std::function<void()> listener) { listeners_.push_back(std::move(listener)); }

  // The facts of a collected face, or nullptr while it is not measured.
  const FaceFacts* Find(const std::string& face) const;
  std::size_t CollectedCount() const { return facts_.size(); }
  // Faces requested but not collected yet.
  std::size_t Outstanding() const { return known_.size() - facts_.size(); }
  bool Busy() const { return Outstanding() > 0; }

 private:
  void Run();

  HWND window_ = nullptr;
  UINT message_ = 0;
  std::map<std::string, FaceFacts> facts_;  // collected, by face name
  std::set<std::string> known_;             // queued or collected
  std::vector<std::function<void()>> listeners_;

  // Shared with the worker.
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::string> queue_;
  std::vector<std::pair<std::string, FaceFacts>> done_;
  bool posted_ = false;  // a message is on its way and not yet handled
  bool stop_ = false;
  std::thread worker_;
};

}  // namespace facescan

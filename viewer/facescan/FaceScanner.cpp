#include "facescan/FaceScanner.h"

#include <utility>

#include "facescan/SelectedFace.h"

namespace facescan {

FaceScanner::~FaceScanner() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (worker_.joinable()) worker_.join();
}

void FaceScanner::SetNotify(HWND window, UINT message) {
  window_ = window;
  message_ = message;
}

void FaceScanner::Request(const std::vector<std::string>& faces, bool first) {
  if (!window_) return;
  std::vector<std::string> fresh;
  for (const std::string& face : faces)
    if (known_.insert(face).second) fresh.push_back(face);
  if (fresh.empty() && !first) return;
  {
    std::lock_guard lock(mutex_);
    if (first) {
      // Faces already queued move ahead as well.
      std::vector<std::string> ahead;
      for (const std::string& face : faces)
        if (!facts_.count(face)) ahead.push_back(face);
      for (const std::string& face : ahead) std::erase(queue_, face);
      queue_.insert(queue_.begin(), ahead.begin(), ahead.end());
    } else {
      queue_.insert(queue_.end(), fresh.begin(), fresh.end());
    }
  }
  wake_.notify_one();
  if (!worker_.joinable()) worker_ = std::thread([this] { Run(); });
}

std::size_t FaceScanner::Collect() {
  std::vector<std::pair<std::string, FaceFacts>> done;
  {
    std::lock_guard lock(mutex_);
    done.swap(done_);
    posted_ = false;
  }
  for (auto& [face, facts] : done) facts_.insert_or_assign(std::move(face), std::move(facts));
  if (!done.empty())
    for (const auto& listener : listeners_) listener();
  return done.size();
}

const FaceFacts* FaceScanner::Find(const std::string& face) const {
  auto found = facts_.find(face);
  return found == facts_.end() ? nullptr : &found->second;
}

void FaceScanner::Run() {
  // No exception may leave the thread: a face that throws is reported as
  // failed and the scan goes on.
  for (;;) {
    std::string face;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
      if (stop_) return;
      face = std::move(queue_.front());
      queue_.pop_front();
    }
    FaceFacts facts;
    try {
      fonttables::Result<coverage::FaceReport> report = MeasureInstalledFace(face);
      if (report) {
        facts.measured = true;
        facts.report = std::move(*report);
      } else {
        facts.error = report.Error();
      }
    } catch (const std::exception& e) {
      facts.error = e.what();
    } catch (...) {
      facts.error = "unexpected failure";
    }
    bool post = false;
    {
      std::lock_guard lock(mutex_);
      done_.emplace_back(std::move(face), std::move(facts));
      post = !posted_;
      posted_ = true;
    }
    if (post && !PostMessageA(window_, message_, 0, 0)) {
      std::lock_guard lock(mutex_);
      posted_ = false;  // the next result tries again
    }
  }
}

}  // namespace facescan

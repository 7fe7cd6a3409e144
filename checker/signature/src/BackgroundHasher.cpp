#include "BackgroundHasher.h"

#include <system_error>
#include <utility>

namespace signature {

BackgroundHasher::BackgroundHasher(Sink sink) : sink_(std::move(sink)) {
  try {
    worker_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    // No thread: Add hashes on the caller's.
  }
}

BackgroundHasher::~BackgroundHasher() { Finish(); }

void BackgroundHasher::Add(const std::uint8_t* data, std::size_t size) {
  if (!worker_.joinable()) return sink_(data, size);
  std::vector<std::uint8_t> chunk;
  {
    std::unique_lock<std::mutex> lock(mutex_);
    room_.wait(lock, [this] { return queue_.size() < kMaxQueued; });
    if (!spare_.empty()) {
      chunk = std::move(spare_.back());
      spare_.pop_back();
    }
  }
  chunk.assign(data, data + size);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back(std::move(chunk));
  }
  ready_.notify_one();
}

void BackgroundHasher::Finish() {
  if (!worker_.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closing_ = true;
  }
  ready_.notify_one();
  worker_.join();
}

void BackgroundHasher::Run() noexcept {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    ready_.wait(lock, [this] { return closing_ || !queue_.empty(); });
    if (queue_.empty()) return;  // closing, and everything hashed
    std::vector<std::uint8_t> chunk = std::move(queue_.front());
    queue_.pop_front();
    lock.unlock();
    room_.notify_one();
    sink_(chunk.data(), chunk.size());
    lock.lock();
    spare_.push_back(std::move(chunk));
  }
}

}  // namespace signature

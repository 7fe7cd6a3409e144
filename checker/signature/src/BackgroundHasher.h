#pragma once
// Hands the chunks of a package to a hash function on a thread of its own,
// so that hashing overlaps reading, decrypting and writing the package: the
// unpack takes hardly longer on a processor with a second core. When no
// thread can be started, every chunk is hashed at once instead.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace signature {

class BackgroundHasher {
 public:
  using Sink = std::function<void(const std::uint8_t*, std::size_t)>;
  explicit BackgroundHasher(Sink sink);
  ~BackgroundHasher();
  BackgroundHasher(const BackgroundHasher&) = delete;
  BackgroundHasher& operator=(const BackgroundHasher&) = delete;

  // Copies the bytes; waits while a few chunks are still queued.
  void Add(const std::uint8_t* data, std::size_t size);
  // Returns once everything added has gone to the sink; ends the thread.
  void Finish();

 private:
  void Run() noexcept;

  // Bounds the memory held: a few reads of the package reader.
  static constexpr std::size_t kMaxQueued = 8;

  Sink sink_;
  std::mutex mutex_;
  std::condition_variable ready_;  // a chunk queued, or closing
  std::condition_variable room_;   // a chunk taken off the queue
  std::deque<std::vector<std::uint8_t>> queue_;
  std::vector<std::vector<std::uint8_t>> spare_;  // hashed chunks, reused
  bool closing_ = false;
  std::thread worker_;
};

}  // namespace signature

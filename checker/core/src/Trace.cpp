#include "checker/Trace.h"

#include <time.h>  // clock_gettime: <chrono> does not build with our execution character set

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

namespace checker {
namespace {

// A 32 MiB download gathers about 900 KB of progress lines: a few dozen writes.
constexpr std::size_t kGatherLimit = 32 * 1024;
// A slow download still shows its progress lines promptly.
constexpr std::int64_t kGatherAgeMs = 250;

std::int64_t NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return std::int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

struct TraceOutput {
  // A console stream is unbuffered by default, and the runtime then hands it
  // one character at a time: under Wine a round trip to the console host for
  // each. A full buffer lets each gathered write reach the console as a whole.
  TraceOutput() { std::setvbuf(stdout, nullptr, _IOFBF, 2 * kGatherLimit); }

  std::mutex lock;
  std::string pending;  // whole lines, not yet written
  std::int64_t oldestMs = 0;
  std::function<void(std::string_view)> sink;
  std::function<void(std::string_view)> copy;  // the support trace file

  // The one place where lines leave the process. Failures of the output are
  // ignored: tracing never fails a run.
  void Write() {
    if (pending.empty()) return;
    if (copy) copy(pending);
    if (sink) {
      sink(pending);
    } else {
      std::fwrite(pending.data(), 1, pending.size(), stdout);
      std::fflush(stdout);
    }
    pending.clear();
  }
};

TraceOutput& Output() {
  static TraceOutput output;
  return output;
}

// Formats onto the end of out.
void AppendFormatted(std::string& out, const char* format, std::va_list args) {
  std::va_list again;
  va_copy(again, args);
  char small[256];
  int n = std::vsnprintf(small, sizeof small, format, args);
  if (n > 0 && static_cast<std::size_t>(n) < sizeof small) {
    out.append(small, static_cast<std::size_t>(n));
  } else if (n > 0) {
    std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(n) + 1);
    std::vsnprintf(out.data() + at, static_cast<std::size_t>(n) + 1, format, again);
    out.resize(at + static_cast<std::size_t>(n));
  }
  va_end(again);
}

void Add(bool gather, const char* format, std::va_list args) {
  TraceOutput& o = Output();
  std::lock_guard<std::mutex> hold(o.lock);
  std::int64_t now = NowMs();
  if (o.pending.empty()) o.oldestMs = now;
  AppendFormatted(o.pending, format, args);
  if (!gather || o.pending.size() >= kGatherLimit || now - o.oldestMs >= kGatherAgeMs) o.Write();
}

}  // namespace

void Trace(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  Add(false, format, args);
  va_end(args);
}

void TraceGathered(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  Add(true, format, args);
  va_end(args);
}

void FlushTrace() {
  TraceOutput& o = Output();
  std::lock_guard<std::mutex> hold(o.lock);
  o.Write();
}

void SetTraceSink(std::function<void(std::string_view)> sink) {
  TraceOutput& o = Output();
  std::lock_guard<std::mutex> hold(o.lock);
  o.Write();
  o.sink = std::move(sink);
}

void SetTraceCopy(std::function<void(std::string_view)> copy) {
  TraceOutput& o = Output();
  std::lock_guard<std::mutex> hold(o.lock);
  o.Write();
  o.copy = std::move(copy);
}

}  // namespace checker

#include "checker/Trace.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <string>

namespace checker {
namespace {

std::mutex& SinkLock() {
  static std::mutex lock;
  return lock;
}

std::function<void(std::string_view)>& Sink() {
  static std::function<void(std::string_view)> sink;
  return sink;
}

std::function<void(std::string_view)>& Copy() {
  static std::function<void(std::string_view)> copy;
  return copy;
}

}  // namespace

void Trace(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::va_list again;
  va_copy(again, args);
  int n = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string line;
  if (n > 0) {
    line.resize(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(line.data(), line.size(), format, again);
    line.resize(static_cast<std::size_t>(n));
  }
  va_end(again);

  std::lock_guard<std::mutex> hold(SinkLock());
  if (Copy()) Copy()(line);
  if (Sink()) {
    Sink()(line);
    return;
  }
  // Failures of the output are ignored: tracing never fails a run.
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

void SetTraceSink(std::function<void(std::string_view)> sink) {
  std::lock_guard<std::mutex> hold(SinkLock());
  Sink() = std::move(sink);
}

void SetTraceCopy(std::function<void(std::string_view)> copy) {
  std::lock_guard<std::mutex> hold(SinkLock());
  Copy() = std::move(copy);
}

}  // namespace checker

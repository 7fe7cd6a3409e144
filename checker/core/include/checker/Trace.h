#pragma once
// The checker's trace: one formatted line per step on standard output. Every
// thread traces, so each line is formatted first and then written with a
// single call, which keeps lines from different threads whole.
#include <functional>
#include <string_view>

namespace checker {

void Trace(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));

// Replaces where the lines go (tests); an empty function restores stdout.
void SetTraceSink(std::function<void(std::string_view)> sink);

// A second receiver of every line, besides the sink (the support trace file).
void SetTraceCopy(std::function<void(std::string_view)> copy);

}  // namespace checker

#pragma once
// The checker's trace: one formatted line per step on standard output. Every
// thread traces; lines are kept whole and in order under one lock.
//
// Writing a line costs a round trip to the console host under Wine, so the
// lines of the per-block path are gathered and written together: a gathered
// line waits in memory until the next ordinary line (every state transition,
// every process start, the end of the run traces one), until enough has
// gathered, or until it has waited long enough.
#include <functional>
#include <string_view>

namespace checker {

// Writes the line, after everything gathered before it.
void Trace(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
// Keeps the line with the others of its kind; it is written later, in order.
void TraceGathered(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
// Writes whatever has gathered.
void FlushTrace();

// Replaces where the lines go (tests); an empty function restores stdout.
// The sink receives one or more whole lines at a time.
void SetTraceSink(std::function<void(std::string_view)> sink);

// A second receiver of every line, besides the sink (the support trace file).
void SetTraceCopy(std::function<void(std::string_view)> copy);

}  // namespace checker

// Marks of the install's phases, for the profile the benchmarks print. A
// program entry that can write them sets a sink; without one a mark costs a
// test of one pointer. The win32 backend sets its sink when the environment
// variable SW_PHASE_PROFILE names a file: each mark then appends the line
// "<milliseconds since 1970, UTC> <process id> <phase>" to it, the format
// the loading program writes too (bench/phase-profile.py reads them).
#pragma once

namespace sw {

using PhaseSink = void (*)(const char* phase);

// The sink of every mark; nullptr stops the marks.
void SetPhaseSink(PhaseSink sink);

// A phase of the program starts (and the one before it ends).
void MarkPhase(const char* phase);

} // namespace sw

#include "platform/PhaseProfile.h"

namespace sw {

namespace {
PhaseSink sink_ = nullptr;
}

void SetPhaseSink(PhaseSink sink) { sink_ = sink; }

void MarkPhase(const char* phase) {
    if (sink_)
        sink_(phase);
}

} // namespace sw

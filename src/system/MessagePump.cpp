#include "system/MessagePump.h"

#include "platform/Gui.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "project/ProgramState.h"

namespace sw {

namespace {
struct TPumpState {
    bool Pumped = false;
    uint32_t LastTick = 0;
    std::function<void()> Observer;
};

TPumpState* PumpState() { return HasProgramState() ? &ProgramPart<TPumpState>() : nullptr; }

uint32_t Now() {
    ISystemInfo* system = GetPlatform().System.get();
    return system ? system->TickCount() : 0;
}
} // namespace

void LetPendingMessagesRun() {
    IGui* gui = GetPlatform().Gui.get();
    if (gui)
        gui->ProcessMessages();
    if (TPumpState* state = PumpState()) {
        state->Pumped = true;
        state->LastTick = Now();
        if (state->Observer)
            state->Observer();
    }
}

bool LetPendingMessagesRunWhenDue() {
    TPumpState* state = PumpState();
    // Unsigned difference: right across the wrap of the tick count.
    if (state && state->Pumped && Now() - state->LastTick < kPumpInterval)
        return false;
    LetPendingMessagesRun();
    return true;
}

void SetPumpObserver(std::function<void()> observer) {
    if (TPumpState* state = PumpState())
        state->Observer = std::move(observer);
}

} // namespace sw

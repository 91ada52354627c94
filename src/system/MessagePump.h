// Letting pending window messages run from inside the long loops (extraction,
// copying, spanning, adding, downloads), so that the progress window repaints
// and its Cancel is served while the loop goes on. A loop asks at every step;
// the messages run when kPumpInterval milliseconds have passed since they last
// ran (by the system's tick count), which keeps the window answering within a
// fraction of a second without making every small step pay for a pump.
#pragma once

#include <cstdint>
#include <functional>

namespace sw {

inline constexpr uint32_t kPumpInterval = 40;

// Lets the messages run now, when there is a GUI, and notes the time.
void LetPendingMessagesRun();
// Lets them run when kPumpInterval ms have passed since they last ran (or
// they never ran in this program state); true when they ran.
bool LetPendingMessagesRunWhenDue();

// Called after each pump (none: nothing); a benchmark measures the gaps.
void SetPumpObserver(std::function<void()> observer);

} // namespace sw

// The sink of the phase marks (platform/PhaseProfile.h) into the file that
// SW_PHASE_PROFILE names.
#pragma once

namespace sw::win32 {

// Sets the sink when SW_PHASE_PROFILE is set; leaves the marks off otherwise.
void StartPhaseProfileFromEnvironment();

} // namespace sw::win32

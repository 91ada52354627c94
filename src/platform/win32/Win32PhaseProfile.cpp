#include "platform/win32/Win32PhaseProfile.h"

#include "platform/PhaseProfile.h"
#include "platform/win32/PhaseMarkLine.h"
#include "platform/win32/Win32Api.h"

namespace sw::win32 {

namespace {

char profilePath[MAX_PATH];

void WriteMark(const char* phase) { AppendPhaseMark(profilePath, phase); }

} // namespace

void StartPhaseProfileFromEnvironment() {
    const DWORD n = GetEnvironmentVariableA("SW_PHASE_PROFILE", profilePath, sizeof profilePath);
    SetPhaseSink(n > 0 && n < sizeof profilePath ? WriteMark : nullptr);
}

} // namespace sw::win32

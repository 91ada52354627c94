// The Win32 entry of the setup program.
#include "app/SetupProgram.h"
#include "platform/PhaseProfile.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32PhaseProfile.h"
#include "project/ProgramState.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int code;
    // Its own phase: the platform registers a window class, and that first
    // call of USER32 starts the display driver, under Wine a good part of
    // the program's start.
    sw::win32::StartPhaseProfileFromEnvironment();
    sw::MarkPhase("setup: create the platform");
    {
        sw::win32::Win32Platform platform;
        sw::MarkPhase("setup: start");
        sw::ScopedPlatform installed(platform.Get());
        // Ends before the platform: the application frees its windows first.
        sw::TProgramState state;
        code = sw::RunSetupProgram();
        sw::MarkPhase("setup: free the program's objects");
    }
    sw::MarkPhase("setup: end");
    return code;
}

// The Win32 entry of the setup program.
#include "app/SetupProgram.h"
#include "platform/PhaseProfile.h"
#include "platform/win32/Win32Platform.h"
#include "project/ProgramState.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int code;
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

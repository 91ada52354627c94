// The Win32 entry of the setup program.
#include "app/SetupProgram.h"
#include "platform/win32/Win32Platform.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    sw::win32::Win32Platform platform;
    sw::ScopedPlatform installed(platform.Get());
    return sw::RunSetupProgram();
}

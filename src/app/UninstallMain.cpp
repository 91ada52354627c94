// The Win32 entry of the uninstaller, uninstall.exe.
#include "engine/Uninstaller.h"
#include "platform/win32/Win32Platform.h"
#include "project/ProgramState.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    sw::win32::Win32Platform platform;
    sw::ScopedPlatform installed(platform.Get());
    sw::TProgramState state;
    return sw::RunUninstallProgram();
}

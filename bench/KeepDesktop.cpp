// Keeps Wine's desktop up between the warm installs of bench/wine-corpus.sh,
// as a started Windows keeps its shell: Wine ends its desktop process soon
// after the last program that used it, and the next program's first window
// then waits for a new one (under qemu-i386 most of a second). Ended by the
// bench with the wineserver.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // A message-only window: the desktop is used, nothing is shown.
    if (!CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr))
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}

/* The demo product's program. Started after the install, it notes the time
   of its first run in the value "FirstRun" that the install made for it in
   the product's registry key, and ends. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    HKEY key;
    SYSTEMTIME now;
    char text[32];
    (void)instance;
    (void)previous;
    (void)commandLine;
    (void)show;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Setwright Samples\\Setwright Demo", 0, KEY_SET_VALUE, &key) !=
        ERROR_SUCCESS)
        return 1;
    GetLocalTime(&now);
    wsprintfA(text, "%04d-%02d-%02d %02d:%02d", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute);
    RegSetValueExA(key, "FirstRun", 0, REG_SZ, (const BYTE*)text, (DWORD)lstrlenA(text) + 1);
    RegCloseKey(key);
    return 0;
}

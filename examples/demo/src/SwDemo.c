/* The demo product's program. Started after the install, it notes the time
   of its first run in the value "FirstRun" that the install made for it in
   the product's registry key, and ends. */
#include <windows.h>

/* The last `count` decimal digits of value, with leading zeros. */
static void Digits(char* out, unsigned value, int count) {
    while (count-- > 0) {
        out[count] = (char)('0' + value % 10);
        value /= 10;
    }
}

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
    Digits(text, now.wYear, 4);
    text[4] = '-';
    Digits(text + 5, now.wMonth, 2);
    text[7] = '-';
    Digits(text + 8, now.wDay, 2);
    text[10] = ' ';
    Digits(text + 11, now.wHour, 2);
    text[13] = ':';
    Digits(text + 14, now.wMinute, 2);
    text[16] = '\0';
    RegSetValueExA(key, "FirstRun", 0, REG_SZ, (const BYTE*)text, (DWORD)lstrlenA(text) + 1);
    RegCloseKey(key);
    return 0;
}

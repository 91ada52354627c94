/* A self-registering local server for the uninstaller's Wine test: /REGSERVER
   registers its class under HKEY_CLASSES_ROOT\CLSID, /UNREGSERVER removes it. */
#include <windows.h>

static const char kClassKey[] = "CLSID\\{5E1A7C1E-3D2B-4C6F-9A51-0B7E2D6A9C02}";
static const char kServerKey[] = "CLSID\\{5E1A7C1E-3D2B-4C6F-9A51-0B7E2D6A9C02}\\LocalServer32";

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    char path[MAX_PATH];
    HKEY key;
    DWORD length;
    (void)instance;
    (void)previous;
    (void)show;
    if (lstrcmpiA(commandLine, "/UNREGSERVER") == 0) {
        RegDeleteKeyA(HKEY_CLASSES_ROOT, kServerKey);
        RegDeleteKeyA(HKEY_CLASSES_ROOT, kClassKey);
        return 0;
    }
    if (lstrcmpiA(commandLine, "/REGSERVER") != 0)
        return 1;
    length = GetModuleFileNameA(NULL, path, MAX_PATH);
    if (length == 0 || RegCreateKeyA(HKEY_CLASSES_ROOT, kServerKey, &key) != ERROR_SUCCESS)
        return 2;
    RegSetValueExA(key, NULL, 0, REG_SZ, (const BYTE*)path, length + 1);
    RegCloseKey(key);
    return 0;
}

/* A minimal local COM server: /REGSERVER writes its class key with its own
   path, /UNREGSERVER removes it. With /HOLD <file> <seconds> it keeps the
   file open without sharing for that long, standing in for a program that
   uses it. A windowed program, so that starting it hidden shows nothing. */
#include <windows.h>
#include <stdlib.h>

#define CLASS_KEY "CLSID\\{6F8B2D3C-4A5E-4F60-9BAC-1D2E3F4A5B6C}"

static int RegisterServer(void) {
    char path[MAX_PATH];
    HKEY key;
    DWORD length = GetModuleFileNameA(NULL, path, sizeof path);
    if (length == 0 || RegCreateKeyA(HKEY_CLASSES_ROOT, CLASS_KEY "\\LocalServer32", &key) != ERROR_SUCCESS)
        return 1;
    LONG result = RegSetValueExA(key, NULL, 0, REG_SZ, (const BYTE*)path, length + 1);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? 0 : 1;
}

static int UnregisterServer(void) {
    RegDeleteKeyA(HKEY_CLASSES_ROOT, CLASS_KEY "\\LocalServer32");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, CLASS_KEY);
    return 0;
}

static int Hold(const char* path, int seconds) {
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 2;
    Sleep((DWORD)seconds * 1000);
    CloseHandle(file);
    return 0;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    (void)instance;
    (void)previous;
    (void)commandLine;
    (void)show;
    if (__argc >= 2 && lstrcmpiA(__argv[1], "/REGSERVER") == 0)
        return RegisterServer();
    if (__argc >= 2 && lstrcmpiA(__argv[1], "/UNREGSERVER") == 0)
        return UnregisterServer();
    if (__argc >= 4 && lstrcmpiA(__argv[1], "/HOLD") == 0)
        return Hold(__argv[2], atoi(__argv[3]));
    return 3;
}

/* A minimal local COM server: with /REGSERVER it writes its class key with
   its own path and ends. With /HOLD <file> <seconds> it keeps the file open
   without sharing for that long, standing in for a program that uses it. */
#include <windows.h>
#include <stdlib.h>
#include <string.h>

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

int main(int argc, char** argv) {
    if (argc >= 2 && _stricmp(argv[1], "/REGSERVER") == 0)
        return RegisterServer();
    if (argc >= 4 && _stricmp(argv[1], "/HOLD") == 0) {
        HANDLE file = CreateFileA(argv[2], GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
        if (file == INVALID_HANDLE_VALUE)
            return 2;
        Sleep((DWORD)atoi(argv[3]) * 1000);
        CloseHandle(file);
        return 0;
    }
    return 3;
}

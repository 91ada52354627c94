/* A self-registering in-process server for the uninstaller's Wine test: it
   registers its class under HKEY_CLASSES_ROOT\CLSID and removes it again. */
#include <windows.h>

static const char kClassKey[] = "CLSID\\{5E1A7C1E-3D2B-4C6F-9A51-0B7E2D6A9C01}";
static const char kServerKey[] = "CLSID\\{5E1A7C1E-3D2B-4C6F-9A51-0B7E2D6A9C01}\\InprocServer32";
static HINSTANCE self;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH)
        self = instance;
    return TRUE;
}

__declspec(dllexport) HRESULT __stdcall DllRegisterServer(void) {
    char path[MAX_PATH];
    HKEY key;
    DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    if (length == 0 || RegCreateKeyA(HKEY_CLASSES_ROOT, kServerKey, &key) != ERROR_SUCCESS)
        return E_FAIL;
    RegSetValueExA(key, NULL, 0, REG_SZ, (const BYTE*)path, length + 1);
    RegCloseKey(key);
    return S_OK;
}

__declspec(dllexport) HRESULT __stdcall DllUnregisterServer(void) {
    RegDeleteKeyA(HKEY_CLASSES_ROOT, kServerKey);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, kClassKey);
    return S_OK;
}

/* A minimal self-registering in-process COM server: DllRegisterServer writes
   its class key with the DLL's own path, DllUnregisterServer removes it. */
#include <windows.h>

#define CLASS_KEY "CLSID\\{5E7A1C2B-3F4D-4E5F-8A9B-0C1D2E3F4A5B}"

static HINSTANCE module;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH)
        module = instance;
    return TRUE;
}

__declspec(dllexport) HRESULT WINAPI DllRegisterServer(void) {
    char path[MAX_PATH];
    HKEY key;
    DWORD length = GetModuleFileNameA(module, path, sizeof path);
    if (length == 0 || RegCreateKeyA(HKEY_CLASSES_ROOT, CLASS_KEY "\\InprocServer32", &key) != ERROR_SUCCESS)
        return E_FAIL;
    LONG result = RegSetValueExA(key, NULL, 0, REG_SZ, (const BYTE*)path, length + 1);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? S_OK : E_FAIL;
}

__declspec(dllexport) HRESULT WINAPI DllUnregisterServer(void) {
    RegDeleteKeyA(HKEY_CLASSES_ROOT, CLASS_KEY "\\InprocServer32");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, CLASS_KEY);
    return S_OK;
}

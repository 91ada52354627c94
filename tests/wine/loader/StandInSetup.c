/* A stand-in for the setup program that the loading program starts: it
   appends what it was given, and the date of its own file, to the file
   SW_STANDIN_LOG names, may register
   a restart from its own folder (SW_STANDIN_RUNONCE), and ends with the exit
   code SW_STANDIN_EXIT. A GUI program without windows, as the setup program
   is. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR arguments, int show) {
    (void)instance, (void)previous, (void)arguments, (void)show;
    char module[MAX_PATH], folder[MAX_PATH], presetup[MAX_PATH + 16], date[32] = "none";
    const char* log = getenv("SW_STANDIN_LOG");
    const char* code = getenv("SW_STANDIN_EXIT");
    GetModuleFileNameA(NULL, module, sizeof module);
    GetCurrentDirectoryA(sizeof folder, folder);
    strcpy(presetup, module);
    strcpy(strrchr(presetup, '\\') + 1, "readme.txt");
    WIN32_FIND_DATAA found;
    FILETIME local;
    SYSTEMTIME t;
    HANDLE search = FindFirstFileA(module, &found);
    if (search != INVALID_HANDLE_VALUE && FindClose(search) &&
        FileTimeToLocalFileTime(&found.ftLastWriteTime, &local) && FileTimeToSystemTime(&local, &t))
        snprintf(date, sizeof date, "%04d-%02d-%02d %02d:%02d:%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                 t.wSecond);
    if (log) {
        FILE* f = fopen(log, "a");
        if (f) {
            fprintf(f, "cmdline=%s\nmodule=%s\ncwd=%s\ndate=%s\npresetup=%s\n", GetCommandLineA(), module, folder, date,
                    GetFileAttributesA(presetup) != INVALID_FILE_ATTRIBUTES ? "yes" : "no");
            fclose(f);
        }
    }
    if (getenv("SW_STANDIN_RUNONCE")) {
        HKEY key;
        char command[MAX_PATH + 8];
        snprintf(command, sizeof command, "\"%s\" -r", module);
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", 0, NULL, 0,
                            KEY_WRITE, NULL, &key, NULL) == ERROR_SUCCESS) {
            RegSetValueExA(key, "SwStandIn", 0, REG_SZ, (const BYTE*)command, (DWORD)strlen(command) + 1);
            RegCloseKey(key);
        }
    }
    return code ? atoi(code) : 0;
}

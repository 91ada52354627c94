/* A program that shows it was run: it writes the command line it got into
   "ran.txt" beside itself and ends. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    char path[MAX_PATH];
    const char* line = GetCommandLineA();
    DWORD written;
    DWORD length = GetModuleFileNameA(NULL, path, sizeof path);
    HANDLE file;
    (void)instance;
    (void)previous;
    (void)commandLine;
    (void)show;
    while (length > 0 && path[length - 1] != '\\')
        --length;
    if (length == 0 || length + 8 > sizeof path)
        return 1;
    lstrcpyA(path + length, "ran.txt");
    file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 2;
    WriteFile(file, line, (DWORD)lstrlenA(line), &written, NULL);
    CloseHandle(file);
    return 0;
}

// One line of the install's phase profile, appended to `path`:
// "<milliseconds since 1970, UTC> <process id> <phase>". Only kernel32 calls,
// so that the loading program (which has no C runtime) writes it too. The file
// is opened and closed per mark: the loading program and the setup program
// may both write it while both run.
#pragma once

#include <windows.h>

namespace sw::win32 {

inline void AppendPhaseMark(const char* path, const char* phase) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    // File times count 100 ns from 1601; 11644473600 s lie between 1601 and 1970.
    const unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    char line[160];
    DWORD n = 0;
    auto number = [&](unsigned long long v) {
        char digits[24];
        int k = 0;
        do
            digits[k++] = static_cast<char>('0' + v % 10);
        while (v /= 10);
        while (k)
            line[n++] = digits[--k];
    };
    number(ticks / 10000 - 11644473600000ULL);
    line[n++] = ' ';
    number(GetCurrentProcessId());
    line[n++] = ' ';
    for (const char* p = phase; *p && n < sizeof line - 2; ++p)
        line[n++] = *p;
    line[n++] = '\r';
    line[n++] = '\n';
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    SetFilePointer(file, 0, nullptr, FILE_END);
    DWORD written = 0;
    WriteFile(file, line, n, &written, nullptr);
    CloseHandle(file);
}

} // namespace sw::win32

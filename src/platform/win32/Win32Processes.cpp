#include "platform/win32/Win32Processes.h"

#include "platform/win32/Win32Handles.h"

namespace sw::win32 {

namespace {
UINT ShowCommand(WindowState state) {
    switch (state) {
    case WindowState::Hidden:
        return SW_HIDE;
    case WindowState::Normal:
        return SW_SHOWNORMAL;
    case WindowState::Minimized:
        return SW_SHOWMINIMIZED;
    case WindowState::Maximized:
        return SW_SHOWMAXIMIZED;
    }
    return SW_SHOWNORMAL;
}

bool EnableShutdownPrivilege() {
    TokenHandle token;
    TOKEN_PRIVILEGES privileges{};
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.Out()) ||
        !LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        return false;
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    return AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr);
}
} // namespace

StartResult Win32Processes::Start(const std::string& commandLine, WindowState state) {
    UINT code = WinExec(commandLine.c_str(), ShowCommand(state));
    StartResult result;
    result.Code = code;
    result.Started = code > 31;
    result.LastError = result.Started ? 0 : GetLastError();
    return result;
}

bool Win32Processes::RebootWindows(bool acquireShutdownPrivilege) {
    if (acquireShutdownPrivilege && !EnableShutdownPrivilege())
        return false;
    return ExitWindowsEx(EWX_REBOOT, 0);
}

} // namespace sw::win32

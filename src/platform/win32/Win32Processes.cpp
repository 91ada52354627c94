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

ServerRegistration Win32Processes::RegisterServerLibrary(const std::string& path) {
    using Outcome = ServerRegistration::Outcome;
    ServerRegistration result;
    const HRESULT ole = OleInitialize(nullptr);
    HMODULE library = LoadLibraryA(path.c_str());
    if (!library) {
        result.LastError = GetLastError();
    } else if (auto entry = reinterpret_cast<HRESULT(WINAPI*)()>(
                   reinterpret_cast<void*>(GetProcAddress(library, "DllRegisterServer")));
               !entry) {
        result.Result = Outcome::NoEntryPoint;
        result.LastError = GetLastError();
    } else {
        result.Code = entry();
        result.Result = result.Code == 0 ? Outcome::Registered : Outcome::Refused;
    }
    if (library)
        FreeLibrary(library);
    if (SUCCEEDED(ole))
        OleUninitialize();
    return result;
}

} // namespace sw::win32

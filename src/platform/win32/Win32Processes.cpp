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

std::optional<uint32_t> Win32Processes::RunAndWait(const std::string& commandLine, WindowState state,
                                                   uint32_t timeoutMilliseconds) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(ShowCommand(state));
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return std::nullopt;
    KernelHandle processHandle(process.hProcess);
    KernelHandle threadHandle(process.hThread);
    DWORD code = 0;
    if (WaitForSingleObject(process.hProcess, timeoutMilliseconds) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process.hProcess, &code))
        return std::nullopt;
    return code;
}

LibraryCallResult Win32Processes::CallLibraryFunction(const std::string& library, const std::string& function) {
    LibraryCallResult result;
    const HRESULT ole = OleInitialize(nullptr);
    HMODULE module = LoadLibraryA(library.c_str());
    if (!module) {
        result.LastError = GetLastError();
        if (SUCCEEDED(ole))
            OleUninitialize();
        return result;
    }
    using ServerFunction = LONG(__stdcall*)();
    auto address = reinterpret_cast<ServerFunction>(reinterpret_cast<void*>(GetProcAddress(module, function.c_str())));
    if (!address) {
        result.Result = LibraryCallResult::Outcome::NoExport;
        result.LastError = GetLastError();
    } else {
        result.Result = LibraryCallResult::Outcome::Called;
        result.Returned = address();
    }
    FreeLibrary(module);
    if (SUCCEEDED(ole))
        OleUninitialize();
    return result;
}

bool Win32Processes::RebootWindows(bool acquireShutdownPrivilege) {
    if (acquireShutdownPrivilege && !EnableShutdownPrivilege())
        return false;
    return ExitWindowsEx(EWX_REBOOT, 0);
}

} // namespace sw::win32

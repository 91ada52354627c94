// Starting programs and restarting Windows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace sw {

enum class WindowState { Hidden, Normal, Minimized, Maximized };

// The outcome of calling an exported function of a library.
struct LibraryCallResult {
    enum class Outcome { NotLoaded, NoExport, Called };
    Outcome Result = Outcome::NotLoaded;
    int32_t Returned = 0;   // the function's result when called
    uint32_t LastError = 0; // the system's last error when not called
};

struct StartResult {
    bool Started = false;
    uint32_t Code = 0;      // the system's result of the start (32 or more on success)
    uint32_t LastError = 0; // the system's last error after a failed start
};

class IProcesses {
  public:
    virtual ~IProcesses() = default;
    // Starts a command line (program path and arguments) without waiting for it.
    virtual StartResult Start(const std::string& commandLine, WindowState state) = 0;
    // Asks Windows to restart; acquireShutdownPrivilege enables the shutdown
    // privilege first, which Windows NT requires. False when any step fails.
    virtual bool RebootWindows(bool acquireShutdownPrivilege) = 0;
    // Starts a command line and waits for the program to end; its exit code,
    // or none when it cannot be started or has not ended within the time.
    virtual std::optional<uint32_t> RunAndWait(const std::string& commandLine, WindowState state,
                                               uint32_t timeoutMilliseconds) = 0;
    // Loads a library, calls its exported function of the form
    // HRESULT __stdcall f(void) (DllRegisterServer, DllUnregisterServer)
    // between OleInitialize and OleUninitialize, and unloads it again.
    virtual LibraryCallResult CallLibraryFunction(const std::string& library, const std::string& function) = 0;
};

} // namespace sw

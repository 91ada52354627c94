// Starting programs and restarting Windows.
#pragma once

#include <cstdint>
#include <string>

namespace sw {

enum class WindowState { Hidden, Normal, Minimized, Maximized };

struct StartResult {
    bool Started = false;
    uint32_t Code = 0;      // the system's result of the start (32 or more on success)
    uint32_t LastError = 0; // the system's last error after a failed start
};

// The outcome of loading a COM server library and calling its
// DllRegisterServer with OLE initialised.
struct ServerRegistration {
    enum class Outcome { Registered, LoadFailed, NoEntryPoint, Refused };
    Outcome Result = Outcome::LoadFailed;
    int32_t Code = 0;       // what DllRegisterServer returned (0 registers)
    uint32_t LastError = 0; // the system's last error after a failed load or look-up
};

class IProcesses {
  public:
    virtual ~IProcesses() = default;
    // Starts a command line (program path and arguments) without waiting for it.
    virtual StartResult Start(const std::string& commandLine, WindowState state) = 0;
    // Asks Windows to restart; acquireShutdownPrivilege enables the shutdown
    // privilege first, which Windows NT requires. False when any step fails.
    virtual bool RebootWindows(bool acquireShutdownPrivilege) = 0;
    // Loads the library, calls its "DllRegisterServer" export between
    // OleInitialize and OleUninitialize, and unloads it again.
    virtual ServerRegistration RegisterServerLibrary(const std::string& path) = 0;
};

} // namespace sw

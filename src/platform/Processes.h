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

class IProcesses {
  public:
    virtual ~IProcesses() = default;
    // Starts a command line (program path and arguments) without waiting for it.
    virtual StartResult Start(const std::string& commandLine, WindowState state) = 0;
    // Asks Windows to restart; acquireShutdownPrivilege enables the shutdown
    // privilege first, which Windows NT requires. False when any step fails.
    virtual bool RebootWindows(bool acquireShutdownPrivilege) = 0;
};

} // namespace sw

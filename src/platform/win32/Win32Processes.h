// Starting programs and restarting Windows through the Win32 API.
#pragma once

#include "platform/Processes.h"

namespace sw::win32 {

class Win32Processes : public IProcesses {
  public:
    StartResult Start(const std::string& commandLine, WindowState state) override;
    bool RebootWindows(bool acquireShutdownPrivilege) override;
    std::optional<uint32_t> RunAndWait(const std::string& commandLine, WindowState state,
                                       uint32_t timeoutMilliseconds) override;
    LibraryCallResult CallLibraryFunction(const std::string& library, const std::string& function) override;
};

} // namespace sw::win32

// Starting programs and restarting Windows through the Win32 API.
#pragma once

#include "platform/Processes.h"

namespace sw::win32 {

class Win32Processes : public IProcesses {
  public:
    StartResult Start(const std::string& commandLine, WindowState state) override;
    bool RebootWindows(bool acquireShutdownPrivilege) override;
};

} // namespace sw::win32

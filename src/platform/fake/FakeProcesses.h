// Records the programs started and the restarts asked for.
#pragma once

#include "platform/Processes.h"

#include <vector>

namespace sw::fake {

class FakeFileSystem;

class FakeProcesses : public IProcesses {
  public:
    struct Started {
        std::string CommandLine;
        WindowState State;
    };

    explicit FakeProcesses(FakeFileSystem& files) : files_(files) {}

    // A program given by its path must exist in the fake file system (".exe"
    // is tried too); a bare name counts as found on the search path. While
    // fail is set, every start and restart fails.
    void SetFail(bool fail) { fail_ = fail; }
    const std::vector<Started>& StartedPrograms() const { return started_; }
    // The privilege flag of each restart asked for.
    const std::vector<bool>& Reboots() const { return reboots_; }

    StartResult Start(const std::string& commandLine, WindowState state) override;
    bool RebootWindows(bool acquireShutdownPrivilege) override;

  private:
    bool ProgramExists(const std::string& commandLine);

    FakeFileSystem& files_;
    bool fail_ = false;
    std::vector<Started> started_;
    std::vector<bool> reboots_;
};

} // namespace sw::fake

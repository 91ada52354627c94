// Records the programs started and the restarts asked for.
#pragma once

#include "platform/Processes.h"

#include <map>
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

    // A library of the fake file system that exports a function, and what
    // the function returns when called.
    void AddLibraryFunction(const std::string& library, const std::string& function, int32_t result);
    // The exit code programs give RunAndWait; 0 until set. A batch file
    // (".bat") is run by the fake's command interpreter (FakeBatch.h) and
    // gives its own.
    void SetExitCode(uint32_t code) { exitCode_ = code; }
    // The functions called, as library + "!" + function, in order.
    const std::vector<std::string>& LibraryCalls() const { return libraryCalls_; }
    // The current folder at each of those calls.
    const std::vector<std::string>& LibraryCallFolders() const { return libraryCallFolders_; }

    StartResult Start(const std::string& commandLine, WindowState state) override;
    bool RebootWindows(bool acquireShutdownPrivilege) override;
    std::optional<uint32_t> RunAndWait(const std::string& commandLine, WindowState state,
                                       uint32_t timeoutMilliseconds) override;
    LibraryCallResult CallLibraryFunction(const std::string& library, const std::string& function) override;

  private:
    bool ProgramExists(const std::string& commandLine);

    FakeFileSystem& files_;
    bool fail_ = false;
    std::vector<Started> started_;
    std::vector<bool> reboots_;
    uint32_t exitCode_ = 0;
    // Upper-cased library path + "!" + function name -> result.
    std::map<std::string, int32_t> functions_;
    std::vector<std::string> libraryCalls_;
    std::vector<std::string> libraryCallFolders_;
};

} // namespace sw::fake

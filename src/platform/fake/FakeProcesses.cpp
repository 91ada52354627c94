#include "platform/fake/FakeProcesses.h"

#include "platform/CommandLine.h"
#include "platform/fake/FakeFileSystem.h"

namespace sw::fake {

namespace {
constexpr uint32_t kFileNotFound = 2;
}

bool FakeProcesses::ProgramExists(const std::string& commandLine) {
    auto args = SplitCommandLine(commandLine);
    if (args.empty())
        return false;
    const std::string& program = args.front();
    if (program.find_first_of("\\:") == std::string::npos)
        return true;
    return files_.FileExists(program) || files_.FileExists(program + ".exe");
}

StartResult FakeProcesses::Start(const std::string& commandLine, WindowState state) {
    if (fail_ || !ProgramExists(commandLine))
        return {false, kFileNotFound, kFileNotFound};
    started_.push_back({commandLine, state});
    return {true, 33, 0};
}

bool FakeProcesses::RebootWindows(bool acquireShutdownPrivilege) {
    if (fail_)
        return false;
    reboots_.push_back(acquireShutdownPrivilege);
    return true;
}

} // namespace sw::fake

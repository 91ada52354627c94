#include "platform/fake/FakeProcesses.h"

#include "platform/CommandLine.h"
#include "platform/fake/FakeBatch.h"
#include "platform/fake/FakeFileSystem.h"
#include "project/Text.h"

#include <algorithm>

namespace sw::fake {

namespace {
constexpr uint32_t kFileNotFound = 2;
constexpr uint32_t kBadExeFormat = 193;
constexpr uint32_t kProcNotFound = 127;
} // namespace

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

std::optional<uint32_t> FakeProcesses::RunAndWait(const std::string& commandLine, WindowState state, uint32_t) {
    if (!Start(commandLine, state).Started)
        return std::nullopt;
    const std::string program = SplitCommandLine(commandLine).front();
    if (program.size() >= 4 && SameText(program.substr(program.size() - 4), ".bat"))
        return RunFakeBatch(files_, program);
    return exitCode_;
}

void FakeProcesses::AddLibraryFunction(const std::string& library, const std::string& function, int32_t result) {
    functions_[UpperCase(library) + "!" + function] = result;
}

LibraryCallResult FakeProcesses::CallLibraryFunction(const std::string& library, const std::string& function) {
    const std::string prefix = UpperCase(library) + "!";
    auto isLibrary = [&](const auto& entry) { return entry.first.compare(0, prefix.size(), prefix) == 0; };
    // A bare name is found on the search path, as Windows would.
    const bool present = library.find_first_of("\\:") == std::string::npos || files_.FileExists(library);
    if (fail_ || !present)
        return {LibraryCallResult::Outcome::NotLoaded, 0, kFileNotFound};
    // A file that is no program of ours does not load, as Windows refuses a file of the wrong format.
    if (std::none_of(functions_.begin(), functions_.end(), isLibrary))
        return {LibraryCallResult::Outcome::NotLoaded, 0, kBadExeFormat};
    auto found = functions_.find(prefix + function);
    if (found == functions_.end())
        return {LibraryCallResult::Outcome::NoExport, 0, kProcNotFound};
    libraryCalls_.push_back(library + "!" + function);
    libraryCallFolders_.push_back(files_.CurrentDirectory());
    return {LibraryCallResult::Outcome::Called, found->second, 0};
}

bool FakeProcesses::RebootWindows(bool acquireShutdownPrivilege) {
    if (fail_)
        return false;
    reboots_.push_back(acquireShutdownPrivilege);
    return true;
}

} // namespace sw::fake

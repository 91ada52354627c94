#include "platform/fake/FakeProcesses.h"

#include "platform/CommandLine.h"
#include "platform/fake/FakeFileSystem.h"

#include <cctype>

namespace sw::fake {

namespace {
constexpr uint32_t kFileNotFound = 2;
constexpr uint32_t kModuleNotFound = 126;
constexpr uint32_t kProcedureNotFound = 127;
constexpr uint32_t kBadExeFormat = 193;

std::string LibraryKey(const std::string& path) {
    std::string key = path;
    for (char& c : key)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}
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

bool FakeProcesses::RebootWindows(bool acquireShutdownPrivilege) {
    if (fail_)
        return false;
    reboots_.push_back(acquireShutdownPrivilege);
    return true;
}

void FakeProcesses::SetLibrary(const std::string& path, std::optional<int32_t> registerResult) {
    libraries_[LibraryKey(path)] = registerResult;
}

ServerRegistration FakeProcesses::RegisterServerLibrary(const std::string& path) {
    using Outcome = ServerRegistration::Outcome;
    if (!files_.FileExists(path))
        return {Outcome::LoadFailed, 0, kModuleNotFound};
    auto library = libraries_.find(LibraryKey(path));
    if (library == libraries_.end())
        return {Outcome::LoadFailed, 0, kBadExeFormat};
    if (!library->second)
        return {Outcome::NoEntryPoint, 0, kProcedureNotFound};
    const int32_t code = *library->second;
    if (code != 0)
        return {Outcome::Refused, code, 0};
    registered_.push_back({path, files_.CurrentDirectory()});
    return {Outcome::Registered, 0, 0};
}

} // namespace sw::fake

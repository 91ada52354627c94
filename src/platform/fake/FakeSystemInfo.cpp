#include "platform/fake/FakeSystemInfo.h"

#include "platform/CommandLine.h"
#include "platform/fake/FakeFileSystem.h"
#include "project/Text.h"

#include <chrono>

namespace sw::fake {

std::string FakeSystemInfo::CurrentDirectory() { return files_.CurrentDirectory(); }

bool FakeSystemInfo::SetCurrentDirectory(const std::string& path) { return files_.SetCurrentDirectory(path); }

std::vector<std::string> FakeSystemInfo::Arguments() {
    auto args = SplitCommandLine(commandLine_);
    if (!args.empty())
        args.erase(args.begin());
    return args;
}

uint32_t FakeSystemInfo::TickCount() {
    if (ticks_)
        return *ticks_;
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

std::string FakeSystemInfo::WideToAnsi(std::u16string_view wide) { return WideToCodePage1252(wide); }

} // namespace sw::fake

// Facts about the running system and program.
#pragma once

#include "platform/FileStamp.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

// The values of the platform ids Windows reports.
enum class PlatformId : uint32_t { Win32s = 0, Windows = 1, NT = 2 };

struct OSVersion {
    uint32_t Major = 0;
    uint32_t Minor = 0;
    uint32_t Build = 0;
    PlatformId Platform = PlatformId::NT;
};

class ISystemInfo {
  public:
    virtual ~ISystemInfo() = default;
    // Folders without a trailing backslash; empty when the system fails.
    virtual std::string WindowsDirectory() = 0;
    virtual std::string SystemDirectory() = 0;
    // Empty when the version query fails.
    virtual std::optional<OSVersion> Version() = 0;
    virtual uint16_t UserDefaultLangId() = 0;
    virtual std::string CurrentDirectory() = 0;
    // False when the folder does not exist.
    virtual bool SetCurrentDirectory(const std::string& path) = 0;
    // Full path of the running program.
    virtual std::string ModulePath() = 0;
    // The arguments after the program name, split by SplitCommandLine.
    virtual std::vector<std::string> Arguments() = 0;
    // The command line as the system passed it, the program's name included.
    virtual std::string CommandLine() = 0;
    // The current local date and time, to the second.
    virtual FileDateTime LocalTime() = 0;
    // UTF-16 text in the system code page; what it cannot show becomes "?".
    virtual std::string WideToAnsi(std::u16string_view wide) = 0;
    // Milliseconds since the system started (GetTickCount), wrapping after
    // 2^32: only differences of two readings mean something.
    virtual uint32_t TickCount() = 0;
};

} // namespace sw

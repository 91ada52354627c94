// Shell link files (.lnk) through the shell's link object and its
// persist-file interface. Results are the COM result codes (0 is success).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace sw {

// COM result codes the engine names in its messages.
namespace hresult {
inline constexpr int32_t Ok = 0;
inline constexpr int32_t Unexpected = static_cast<int32_t>(0x8000FFFF);
inline constexpr int32_t NoAggregation = static_cast<int32_t>(0x80040110);
inline constexpr int32_t ClassNotRegistered = static_cast<int32_t>(0x80040154);
inline constexpr int32_t OutOfMemory = static_cast<int32_t>(0x8007000E);
inline constexpr int32_t InvalidArgument = static_cast<int32_t>(0x80070057);
inline constexpr int32_t AccessDenied = static_cast<int32_t>(0x80070005);
} // namespace hresult

struct ShellLink {
    std::string Target;
    std::string Arguments;
    std::string WorkingDirectory;
    // Virtual key in the low byte, modifier flags in the high byte; 0 is none.
    uint16_t HotKey = 0;
    // Read back only: the link's icon location, empty when it has none.
    std::string IconPath;
    int32_t IconIndex = 0;
};

// Where a failed save stopped, and the code of the failing call.
struct ShellLinkResult {
    int32_t Code = hresult::Ok;
    bool Failed() const { return Code < 0; }
};

class IShellLinks {
  public:
    virtual ~IShellLinks() = default;
    // Initializes COM for the calling thread once; a thread that has it
    // already succeeds.
    virtual int32_t InitializeCom() = 0;
    // Creates the link object, sets the target, hot key, arguments and
    // working directory in that order, and saves it to `file` (at most 260
    // characters once converted to UTF-16). The first failing call ends it.
    virtual ShellLinkResult Save(const std::string& file, const ShellLink& link) = 0;
    // The link stored in `file`; none when it cannot be loaded.
    virtual std::optional<ShellLink> Load(const std::string& file) = 0;
    // The system's text for a result code, without a final line break.
    virtual std::string ErrorMessage(int32_t code) = 0;
};

} // namespace sw

// System facts through the Win32 ANSI API.
#pragma once

#include "platform/SystemInfo.h"

namespace sw::win32 {

class Win32SystemInfo : public ISystemInfo {
  public:
    std::string WindowsDirectory() override;
    std::string SystemDirectory() override;
    std::optional<OSVersion> Version() override;
    uint16_t UserDefaultLangId() override;
    std::string CurrentDirectory() override;
    bool SetCurrentDirectory(const std::string& path) override;
    std::string ModulePath() override;
    std::vector<std::string> Arguments() override;
    std::string CommandLine() override;
    FileDateTime LocalTime() override;
    std::string WideToAnsi(std::u16string_view wide) override;
    uint32_t TickCount() override;
};

} // namespace sw::win32

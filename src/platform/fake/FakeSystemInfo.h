// System facts set by the test; the current folder lives in the fake file system.
#pragma once

#include "platform/SystemInfo.h"

namespace sw::fake {

class FakeFileSystem;

class FakeSystemInfo : public ISystemInfo {
  public:
    explicit FakeSystemInfo(FakeFileSystem& files) : files_(files) {}

    void SetWindowsDirectory(std::string path) { windowsDirectory_ = std::move(path); }
    void SetSystemDirectory(std::string path) { systemDirectory_ = std::move(path); }
    // Empty makes the version query fail.
    void SetVersion(std::optional<OSVersion> version) { version_ = version; }
    void SetUserDefaultLangId(uint16_t id) { langId_ = id; }
    void SetModulePath(std::string path) { modulePath_ = std::move(path); }
    // The whole command line, program name first.
    void SetCommandLine(std::string commandLine) { commandLine_ = std::move(commandLine); }
    void SetLocalTime(const FileDateTime& now) { now_ = now; }
    // Pins the tick count; none (the default): the milliseconds of the
    // host's steady clock, so that loops timed by it behave as on Windows.
    void SetTickCount(std::optional<uint32_t> ticks) { ticks_ = ticks; }

    std::string WindowsDirectory() override { return windowsDirectory_; }
    std::string SystemDirectory() override { return systemDirectory_; }
    std::optional<OSVersion> Version() override { return version_; }
    uint16_t UserDefaultLangId() override { return langId_; }
    std::string CurrentDirectory() override;
    bool SetCurrentDirectory(const std::string& path) override;
    std::string ModulePath() override { return modulePath_; }
    std::vector<std::string> Arguments() override;
    std::string CommandLine() override { return commandLine_; }
    FileDateTime LocalTime() override { return now_; }
    // The fake system's code page is 1252.
    std::string WideToAnsi(std::u16string_view wide) override;
    uint32_t TickCount() override;

  private:
    FakeFileSystem& files_;
    std::string windowsDirectory_ = "C:\\WINDOWS";
    std::string systemDirectory_ = "C:\\WINDOWS\\SYSTEM";
    std::optional<OSVersion> version_ = OSVersion{4, 10, 2222, PlatformId::Windows};
    uint16_t langId_ = 0x0409;
    std::string modulePath_ = "C:\\SETUP\\SETUP.EXE";
    std::string commandLine_ = "C:\\SETUP\\SETUP.EXE";
    FileDateTime now_{2001, 2, 3, 14, 15, 16};
    std::optional<uint32_t> ticks_;
};

} // namespace sw::fake

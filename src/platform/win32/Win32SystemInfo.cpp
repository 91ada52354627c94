#include "platform/win32/Win32SystemInfo.h"

#include "platform/FileNames.h"
#include "platform/CommandLine.h"
#include "platform/win32/Win32Api.h"

namespace sw::win32 {

namespace {
// The text a size-returning function writes, or empty on failure.
template <typename F> std::string Fetch(F get) {
    char buffer[MAX_PATH];
    UINT n = get(buffer, static_cast<UINT>(sizeof buffer));
    return n == 0 || n >= sizeof buffer ? std::string() : std::string(buffer, n);
}

} // namespace

std::string Win32SystemInfo::WindowsDirectory() {
    return WithoutTrailingBackslash(Fetch([](char* b, UINT n) { return GetWindowsDirectoryA(b, n); }));
}

std::string Win32SystemInfo::SystemDirectory() {
    return WithoutTrailingBackslash(Fetch([](char* b, UINT n) { return GetSystemDirectoryA(b, n); }));
}

std::optional<OSVersion> Win32SystemInfo::Version() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info))
        return std::nullopt;
    OSVersion v;
    v.Major = info.dwMajorVersion;
    v.Minor = info.dwMinorVersion;
    // The Windows 95 family keeps the major and minor version in the high word.
    v.Build = info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? info.dwBuildNumber & 0xFFFF : info.dwBuildNumber;
    v.Platform = static_cast<PlatformId>(info.dwPlatformId);
    return v;
}

uint16_t Win32SystemInfo::UserDefaultLangId() { return GetUserDefaultLangID(); }

std::string Win32SystemInfo::CurrentDirectory() {
    return Fetch([](char* b, UINT n) { return static_cast<UINT>(GetCurrentDirectoryA(n, b)); });
}

bool Win32SystemInfo::SetCurrentDirectory(const std::string& path) { return SetCurrentDirectoryA(path.c_str()); }

std::string Win32SystemInfo::ModulePath() {
    return Fetch([](char* b, UINT n) { return static_cast<UINT>(GetModuleFileNameA(nullptr, b, n)); });
}

std::string Win32SystemInfo::CommandLine() { return GetCommandLineA(); }

std::vector<std::string> Win32SystemInfo::Arguments() {
    auto args = SplitCommandLine(GetCommandLineA());
    if (!args.empty())
        args.erase(args.begin());
    return args;
}

uint32_t Win32SystemInfo::TickCount() { return GetTickCount(); }

FileDateTime Win32SystemInfo::LocalTime() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::string Win32SystemInfo::WideToAnsi(std::u16string_view wide) {
    if (wide.empty())
        return {};
    const auto* units = reinterpret_cast<const wchar_t*>(wide.data());
    int count = static_cast<int>(wide.size());
    int bytes = WideCharToMultiByte(CP_ACP, 0, units, count, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return std::string(wide.size(), '?');
    std::string text(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, units, count, text.data(), bytes, nullptr, nullptr);
    return text;
}

} // namespace sw::win32

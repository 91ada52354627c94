#include "system/SystemHelpers.h"

#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "project/Text.h"
#include "system/InstallErrors.h"

namespace sw {

std::string IncludeTrailingBackslash(const std::string& path) {
    if (path.empty() || path.back() == '\\')
        return path;
    return path + "\\";
}

std::string ExcludeTrailingBackslash(const std::string& path) {
    if (!path.empty() && path.back() == '\\')
        return path.substr(0, path.size() - 1);
    return path;
}

std::string ExtractFileDir(const std::string& path) {
    size_t pos = path.find_last_of("\\:");
    if (pos == std::string::npos)
        return {};
    if (path[pos] == ':')
        return path.substr(0, pos + 1);
    return path.substr(0, pos);
}

std::string ExtractFileDrive(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':')
        return path.substr(0, 2);
    if (path.rfind("\\\\", 0) != 0)
        return {};
    const size_t server = path.find('\\', 2);
    if (server == std::string::npos)
        return path;
    return path.substr(0, path.find('\\', server + 1));
}

std::string ChangeFileExt(const std::string& path, const std::string& extension) {
    const size_t dot = path.find_last_of(".\\:");
    if (dot == std::string::npos || path[dot] != '.')
        return path + extension;
    return path.substr(0, dot) + extension;
}

std::string ExtractFileExt(const std::string& path) {
    const size_t dot = path.find_last_of(".\\:");
    return dot == std::string::npos || path[dot] != '.' ? std::string() : path.substr(dot);
}

std::string ExtractFileName(const std::string& path) {
    size_t pos = path.find_last_of("\\:");
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string WindowsDirectory() {
    std::string dir = GetPlatform().System->WindowsDirectory();
    if (dir.empty())
        throw EAPIRoutines("Could not retrieve the windows directory from windows");
    return dir;
}

std::string SystemDirectory() {
    std::string dir = GetPlatform().System->SystemDirectory();
    if (dir.empty())
        throw EAPIRoutines("Could not retrieve the system directroy from windows");
    return dir;
}

int WindowsVersion() {
    std::optional<OSVersion> version = GetPlatform().System->Version();
    if (!version)
        throw EAPIRoutines("Could not get information about the current version of Windows");
    switch (version->Platform) {
    case PlatformId::Win32s:
        return wvWin32s;
    case PlatformId::Windows:
        return wvWindows95;
    case PlatformId::NT: {
        const std::string text = std::to_string(version->Major) + "." + std::to_string(version->Minor);
        return text.find("3.5") == std::string::npos ? wvWindowsNT : wvWindowsNT35;
    }
    }
    return wvOther;
}

std::string MakeTempFileName(bool keep) {
    IFileSystem& files = *GetPlatform().Files;
    std::optional<std::string> name = files.MakeTempFile(files.TempDirectory(), "bat");
    if (!name)
        throw EAPIRoutines("Cannot create a temporary file");
    if (!keep)
        files.DeleteFile(*name);
    return *name;
}

std::string ShortPathName(const std::string& path) {
    std::optional<std::string> shortPath = GetPlatform().Files->ShortPathName(path);
    if (!shortPath)
        throw EAPIRoutines(Format("Could not get the short path of %s", {path}));
    return *shortPath;
}

} // namespace sw

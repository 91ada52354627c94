#include "system/SystemHelpers.h"

#include "platform/Platform.h"
#include "platform/SystemInfo.h"
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

} // namespace sw

#include "platform/win32/Win32VersionResources.h"

#include "platform/win32/Win32Api.h"

// <winver.h> maps the name to the A or W function; the method keeps its own.
#undef GetFileVersionInfo

namespace sw::win32 {

std::optional<std::string> Win32VersionResources::GetFileVersionInfo(const std::string& path) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0)
        return std::nullopt;
    std::string block(size, '\0');
    if (!GetFileVersionInfoA(path.c_str(), handle, size, block.data()))
        return std::nullopt;
    return block;
}

} // namespace sw::win32

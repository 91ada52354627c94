#include "archive/ArchivePaths.h"

#include "project/Text.h"

namespace sw::archive {

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
    const size_t dot = path.find_last_of(".\\:");
    if (dot == std::string::npos || path[dot] != '.')
        return path + ext;
    return path.substr(0, dot) + ext;
}

std::string VolumeName(const std::string& firstVolume, int n) {
    return ChangeFileExt(firstVolume, "." + std::to_string(n));
}

bool IsSafeFileName(const std::string& name) {
    if (Trim(name).empty() || name == "." || name == ".." || name.back() == '.' || name.back() == ' ')
        return false;
    for (unsigned char c : name)
        if (c < 32 || std::string_view("<>:\"/\\|?*").find(static_cast<char>(c)) != std::string_view::npos)
            return false;
    // Device names are reserved with any extension.
    const std::string stem = UpperCase(Trim(name.substr(0, name.find('.'))));
    static const char* const devices[] = {"CON",  "PRN",  "AUX",  "NUL",  "CLOCK$", "COM1", "COM2", "COM3",
                                          "COM4", "COM5", "COM6", "COM7", "COM8",   "COM9", "LPT1", "LPT2",
                                          "LPT3", "LPT4", "LPT5", "LPT6", "LPT7",   "LPT8", "LPT9"};
    for (const char* device : devices)
        if (stem == device)
            return false;
    return true;
}

} // namespace sw::archive

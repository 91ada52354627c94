#include "shortcuts/ShortcutPlacement.h"

#include "project/Text.h"

namespace sw {

namespace {

bool IsDeviceName(const std::string& part) {
    const std::string base = UpperCase(Trim(part.substr(0, part.find('.'))));
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CLOCK$", "CONIN$", "CONOUT$"})
        if (base == device)
            return true;
    return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '1' &&
           base[3] <= '9';
}

bool IsPlainPart(const std::string& part) {
    if (part.empty() || Trim(part) == "." || Trim(part) == ".." || IsDeviceName(part))
        return false;
    for (unsigned char c : part)
        if (c < 32 || std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
            return false;
    return true;
}

} // namespace

bool IsPlainFileName(const std::string& name) { return IsPlainPart(name); }

bool StaysBelow(const std::string& relativeFolder) {
    if (relativeFolder.starts_with("\\\\") || relativeFolder.starts_with("//"))
        return false;
    size_t start = 0;
    while (start <= relativeFolder.size()) {
        size_t end = relativeFolder.find_first_of("\\/", start);
        if (end == std::string::npos)
            end = relativeFolder.size();
        const std::string part = relativeFolder.substr(start, end - start);
        // Empty parts come from the leading backslash or a doubled one.
        if (!part.empty() && Trim(part) != "." && !IsPlainPart(part))
            return false;
        start = end + 1;
    }
    return true;
}

} // namespace sw

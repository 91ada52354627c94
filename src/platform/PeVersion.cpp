#include "platform/PeVersion.h"

#include "platform/PeImage.h"

#include <cstdint>
#include <vector>

namespace sw {

namespace {

constexpr uint32_t kRtVersion = 16;
constexpr uint32_t kVsVersionInfo = 1;
using pe::Fits;
using pe::Le16;
using pe::Le32;

std::optional<std::string_view> FindPeVersion(std::string_view image, size_t peOffset) {
    return pe::FindResource(image, peOffset, kRtVersion, kVsVersionInfo);
}

// ---- NE ------------------------------------------------------------------

std::optional<std::string_view> FindNeVersion(std::string_view image, size_t neOffset) {
    constexpr uint16_t kType = 0x8000 | kRtVersion;
    constexpr uint16_t kName = 0x8000 | kVsVersionInfo;
    if (!Fits(image, neOffset, 0x28))
        return std::nullopt;
    size_t pos = neOffset + Le16(image, neOffset + 0x24);
    if (!Fits(image, pos, 2))
        return std::nullopt;
    const uint16_t shift = Le16(image, pos);
    if (shift > 16)
        return std::nullopt;
    pos += 2;
    // Each type block moves pos forward by at least 8 bytes.
    while (Fits(image, pos, 2)) {
        const uint16_t type = Le16(image, pos);
        if (type == 0 || !Fits(image, pos, 8))
            return std::nullopt;
        const uint16_t count = Le16(image, pos + 2);
        const size_t names = pos + 8;
        if (!Fits(image, names, static_cast<uint64_t>(count) * 12))
            return std::nullopt;
        if (type == kType) {
            for (size_t i = 0; i < count; ++i) {
                const size_t n = names + i * 12;
                if (Le16(image, n + 6) != kName)
                    continue;
                const uint64_t offset = static_cast<uint64_t>(Le16(image, n)) << shift;
                const uint64_t length = static_cast<uint64_t>(Le16(image, n + 2)) << shift;
                if (!Fits(image, offset, length))
                    return std::nullopt;
                return image.substr(offset, length);
            }
            return std::nullopt;
        }
        pos = names + static_cast<size_t>(count) * 12;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string_view> FindVersionResource(std::string_view image) {
    if (!Fits(image, 0, 0x40) || image.substr(0, 2) != "MZ")
        return std::nullopt;
    const uint32_t header = Le32(image, 0x3C);
    if (!Fits(image, header, 4))
        return std::nullopt;
    const std::string_view signature = image.substr(header, 4);
    if (signature == std::string_view("PE\0\0", 4))
        return FindPeVersion(image, header);
    if (signature.substr(0, 2) == "NE")
        return FindNeVersion(image, header);
    return std::nullopt;
}

} // namespace sw

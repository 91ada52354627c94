#include "platform/PortableResources.h"

#include "platform/PeImage.h"

namespace sw {

namespace {

constexpr uint32_t kRtBitmap = 2;
constexpr uint32_t kRtRcData = 10;

} // namespace

std::optional<std::vector<uint8_t>> TPortableResources::Find(ResourceType type, const std::string& name) {
    const std::string_view image = image_;
    if (!pe::Fits(image, 0, 0x40) || image.substr(0, 2) != "MZ")
        return std::nullopt;
    const uint32_t header = pe::Le32(image, 0x3C);
    if (!pe::Fits(image, header, 4) || image.substr(header, 4) != std::string_view("PE\0\0", 4))
        return std::nullopt;
    const auto bytes = pe::FindResource(image, header, type == ResourceType::Bitmap ? kRtBitmap : kRtRcData, name);
    if (!bytes)
        return std::nullopt;
    return std::vector<uint8_t>(bytes->begin(), bytes->end());
}

} // namespace sw

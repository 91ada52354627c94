// Resources of the program's own executable.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sw {

enum class ResourceType { RCData, Bitmap };

class IResources {
  public:
    virtual ~IResources() = default;
    // The bytes of the resource as stored, found by type and name (names
    // compare without regard to case); empty when there is none. A BITMAP
    // resource is stored without the 14-byte file header of a .bmp file: its
    // bytes start with the BITMAPINFOHEADER.
    virtual std::optional<std::vector<uint8_t>> Find(ResourceType type, const std::string& name) = 0;
};

} // namespace sw

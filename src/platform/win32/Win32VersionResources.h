// Version blocks from the system's own functions (GetFileVersionInfoSizeA and
// GetFileVersionInfoA). The block is returned whole, with the room the system
// keeps after it; the queries read only up to the root's wLength.
#pragma once

#include "platform/VersionResources.h"

namespace sw::win32 {

class Win32VersionResources : public IVersionResources {
  public:
    std::optional<std::string> GetFileVersionInfo(const std::string& path) override;
};

} // namespace sw::win32

// Real files, where every file created in a folder below a drive folder
// holds at most a given number of bytes: a write past it stores what fits
// and fails as on a full disk. Stands in for a box of small floppies.
#pragma once

#include "platform/win32/Win32FileSystem.h"

#include <cstdint>
#include <string>

namespace sw::test {

class SmallDisks : public win32::Win32FileSystem {
  public:
    SmallDisks(std::string drives, uint64_t bytesPerDisk)
        : drives_(std::move(drives)), bytesPerDisk_(bytesPerDisk) {}

    std::unique_ptr<IFile> OpenFile(const std::string& path, FileMode mode) override;

  private:
    std::string drives_;
    uint64_t bytesPerDisk_;
};

} // namespace sw::test

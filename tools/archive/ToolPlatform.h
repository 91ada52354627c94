// The platform the archive tool runs on: the real files of the system it
// runs on, with no GUI, and paths given on the command line in that
// system's own form.
#pragma once

#include "platform/Platform.h"

#include <cstdint>
#include <memory>
#include <string>

class TToolPlatform {
  public:
    TToolPlatform();
    ~TToolPlatform();

    sw::Platform Get();
    // From now on every file created holds at most bytes, as on disks of
    // that size.
    void LimitFileSizes(uint64_t bytes);
    // The engine's (Windows-form) path of a path given on the command line;
    // raises sw::Exception when it cannot be named.
    std::string EnginePath(const std::string& argument) const;

  private:
    struct TParts;
    std::unique_ptr<TParts> parts_;
};

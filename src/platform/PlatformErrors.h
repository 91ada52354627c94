// Failures of the platform layer. The engine catches them and raises its own
// error classes with its own messages.
#pragma once

#include "project/Errors.h"

namespace sw {

class EPlatformError : public Exception {
    using Exception::Exception;
};

// A registry key or value could not be created, written or deleted.
class ERegistryError : public EPlatformError {
    using EPlatformError::EPlatformError;
};

// Reading or writing an open file failed; DiskFull tells a full disk apart.
class EFileIOError : public EPlatformError {
  public:
    EFileIOError(std::string message, bool diskFull) : EPlatformError(std::move(message)), DiskFull(diskFull) {}
    bool DiskFull;
};

} // namespace sw

// Failures of the platform layer. The engine catches them and raises its own
// error classes with its own messages.
#pragma once

#include "project/Errors.h"

#include <cstdint>

namespace sw {

// Code is the system's error code for the failure (GetLastError or the
// code a registry call returned), 0 when the system gave none; the messages
// that quote it take it from here.
class EPlatformError : public Exception {
  public:
    explicit EPlatformError(std::string message, uint32_t code = 0) : Exception(std::move(message)), Code(code) {}
    uint32_t Code;
};

// A registry key or value could not be created, written or deleted.
class ERegistryError : public EPlatformError {
    using EPlatformError::EPlatformError;
};

// Reading or writing an open file failed; DiskFull tells a full disk apart.
class EFileIOError : public EPlatformError {
  public:
    EFileIOError(std::string message, bool diskFull, uint32_t code = 0)
        : EPlatformError(std::move(message), code), DiskFull(diskFull) {}
    bool DiskFull;
};

} // namespace sw

// Resources of a PE image (32-bit or 64-bit), found by walking its section
// table and resource directory tree. Every offset and size is checked against
// the bytes given; anything inconsistent means "no such resource". The walk
// has a fixed depth, so a cyclic resource directory cannot make it loop.
#pragma once

#include "platform/LittleEndian.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace sw::pe {

// Whether len bytes at off lie within d; the readers below need it.
inline bool Fits(std::string_view d, uint64_t off, uint64_t len) { return off <= d.size() && len <= d.size() - off; }

using sw::Le16;
using sw::Le32;

// The bytes of the resource of the given type and name (a number, or a text
// compared without regard to case) in the PE image whose "PE" signature is at
// peOffset. Among several languages the neutral one is taken, then US
// English, then the first.
std::optional<std::string_view> FindResource(std::string_view image, size_t peOffset, uint32_t type, uint32_t id);
std::optional<std::string_view> FindResource(std::string_view image, size_t peOffset, uint32_t type,
                                             std::string_view name);

} // namespace sw::pe

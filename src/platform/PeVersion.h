// Finds the version resource (type 16, name 1) in the bytes of an executable:
// a 32-bit or 64-bit PE image, or a 16-bit NE image. Every offset and size is
// checked against the bytes given; anything inconsistent means "no version
// resource". The walk has a fixed depth, so a cyclic resource directory
// cannot make it loop.
#pragma once

#include <optional>
#include <string_view>

namespace sw {

// The resource's bytes (a view into image), or nothing. Among several
// languages the neutral one is taken, then US English, then the first.
std::optional<std::string_view> FindVersionResource(std::string_view image);

} // namespace sw

// The running program's own resources: form streams and bitmaps.
#pragma once

#include "platform/Resources.h"
#include "project/Component.h"

#include <string>
#include <string_view>

namespace sw {

// The bytes of resource `name`; raises EResNotFound "Resource %s not found"
// when the program has none.
std::string LoadResourceBytes(ResourceType type, std::string_view name);

// Reads the RCDATA resource `name` of the running program into `root` (or a
// new root when null) and returns the root.
TComponent* ReadComponentResource(std::string_view name, TComponent* root);

} // namespace sw

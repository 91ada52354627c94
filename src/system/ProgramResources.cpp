#include "system/ProgramResources.h"

#include "platform/Platform.h"
#include "project/Errors.h"
#include "project/Reader.h"
#include "project/Text.h"

namespace sw {

std::string LoadResourceBytes(ResourceType type, std::string_view name) {
    auto bytes = GetPlatform().Resources->Find(type, std::string(name));
    if (!bytes)
        throw EResNotFound(Format("Resource %s not found", {name}));
    return std::string(bytes->begin(), bytes->end());
}

TComponent* ReadComponentResource(std::string_view name, TComponent* root) {
    return ReadComponentStream(LoadResourceBytes(ResourceType::RCData, name), root);
}

} // namespace sw

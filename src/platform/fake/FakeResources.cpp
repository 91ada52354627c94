#include "platform/fake/FakeResources.h"

#include "project/Text.h"

namespace sw::fake {

void FakeResources::Add(ResourceType type, const std::string& name, std::vector<uint8_t> bytes) {
    resources_[{type, UpperCase(name)}] = std::move(bytes);
}

std::optional<std::vector<uint8_t>> FakeResources::Find(ResourceType type, const std::string& name) {
    auto it = resources_.find({type, UpperCase(name)});
    if (it == resources_.end())
        return std::nullopt;
    return it->second;
}

} // namespace sw::fake

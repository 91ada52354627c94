#include "project/ClassRegistry.h"

#include "project/Text.h"

#include <vector>

namespace sw {

namespace {
std::vector<TRegisteredClass>& Registry() {
    static std::vector<TRegisteredClass> classes;
    return classes;
}
} // namespace

void RegisterClass(const TClassInfo& info, TComponentFactory create) {
    for (auto& c : Registry())
        if (SameText(c.Info->Name, info.Name)) {
            c = {&info, create};
            return;
        }
    Registry().push_back({&info, create});
}

const TRegisteredClass* FindClass(std::string_view name) {
    for (const auto& c : Registry())
        if (SameText(c.Info->Name, name))
            return &c;
    return nullptr;
}

void UnregisterAllClasses() { Registry().clear(); }

} // namespace sw

#include "project/ClassRegistry.h"

#include "project/ProgramState.h"
#include "project/Text.h"

#include <vector>

namespace sw {

namespace {
std::vector<TRegisteredClass>& Registry() { return ProgramPart<TClassRegistry>().Classes; }
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

} // namespace sw

#include "platform/Platform.h"

#include "project/Errors.h"

namespace sw {

namespace {
Platform current;
bool installed = false;
} // namespace

Platform& GetPlatform() {
    if (!installed)
        throw Exception("No platform is installed");
    return current;
}

void SetPlatform(const Platform& p) {
    current = p;
    installed = true;
}

ScopedPlatform::ScopedPlatform(const Platform& p) : previous_(current), hadPrevious_(installed) { SetPlatform(p); }

ScopedPlatform::~ScopedPlatform() {
    current = previous_;
    installed = hadPrevious_;
}

} // namespace sw

#include "platform/Platform.h"

#include "platform/SystemInfo.h"
#include "project/Errors.h"
#include "project/Text.h"

namespace sw {

namespace {

Platform current;
bool installed = false;

// Text read from streams converts through the installed system's code page.
void Install(const Platform& p, bool on) {
    current = p;
    installed = on;
    ISystemInfo* system = on ? p.System : nullptr;
    SetWideToAnsi(system ? TWideToAnsi([system](std::u16string_view w) { return system->WideToAnsi(w); })
                         : TWideToAnsi());
}

} // namespace

Platform& GetPlatform() {
    if (!installed)
        throw Exception("No platform is installed");
    return current;
}

void SetPlatform(const Platform& p) { Install(p, true); }

ScopedPlatform::ScopedPlatform(const Platform& p) : previous_(current), hadPrevious_(installed) { SetPlatform(p); }

ScopedPlatform::~ScopedPlatform() { Install(previous_, hadPrevious_); }

} // namespace sw

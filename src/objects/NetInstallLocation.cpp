#include "objects/NetInstallLocation.h"

namespace sw {

namespace {
TCustomNetInstallLocation* globalLocation = nullptr;
}

SW_CLASS_INFO(TCustomNetInstallLocation, TComponent)

TCustomNetInstallLocation::~TCustomNetInstallLocation() {
    if (globalLocation == this)
        globalLocation = nullptr;
}

TCustomNetInstallLocation* GlobalNetLocation() { return globalLocation; }
void SetGlobalNetLocation(TCustomNetInstallLocation* location) { globalLocation = location; }

} // namespace sw

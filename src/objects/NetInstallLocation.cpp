#include "objects/NetInstallLocation.h"

#include "objects/InstallLists.h"
#include "project/ProgramState.h"

namespace sw {

SW_CLASS_INFO(TCustomNetInstallLocation, TComponent)

TCustomNetInstallLocation::~TCustomNetInstallLocation() {
    if (HasProgramState() && GlobalNetLocation() == this)
        SetGlobalNetLocation(nullptr);
}

TCustomNetInstallLocation* GlobalNetLocation() { return InstallObjectsState().DefaultNetLocation; }
void SetGlobalNetLocation(TCustomNetInstallLocation* location) { InstallObjectsState().DefaultNetLocation = location; }

} // namespace sw

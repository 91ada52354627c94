#include "objects/NetInstallLocation.h"

#include "objects/InstallLists.h"
#include "project/Errors.h"
#include "project/ProgramState.h"

namespace sw {

SW_CLASS_INFO(TCustomNetInstallLocation, TComponent)

TCustomNetInstallLocation::~TCustomNetInstallLocation() {
    if (HasProgramState() && GlobalNetLocation() == this)
        SetGlobalNetLocation(nullptr);
}

bool TCustomNetInstallLocation::LoginInformationValid() const {
    throw ENotBuiltYet("The login information of " + Name());
}

void TCustomNetInstallLocation::Download(const std::string&, const std::string&) {
    throw ENotBuiltYet("The download from " + Name());
}

TCustomNetInstallLocation* GlobalNetLocation() { return InstallObjectsState().DefaultNetLocation; }
void SetGlobalNetLocation(TCustomNetInstallLocation* location) { InstallObjectsState().DefaultNetLocation = location; }

bool DownloadAbortFlag() { return InstallObjectsState().DownloadAborted; }
void SetDownloadAbortFlag(bool aborted) { InstallObjectsState().DownloadAborted = aborted; }

} // namespace sw

#include "system/InstallDriverContext.h"

#include "project/ProgramState.h"

namespace sw {

IInstallDriverContext* InstallDriverContext() { return ProgramPart<TDriverSlot>().Driver; }

void SetInstallDriverContext(IInstallDriverContext* driver) { ProgramPart<TDriverSlot>().Driver = driver; }

TDistributeType CurrentDistributeType() {
    IInstallDriverContext* driver = InstallDriverContext();
    return driver ? driver->DistributeType() : TDistributeType::dtTraditionalNet;
}

} // namespace sw

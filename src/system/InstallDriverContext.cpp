#include "system/InstallDriverContext.h"

#include "project/ProgramState.h"

namespace sw {

IInstallDriverContext* InstallDriverContext() { return ProgramPart<TDriverSlot>().Driver; }

void SetInstallDriverContext(IInstallDriverContext* driver) { ProgramPart<TDriverSlot>().Driver = driver; }

} // namespace sw

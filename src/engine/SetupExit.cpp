#include "engine/SetupExit.h"

#include "project/ProgramState.h"

namespace sw {

TSetupExit SetupExitCode() { return ProgramPart<TSetupExitState>().Code; }

void SetSetupExitCode(TSetupExit code) { ProgramPart<TSetupExitState>().Code = code; }

} // namespace sw

#include "archive/MainArchiveEngine.h"

#include "project/ProgramState.h"

namespace sw {

TPlmrCompress& MainArchiveEngine() { return *ProgramPart<TMainArchiveEngineSlot>().Engine; }

} // namespace sw

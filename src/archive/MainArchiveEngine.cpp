#include "archive/PlmrCompress.h"
#include "project/ProgramState.h"

namespace sw {

namespace {

struct TMainArchiveEngine {
    TOwned<TPlmrCompress> Engine{new TPlmrCompress(nullptr)};
};

} // namespace

TPlmrCompress& MainArchiveEngine() { return *ProgramPart<TMainArchiveEngine>().Engine; }

} // namespace sw

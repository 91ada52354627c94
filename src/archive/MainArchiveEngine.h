// The archive engine the whole program shares: the install and the build use
// it for the driver's own archive, and the copy-progress window's Cancel sets
// its Abort.
#pragma once

#include "archive/PlmrCompress.h"
#include "project/Component.h"

namespace sw {

// A part of the program state, created at the first request.
struct TMainArchiveEngineSlot {
    TOwned<TPlmrCompress> Engine{new TPlmrCompress(nullptr)};
};

TPlmrCompress& MainArchiveEngine();

} // namespace sw

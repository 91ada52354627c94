#include "visual/VisualState.h"

#include "project/ProgramState.h"

namespace sw {

TVisualState& VisualState() { return ProgramPart<TVisualState>(); }

} // namespace sw

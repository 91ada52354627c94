#include "shortcuts/ShortcutsState.h"

#include "project/ProgramState.h"

namespace sw {

TShortcutsState& ShortcutsState() { return ProgramPart<TShortcutsState>(); }
TProgramManager& ProgramManager() { return ShortcutsState().ProgramManager; }

} // namespace sw

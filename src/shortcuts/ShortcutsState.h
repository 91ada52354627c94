// The shortcuts' part of the program state: the Program Manager client, the
// main program folder, and the lists of shortcut components.
#pragma once

#include "shortcuts/ProgramManager.h"

#include <vector>

namespace sw {

class TMainLinkGroup;
class TCustomInstallShellLink;
class TInstallMainLink;

struct TShortcutsState {
    TProgramManager ProgramManager;
    // At most one.
    TMainLinkGroup* MainLinkGroup = nullptr;
    // Every live shortcut, in creation order.
    std::vector<TCustomInstallShellLink*> ShellLinks;
    std::vector<TInstallMainLink*> MainLinks;
};
TShortcutsState& ShortcutsState();
TProgramManager& ProgramManager();

} // namespace sw

// Pressing Tab in a shown form, as a user would, and noting where the focus goes.
#pragma once

#include "controls/Forms.h"
#include "platform/Gui.h"
#include "platform/Platform.h"

#include <string>
#include <vector>

namespace sw::test {

// The focused control's name after each of `count` presses of Tab (Shift+Tab
// when `backward`), starting with the focus in `start`; "none" when no
// control has it.
inline std::vector<std::string> TabWalk(TCustomForm& form, TWinControl& start, int count, bool backward) {
    // Keys go to the active form: one that lost the activation to another
    // window (under Wine it may, between two walks) is activated again first.
    form.Window()->BringToFront();
    GetPlatform().Gui->ProcessMessages();
    start.SetFocus();
    std::vector<std::string> seen;
    for (int i = 0; i < count; ++i) {
        form.Window()->PressTab(backward);
        TWinControl* focused = form.FocusedControl();
        seen.push_back(focused ? focused->Name() : "none");
    }
    return seen;
}

} // namespace sw::test

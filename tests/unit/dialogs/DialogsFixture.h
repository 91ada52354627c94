// Dialog tests on the fake platform: the dialog form streams, the scripted
// test pages, and a driver with its dialog managers.
#pragma once

#include "dialogs/DialogManager.h"
#include "dialogs/DialogRegistries.h"
#include "dialogs/FormContainer.h"
#include "support/EngineFixture.h"
#include "support/ScriptedPages.h"

#include <vector>

namespace sw::test {

class DialogsFixture : public EngineFixture {
  protected:
    void SetUp() override;
    // A driver with one manager of each type given, in that order
    // ("Manager<i>"); returns the driver's form.
    TTestForm* LoadManagers(const std::vector<TManagerType>& types);
    TDialogManager* Manager(int index) const;
    TCustomInstall* Driver() const;
    // Presses the current page's button in each modal container until the
    // stage ends; `limit` presses at most.
    void PressThrough(const char* button, int limit = 20);
};

} // namespace sw::test

#include "unit/dialogs/DialogsFixture.h"

#include "controls/Controls.h"
#include "engine/CustomInstall.h"
#include "objects/InstallLists.h"
#include "platform/fake/FakeGui.h"

namespace sw::test {

void DialogsFixture::SetUp() {
    EngineFixture::SetUp();
    PageScript() = {};
    RegisterControlClasses();
    CreateDialogRegistries();
    AddDialogFormResources(fake_.Resources());
}

TTestForm* DialogsFixture::LoadManagers(const std::vector<TManagerType>& types) {
    std::string text = "object Form1: TTestForm\n  object Install1: TInstall\n    RunAutomatic = False\n    "
                       "UseLoadingProgram = False\n  end\n";
    for (size_t i = 0; i < types.size(); ++i)
        text += "  object Manager" + std::to_string(i) + ": TDialogManager\n    Container = Install1\n" +
                "    ManagerType = " + ManagerTypeNames().Names[static_cast<size_t>(types[i])] + "\n  end\n";
    text += "end\n";
    return LoadForm(text);
}

TDialogManager* DialogsFixture::Manager(int index) const {
    return dynamic_cast<TDialogManager*>(InstallContainers().FindByName("Manager" + std::to_string(index)));
}

TCustomInstall* DialogsFixture::Driver() const {
    return dynamic_cast<TCustomInstall*>(InstallContainers().FindByName("Install1"));
}

void DialogsFixture::PressThrough(const char* button, int limit) {
    fake_.Gui().WhenShownModally([button, limit](IForm&) {
        for (int i = 0; i < limit; ++i) {
            auto* page = static_cast<TScriptedPage*>(PageScript().Active);
            auto* container = page ? dynamic_cast<TCustomForm*>(page->Owner()) : nullptr;
            if (!container || container->ModalResult() != 0)
                return;
            page->Button(button)->Handle()->Click();
        }
    });
}

} // namespace sw::test

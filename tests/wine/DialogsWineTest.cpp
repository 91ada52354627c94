// A wizard stage on real windows: the page container with three test pages,
// driven by the keys a user presses (Enter, Escape, Alt+F4, Tab) from a timer
// inside the container's modal loop. Screenshots of the pages are kept in
// <build>/e2e/dialogs.
// Before windows.h, which renames RegisterClass.
#include "project/ClassRegistry.h"

#include "EngineWineFixture.h"
#include "TimerSteps.h"

#include "controls/Controls.h"
#include "dialogs/DialogManager.h"
#include "dialogs/DialogRegistries.h"
#include "dialogs/FormContainer.h"
#include "engine/CustomInstall.h"
#include "objects/InstallLists.h"
#include "objects/InstallMessages.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Gui.h"
#include "support/ProgramStateForTests.h"
#include "support/ScriptedPages.h"
#include "system/InstallErrors.h"

#undef RegisterClass

#include <deque>
#include <fstream>
#include <functional>

namespace sw::test {
namespace {

// Whether the container of the active page shows.
bool ContainerShown() {
    TBaseInstallForm* page = PageScript().Active;
    auto* container = page ? dynamic_cast<TCustomForm*>(page->Owner()) : nullptr;
    return container && container->Window() && container->Window()->Visible();
}

// Steps that wait for the container, and end a stage that the last step left running rather than hang.
TUserScript ContainerSteps(std::deque<std::function<void()>> steps) {
    return TUserScript(std::move(steps), 100, ContainerShown, [] {
        if (PageScript().Active) {
            ADD_FAILURE() << "the stage did not end after the last step";
            PageScript().Active->AbortStage();
        }
    });
}

class DialogsWineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Platform p = real_.Get();
        p.System = &system_;
        AddDialogFormResources(resources_);
        resources_.Add(ResourceType::Bitmap, "INSTALLTHEME1", ThemeBitmapResource());
        p.Resources = &resources_;
        platform_ = std::make_unique<ScopedPlatform>(p);
        RegisterClass<TForm>();
        RegisterControlClasses();
        RegisterInstallerClasses();
        CreateDialogRegistries();
        PageScript() = {};
        RegisterPageForm<TPage<5>>();
        RegisterPageForm<TPage<6>>();
        RegisterPageForm<TPage<7>>();
        roots_.Load(R"(object Form1: TForm
  Width = 400
  Height = 300
  object Install1: TInstall
    RunAutomatic = False
  end
  object Pages: TDialogManager
    Container = Install1
  end
end
)",
                    "dialogs.txt");
        driver_ = dynamic_cast<TCustomInstall*>(InstallContainers().FindByName("Install1"));
        ASSERT_NE(driver_, nullptr);
    }
    void TearDown() override {
        roots_.FreeAll();
        RenewProgramState();
        platform_.reset();
    }

    static TScriptedPage* Active() { return static_cast<TScriptedPage*>(PageScript().Active); }
    static IForm& Container() { return *static_cast<TCustomForm*>(Active()->Owner())->Window(); }

    // Keeps the container's picture as <build>/e2e/dialogs/<name>.bmp.
    static void Shot(const std::string& name) {
        char module[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, module, MAX_PATH);
        std::string folder = module;
        folder = folder.substr(0, folder.find_last_of('\\'));
        folder = folder.substr(0, folder.find_last_of('\\')) + "\\e2e";
        CreateDirectoryA(folder.c_str(), nullptr);
        folder += "\\dialogs";
        CreateDirectoryA(folder.c_str(), nullptr);
        std::ofstream out(folder + "\\" + name + ".bmp", std::ios::binary);
        const std::string picture = Container().Capture();
        out.write(picture.data(), static_cast<std::streamsize>(picture.size()));
    }

    win32::Win32Platform real_;
    ScriptedArguments system_;
    fake::FakeResources resources_;
    std::unique_ptr<ScopedPlatform> platform_;
    TLoadedRoots roots_;
    TCustomInstall* driver_ = nullptr;
};

TEST_F(DialogsWineTest, KeysMoveThroughThePagesAndEndTheStage) {
    bool quit = false;
    driver_->OnUserAbort = TUserAbortEvent("", [&](TCustomInstall*, bool& q) { q = quit; });
    TWinControl* focusedBeforeTab = nullptr;
    TUserScript script = ContainerSteps({
        [] {
            Shot("page-5");
            Container().PressKey(FormKey::Enter); // Next is the default button
        },
        [] {
            EXPECT_EQ(Container().Caption(), "Page 6");
            Shot("page-6");
            Container().PressKey(FormKey::AltF4); // refused
            EXPECT_TRUE(Container().Visible());
        },
        [&] {
            focusedBeforeTab = Active()->FocusedControl();
            Container().PressTab(false);
            EXPECT_NE(Active()->FocusedControl(), focusedBeforeTab);
            EXPECT_NE(Active()->FocusedControl(), nullptr);
        },
        [] {
            Container().PressKey(FormKey::Escape); // Cancel, declined
            EXPECT_TRUE(Container().Visible());
            Active()->Button("BackBtn")->Handle()->Click();
            EXPECT_EQ(Container().Caption(), "Page 5");
        },
        [] { Container().PressKey(FormKey::Enter); },
        [] {
            Active()->Button("ProceedBtn")->SetFocus();
            Container().PressKey(FormKey::Enter);
        },
        [] {
            EXPECT_EQ(Container().Caption(), "Page 7");
            Shot("page-7");
            Container().PressKey(FormKey::Enter); // the last page's Next ends the stage
        },
    });
    EXPECT_NO_THROW(driver_->Broadcast(msg::BeforeInstall, nullptr));
    EXPECT_EQ(script.Left(), 0u);
    EXPECT_EQ(PageScript().Log,
              (std::vector<std::string>{"show Page 5", "show Page 6", "show Page 5", "show Page 6", "show Page 7"}));

    quit = true;
    PageScript().Log.clear();
    TUserScript cancel = ContainerSteps({[] { Container().PressKey(FormKey::Escape); }});
    EXPECT_THROW(driver_->Broadcast(msg::BeforeInstall, nullptr), EAIUserAbort);
    EXPECT_EQ(PageScript().Log, std::vector<std::string>{"show Page 5"});
    EXPECT_TRUE(DialogsState().Forms.empty());
}

} // namespace
} // namespace sw::test

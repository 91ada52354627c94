// A wizard stage on real windows: the page container with three test pages,
// driven by the keys a user presses (Enter, Escape, Alt+F4, Tab) from a timer
// inside the container's modal loop. Screenshots of the pages are kept in
// <build>/e2e/dialogs.
#include "EngineWineFixture.h"

#include "controls/Controls.h"
#include "dialogs/DialogManager.h"
#include "dialogs/DialogRegistries.h"
#include "dialogs/FormContainer.h"
#include "engine/CustomInstall.h"
#include "objects/InstallLists.h"
#include "objects/InstallMessages.h"
#include "project/ClassRegistry.h"
#include "support/ProgramStateForTests.h"
#include "support/ScriptedPages.h"
#include "system/InstallErrors.h"

#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Gui.h"
// Not the window class registration of <windows.h>: the class registry's.
#undef RegisterClass

#include <deque>
#include <fstream>
#include <functional>

namespace sw::test {
namespace {

// What the user does, one step at each tick of a thread timer, so that each
// runs inside the modal loop of the container.
class TUserScript {
  public:
    explicit TUserScript(std::deque<std::function<void()>> steps) : steps_(std::move(steps)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 100, &Tick);
    }
    ~TUserScript() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    TUserScript(const TUserScript&) = delete;
    TUserScript& operator=(const TUserScript&) = delete;
    size_t Left() const { return steps_.size(); }

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        TUserScript* script = current_;
        // A step's own key presses run messages, and so ticks, again.
        if (!script || script->busy_ || script->steps_.empty())
            return;
        script->busy_ = true;
        std::function<void()> step = std::move(script->steps_.front());
        script->steps_.pop_front();
        try {
            step();
        } catch (const std::exception& e) {
            ADD_FAILURE() << "a step failed: " << e.what();
        }
        script->busy_ = false;
    }

    static inline TUserScript* current_ = nullptr;
    std::deque<std::function<void()>> steps_;
    UINT_PTR timer_ = 0;
    bool busy_ = false;
};

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
    TUserScript script({
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
    EXPECT_EQ(PageScript().Log, (std::vector<std::string>{"show Page 5", "show Page 6", "show Page 5", "show Page 6",
                                                          "show Page 7", "show Page 7"}));

    quit = true;
    PageScript().Log.clear();
    TUserScript cancel({[] { Container().PressKey(FormKey::Escape); }});
    EXPECT_THROW(driver_->Broadcast(msg::BeforeInstall, nullptr), EAIUserAbort);
    EXPECT_EQ(PageScript().Log, std::vector<std::string>{"show Page 5"});
    EXPECT_TRUE(DialogsState().Forms.empty());
}

} // namespace
} // namespace sw::test

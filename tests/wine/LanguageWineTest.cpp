// The language page on real windows: the flag grid, a click on a flag and
// the keyboard's arrows switch every open form at once, and the pages after
// it (a welcome and a finish test page) come in the language chosen.
// Screenshots are kept in <build>/e2e/language, with the time each switch took.
#include "EngineWineFixture.h"
#include "TimerSteps.h"

#include "controls/Controls.h"
#include "dialogs/DialogManager.h"
#include "dialogs/DialogRegistries.h"
#include "dialogs/FormContainer.h"
#include "dialogs/SelectLanguageForm.h"
#include "engine/CustomInstall.h"
#include "lang/Translator.h"
#include "objects/InstallLists.h"
#include "objects/InstallMessages.h"
#include "project/ClassRegistry.h"
#include "support/DialogForms.h"
#include "support/ProgramStateForTests.h"
#include "support/ScriptedPages.h"
#include "support/SourceFiles.h"

#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Control.h"
#include "platform/win32/Win32Gui.h"
// Not the window class registration of <windows.h>: the class registry's.
#undef RegisterClass

#include <deque>
#include <fstream>
#include <functional>
#include <sstream>

namespace sw::test {
namespace {

using enum TManagerType;

// A page with three labels and the wizard's buttons, all carrying string ids.
std::string TestPageForm(int first, int second, int third, int proceed) {
    auto label = [](const char* name, int top, int glid) {
        return std::string("  object ") + name + ": TTranslateLabel\n    Left = 16\n    Top = " + std::to_string(top) +
               "\n    Width = 438\n    Height = 60\n    AutoSize = False\n    WordWrap = True\n    Caption = 'id " +
               std::to_string(glid) + "'\n    GLID = " + std::to_string(glid) + "\n  end\n";
    };
    auto button = [](const char* name, int left, int glid, const char* extra) {
        return std::string("  object ") + name + ": TTranslateBitBtn\n    Left = " + std::to_string(left) +
               "\n    Top = 326\n    Width = 75\n    Height = 33\n    Caption = 'id " + std::to_string(glid) + "'\n" +
               extra + "    GLID = " + std::to_string(glid) + "\n  end\n";
    };
    return "inherited Page: TBaseInstallForm\n  ClientWidth = 470\n  ClientHeight = 368\n  Color = clBtnFace\n"
           "  Font.Color = clBlack\n  Font.Height = -11\n  Font.Name = 'Arial'\n" +
           label("First", 16, first) + label("Second", 84, second) + label("Third", 152, third) +
           button("BackBtn", 218, 4, "") + button("ProceedBtn", 300, proceed, "    Default = True\n") +
           button("CancelBtn", 387, 6, "    Cancel = True\n") + "end\n";
}

TBaseInstallForm* activePage = nullptr;

template <TManagerType Type, int N> class TTestPage : public TBaseInstallForm {
  public:
    explicit TTestPage(TComponent* owner) : TBaseInstallForm(owner) {
        ReadPageResource(N == 5 ? "TLANGWELCOME" : "TLANGFINISH");
        SetName(N == 5 ? "WelcomePage" : "FinishPage");
        SetCaption(N == 5 ? "Welcome" : "Setup complete");
        SetStage(Type, N);
        Button("ProceedBtn")->OnClick = TNotifyEvent("", [this](TPersistent*) { NextPage(); });
        Button("BackBtn")->OnClick = TNotifyEvent("", [this](TPersistent*) { PreviousPage(); });
        Button("CancelBtn")->OnClick = TNotifyEvent("", [this](TPersistent*) { CancelStage(); });
    }
    ~TTestPage() override {
        if (activePage == this)
            activePage = nullptr;
    }
    // As the wizard's pages do: Previous only after a page, Next takes the focus.
    void UpdatePage() override {
        Button("BackBtn")->SetVisible(!IsFirstPage());
        if (Visible())
            Button("ProceedBtn")->SetFocus();
    }
    void ActivatePage() override {
        TBaseInstallForm::ActivatePage();
        activePage = this;
    }
    TButton* Button(const char* name) const { return static_cast<TButton*>(FindComponent(name)); }
};

std::vector<std::string> ShippedTable(const std::string& language) {
    std::istringstream in(ReadSourceFile("src/resources/lang/plmi" + language + ".txt"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string E2eFolder() {
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string folder = module;
    folder = folder.substr(0, folder.find_last_of('\\'));
    folder = folder.substr(0, folder.find_last_of('\\')) + "\\e2e";
    CreateDirectoryA(folder.c_str(), nullptr);
    folder += "\\language";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

class LanguageWineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Platform p = real_.Get();
        p.System = &system_;
        AddDialogFormResources(resources_);
        resources_.Add(ResourceType::RCData, "TLANGWELCOME", CompiledForm(TestPageForm(10, 11, 12, 5), "welcome"));
        resources_.Add(ResourceType::RCData, "TLANGFINISH", CompiledForm(TestPageForm(37, 38, 0, 72), "finish"));
        resources_.Add(ResourceType::Bitmap, "INSTALLTHEME1", ThemeBitmapResource());
        p.Resources = &resources_;
        platform_ = std::make_unique<ScopedPlatform>(p);
        RegisterClass<TForm>();
        RegisterControlClasses();
        RegisterInstallerClasses();
        RegisterLanguageClasses();
        CreateDialogRegistries();
        RegisterPageForm<TSelectLanguageForm>();
        RegisterPageForm<TTestPage<dmBeforeInstall, 5>>();
        RegisterPageForm<TTestPage<dmAfterGoodInstall, 10>>();
        roots_.Load(R"(object Form1: TForm
  Width = 400
  Height = 300
  object Install1: TInstall
    RunAutomatic = False
  end
  object Pages: TDialogManager
    Container = Install1
  end
  object Finish: TDialogManager
    Container = Install1
    ManagerType = dmAfterGoodInstall
  end
end
)",
                    "language.txt");
        driver_ = dynamic_cast<TCustomInstall*>(InstallContainers().FindByName("Install1"));
        ASSERT_NE(driver_, nullptr);
        translator_ = std::make_unique<TTranslator>(nullptr);
        for (TPlmrLanguage ident : {plEnglish, plFrench, plGerman, plJapanese, plRussian})
            translator_->FindLanguage(ident)->Strings()->Assign(ShippedTable(LangIdToString(ident)));
        translator_->SetTranslateIntoLanguage(plEnglish);
        // The hidden instances the program makes at start-up.
        hidden_ = std::make_unique<TSelectLanguageForm>(nullptr);
        hiddenWelcome_ = std::make_unique<TTestPage<dmBeforeInstall, 5>>(nullptr);
    }
    void TearDown() override {
        hidden_.reset();
        hiddenWelcome_.reset();
        roots_.FreeAll();
        translator_.reset();
        RenewProgramState();
        platform_.reset();
    }

    static TSelectLanguageForm* LanguagePage() {
        for (TBasePellmoorForm* form : DialogsState().Forms)
            if (auto* page = dynamic_cast<TSelectLanguageForm*>(form); page && page->Owner())
                return page;
        return nullptr;
    }
    // The stage's container: the language page's, or the finish page's.
    static IForm& Container() {
        TComponent* page = LanguagePage() ? LanguagePage() : activePage;
        return *static_cast<TCustomForm*>(page->Owner())->Window();
    }
    // Steps wait for the stage's container to show, and a stage the last step left running ends with a
    // failure rather than hang (a loaded machine may run the first tick before the container shows).
    static TUserScript StageSteps(std::deque<std::function<void()>> steps) {
        return TUserScript(
            std::move(steps), 150,
            [] {
                TComponent* page = LanguagePage() ? LanguagePage() : activePage;
                auto* container = page ? dynamic_cast<TCustomForm*>(page->Owner()) : nullptr;
                return container && container->Window() && container->Window()->Visible();
            },
            [] {
                ADD_FAILURE() << "the stage did not end after the last step";
                TBaseInstallForm* page = LanguagePage() ? LanguagePage() : activePage;
                if (page)
                    page->AbortStage();
            });
    }
    static std::string Caption(TComponent& form, const char* name) {
        return static_cast<TControl*>(form.FindComponent(name))->Handle()->Text();
    }
    static void Shot(const std::string& name) {
        std::ofstream out(E2eFolder() + "\\" + name + ".bmp", std::ios::binary);
        const std::string picture = Container().Capture();
        out.write(picture.data(), static_cast<std::streamsize>(picture.size()));
    }
    // A press of the left button on a cell of the grid, through its window.
    void ClickCell(int col, int row) {
        TStringGrid& grid = *LanguagePage()->LanguageGrid();
        HWND window = win32::ControlWindow(*grid.Handle());
        const LPARAM at = MAKELPARAM(col * 140 + 70, row * 48 + 24);
        Timed([&] {
            SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
            SendMessageA(window, WM_LBUTTONUP, 0, at);
        });
    }
    // A key pressed where the keyboard focus is.
    void PressKey(WPARAM key) {
        HWND focus = GetFocus();
        ASSERT_NE(focus, nullptr) << "no window has the keyboard focus";
        Timed([&] { SendMessageA(focus, WM_KEYDOWN, key, 1); });
    }
    void Timed(const std::function<void()>& act) {
        LARGE_INTEGER frequency, start, end;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        act();
        QueryPerformanceCounter(&end);
        times_.push_back(static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 /
                         static_cast<double>(frequency.QuadPart));
    }

    win32::Win32Platform real_;
    ScriptedArguments system_;
    fake::FakeResources resources_;
    std::unique_ptr<ScopedPlatform> platform_;
    TLoadedRoots roots_;
    TCustomInstall* driver_ = nullptr;
    std::unique_ptr<TTranslator> translator_;
    std::unique_ptr<TSelectLanguageForm> hidden_;
    std::unique_ptr<TBaseInstallForm> hiddenWelcome_;
    std::vector<double> times_;
};

TEST_F(LanguageWineTest, AClickAndTheArrowKeysSwitchEveryFormAndThePagesFollow) {
    const std::string japaneseFace = LanguageData(plJapanese).Face;
    TUserScript script = StageSteps({
        [&] {
            ASSERT_NE(LanguagePage(), nullptr);
            EXPECT_EQ(Container().Caption(), "Select a language");
            Shot("1-flags");
            ClickCell(1, 0); // French
        },
        [&] {
            TSelectLanguageForm& page = *LanguagePage();
            EXPECT_EQ(translator_->TranslateIntoLanguage(), plFrench);
            EXPECT_EQ(Caption(page, "ProceedBtn"), "Suivant >");
            EXPECT_EQ(Caption(page, "CancelBtn"), "Annuler");
            EXPECT_EQ(hidden_->Button("CancelBtn")->Caption(), "Annuler");
            EXPECT_EQ(static_cast<TButton*>(hiddenWelcome_->FindComponent("ProceedBtn"))->Caption(), "Suivant >");
            EXPECT_TRUE(page.LanguageGrid()->Focused()) << "the click's focus survives the switch";
            Shot("2-french");
            Container().PressKey(FormKey::Enter);
        },
        [&] {
            EXPECT_EQ(Container().Caption(), "Bienvenue");
            EXPECT_EQ(Caption(*activePage, "First"), "Ce programme va installer le logiciel sur votre ordinateur.");
            Shot("3-welcome-french");
            static_cast<TTestPage<dmBeforeInstall, 5>*>(activePage)->Button("BackBtn")->Handle()->Click();
        },
        [&] {
            EXPECT_EQ(Container().Caption(), "Choisissez une langue");
            ClickCell(1, 1); // Japanese
        },
        [&] {
            TSelectLanguageForm& page = *LanguagePage();
            EXPECT_EQ(translator_->TranslateIntoLanguage(), plJapanese);
            EXPECT_EQ(page.LanguageGrid()->Handle()->Font().Face, japaneseFace);
            Container().PressKey(FormKey::Enter);
        },
        [&] {
            EXPECT_EQ(Caption(*activePage, "First"), translator_->GetString(10, ""));
            EXPECT_EQ(static_cast<TControl*>(activePage->FindComponent("First"))->Handle()->Font().Face, japaneseFace);
            EXPECT_EQ(static_cast<TControl*>(activePage->FindComponent("First"))->Handle()->Font().Charset, 128);
            Shot("4-welcome-japanese");
            static_cast<TTestPage<dmBeforeInstall, 5>*>(activePage)->Button("BackBtn")->Handle()->Click();
        },
        [&] {
            // Keyboard only: Shift+Tab from Next to the grid (the first page has no Previous), arrows, Enter.
            Container().PressTab(true);
            ASSERT_TRUE(LanguagePage()->LanguageGrid()->Focused());
            PressKey(VK_LEFT); // German
        },
        [&] {
            EXPECT_EQ(translator_->TranslateIntoLanguage(), plGerman);
            EXPECT_TRUE(LanguagePage()->LanguageGrid()->Focused()) << "the arrow's focus survives the switch";
            PressKey(VK_DOWN); // Russian
        },
        [&] {
            EXPECT_EQ(translator_->TranslateIntoLanguage(), plRussian);
            Shot("5-keyboard-russian");
            Container().PressKey(FormKey::Enter);
        },
        [&] {
            EXPECT_EQ(Caption(*activePage, "First"), translator_->GetString(10, ""));
            Shot("6-welcome-russian");
            Container().PressKey(FormKey::Enter);
        },
    });
    EXPECT_NO_THROW(driver_->Broadcast(msg::BeforeInstall, nullptr));
    EXPECT_EQ(script.Left(), 0u);

    TUserScript finish = StageSteps({[&] {
        EXPECT_EQ(Container().Caption(), translator_->GetString(37, ""));
        EXPECT_EQ(Caption(*activePage, "ProceedBtn"), translator_->GetString(72, ""));
        Shot("7-finish-russian");
        static_cast<TTestPage<dmAfterGoodInstall, 10>*>(activePage)->Button("ProceedBtn")->Handle()->Click();
    }});
    EXPECT_NO_THROW(driver_->Broadcast(msg::AfterGoodInstall, nullptr));
    EXPECT_EQ(finish.Left(), 0u);

    std::ofstream out(E2eFolder() + "\\switch-times.txt");
    for (double ms : times_) {
        out << ms << " ms\n";
        std::printf("language switch: %.1f ms\n", ms);
    }
    EXPECT_EQ(times_.size(), 4u);
}

} // namespace
} // namespace sw::test

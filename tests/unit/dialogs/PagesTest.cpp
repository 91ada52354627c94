// The wizard's own pages on the fake platform: their frames as the streams
// draw them, Back and Finish as the pages around them decide, the program
// folder page and the reboot question.
#include "unit/dialogs/DialogsFixture.h"

#include "controls/Boxes.h"
#include "controls/Edits.h"
#include "controls/Lists.h"
#include "dialogs/FinishPages.h"
#include "dialogs/WizardPages.h"
#include "engine/CustomInstall.h"
#include "lang/TranslateControls.h"
#include "lang/Translator.h"
#include "objects/InstallMessages.h"
#include "paths/ShellFolders.h"
#include "paths/StandardSpecifiers.h"
#include "platform/fake/FakeForm.h"
#include "platform/fake/FakeGui.h"
#include "shortcuts/ShellLinkGroups.h"
#include "shortcuts/ShortcutsState.h"

#include "support/SourceFiles.h"

#include <functional>
#include <regex>
#include <set>

namespace sw::test {

namespace {
using enum TManagerType;

// The page in front of the running container.
TBaseInstallForm* CurrentPage() {
    for (TBasePellmoorForm* form : DialogsState().Forms)
        if (auto* container = dynamic_cast<TBaseFormContainer*>(form->Owner())) {
            const int index = container->CurrentIndex();
            if (index >= 0 && index < static_cast<int>(container->Pages().size()))
                return container->Pages()[static_cast<size_t>(index)];
        }
    return nullptr;
}

TButton* Button(TComponent* page, const char* name) { return dynamic_cast<TButton*>(page->FindComponent(name)); }

void Press(TComponent* page, const char* name) { Button(page, name)->Handle()->Click(); }

bool Shows(TComponent* page, const char* name) {
    TButton* button = Button(page, name);
    return button && button->Visible();
}

std::string ProjectWith(const std::string& objects) {
    return "object Form1: TTestForm\n  object Install1: TInstall\n    RunAutomatic = False\n"
           "    UseLoadingProgram = False\n  end\n" +
           objects + "end\n";
}

std::string ManagerText(const char* name, const char* type) {
    return std::string("  object ") + name + ": TDialogManager\n    Container = Install1\n    ManagerType = " + type +
           "\n  end\n";
}

const std::string kBeforeManager = ManagerText("Before", "dmBeforeInstall");

std::string MainGroup(const std::string& destDir) {
    return "  object Group1: TMainLinkGroup\n    Container = Install1\n    DestDir = '" + destDir + "'\n  end\n";
}
} // namespace

class PagesTest : public DialogsFixture {
  protected:
    void SetUp() override {
        DialogsFixture::SetUp();
        RegisterLanguageClasses();
    }
    // Runs the stage; `user` acts in its modal loop.
    void RunStage(int code, std::function<void()> user) {
        fake_.Gui().WhenShownModally([user](IForm&) { user(); });
        Driver()->Broadcast(code, nullptr);
    }
};

TEST_F(PagesTest, EachPageHasTheCommonFrame) {
    struct Frame {
        std::function<TBaseInstallForm*()> create;
        const char* caption;
        int order;
        int width;
        bool proceedIsDefault;
        bool hasCancel;
    };
    const Frame frames[] = {
        {[] { return new TWelcomeForm(nullptr); }, "Welcome", 5, 470, true, true},
        {[] { return new TLicenseForm(nullptr); }, "Software license agreement", 20, 470, false, true},
        {[] { return new TReadmeForm(nullptr); }, "Readme information", 30, 470, true, true},
        {[] { return new TSelectFolderForm(nullptr); }, "Select folder in start menu", 60, 470, true, true},
        {[] { return new TGoodInstallForm(nullptr); }, "Setup complete", 10, 470, true, false},
        {[] { return new TBadInstallForm(nullptr); }, "Setup incomplete", 10, 470, true, false},
        {[] { return new TRebootForm(nullptr); }, "Reboot windows", 10, 475, true, false},
    };
    LoadManagers({});
    for (const Frame& frame : frames) {
        std::unique_ptr<TBaseInstallForm> page(frame.create());
        SCOPED_TRACE(page->Caption());
        EXPECT_EQ(page->Caption(), frame.caption);
        EXPECT_EQ(page->Order, frame.order);
        EXPECT_EQ(page->ClientWidth(), frame.width);
        EXPECT_EQ(page->ClientHeight(), 368);
        EXPECT_EQ(page->Font()->Name(), "Arial");
        EXPECT_EQ(page->Font()->Size(), 8);
        auto* line = dynamic_cast<TBevel*>(page->FindComponent("ButtonLine"));
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->Top(), 368 - 52);
        const std::pair<const char*, int> glids[] = {
            {"BackBtn", 4}, {"ProceedBtn", 5}, {"CancelBtn", 6}, {"FinishBtn", 72}};
        for (const auto& [name, glid] : glids)
            if (auto* button = dynamic_cast<TTranslateBitBtn*>(page->FindComponent(name))) {
                EXPECT_EQ(button->GLID, glid) << name;
                EXPECT_EQ(button->Height(), 33) << name;
                EXPECT_GT(button->Top(), line->Top()) << name;
            }
        EXPECT_EQ(Button(page.get(), "ProceedBtn")->Default, frame.proceedIsDefault);
        auto* cancel = dynamic_cast<TTranslateBitBtn*>(page->FindComponent("CancelBtn"));
        EXPECT_EQ(cancel != nullptr, frame.hasCancel);
        if (cancel) {
            EXPECT_TRUE(cancel->Cancel);
            EXPECT_FALSE(cancel->Glyph()->Empty());
        } else {
            EXPECT_NE(page->FindComponent("FinishBtn"), nullptr);
        }
    }
}

// Every id the pages' streams name, and every text they match by wording,
// is in each of the sixteen tables.
TEST_F(PagesTest, EveryPageTextIsInEveryStringTable) {
    const char* forms[] = {"TWELCOMEFORM",     "TLICENSEFORM",    "TREADMEFORM", "TSELECTFOLDERFORM",
                           "TGOODINSTALLFORM", "TBADINSTALLFORM", "TREBOOTFORM"};
    std::set<int> ids;
    const std::regex glid(R"(GLID = ([1-9][0-9]*))");
    for (const char* form : forms) {
        const std::string text = ReadSourceFile(std::string("src/resources/forms/") + form + ".txt");
        ASSERT_FALSE(text.empty()) << form;
        for (std::sregex_iterator m(text.begin(), text.end(), glid), end; m != end; ++m)
            ids.insert(std::stoi((*m)[1]));
    }
    EXPECT_EQ(ids, (std::set<int>{2, 3, 4, 5, 6, 8, 10, 11, 12, 38, 41, 42, 43, 52, 60, 72}));
    // The captions and the reboot answers, by their English ids.
    for (int byWording : {1, 7, 9, 37, 40, 51, 53, 54, 61})
        ids.insert(byWording);
    const char* languages[] = {
        "ChineseSimplified", "Czech",    "Danish", "English", "French",    "German",  "Greek",   "Hebrew",
        "Italian",           "Japanese", "Korean", "Polish",  "Portugese", "Russian", "Spanish", "Vietnamese"};
    for (const char* language : languages) {
        const std::string table = ReadSourceFile(std::string("src/resources/lang/plmi") + language + ".txt");
        ASSERT_FALSE(table.empty()) << language;
        for (int id : ids)
            EXPECT_TRUE(table.starts_with(std::to_string(id) + ";") ||
                        table.find("\n" + std::to_string(id) + ";") != std::string::npos)
                << language << " has no text " << id;
    }
    const std::string english = ReadSourceFile("src/resources/lang/plmiEnglish.txt");
    for (const char* text :
         {"9;Welcome", "1;Software license agreement", "7;Readme information", "40;Select folder in start menu",
          "37;Setup complete", "61;Setup incomplete", "51;Reboot windows", "53;Yes, I would like to reboot windows",
          "54;No, I would not like to reboot windows"})
        EXPECT_NE(english.find(text), std::string::npos) << text;
}

TEST_F(PagesTest, BackShowsOnlyWhenAPageComesBeforeTheWelcome) {
    for (bool languagePage : {false, true}) {
        SCOPED_TRACE(languagePage ? "after the language page" : "first");
        CreateDialogRegistries();
        DialogsState().Pages = std::make_unique<TBIFList>();
        if (languagePage)
            RegisterPageForm<TPage<0>>();
        RegisterPageForm<TWelcomeForm>();
        LoadForm(ProjectWith(kBeforeManager));
        std::vector<std::string> seen;
        RunStage(msg::BeforeInstall, [&] {
            if (languagePage)
                Press(CurrentPage(), "ProceedBtn");
            TBaseInstallForm* welcome = CurrentPage();
            ASSERT_EQ(welcome->ClassName(), "TWelcomeForm");
            EXPECT_EQ(Shows(welcome, "BackBtn"), languagePage);
            // Also on the first page, shown before its container is on the screen.
            EXPECT_TRUE(Button(welcome, "ProceedBtn")->Focused());
            if (languagePage) {
                Press(welcome, "BackBtn");
                seen.push_back(CurrentPage()->Caption());
                Press(CurrentPage(), "ProceedBtn");
            }
            Press(CurrentPage(), "ProceedBtn");
        });
        EXPECT_EQ(seen, languagePage ? std::vector<std::string>{"Page 0"} : std::vector<std::string>{});
        FreeRoots();
    }
}

// The container takes the page's caption in the character set of the page's
// font (its own stays ANSI_CHARSET).
TEST_F(PagesTest, TheContainersCaptionIsInTheCharacterSetOfThePagesFont) {
    CreateDialogRegistries();
    DialogsState().Pages = std::make_unique<TBIFList>();
    RegisterPageForm<TPage<0>>();
    RegisterPageForm<TPage<1>>();
    LoadForm(ProjectWith(kBeforeManager));
    RunStage(msg::BeforeInstall, [&] {
        TBaseInstallForm* first = CurrentPage();
        auto* container = static_cast<TBaseFormContainer*>(first->Owner());
        auto* window = static_cast<fake::FakeForm*>(container->Window());
        EXPECT_EQ(window->Charset(), first->Font()->Charset());
        container->Pages()[1]->Font()->SetCharset(128);
        Press(first, "ProceedBtn");
        EXPECT_EQ(window->Caption(), "Page 1");
        EXPECT_EQ(window->Charset(), 128);
        EXPECT_EQ(container->Font()->Charset(), 0);
        Press(CurrentPage(), "ProceedBtn");
    });
    FreeRoots();
}

TEST_F(PagesTest, WithoutAMainLinkGroupTheFolderPageNeverShows) {
    RegisterPageForm<TReadmeForm>();
    RegisterPageForm<TSelectFolderForm>();
    LoadForm(ProjectWith(kBeforeManager));
    std::vector<std::string> shown;
    RunStage(msg::BeforeInstall, [&] {
        shown.push_back(CurrentPage()->ClassName());
        Press(CurrentPage(), "ProceedBtn");
        if (auto* container = dynamic_cast<TCustomForm*>(CurrentPage()->Owner()); container->ModalResult() == 0)
            shown.push_back(CurrentPage()->ClassName());
    });
    EXPECT_EQ(shown, std::vector<std::string>{"TReadmeForm"});
}

TEST_F(PagesTest, TheFolderPageShowsAndSetsTheMainGroupsFolder) {
    const std::string programs = GetProgramsMenuFolder();
    for (const char* folder : {"Startup", "accessories", "Tools"})
        fake_.Files().ForceDirectories(programs + "\\" + folder);
    fake_.Files().PutFile(programs + "\\Readme.lnk", "");
    struct Case {
        const char* destDir;
        const char* shown;
    };
    for (const Case& c : {Case{"\\Tools\\Utilities", "Utilities"}, Case{"\\", "accessories"}}) {
        SCOPED_TRACE(c.destDir);
        LoadForm(ProjectWith(kBeforeManager + MainGroup(c.destDir)));
        RegisterPageForm<TSelectFolderForm>();
        TMainLinkGroup* group = ShortcutsState().MainLinkGroup;
        RunStage(msg::BeforeInstall, [&] {
            TBaseInstallForm* page = CurrentPage();
            auto* edit = dynamic_cast<TEdit*>(page->FindComponent("FolderEdit"));
            auto* list = dynamic_cast<TListBox*>(page->FindComponent("FolderListBox"));
            EXPECT_EQ(list->Items()->Lines, (std::vector<std::string>{"accessories", "Startup", "Tools"}));
            EXPECT_EQ(edit->Text(), c.shown);
            int top = -1;
            for (const char* name :
                 {"TopDescriptionLabel", "ProgramFolders", "FolderEdit", "ExistingFolders", "FolderListBox"}) {
                auto* control = dynamic_cast<TControl*>(page->FindComponent(name));
                EXPECT_GT(control->Top(), top) << name << " is out of its place";
                top = control->Top();
            }
            edit->Handle()->SetText("My Folder");
            EXPECT_EQ(group->DestDir(), "\\My Folder");
            EXPECT_NE(dynamic_cast<TpsProgramMenu*>(group->DestDirType()), nullptr);
            list->Handle()->SetItemIndex(2);
            list->Handle()->Click();
            EXPECT_EQ(group->DestDir(), "\\Tools");
            Press(page, "ProceedBtn");
        });
        FreeRoots();
        DialogsState().Pages = std::make_unique<TBIFList>();
    }
}

TEST_F(PagesTest, BeforeTheProgramsMenuTheFoldersAreProgramManagersGroups) {
    fake_.System().SetVersion(OSVersion{3, 51, 1057, PlatformId::NT});
    fake_.Dde().AddGroup({"Main", {}});
    fake_.Dde().AddGroup({"Accessories", {}});
    RegisterPageForm<TSelectFolderForm>();
    LoadForm(ProjectWith(kBeforeManager + MainGroup("\\")));
    RunStage(msg::BeforeInstall, [&] {
        auto* list = dynamic_cast<TListBox*>(CurrentPage()->FindComponent("FolderListBox"));
        EXPECT_EQ(list->Items()->Lines, (std::vector<std::string>{"Accessories", "Main"}));
        EXPECT_EQ(ShortcutsState().MainLinkGroup->DestDir(), "\\Accessories");
        Press(CurrentPage(), "ProceedBtn");
    });
}

TEST_F(PagesTest, AGoodInstallStageWithOnlyItsPageShowsFinish) {
    RegisterPageForm<TGoodInstallForm>();
    LoadForm(ProjectWith(ManagerText("Good", "dmAfterGoodInstall")));
    bool ended = false;
    RunStage(msg::AfterGoodInstall, [&] {
        TBaseInstallForm* page = CurrentPage();
        EXPECT_FALSE(Shows(page, "BackBtn"));
        EXPECT_FALSE(Shows(page, "ProceedBtn"));
        EXPECT_TRUE(Shows(page, "FinishBtn"));
        EXPECT_TRUE(Button(page, "FinishBtn")->Focused());
        Press(page, "FinishBtn");
        ended = dynamic_cast<TCustomForm*>(page->Owner())->ModalResult() == mrOk;
    });
    EXPECT_TRUE(ended);
}

TEST_F(PagesTest, TheRebootPageReadsAndWritesReboot) {
    RegisterPageForm<TRebootForm>();
    RegisterPageForm<TPage<20, dmReboot>>();
    LoadForm(ProjectWith(ManagerText("Restart", "dmReboot")));
    Driver()->Reboot = true;
    std::vector<int> choices;
    RunStage(msg::RebootStage, [&] {
        TBaseInstallForm* page = CurrentPage();
        auto* rg = dynamic_cast<TRadioGroup*>(page->FindComponent("RG"));
        choices.push_back(rg->ItemIndex());
        EXPECT_TRUE(Driver()->Reboot) << "the preset changed Reboot";
        EXPECT_TRUE(Shows(page, "ProceedBtn"));
        EXPECT_FALSE(Shows(page, "FinishBtn"));
        rg->Button(1)->Handle()->Click();
        EXPECT_FALSE(Driver()->Reboot);
        Press(page, "ProceedBtn");
        Driver()->Reboot = true;
        Press(CurrentPage(), "BackBtn");
        EXPECT_TRUE(Button(page, "ProceedBtn")->Focused());
        choices.push_back(rg->ItemIndex());
        rg->Button(1)->Handle()->Click();
        Press(page, "ProceedBtn");
        Press(CurrentPage(), "ProceedBtn");
    });
    EXPECT_EQ(choices, (std::vector<int>{0, 0}));
    EXPECT_FALSE(Driver()->Reboot);
}

TEST_F(PagesTest, AnsweringNoToTheRebootPageEndsTheInstallWithoutARestart) {
    RegisterPageForm<TRebootForm>();
    RegisterPageForm<TGoodInstallForm>();
    LoadForm(ProjectWith(ManagerText("Restart", "dmReboot")));
    Driver()->Reboot = true;
    int asked = 0;
    fake_.Gui().WhenShownModally([&](IForm&) {
        TBaseInstallForm* page = CurrentPage();
        auto* rg = dynamic_cast<TRadioGroup*>(page->FindComponent("RG"));
        ASSERT_NE(rg, nullptr);
        ++asked;
        EXPECT_EQ(rg->ItemIndex(), 0);
        rg->Button(1)->Handle()->Click();
        Press(page, "FinishBtn");
    });
    Driver()->Install();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(Driver()->Reboot);
    EXPECT_TRUE(fake_.Processes().Reboots().empty());
}

} // namespace sw::test

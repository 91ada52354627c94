// The file-group page on the fake platform: which install types show it, the
// check boxes and sizes beside the tree's rows, the drive totals, and the
// destination through the edit and the folder browser.
#include "unit/dialogs/DialogsFixture.h"

#include "dialogs/FileGroupSelectForm.h"
#include "controls/Edits.h"
#include "engine/CustomInstall.h"
#include "lang/Translator.h"
#include "objects/FileContainer.h"
#include "objects/InstallFile.h"
#include "objects/InstallMessages.h"
#include "platform/fake/FakeControl.h"
#include "platform/fake/FakeGui.h"
#include "system/InstallErrors.h"

namespace sw::test {
namespace {

// The driver on C: with groups Main (C:, 1000 bytes), its sub-groups Extra
// (D:, 200) and Fixed (C:, 30, no choice), and Docs (D:, 4000).
std::string Project(const std::string& installTypes, const std::string& docsDir = "D:\\Docs",
                    const std::string& extraDir = "D:\\Extra") {
    auto group = [](const std::string& name, const std::string& container, const std::string& dir,
                    const std::string& more) {
        return "  object " + name + ": TInstallFileGroup\n    Container = " + container + "\n    DestDir = '" + dir +
               "'\n    GroupName = '" + name + "'\n" + more + "  end\n  object " + name +
               "File: TInstallFile\n    Container = " + name + "\n    FileName = '" + name + ".txt'\n  end\n";
    };
    return "object Form1: TTestForm\n  object Install1: TInstall\n    RunAutomatic = False\n"
           "    UseLoadingProgram = False\n    DestDir = '\\App'\n    GroupName = 'Product'\n    InstallTypes = " +
           installTypes + "\n  end\n  object Manager0: TDialogManager\n    Container = Install1\n  end\n" +
           group("Main", "Install1", "C:\\App\\Main", "    Description.Strings = (\n      'The program')\n") +
           group("Extra", "Main", extraDir, "") +
           group("Fixed", "Main", "C:\\App\\Fixed", "    AllowChoice = False\n") +
           group("Docs", "Install1", docsDir, "") + "end\n";
}

class FileGroupSelectFormTest : public DialogsFixture {
  protected:
    void SetUp() override {
        DialogsFixture::SetUp();
        RegisterLanguageClasses();
        fake_.Files().AddDrive('D');
        fake_.Files().SetFreeSpace('C', 1'000'000);
        fake_.Files().SetFreeSpace('D', 4200);
    }
    void Open(const std::string& project) {
        form_ = LoadForm(project);
        const std::pair<const char*, int> sizes[] = {{"Main", 1000}, {"Extra", 200}, {"Fixed", 30}, {"Docs", 4000}};
        for (const auto& [name, size] : sizes)
            File(name)->SetFileInformation(size, 0, "");
        FreePage();
        page_ = new TFileGroupSelectForm(nullptr);
        page_->Show();
        page_->UpdatePage();
    }
    void TearDown() override {
        FreePage();
        DialogsFixture::TearDown();
    }
    void FreePage() {
        if (page_)
            TComponent::Free(page_);
        page_ = nullptr;
    }
    TInstallFile* File(const std::string& group) {
        return static_cast<TInstallFile*>(form_->FindComponent(group + "File"));
    }
    TFileContainer* Group(const std::string& name) { return static_cast<TFileContainer*>(form_->FindComponent(name)); }
    TTreeNode* Node(const std::string& name) {
        for (TTreeNode* node : page_->GroupTree()->Nodes())
            if (node->Text == name)
                return node;
        ADD_FAILURE() << "no node " << name;
        return nullptr;
    }
    // The shown check boxes: group name, checked, enabled, top.
    std::vector<std::string> Boxes() {
        std::vector<std::string> out;
        for (size_t i = 0; i < page_->IncludeList().Count(); ++i) {
            TIncludeCheckBox* box = page_->IncludeList().At(i);
            if (box->Visible())
                out.push_back(box->Group->GroupName() + (box->Checked() ? " on" : " off") +
                              (box->Enabled() ? "" : " fixed") + " @" + std::to_string(box->Top()));
        }
        return out;
    }
    std::vector<std::string> Sizes() {
        std::vector<std::string> out;
        for (size_t i = 0; i < page_->SizeList().Count(); ++i)
            if (TSizeLabel* label = page_->SizeList().At(i); label->Visible())
                out.push_back(label->Caption());
        return out;
    }
    std::vector<std::string> Drives() {
        std::vector<std::string> out;
        for (const auto& item : page_->DriveList()->Items())
            out.push_back(item.Caption + " " + item.SubItems.at(0) + " / " + item.SubItems.at(1) +
                          (item.StateIndex == 1 ? " !" : ""));
        return out;
    }
    int DrivePanelHeight() { return static_cast<TControl*>(page_->FindComponent("pnlDriveSpace"))->Height(); }
    TEdit* Directory() { return static_cast<TEdit*>(page_->FindComponent("DirectoryLabel")); }

    TTestForm* form_ = nullptr;
    TFileGroupSelectForm* page_ = nullptr;
};

TEST_F(FileGroupSelectFormTest, TheInstallTypeDecidesWhetherThePageShows) {
    RegisterPageForm<TFileGroupSelectForm>();
    struct Case {
        const char* types;
        bool shown;
    } cases[] = {{"[itDefault]", false}, {"[itFull, itCompact]", false}, {"[itCustom]", true}, {"[itAlways]", true}};
    for (const auto& c : cases) {
        FreeRoots();
        LoadForm(Project(c.types));
        int shown = 0;
        fake_.Gui().WhenShownModally([&](IForm&) {
            ++shown;
            for (TBasePellmoorForm* f : DialogsState().Forms)
                if (auto* page = dynamic_cast<TFileGroupSelectForm*>(f); page && page->Owner())
                    page->NextPage();
        });
        Driver()->Broadcast(msg::BeforeInstall, nullptr);
        EXPECT_EQ(shown, c.shown ? 1 : 0) << c.types;
    }
}

TEST_F(FileGroupSelectFormTest, BoxesSizesAndDrivesOfTheTree) {
    Open(Project("[itCustom]"));
    EXPECT_EQ(page_->Caption(), "Select components to install");
    // The root is expanded one level: Product, Main, Docs.
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Product on fixed @0", "Main on @16", "Docs on @32"}));
    EXPECT_EQ(Sizes(), (std::vector<std::string>{"5,230 Bytes", "1,230 Bytes", "4,000 Bytes"}));
    EXPECT_EQ(Drives(), (std::vector<std::string>{"C 1,030 Bytes / 1,000,000 Bytes", "D 4,200 Bytes / 4,200 Bytes !"}));
    EXPECT_EQ(DrivePanelHeight(), 61);
    EXPECT_EQ(page_->GroupTree()->Selected(), Node("Product"));
    EXPECT_EQ(Directory()->Text(), "c:\\program files\\app");
    EXPECT_EQ(static_cast<fake::FakeControl*>(page_->GroupTree()->Handle())->Bevel(), BevelKind::None)
        << "a tree without border, inside its lowered panel";
}

TEST_F(FileGroupSelectFormTest, BoxesFollowTheRowsWhenTheTreeExpandsCollapsesAndScrolls) {
    Open(Project("[itCustom]"));
    IControl* tree = page_->GroupTree()->Handle();
    tree->Toggle(Node("Main")->AbsoluteIndex());
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Product on fixed @0", "Main on @16", "Extra on @32",
                                                 "Fixed on fixed @48", "Docs on @64"}));
    static_cast<TControl*>(page_->FindComponent("pnlGroups"))->SetHeight(42); // two rows and a part
    tree->Scroll(2);
    EXPECT_EQ(Boxes()[0], "Extra on @0");
    EXPECT_EQ(Sizes()[0], "200 Bytes");
    tree->Scroll(-2);
    tree->Toggle(Node("Main")->AbsoluteIndex());
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Product on fixed @0", "Main on @16", "Docs on @32"}));
    EXPECT_EQ(Sizes().size(), 3u);
}

// Home and End move the rows as much as Page Up, Page Down and the arrows do:
// the columns and the details follow every one of them.
TEST_F(FileGroupSelectFormTest, BoxesAndDetailsFollowTheKeysAndTheScrollBar) {
    Open(Project("[itCustom]"));
    IControl* tree = page_->GroupTree()->Handle();
    tree->Toggle(Node("Main")->AbsoluteIndex());
    static_cast<TControl*>(page_->FindComponent("pnlGroups"))->SetHeight(42); // two rows and a part
    struct Step {
        int key;
        const char* firstBox;
        const char* directory;
    };
    for (const Step& step : {Step{vk::End, "Fixed on fixed @0", "d:\\docs"}, Step{vk::Prior, "Extra on @0", "d:\\extra"},
                             Step{vk::Up, "Main on @0", "c:\\app\\main"}, Step{vk::Next, "Extra on @0", "c:\\app\\fixed"},
                             Step{vk::Home, "Product on fixed @0", "c:\\program files\\app"},
                             Step{vk::Down, "Product on fixed @0", "c:\\app\\main"}}) {
        SCOPED_TRACE(step.key);
        tree->PressKey(step.key, false);
        ASSERT_FALSE(Boxes().empty());
        EXPECT_EQ(Boxes()[0], step.firstBox);
        EXPECT_EQ(Sizes().size(), Boxes().size());
        EXPECT_EQ(Directory()->Text(), step.directory);
    }
    tree->Scroll(3); // by the bar: the rows move, the selection stays
    EXPECT_EQ(Boxes()[0], "Fixed on fixed @0");
    EXPECT_EQ(Sizes()[0], "30 Bytes");
    EXPECT_EQ(Directory()->Text(), "c:\\app\\main");
}

TEST_F(FileGroupSelectFormTest, AGroupWithoutChoiceShowsItsInclusionDisabled) {
    Open(Project("[itCustom]"));
    Group("Fixed")->SetInclude(false);
    Node("Main")->Expand(false);
    page_->RefreshCheckBoxes();
    EXPECT_EQ(Boxes().at(3), "Fixed off fixed @48");
}

TEST_F(FileGroupSelectFormTest, UncheckingAParentDropsItsTreeFromTheDrivesOnly) {
    Open(Project("[itCustom]"));
    page_->GroupTree()->Handle()->Toggle(Node("Main")->AbsoluteIndex());
    page_->IncludeList().At(1)->Handle()->Click(); // Main
    EXPECT_FALSE(Group("Main")->Include());
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Product on fixed @0", "Main off @16", "Extra on @32",
                                                 "Fixed on fixed @48", "Docs on @64"}));
    // Main's label still counts its own files and sub-groups; the root's
    // drops them with Main.
    EXPECT_EQ(Sizes(),
              (std::vector<std::string>{"4,000 Bytes", "1,230 Bytes", "200 Bytes", "30 Bytes", "4,000 Bytes"}));
    // C: stays listed for Main, with nothing required of it beyond the driver's files.
    EXPECT_EQ(Drives(), (std::vector<std::string>{"C 0 Bytes / 1,000,000 Bytes", "D 4,000 Bytes / 4,200 Bytes"}));
}

TEST_F(FileGroupSelectFormTest, TheDriveListHasARowPerLetterAndItsHeightFollows) {
    struct Case {
        std::string docs, extra;
        std::vector<std::string> letters;
        int height;
    } cases[] = {
        {"C:\\Docs", "c:\\Extra", {"C"}, 43},
        {"D:\\Docs", "C:\\Extra", {"C", "D"}, 61},
        {"D:\\Docs", "E:\\Extra", {"C", "E", "D"}, 61},
        {"\\\\server\\share\\Docs", "", {"C"}, 43},
    };
    for (const auto& c : cases) {
        FreePage();
        FreeRoots();
        Open(Project("[itCustom]", c.docs, c.extra));
        std::vector<std::string> letters;
        for (const auto& d : page_->Drives())
            letters.push_back(d.Drive);
        EXPECT_EQ(letters, c.letters) << c.docs << " " << c.extra;
        EXPECT_EQ(DrivePanelHeight(), c.height) << c.docs << " " << c.extra;
    }
    // E: has no free space to read.
    EXPECT_EQ(page_->Drives().size(), 1u);
    FreePage();
    FreeRoots();
    Open(Project("[itCustom]", "D:\\Docs", "E:\\Extra"));
    EXPECT_EQ(Drives().at(1), "E 200 Bytes / -1 Bytes !");
}

TEST_F(FileGroupSelectFormTest, TheDirectoryEditWritesThroughInLowerCase) {
    Open(Project("[itCustom]"));
    page_->GroupTree()->Handle()->Choose(Node("Docs")->AbsoluteIndex());
    EXPECT_EQ(Directory()->Text(), "d:\\docs");
    EXPECT_FALSE(page_->FindComponent("DescriptionMemo") &&
                 static_cast<TControl*>(page_->FindComponent("DescriptionMemo"))->Visible());
    Directory()->Handle()->SetText("C:\\Other\\Docs");
    EXPECT_EQ(Group("Docs")->GetDestPath(), "c:\\other\\docs");
    EXPECT_EQ(Group("Docs")->DestDirType(), nullptr);
    page_->GroupTree()->Handle()->Choose(Node("Main")->AbsoluteIndex());
    auto* memo = static_cast<TMemo*>(page_->FindComponent("DescriptionMemo"));
    EXPECT_TRUE(memo->Visible());
    EXPECT_EQ(memo->Lines()->Lines, std::vector<std::string>{"The program"});
    EXPECT_EQ(Group("Main")->GetDestPath(), "C:\\App\\Main") << "showing a folder writes nothing";
}

TEST_F(FileGroupSelectFormTest, BrowseMakesTheMissingFolderForTheBrowserAndTakesItAway) {
    Open(Project("[itCustom]"));
    page_->GroupTree()->Handle()->Choose(Node("Docs")->AbsoluteIndex());
    auto& browser = fake_.FolderBrowser();
    browser.Type("D:\\Chosen\\Docs");
    browser.PressOk();
    static_cast<TControl*>(page_->FindComponent("BrowseBtn"))->Handle()->Click();
    EXPECT_EQ(browser.Runs().at(0).InitialSelection, "D:\\Docs");
    EXPECT_FALSE(fake_.Files().DirectoryExists("D:\\Docs")) << "the folder made for the browser stayed";
    EXPECT_TRUE(fake_.Files().DirectoryExists("D:\\Chosen\\Docs"));
    EXPECT_EQ(Group("Docs")->GetDestPath(), "D:\\Chosen\\Docs");
    EXPECT_EQ(Directory()->Text(), "d:\\chosen\\docs");
    // Cancel changes nothing; an existing start folder stays.
    browser.PressCancel();
    static_cast<TControl*>(page_->FindComponent("BrowseBtn"))->Handle()->Click();
    EXPECT_TRUE(fake_.Files().DirectoryExists("D:\\Chosen\\Docs"));
    EXPECT_EQ(Group("Docs")->GetDestPath(), "D:\\Chosen\\Docs");
}

TEST_F(FileGroupSelectFormTest, BrowseTakesAwayEveryLevelItMadeButThoseHoldingTheChoice) {
    Open(Project("[itCustom]"));
    page_->GroupTree()->Handle()->Choose(Node("Docs")->AbsoluteIndex());
    auto& browser = fake_.FolderBrowser();
    Directory()->Handle()->SetText("D:\\Gone\\Deep\\Docs");
    browser.PressCancel();
    static_cast<TControl*>(page_->FindComponent("BrowseBtn"))->Handle()->Click();
    EXPECT_FALSE(fake_.Files().DirectoryExists("D:\\Gone")) << "a parent made for the browser stayed";

    Directory()->Handle()->SetText("D:\\New\\Product\\Docs");
    browser.Type("D:\\New\\Product\\Guides");
    browser.PressOk();
    static_cast<TControl*>(page_->FindComponent("BrowseBtn"))->Handle()->Click();
    EXPECT_EQ(Group("Docs")->GetDestPath(), "D:\\New\\Product\\Guides");
    EXPECT_EQ(Directory()->Text(), "d:\\new\\product\\guides");
    EXPECT_TRUE(fake_.Files().DirectoryExists("D:\\New\\Product\\Guides"));
    EXPECT_FALSE(fake_.Files().DirectoryExists("D:\\New\\Product\\Docs"));
}

TEST_F(FileGroupSelectFormTest, ABlankContainerIsAnError) {
    Open(Project("[itCustom]"));
    page_->InstallContainer = nullptr;
    EXPECT_TRUE(page_->SkipPage());
    EXPECT_THROW(page_->FillTree(), IEFileGroupSelectForm);
    page_->InstallContainer = Manager(0);
    try {
        page_->RefreshDriveList();
        ADD_FAILURE() << "a dialog manager as the container was taken";
    } catch (const IEFileGroupSelectForm& e) {
        EXPECT_STREQ(e.what(), "Container is not a TFileContainer for ");
    }
}

} // namespace
} // namespace sw::test

#include "dialogs/OpenFolderDialog.h"

#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

class OpenFolderDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fake_.Files().AddDrive('D');
        fake_.Files().CreateDirectory("D:\\Apps");
        browser().SetSystemString("comdlg32.dll", 703, "Create Folder");
        browser().SetSystemString("shell32.dll", 8977, "Folder name:");
        browser().SetSystemString("shell32.dll", 9248, "Browse for Folder%s");
    }
    fake::FakeFolderBrowser& browser() { return fake_.FolderBrowser(); }
    bool Exists(const std::string& path) { return fake_.Files().DirectoryExists(path); }
    const fake::FakeFolderBrowser::Added* Control(size_t run, const std::string& cls) {
        for (const auto& c : browser().Runs().at(run).Controls)
            if (c.ClassName == cls)
                return &c;
        return nullptr;
    }

    fake::FakePlatform fake_;
    ScopedPlatform scope_{fake_.Get()};
    TOpenFolderDialog dialog_;
};

TEST_F(OpenFolderDialogTest, OpensAtTheNearestExistingFolder) {
    struct Case {
        std::string folder, selected;
    } cases[] = {{"D:\\Apps\\New\\Sub", "D:\\Apps"},
                 {"D:\\Apps\\", "D:\\Apps"},
                 {"D:\\Nothing", "D:\\"},
                 {"Q:\\Apps", ""},
                 {"", ""}};
    for (const auto& c : cases) {
        browser().PressCancel();
        dialog_.Folder = c.folder;
        EXPECT_FALSE(dialog_.Execute()) << c.folder;
        EXPECT_EQ(browser().Runs().back().InitialSelection, c.selected) << c.folder;
        EXPECT_EQ(dialog_.Folder, c.folder) << "Cancel leaves the folder";
    }
    EXPECT_EQ(browser().Runs().back().Title, "Browse for Folder");
    EXPECT_FALSE(Exists("D:\\Apps\\New"));
}

TEST_F(OpenFolderDialogTest, ATypedMissingPathIsCreatedAndReturnedOnOk) {
    dialog_.Folder = "D:\\Apps";
    browser().Type("D:\\Apps\\Typed\\Deeper");
    browser().PressOk();
    ASSERT_TRUE(dialog_.Execute());
    EXPECT_EQ(dialog_.Folder, "D:\\Apps\\Typed\\Deeper");
    EXPECT_TRUE(Exists("D:\\Apps\\Typed\\Deeper"));
    EXPECT_EQ(browser().Runs().size(), 1u);
}

TEST_F(OpenFolderDialogTest, CreateWithATypedMissingPathCreatesItWithoutAskingAndReopensThere) {
    dialog_.Folder = "D:\\Apps";
    browser().Type("D:\\Apps\\Made");
    browser().ClickButton("Create Folder");
    browser().PressOk(); // in the reopened browser
    ASSERT_TRUE(dialog_.Execute());
    EXPECT_TRUE(Exists("D:\\Apps\\Made"));
    ASSERT_EQ(browser().Runs().size(), 2u);
    EXPECT_TRUE(browser().Runs()[0].Questions.empty());
    EXPECT_EQ(browser().Runs()[1].InitialSelection, "D:\\Apps\\Made");
    EXPECT_EQ(dialog_.Folder, "D:\\Apps\\Made");
}

TEST_F(OpenFolderDialogTest, CreateOnAnExistingFolderAsksForTheName) {
    dialog_.Folder = "D:\\Apps";
    browser().ClickButton("Create Folder");
    browser().Answer("Named");
    browser().PressOk();
    ASSERT_TRUE(dialog_.Execute());
    const auto& question = browser().Runs()[0].Questions.at(0);
    EXPECT_EQ(question.Title, "Create Folder");
    EXPECT_EQ(question.Prompt, "Folder name:");
    EXPECT_EQ(question.Text, "");
    EXPECT_EQ(dialog_.Folder, "D:\\Apps\\Named");
    EXPECT_TRUE(Exists("D:\\Apps\\Named"));
}

TEST_F(OpenFolderDialogTest, CancelledNameOrVetoCreatesNothing) {
    dialog_.Folder = "D:\\Apps";
    browser().ClickButton("Create Folder");
    browser().Answer(std::nullopt);
    browser().Type("D:\\Apps\\Vetoed");
    browser().ClickButton("Create Folder");
    browser().PressCancel();
    int asked = 0;
    // First click: no veto, the question is cancelled; the second is vetoed.
    dialog_.OnCreateFolder.Fn = [&](TOpenFolderDialog*, bool& allow) { allow = ++asked == 1; };
    EXPECT_FALSE(dialog_.Execute());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(browser().Runs().size(), 1u);
    EXPECT_FALSE(Exists("D:\\Apps\\Vetoed"));
    EXPECT_EQ(browser().Runs()[0].Questions.size(), 1u);
}

TEST_F(OpenFolderDialogTest, EditFollowsTheSelectionAndTheButtonFollowsOk) {
    fake_.Files().CreateDirectory("D:\\Other");
    dialog_.Folder = "";
    browser().Select("D:\\Other");
    browser().PressOk();
    ASSERT_TRUE(dialog_.Execute());
    EXPECT_EQ(dialog_.Folder, "D:\\Other");
    // Opened at the desktop, which has no path: OK is disabled, the button hidden.
    dialog_.Folder = "";
    browser().PressCancel();
    dialog_.Execute();
    EXPECT_FALSE(Control(1, "Button")->Visible);
    EXPECT_TRUE(Control(0, "Button")->Visible);
}

TEST_F(OpenFolderDialogTest, PlacesTheControlsOverOkAndBelowTheShortenedTree) {
    using B = fake::FakeFolderBrowser;
    browser().PressCancel();
    dialog_.Execute();
    const auto& run = browser().Runs()[0];
    EXPECT_EQ(run.Tree,
              (BrowserRect{B::TreeBounds.Left, B::TreeBounds.Top, B::TreeBounds.Right, B::TreeBounds.Bottom - 60}));
    EXPECT_TRUE(run.TreeKeepsSelection);
    const int step = B::CancelBounds.Left - B::OkBounds.Left;
    EXPECT_EQ(Control(0, "Button")->Bounds, (BrowserRect{B::TreeBounds.Left, B::OkBounds.Top - 22,
                                                         B::OkBounds.Right - step, B::OkBounds.Bottom - 22}));
    EXPECT_EQ(Control(0, "Edit")->Bounds.Left, B::TreeBounds.Left);
    EXPECT_EQ(Control(0, "Edit")->Bounds.Top, B::TreeBounds.Bottom - 60 + 15);
    EXPECT_EQ(Control(0, "Edit")->Bounds.Width(), B::TreeBounds.Right - B::TreeBounds.Left);

    dialog_.ShowCreateButton = dialog_.ShowPathEdit = false;
    browser().Select("D:\\Apps");
    browser().PressOk();
    ASSERT_TRUE(dialog_.Execute());
    EXPECT_TRUE(browser().Runs()[1].Controls.empty());
    EXPECT_EQ(browser().Runs()[1].Tree, B::TreeBounds);
    EXPECT_EQ(dialog_.Folder, "D:\\Apps");
}

TEST_F(OpenFolderDialogTest, MissingSystemStringsFallBackToEnglish) {
    fake::FakePlatform bare;
    ScopedPlatform scope(bare.Get());
    bare.Files().CreateDirectory("C:\\Apps");
    auto& b = bare.FolderBrowser();
    b.ClickButton("New Folder");
    b.Answer(std::nullopt);
    b.PressCancel();
    dialog_.Folder = "C:\\Apps";
    EXPECT_FALSE(dialog_.Execute());
    EXPECT_EQ(b.Runs().at(0).Title, "Select a folder:");
    EXPECT_EQ(b.Runs().at(0).Questions.at(0).Prompt, "Folder name:");
}

} // namespace
} // namespace sw

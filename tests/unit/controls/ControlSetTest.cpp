#include "ControlsFixture.h"
#include "controls/Boxes.h"
#include "controls/ComCtrls.h"
#include "controls/Edits.h"
#include "controls/ExtCtrls.h"
#include "controls/Grids.h"
#include "controls/Lists.h"
#include "controls/StdCtrls.h"
#include "support/SourceFiles.h"

namespace sw::test {
namespace {

struct ControlSetTest : ControlsTest {
    // A page with one of each control, as the dialog forms use them.
    ControlSetTest() : form(ReadForm(ReadSourceFile("tests/fixtures/forms/every-control.txt"))) {}
    template <class T> T& Get(const char* name) { return *static_cast<T*>(form->FindComponent(name)); }
    TForm* form;
};

TEST_F(ControlSetTest, EveryControlReadsBackAndWritesTheSameStream) {
    std::string first = WriteComponentStream(*form);
    TOwned<TComponent> again(ReadComponentStream(first, nullptr));
    EXPECT_EQ(WriteComponentStream(*again), first);
    EXPECT_EQ(Get<TListBox>("FolderListBox").Items()->Lines,
              (std::vector<std::string>{"accessories", "Games", "Utilities"}));
    EXPECT_EQ(Get<TEdit>("FolderEdit").Text(), "c:\\program files");
    EXPECT_EQ(Get<TRichEdit>("Agreement").Text(), "First line\r\nSecond line");
    EXPECT_EQ(Get<TRadioGroup>("RG").ItemIndex(), 1);
    EXPECT_TRUE(Get<TRadioGroup>("RG").Button(1)->Checked());
    EXPECT_EQ(Get<TListView>("Drives").Columns()->Count(), 2);
}

TEST_F(ControlSetTest, AlignmentAndAnchorsPlaceTheControls) {
    EXPECT_EQ(Get<TPanel>("ButtonBar").BoundsRect(), (Bounds{0, 316, 470, 52}));
    EXPECT_EQ(Get<TImage>("ThemeBitmap").BoundsRect(), (Bounds{0, 0, 136, 316}));
    EXPECT_EQ(Get<TBevel>("Line").BoundsRect(), (Bounds{0, 0, 470, 2}));
    form->Show();
    form->Window()->SetClientSize(570, 418);
    fake.Gui().Post(*form->Window(), fake::FakeGui::FormEvent::Resize);
    Application().ProcessMessages();
    EXPECT_EQ(Window("ButtonBar").GetBounds(), (Bounds{0, 366, 570, 52}));
    EXPECT_EQ(Window("ThemeBitmap").GetBounds(), (Bounds{0, 0, 136, 366}));
    EXPECT_EQ(Window("ProceedBtn").GetBounds(), (Bounds{400, 10, 75, 33})); // follows the bar's right edge
    EXPECT_EQ(Window("FolderEdit").GetBounds(), (Bounds{144, 8, 200, 21}));
}

TEST_F(ControlSetTest, TypingIntoAnEditKeepsItsCaseRuleAndRunsOnChange) {
    auto& edit = Get<TEdit>("FolderEdit");
    std::vector<std::string> seen;
    edit.OnChange = TNotifyEvent("Changed", [&](TPersistent*) { seen.push_back(edit.Text()); });
    form->Show();
    Window("FolderEdit").SetText("D:\\Apps");
    EXPECT_EQ(edit.Text(), "d:\\apps");
    EXPECT_EQ(Window("FolderEdit").Text(), "d:\\apps");
    edit.SetText("E:\\Tools");
    EXPECT_EQ(Window("FolderEdit").Text(), "e:\\tools");
    EXPECT_EQ(seen, (std::vector<std::string>{"d:\\apps", "e:\\tools"}));
}

TEST_F(ControlSetTest, ChoosingItemsAsAUserSelectsAndNotifies) {
    form->Show();
    auto& list = Get<TListBox>("FolderListBox");
    int clicks = 0;
    list.OnClick = TNotifyEvent("ListClick", [&](TPersistent*) { ++clicks; });
    EXPECT_EQ(Window("FolderListBox").Items(), (std::vector<std::string>{"accessories", "Games", "Utilities"}));
    Window("FolderListBox").Choose(2);
    EXPECT_EQ(list.ItemIndex(), 2);
    Window("FolderListBox").Choose(7); // no such item
    EXPECT_EQ(list.ItemIndex(), 2);
    EXPECT_EQ(clicks, 1);
    list.SetItemIndex(0); // the program's choice runs no handler
    EXPECT_EQ(Window("FolderListBox").ItemIndex(), 0);
    EXPECT_EQ(clicks, 1);

    auto& combo = Get<TComboBox>("Combo");
    int changes = 0;
    combo.OnChange = TNotifyEvent("ComboChange", [&](TPersistent*) { ++changes; });
    Window("Combo").Choose(1);
    EXPECT_EQ(combo.Text(), "b");
    EXPECT_EQ(changes, 1);
}

TEST_F(ControlSetTest, BoxesAndRadioGroupsRunOnClickForClicksAndForTheProgram) {
    form->Show();
    auto& box = Get<TCheckBox>("Include");
    int boxClicks = 0;
    box.OnClick = TNotifyEvent("BoxClick", [&](TPersistent*) { ++boxClicks; });
    Window("Include").Click();
    EXPECT_TRUE(box.Checked());
    EXPECT_TRUE(Window("Include").Checked());
    box.SetChecked(false);
    EXPECT_EQ(boxClicks, 2);
    box.SetEnabled(false);
    Window("Include").Click();
    EXPECT_FALSE(box.Checked());

    auto& rg = Get<TRadioGroup>("RG");
    int rgClicks = 0;
    rg.OnClick = TNotifyEvent("RGClick", [&](TPersistent*) { ++rgClicks; });
    IControl& yes = Window("RG.Item0");
    EXPECT_EQ(yes.Text(), "Yes, I would like to reboot windows");
    EXPECT_EQ(yes.GetBounds(), (Bounds{8, 14, 290, 21})); // two rows below the caption
    yes.Click();
    EXPECT_EQ(rg.ItemIndex(), 0);
    EXPECT_FALSE(Window("RG.Item1").Checked());
    rg.SetItemIndex(1);
    EXPECT_EQ(rgClicks, 2);
    rg.SetItemIndex(1);
    EXPECT_EQ(rgClicks, 2);
    // Narrowed (a page fitted into a smaller container), the buttons stay inside the frame.
    rg.SetWidth(rg.Width() - 20);
    EXPECT_EQ(yes.GetBounds(), (Bounds{8, 14, 270, 21}));
}

TEST_F(ControlSetTest, TabsTreesListsGridsAndBars) {
    form->Show();
    auto& tabs = Get<TTabControl>("Tabs");
    bool allow = false;
    int changes = 0;
    tabs.OnChanging = TEvent<TPersistent*, bool&>("Changing", [&](TPersistent*, bool& a) { a = allow; });
    tabs.OnChange = TNotifyEvent("Change", [&](TPersistent*) { ++changes; });
    tabs.SetTabIndex(0);
    tabs.SetVisible(true);
    Window("Tabs").Choose(1);
    EXPECT_EQ(tabs.TabIndex(), 0);
    EXPECT_EQ(Window("Tabs").ItemIndex(), 0);
    allow = true;
    Window("Tabs").Choose(1);
    EXPECT_EQ(tabs.TabIndex(), 1);
    EXPECT_EQ(changes, 1);

    auto& tree = Get<TTreeView>("Groups");
    TTreeNode* root = tree.AddChild(nullptr, "Demo", &tree);
    TTreeNode* docs = tree.AddChild(root, "Documentation");
    tree.AddChild(root, "Samples");
    EXPECT_EQ(Window("Groups").Items(), (std::vector<std::string>{"Demo", "\tDocumentation", "\tSamples"}));
    TTreeNode* changed = nullptr;
    tree.OnChange = TEvent<TPersistent*, TTreeNode*>("TreeChange", [&](TPersistent*, TTreeNode* n) { changed = n; });
    Window("Groups").Choose(1);
    EXPECT_EQ(changed, docs);
    EXPECT_EQ(tree.Selected(), docs);
    EXPECT_TRUE(root->Expanded()) << "the window showed the chosen node";

    auto& drives = Get<TListView>("Drives");
    drives.AddItem({"C", {"1,024 Bytes"}, 0, 1, nullptr});
    EXPECT_EQ(Window("Drives").Items(), (std::vector<std::string>{"C\t1,024 Bytes"}));

    auto& grid = Get<TStringGrid>("LanguageGrid");
    grid.SetRowCount(2);
    grid.SetCell(1, 1, "French");
    EXPECT_EQ(Window("LanguageGrid").Items(), (std::vector<std::string>{"\t", "\tFrench"}));
    Window("LanguageGrid").Choose(3);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.Cell(5, 5), "");

    auto& bar = Get<TProgressBar>("ProgressBar1");
    EXPECT_EQ(Window("ProgressBar1").Position(), 40);
    bar.SetPosition(250);
    EXPECT_EQ(bar.Position(), 100);
    EXPECT_EQ(Window("ProgressBar1").Position(), 100);
}

TEST_F(ControlSetTest, FocusGoesOnlyToShownEnabledControls) {
    auto& button = Get<TBitBtn>("ProceedBtn");
    button.SetFocus(); // not shown yet
    EXPECT_FALSE(button.Focused());
    form->Show();
    button.SetFocus();
    EXPECT_TRUE(button.Focused());
    Get<TPanel>("ButtonBar").SetVisible(false);
    EXPECT_FALSE(button.Focused());
    button.SetFocus();
    EXPECT_FALSE(button.Focused());
}

TEST_F(ControlSetTest, FontsFollowTheFormUntilAControlHasItsOwn) {
    form->Show();
    form->Font()->SetCharset(204);
    EXPECT_EQ(Window("ProceedBtn").Font().Charset, 204);
    auto& edit = Get<TEdit>("FolderEdit");
    edit.Font()->SetStyle(1u << fsBold);
    EXPECT_FALSE(edit.ParentFont());
    form->Font()->SetName("Arial");
    EXPECT_EQ(Window("FolderEdit").Font().Face, "MS Sans Serif");
    EXPECT_TRUE(Window("FolderEdit").Font().Bold);
    EXPECT_EQ(Window("Include").Font().Face, "Arial");
}

TEST_F(ControlSetTest, ModalFormEndsWithTheButtonsResult) {
    auto& next = Get<TBitBtn>("ProceedBtn");
    next.ModalResult = mrOk;
    fake.Gui().Post([&] { Window("ProceedBtn").Click(); });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_FALSE(form->Visible());
    // Nothing pressed: the fake's loop runs dry, which never reads as OK.
    EXPECT_EQ(form->ShowModal(), mrAbort);
}

TEST_F(ControlSetTest, FreeingTheFormFreesTheWindowsFirst) {
    form->Show();
    EXPECT_NE(fake.Gui().FindControl("Agreement"), nullptr);
    RenewProgramState();
    EXPECT_EQ(fake.Gui().FindControl("Agreement"), nullptr);
    EXPECT_EQ(fake.Gui().FindControl("RG.Item0"), nullptr);
}

} // namespace
} // namespace sw::test

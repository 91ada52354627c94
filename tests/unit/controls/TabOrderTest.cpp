#include "ControlsFixture.h"
#include "controls/Boxes.h"
#include "controls/ExtCtrls.h"
#include "platform/fake/FakeControl.h"
#include "platform/fake/FakeForm.h"
#include "support/SourceFiles.h"
#include "support/TabWalk.h"

namespace sw::test {
namespace {

// A page whose tab orders have gaps and duplicates, with a hidden, a disabled
// and a non-stop edit, and buttons in a panel and boxes in a group box.
struct TabOrderTest : ControlsTest {
    TabOrderTest() : form(ReadForm(ReadSourceFile("tests/fixtures/forms/tab-order.txt"))) {}
    TWinControl& Get(const char* name) { return *static_cast<TWinControl*>(form->FindComponent(name)); }
    static std::vector<std::string> Names(const std::vector<TWinControl*>& controls) {
        std::vector<std::string> names;
        for (TWinControl* c : controls)
            names.push_back(c->Name());
        return names;
    }
    std::vector<std::string> Walk(int count, bool backward) {
        return TabWalk(*form, Get("NameEdit"), count, backward);
    }
    TForm* form;
};

TEST_F(TabOrderTest, ChildrenComeAtTheirContainersPlaceByTabOrder) {
    EXPECT_EQ(Names(form->TabOrderList()),
              (std::vector<std::string>{"NameEdit", "HiddenEdit", "Options", "SecondBox", "FirstBox", "DisabledEdit",
                                        "NoStopEdit", "Groups", "ButtonBar", "BackBtn", "ProceedBtn", "CancelBtn",
                                        "FolderList"}));
    form->Show();
    std::vector<std::string> windows;
    for (fake::FakeControl* c : static_cast<fake::FakeForm*>(form->Window())->TabOrder())
        windows.push_back(c->Name());
    EXPECT_EQ(windows, Names(form->TabOrderList())) << "the window learns the order";
    EXPECT_FALSE(static_cast<fake::FakeControl&>(Window("NoStopEdit")).TabStop());
    EXPECT_TRUE(static_cast<fake::FakeControl&>(Window("NameEdit")).TabStop());
}

TEST_F(TabOrderTest, TabVisitsTheFocusableStopsAndWrapsAround) {
    form->Show();
    EXPECT_EQ(Walk(9, false), (std::vector<std::string>{"SecondBox", "FirstBox", "Groups", "BackBtn", "ProceedBtn",
                                                        "CancelBtn", "FolderList", "NameEdit", "SecondBox"}));
    EXPECT_EQ(Walk(3, true), (std::vector<std::string>{"FolderList", "CancelBtn", "ProceedBtn"}));
}

TEST_F(TabOrderTest, HiddenAndDisabledContainersTakeTheirControlsOutOfTheWalk) {
    form->Show();
    Get("Options").SetEnabled(false);
    Get("ButtonBar").SetVisible(false);
    Get("HiddenEdit").SetVisible(true);
    EXPECT_EQ(Walk(4, false), (std::vector<std::string>{"HiddenEdit", "Groups", "FolderList", "NameEdit"}));
    Get("Groups").SetTabStop(false);
    Get("FolderList").SetTabOrder(0); // after NameEdit, which joined the form earlier
    EXPECT_EQ(Walk(3, true), (std::vector<std::string>{"HiddenEdit", "FolderList", "NameEdit"}));
}

TEST_F(TabOrderTest, ControlsAddedToAShownFormJoinTheWalk) {
    form->Show();
    auto* later = new TCheckBox(form);
    later->SetName("LaterBox");
    later->SetParent(&static_cast<TWinControl&>(Get("Options")));
    later->SetTabOrder(0);
    EXPECT_EQ(Walk(2, false), (std::vector<std::string>{"LaterBox", "SecondBox"}));
    std::vector<std::string> windows;
    for (fake::FakeControl* c : static_cast<fake::FakeForm*>(form->Window())->TabOrder())
        windows.push_back(c->Name());
    EXPECT_EQ(windows[3], "LaterBox");
}

TEST_F(TabOrderTest, NothingToVisitLeavesTheFocusAlone) {
    form->Show();
    for (TWinControl* c : form->TabOrderList())
        if (c->Name() != "NameEdit")
            c->SetTabStop(false);
    EXPECT_EQ(Walk(2, false), (std::vector<std::string>{"NameEdit", "NameEdit"}));
    EXPECT_EQ(form->FindNextControl(nullptr, true), &Get("NameEdit")) << "from no control, the first stop";
}

} // namespace
} // namespace sw::test

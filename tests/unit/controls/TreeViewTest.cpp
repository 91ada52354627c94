#include "ControlsFixture.h"
#include "controls/ComCtrls.h"
#include "platform/fake/FakeControl.h"

#include <optional>

namespace sw::test {
namespace {

// A tree three rows high, as the components page fills one:
//   Demo (0)
//     Documentation (1)
//       Manual (2)
//       Reference (3)
//     Samples (4)
//     Tools (5)
//     Extras (6)
//   Other (7)
struct TreeViewTest : ControlsTest {
    static constexpr int kRow = fake::FakeControl::kTreeRowHeight;

    TreeViewTest()
        : form(ReadForm("object Page: TForm\n ClientWidth = 300\n ClientHeight = 200\n"
                        " object Groups: TTreeView\n  Left = 8\n  Top = 8\n  Width = 200\n  Height = " +
                        std::to_string(3 * kRow + 4) + "\n end\nend\n")),
          tree(*static_cast<TTreeView*>(form->FindComponent("Groups"))) {
        root = tree.AddChild(nullptr, "Demo");
        docs = tree.AddChild(root, "Documentation");
        manual = tree.AddChild(docs, "Manual");
        reference = tree.AddChild(docs, "Reference");
        samples = tree.AddChild(root, "Samples");
        tree.AddChild(root, "Tools");
        extras = tree.AddChild(root, "Extras");
        other = tree.AddChild(nullptr, "Other");
        tree.OnExpanded = TEvent<TPersistent*, TTreeNode*>("Expanded", [this](TPersistent*, TTreeNode* n) {
            events.push_back("+" + n->Text);
        });
        tree.OnCollapsed = TEvent<TPersistent*, TTreeNode*>("Collapsed", [this](TPersistent*, TTreeNode* n) {
            events.push_back("-" + n->Text);
        });
        tree.OnChange = TEvent<TPersistent*, TTreeNode*>("Change", [this](TPersistent*, TTreeNode* n) {
            events.push_back("select " + (n ? n->Text : std::string("none")));
        });
        tree.OnScroll = TNotifyEvent("Scroll", [this](TPersistent*) { events.push_back("scroll"); });
    }

    // The top of a node's row, none while it is not shown.
    static std::optional<int> Top(const TTreeNode* node) {
        std::optional<Bounds> rect = node->DisplayRect();
        return rect ? std::optional(rect->Top) : std::nullopt;
    }
    std::vector<std::string> Shown() const {
        std::vector<std::string> shown;
        for (TTreeNode* n : tree.Nodes())
            if (n->IsVisible())
                shown.push_back(n->Text);
        return shown;
    }

    TForm* form;
    TTreeView& tree;
    TTreeNode* root;
    TTreeNode* docs;
    TTreeNode* manual;
    TTreeNode* reference;
    TTreeNode* samples;
    TTreeNode* extras;
    TTreeNode* other;
    std::vector<std::string> events;
};

TEST_F(TreeViewTest, ExpandingOneLevelShowsTheChildrenButNotTheirs) {
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Demo", "Other"}));
    root->Expand(false);
    EXPECT_TRUE(root->Expanded());
    EXPECT_FALSE(docs->Expanded());
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Demo", "Documentation", "Samples", "Tools", "Extras", "Other"}));
    EXPECT_EQ(Top(root), std::nullopt) << "no rectangles before the tree has a window";
    other->Expand(false);
    EXPECT_FALSE(other->Expanded()) << "a node without children stays collapsed";
    root->Collapse(false);
    root->Expand(true);
    EXPECT_TRUE(docs->Expanded());
    EXPECT_EQ(Shown().size(), 8u);
    root->Collapse(true);
    EXPECT_FALSE(docs->Expanded());
    EXPECT_EQ(events, (std::vector<std::string>{"+Demo", "-Demo", "+Demo", "+Documentation", "-Documentation", "-Demo"}));
}

TEST_F(TreeViewTest, RowsFollowExpansionAndScrolling) {
    form->Show();
    IControl& window = Window("Groups");
    EXPECT_EQ(root->DisplayRect(), (Bounds{0, 0, 196, kRow}));
    EXPECT_EQ(Top(other), kRow);
    EXPECT_EQ(Top(docs), std::nullopt);
    root->Expand(false);
    EXPECT_EQ(Top(docs), kRow);
    EXPECT_EQ(Top(other), 5 * kRow) << "below the tree's height, still a row";
    EXPECT_EQ(Top(manual), std::nullopt);
    window.Scroll(2);
    EXPECT_EQ(Top(root), -2 * kRow);
    EXPECT_EQ(Top(samples), 0);
    window.Scroll(9); // no further than the last row showing in full
    EXPECT_EQ(Top(extras), kRow);
    EXPECT_EQ(Top(other), 2 * kRow);
    window.Scroll(-9);
    EXPECT_EQ(Top(root), 0);
    EXPECT_EQ(events, (std::vector<std::string>{"+Demo", "scroll", "scroll", "scroll", "scroll", "scroll", "scroll"}));
}

TEST_F(TreeViewTest, TheUsersButtonClickReachesTheHandlersAndScrollsTheChildrenIntoView) {
    form->Show();
    root->Expand(false);
    events.clear();
    Window("Groups").Toggle(docs->AbsoluteIndex());
    EXPECT_TRUE(docs->Expanded());
    // Documentation on the second of three rows: one row up shows both children.
    EXPECT_EQ(Top(docs), 0);
    EXPECT_EQ(Top(reference), 2 * kRow);
    EXPECT_EQ(events, (std::vector<std::string>{"+Documentation", "scroll"}));
    Window("Groups").Toggle(samples->AbsoluteIndex());
    EXPECT_EQ(events.size(), 2u) << "a node without children has no button";
}

TEST_F(TreeViewTest, CollapsingTheSelectionsParentSelectsIt) {
    form->Show();
    tree.SetSelected(reference);
    EXPECT_TRUE(root->Expanded());
    EXPECT_TRUE(docs->Expanded());
    EXPECT_EQ(Window("Groups").ItemIndex(), 3);
    EXPECT_TRUE(reference->DisplayRect()) << "selecting a node shows it";
    events.clear();
    Window("Groups").Toggle(docs->AbsoluteIndex());
    EXPECT_EQ(tree.Selected(), docs);
    EXPECT_EQ(Window("Groups").ItemIndex(), 1);
    root->Collapse(false);
    EXPECT_EQ(tree.Selected(), root);
    EXPECT_EQ(Top(other), kRow);
    EXPECT_EQ(events, (std::vector<std::string>{"select Documentation", "-Documentation", "select Demo", "-Demo"}));
}

TEST_F(TreeViewTest, ExpansionSurvivesNewNodesAndAWindowMadeLater) {
    root->Expand(false);
    docs->Expand(false);
    tree.SetSelected(manual);
    form->Show();
    IControl& window = Window("Groups");
    EXPECT_TRUE(window.Expanded(0));
    EXPECT_TRUE(window.Expanded(1));
    EXPECT_EQ(window.ItemIndex(), 2);
    tree.AddChild(other, "Later");
    EXPECT_TRUE(window.Expanded(1)) << "the window shows the nodes anew, as expanded as before";
    EXPECT_FALSE(window.Expanded(7));
    tree.Clear();
    EXPECT_TRUE(window.Items().empty());
    EXPECT_EQ(window.ItemRect(0), std::nullopt);
}

TEST_F(TreeViewTest, TheBorderIsTheWindowsSunkenEdgeAndCanBeTurnedOff) {
    form->Show();
    auto& window = static_cast<fake::FakeControl&>(Window("Groups"));
    EXPECT_EQ(tree.BorderStyle(), TBorderStyle::bsSingle);
    EXPECT_EQ(window.Bevel(), BevelKind::Lowered);
    tree.SetBorderStyle(TBorderStyle::bsNone);
    EXPECT_EQ(window.Bevel(), BevelKind::None) << "the shown window loses its edge";
    std::string text = RecordsToText(ComponentToRecords(*form));
    EXPECT_NE(text.find("    BorderStyle = bsNone\n"), std::string::npos) << text;

    form->Hide();
    TForm* read = ReadForm("object Page2: TForm\n object Flat: TTreeView\n  BorderStyle = bsNone\n end\nend\n");
    read->Show();
    EXPECT_EQ(static_cast<fake::FakeControl&>(Window("Flat")).Bevel(), BevelKind::None) << "made without an edge";
}

} // namespace
} // namespace sw::test

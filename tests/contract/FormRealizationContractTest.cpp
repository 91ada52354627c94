// Dialog forms in text form (tests/fixtures/forms/), shown on each backend:
// the controls' windows take the places the portable layout gives them and
// show the same texts, images and owner-drawn cells, headless and under Win32
// alike.
#include "ContractBackends.h"
#include "controls/Controls.h"
#include "controls/ComCtrls.h"
#include "controls/Forms.h"
#include "controls/Grids.h"
#include "platform/fake/FakeControl.h"
#include "project/Reader.h"
#include "project/TextForm.h"
#include "support/ProgramStateForTests.h"
#include "support/SourceFiles.h"
#include "support/TabWalk.h"

#include <functional>
#include <map>

#ifdef _WIN32
#include "platform/win32/Win32Control.h"
#endif

using namespace sw;

namespace {

struct Seen {
    Bounds bounds;
    std::string text;
    std::vector<std::string> items;
    std::vector<ItemImages> images;
    ImageListInfo smallImages;
    ImageListInfo stateImages;
    // Cells the owner was asked to draw: "col,row left,top,width,height state".
    std::vector<std::string> drawn;
    bool operator==(const Seen&) const = default;
};

// Every control's window as the backend shows it, by name. `prepare` runs
// before the form is shown.
template <typename Backend>
std::map<std::string, Seen> ShowForm(Backend& backend, const std::string& file, int clientWidth, int clientHeight,
                                     const std::function<void(TForm&, std::vector<std::string>&)>& prepare = {}) {
    ScopedPlatform installed(backend.platform.Get());
    RegisterControlClasses();
    std::string text = test::ReadSourceFile("tests/fixtures/forms/" + file);
    auto* form = static_cast<TForm*>(ReadComponentRecords(TextToRecords(text, file), nullptr));
    Application().Adopt(form);
    std::vector<std::string> drawn;
    if (prepare)
        prepare(*form, drawn);
    form->Show();
    if (clientWidth)
        form->SetClientWidth(clientWidth);
    if (clientHeight)
        form->SetClientHeight(clientHeight);
    backend.Gui().ProcessMessages();
    std::map<std::string, Seen> seen;
    for (int i = 0; i < form->ComponentCount(); ++i) {
        const std::string& name = form->Components(i)->Name();
        IControl* window = form->Window()->FindControl(name);
        if (!window)
            continue;
        drawn.clear();
        window->Repaint();
        seen[name] = {window->GetBounds(),
                      window->Text(),
                      window->Items(),
                      window->GetItemImages(),
                      window->GetImageList(ImageListRole::Small),
                      window->GetImageList(ImageListRole::State),
                      drawn};
    }
    test::RenewProgramState();
    return seen;
}

// The drive list of the components page with two drives, the second short of
// space, and the language grid with its flags drawn by the page.
void PrepareDrivesAndLanguages(TForm& form, std::vector<std::string>& drawn) {
    auto* drives = static_cast<TListView*>(form.FindComponent("Drives"));
    drives->AddItem({"C", {"1,024 Bytes", "2,048 Bytes"}, 0, -1, nullptr});
    drives->AddItem({"D", {"4,096 Bytes", "-1 Bytes"}, 0, 1, nullptr});
    auto* grid = static_cast<TStringGrid*>(form.FindComponent("LanguageGrid"));
    grid->SetCell(0, 0, "English");
    grid->SetCell(1, 0, "French");
    grid->Select(1, 0);
    grid->OnDrawCell = TDrawCellEvent("LanguageGridDrawCell", [grid, &drawn](TPersistent*, int32_t col, int32_t row,
                                                                             const Bounds& r, TGridDrawState state) {
        drawn.push_back(std::to_string(col) + "," + std::to_string(row) + " " + std::to_string(r.Left) + "," +
                        std::to_string(r.Top) + "," + std::to_string(r.Width) + "," + std::to_string(r.Height) + " " +
                        std::to_string(state));
        grid->Canvas().FillRect(r);
    });
}

template <typename Backend> class FormRealizationContract : public ::testing::Test {
  protected:
    Backend backend;
};

// A form of tests/fixtures/forms/ shown on a backend, for as long as it lives.
struct ShownForm {
    template <typename Backend> ShownForm(Backend& backend, const std::string& file) : installed(backend.platform.Get()) {
        RegisterControlClasses();
        form = static_cast<TForm*>(
            ReadComponentRecords(TextToRecords(test::ReadSourceFile("tests/fixtures/forms/" + file), file), nullptr));
        Application().Adopt(form);
        form->Show();
        backend.Gui().ProcessMessages();
    }
    ~ShownForm() { test::RenewProgramState(); }
    ShownForm(const ShownForm&) = delete;
    ShownForm& operator=(const ShownForm&) = delete;

    TWinControl& Get(const char* name) const { return *static_cast<TWinControl*>(form->FindComponent(name)); }
    std::vector<std::string> Walk(const char* start, int count, bool backward) const {
        return test::TabWalk(*form, Get(start), count, backward);
    }

    ScopedPlatform installed;
    TForm* form = nullptr;
};

TYPED_TEST_SUITE(FormRealizationContract, contract::Backends, contract::BackendNames);

TYPED_TEST(FormRealizationContract, ControlsTakeTheirLaidOutPlacesAndTexts) {
    auto seen = ShowForm(this->backend, "select-folder.txt", 0, 0);
    EXPECT_EQ(seen.size(), 11u);
    EXPECT_EQ(seen["ButtonBar"].bounds, (Bounds{0, 316, 470, 52}));
    EXPECT_EQ(seen["Line"].bounds, (Bounds{0, 0, 470, 2}));
    EXPECT_EQ(seen["CancelBtn"].bounds, (Bounds{387, 10, 75, 33}));
    EXPECT_EQ(seen["CancelBtn"].text, "Cancel");
    EXPECT_EQ(seen["ThemeBitmap"].bounds, (Bounds{0, 0, 136, 316}));
    EXPECT_EQ(seen["Content"].bounds, (Bounds{136, 0, 334, 316}));
    EXPECT_EQ(seen["TopDescriptionLabel"].bounds, (Bounds{8, 8, 318, 40}));
    EXPECT_EQ(seen["TopDescriptionLabel"].text, "Setup will add program icons to the Program Folder listed below.");
    EXPECT_EQ(seen["FolderEdit"].text, "Setwright Demo");
    EXPECT_EQ(seen["FolderListBox"].items, (std::vector<std::string>{"Accessories", "Startup"}));
    EXPECT_EQ(seen["Agree"].text, "I agree");
}

TYPED_TEST(FormRealizationContract, AnchorsFollowAResizedForm) {
    auto seen = ShowForm(this->backend, "select-folder.txt", 570, 418);
    EXPECT_EQ(seen["ButtonBar"].bounds, (Bounds{0, 366, 570, 52}));
    EXPECT_EQ(seen["CancelBtn"].bounds, (Bounds{487, 10, 75, 33}));
    EXPECT_EQ(seen["Content"].bounds, (Bounds{136, 0, 434, 366}));
    EXPECT_EQ(seen["FolderEdit"].bounds, (Bounds{8, 60, 418, 21}));
    EXPECT_EQ(seen["FolderListBox"].bounds, (Bounds{8, 90, 418, 260}));
}

TYPED_TEST(FormRealizationContract, ImageListsAndOwnerDrawnCellsReachTheWindows) {
    auto seen = ShowForm(this->backend, "drive-space-and-languages.txt", 0, 0, PrepareDrivesAndLanguages);
    EXPECT_EQ(seen.size(), 2u) << "the image list has no window";
    EXPECT_EQ(seen["Drives"].items,
              (std::vector<std::string>{"C\t1,024 Bytes\t2,048 Bytes", "D\t4,096 Bytes\t-1 Bytes"}));
    EXPECT_EQ(seen["Drives"].images, (std::vector<ItemImages>{{0, -1}, {0, 1}}));
    EXPECT_EQ(seen["Drives"].smallImages, (ImageListInfo{2, 16, 16}));
    EXPECT_EQ(seen["Drives"].stateImages, (ImageListInfo{2, 16, 16}));
    EXPECT_EQ(seen["LanguageGrid"].drawn, (std::vector<std::string>{"0,0 0,0,139,47 0", "1,0 140,0,139,47 1"}));
    EXPECT_EQ(seen["LanguageGrid"].bounds, (Bounds{144, 8, 300, 150}));
}

TYPED_TEST(FormRealizationContract, TabMovesTheFocusThroughTheStopsInTabOrder) {
    ShownForm shown(this->backend, "tab-order.txt");
    const std::vector<std::string> forward{"SecondBox", "FirstBox",   "Groups",     "BackBtn", "ProceedBtn",
                                           "CancelBtn", "FolderList", "NameEdit",   "SecondBox"};
    EXPECT_EQ(shown.Walk("NameEdit", 9, false), forward);
    EXPECT_EQ(shown.Walk("NameEdit", 3, true), (std::vector<std::string>{"FolderList", "CancelBtn", "ProceedBtn"}));
    shown.Get("Options").SetEnabled(false);
    EXPECT_EQ(shown.Walk("NameEdit", 2, false), (std::vector<std::string>{"Groups", "BackBtn"}));
#ifdef _WIN32
    if constexpr (TypeParam::Real) {
        // Windows' own navigation agrees: tab stops, and siblings stacked in tab order.
        shown.Get("Options").SetEnabled(true);
        auto nameOf = [&](HWND window) -> std::string {
            for (TWinControl* c : shown.form->TabOrderList())
                if (c->Handle() && win32::ControlWindow(*c->Handle()) == window)
                    return c->Name();
            return "?";
        };
        HWND at = win32::ControlWindow(*shown.Get("NameEdit").Handle());
        HWND dialog = GetParent(at);
        std::vector<std::string> own;
        for (int i = 0; i < 9; ++i)
            own.push_back(nameOf(at = GetNextDlgTabItem(dialog, at, FALSE)));
        EXPECT_EQ(own, forward);
    }
#endif
}

TYPED_TEST(FormRealizationContract, ATreesButtonsAndScrollingReachItsHandlers) {
    ShownForm shown(this->backend, "tab-order.txt");
    auto& tree = static_cast<TTreeView&>(shown.Get("Groups"));
    TTreeNode* root = tree.AddChild(nullptr, "Demo");
    TTreeNode* docs = tree.AddChild(root, "Documentation");
    tree.AddChild(docs, "Manual");
    tree.AddChild(docs, "Reference");
    for (const char* name : {"Samples", "Tools", "Extras", "Help", "Licence", "Readme"})
        tree.AddChild(root, name);
    std::vector<std::string> events;
    tree.OnExpanded = TEvent<TPersistent*, TTreeNode*>("Expanded", [&](TPersistent*, TTreeNode* n) {
        events.push_back("+" + n->Text);
    });
    tree.OnCollapsed = TEvent<TPersistent*, TTreeNode*>("Collapsed", [&](TPersistent*, TTreeNode* n) {
        events.push_back("-" + n->Text);
    });
    tree.OnScroll = TNotifyEvent("Scroll", [&](TPersistent*) { events.push_back("scroll"); });
    root->Expand(false);
    ASSERT_TRUE(root->DisplayRect());
    int row = root->DisplayRect()->Height;
    EXPECT_EQ(row, fake::FakeControl::kTreeRowHeight) << "headless rows are as high as Windows makes them";
    EXPECT_EQ(docs->DisplayRect()->Top, row);
    // Eight rows in a tree four to six rows high (as the font makes them).
    tree.Handle()->Toggle(docs->AbsoluteIndex());
    EXPECT_TRUE(docs->Expanded());
    EXPECT_EQ(tree.Nodes()[3]->DisplayRect()->Top, 3 * row);
    tree.Handle()->Scroll(1);
    EXPECT_EQ(root->DisplayRect()->Top, -row);
    tree.Handle()->Toggle(docs->AbsoluteIndex());
    EXPECT_FALSE(docs->Expanded());
    EXPECT_FALSE(tree.Nodes()[3]->DisplayRect());
    EXPECT_EQ(events, (std::vector<std::string>{"+Demo", "+Documentation", "scroll", "-Documentation"}));
}

#ifdef _WIN32
// The same forms headless and as Win32 child windows, side by side.
TEST(FormRealizationContract, HeadlessAndWin32Agree) {
    contract::FakeBackend fake;
    contract::Win32Backend real;
    EXPECT_EQ(ShowForm(fake, "select-folder.txt", 0, 0), ShowForm(real, "select-folder.txt", 0, 0));
    EXPECT_EQ(ShowForm(fake, "select-folder.txt", 570, 418), ShowForm(real, "select-folder.txt", 570, 418));
    EXPECT_EQ(ShowForm(fake, "drive-space-and-languages.txt", 0, 0, PrepareDrivesAndLanguages),
              ShowForm(real, "drive-space-and-languages.txt", 0, 0, PrepareDrivesAndLanguages));
}
#endif

} // namespace

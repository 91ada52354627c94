// Child controls behave alike on every backend: what they are told reads
// back, clicks and choices reach the owner as a user's would, and changes the
// program makes raise no notifications (except an edit's text change).
#include "ContractBackends.h"
#include "GuiPictures.h"
#include "platform/BmpFile.h"

#ifdef _WIN32
#include "platform/win32/Win32Control.h"

#include <commctrl.h>
#endif

using namespace sw;
using contract::kGreen;
using contract::kOlive;
using contract::kRed;
using contract::PixelAt;

namespace {

struct DrawnCell {
    int col;
    int row;
    Bounds rect;
    bool selected;
    bool operator==(const DrawnCell&) const = default;
};

// Draws each cell green (red when selected), and the picture, if any, at 2,2 in it.
struct Events : IControlEvents {
    void OnClick() override { ++clicks; }
    void OnChange() override { ++changes; }
    void OnDrawCell(int col, int row, const Bounds& rect, bool selected, ICanvas& canvas) override {
        drawn.push_back({col, row, rect, selected});
        canvas.FillRect(rect, selected ? kRed : kGreen);
        if (!picture.empty())
            canvas.Draw(rect.Left + 2, rect.Top + 2, picture, kOlive);
    }
    void OnExpand(int index, bool expanded) override { expansions.push_back(expanded ? index : ~index); }
    void OnScroll() override { ++scrolls; }
    int clicks = 0;
    int scrolls = 0;
    std::vector<int> expansions; // index expanded, ~index collapsed
    int changes = 0;
    std::vector<DrawnCell> drawn;
    std::string picture;
};

// 16 x 16 pictures side by side on olive (0x00RRGGBB), each with a blue square inside.
std::string Pictures(int count) {
    TPixels pixels(16 * count, 16, 0x808000);
    for (int i = 0; i < count; ++i)
        pixels.FillRect(16 * i + 4, 4, 8, 8, 0x0000FF);
    return pixels.ToBmp();
}

// The same picture as Pictures(1), 8-bit and run-length encoded (BI_RLE8), as
// the language flags are stored.
std::string RunLengthPicture() {
    std::string data;
    for (int y = 15; y >= 0; --y) {
        if (y >= 4 && y < 12)
            data += std::string{4, 0, 8, 1, 4, 0};
        else
            data += std::string{16, 0};
        data += std::string{0, 0};
    }
    data += std::string{0, 1};
    std::string bmp = "BM";
    auto put32 = [&bmp](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bmp += static_cast<char>(v >> (8 * i));
    };
    const uint32_t offset = 14 + 40 + 8;
    put32(offset + static_cast<uint32_t>(data.size()));
    put32(0);
    put32(offset);
    for (uint32_t v : {40u, 16u, 16u, 1u | 8u << 16, 1u, static_cast<uint32_t>(data.size()), 2835u, 2835u, 2u, 0u})
        put32(v);
    bmp += std::string{0, '\x80', '\x80', 0}; // olive (blue, green, red, 0)
    bmp += std::string{'\xFF', 0, 0, 0};      // blue
    return bmp + data;
}

template <typename Backend> class GuiControlsContract : public ::testing::Test {
  protected:
    GuiControlsContract() : form(backend.Gui().CreateForm("Controls", {20, 20, 500, 400}, formEvents)) {
        form->SetClientSize(470, 368);
        form->Show(ShowState::Normal);
    }
    ~GuiControlsContract() override {
        controls.clear();
        form.reset();
    }

    IControl& Make(ControlKind kind, const std::string& name, Bounds bounds, IControl* parent = nullptr) {
        controls.push_back(form->CreateControl(kind, name, parent, bounds, events));
        IControl& c = *controls.back();
        c.SetVisible(true);
        return c;
    }

    Backend backend;
    contract::NoFormEvents formEvents;
    Events events;
    std::unique_ptr<IForm> form;
    std::vector<std::unique_ptr<IControl>> controls;
};

TYPED_TEST_SUITE(GuiControlsContract, contract::Backends, contract::BackendNames);

TYPED_TEST(GuiControlsContract, ClientSizeBoundsAndTextsReadBack) {
    EXPECT_EQ(this->form->ClientBounds(), (Bounds{0, 0, 470, 368}));
    IControl& panel = this->Make(ControlKind::Panel, "ButtonBar", {0, 316, 470, 52});
    IControl& button = this->Make(ControlKind::Button, "ProceedBtn", {300, 10, 75, 33}, &panel);
    IControl& label = this->Make(ControlKind::Static, "Intro", {8, 8, 300, 40});
    label.SetText("Welcome to the Setup program.");
    button.SetText("Next >");
    EXPECT_EQ(button.GetBounds(), (Bounds{300, 10, 75, 33})); // relative to its parent
    EXPECT_EQ(label.GetBounds(), (Bounds{8, 8, 300, 40}));
    EXPECT_EQ(label.Text(), "Welcome to the Setup program.");
    EXPECT_EQ(button.Text(), "Next >");
    EXPECT_EQ(this->form->FindControl("ProceedBtn"), &button);
    EXPECT_EQ(this->form->FindControl("Nothing"), nullptr);
    button.SetBounds({10, 5, 80, 30});
    EXPECT_EQ(button.GetBounds(), (Bounds{10, 5, 80, 30}));
    EXPECT_EQ(this->events.changes, 0);
}

TYPED_TEST(GuiControlsContract, ClicksReachTheOwnerOnlyFromShownEnabledControls) {
    IControl& button = this->Make(ControlKind::Button, "B", {10, 10, 75, 25});
    IControl& box = this->Make(ControlKind::CheckBox, "C", {10, 40, 120, 17});
    button.Click();
    EXPECT_EQ(this->events.clicks, 1);
    box.SetChecked(true);
    EXPECT_TRUE(box.Checked());
    EXPECT_EQ(this->events.clicks, 1);
    button.SetEnabled(false);
    EXPECT_FALSE(button.Enabled());
    button.Click();
    box.SetVisible(false);
    EXPECT_FALSE(box.Visible());
    box.Click();
    EXPECT_EQ(this->events.clicks, 1);
}

TYPED_TEST(GuiControlsContract, EditsNotifyEveryChangeOfTheirText) {
    IControl& edit = this->Make(ControlKind::Edit, "E", {10, 10, 200, 21});
    IControl& memo = this->Make(ControlKind::Memo, "M", {10, 40, 200, 60});
    edit.SetText("C:\\Program Files");
    EXPECT_EQ(edit.Text(), "C:\\Program Files");
    EXPECT_EQ(this->events.changes, 1);
    memo.SetText("one\r\ntwo");
    EXPECT_EQ(memo.Text(), "one\r\ntwo");
    EXPECT_EQ(this->events.changes, 2);
    this->Make(ControlKind::Static, "S", {10, 110, 100, 13}).SetText("no change");
    EXPECT_EQ(this->events.changes, 2);
}

TYPED_TEST(GuiControlsContract, ListsSelectQuietlyForTheProgramAndNotifyForTheUser) {
    for (ControlKind kind : {ControlKind::ListBox, ControlKind::ComboBox, ControlKind::TabStrip, ControlKind::TreeView,
                             ControlKind::ListView}) {
        this->events.clicks = 0;
        IControl& list = this->Make(kind, "List" + std::to_string(static_cast<int>(kind)), {10, 10, 200, 100});
        list.SetItems({"alpha", "beta", "gamma"});
        EXPECT_EQ(list.Items(), (std::vector<std::string>{"alpha", "beta", "gamma"}));
        EXPECT_EQ(list.ItemIndex(), -1);
        list.SetItemIndex(1);
        EXPECT_EQ(list.ItemIndex(), 1);
        list.SetItemIndex(9);
        EXPECT_EQ(list.ItemIndex(), -1);
        EXPECT_EQ(this->events.clicks, 0);
        list.Choose(2);
        EXPECT_EQ(list.ItemIndex(), 2);
        EXPECT_EQ(this->events.clicks, 1);
        list.Choose(3);
        EXPECT_EQ(this->events.clicks, 1);
        this->controls.pop_back();
    }
}

// Demo (0): Documentation (1): Manual (2), Reference (3); Samples (4), Tools (5), Extras (6). Other (7).
const std::vector<std::string> kTree{"Demo",      "\tDocumentation", "\t\tManual", "\t\tReference",
                                     "\tSamples", "\tTools",         "\tExtras",   "Other"};

TYPED_TEST(GuiControlsContract, TreeRowsFollowExpansionAndScrolling) {
    IControl& tree = this->Make(ControlKind::TreeView, "Tree", {10, 10, 200, 3 * 18 + 4}); // three rows
    tree.SetRowHeight(18);
    tree.SetItems(kTree);
    auto top = [&](int index) {
        std::optional<Bounds> rect = tree.ItemRect(index);
        return rect ? std::optional(rect->Top) : std::nullopt;
    };
    ASSERT_TRUE(tree.ItemRect(0));
    EXPECT_EQ(tree.ItemRect(0)->Height, 18);
    EXPECT_EQ(top(0), 0);
    EXPECT_EQ(top(7), 18);
    EXPECT_EQ(top(1), std::nullopt);
    tree.SetExpanded(1, true); // under a collapsed parent
    EXPECT_TRUE(tree.Expanded(1));
    EXPECT_EQ(top(2), std::nullopt);
    tree.SetExpanded(7, true);
    EXPECT_FALSE(tree.Expanded(7)) << "no children";
    tree.SetExpanded(0, true);
    EXPECT_EQ(top(3), 3 * 18);
    EXPECT_EQ(top(7), 7 * 18);
    tree.Scroll(2);
    EXPECT_EQ(top(0), -2 * 18);
    EXPECT_EQ(top(2), 0);
    EXPECT_EQ(this->events.scrolls, 2);
    tree.Scroll(9);
    EXPECT_EQ(top(5), 0) << "the last row shows in full at the bottom";
    EXPECT_EQ(top(7), 2 * 18);
    EXPECT_EQ(this->events.scrolls, 5);
    tree.Scroll(-9);
    EXPECT_EQ(top(0), 0);
    EXPECT_EQ(this->events.scrolls, 10);
    EXPECT_TRUE(this->events.expansions.empty());
}

TYPED_TEST(GuiControlsContract, TreeButtonsExpandAndCollapseForTheUser) {
    IControl& tree = this->Make(ControlKind::TreeView, "Tree", {10, 10, 200, 3 * 18 + 4});
    tree.SetRowHeight(18);
    tree.SetItems(kTree);
    auto top = [&](int index) {
        std::optional<Bounds> rect = tree.ItemRect(index);
        return rect ? std::optional(rect->Top) : std::nullopt;
    };
    tree.SetItemIndex(3); // expands its parents
    EXPECT_TRUE(tree.Expanded(0));
    EXPECT_TRUE(tree.Expanded(1));
    EXPECT_TRUE(top(3));
    tree.Scroll(-9);
    int scrolls = this->events.scrolls;
    tree.Toggle(1);
    EXPECT_EQ(this->events.expansions, (std::vector<int>{~1}));
    EXPECT_FALSE(tree.Expanded(1));
    EXPECT_EQ(tree.ItemIndex(), 1) << "the selection moves to the collapsed node";
    EXPECT_EQ(top(4), 2 * 18);
    tree.Toggle(1);
    EXPECT_EQ(this->events.expansions, (std::vector<int>{~1, 1}));
    // Documentation on the second of three rows: one row up shows both its children.
    EXPECT_EQ(top(1), 0);
    EXPECT_EQ(top(3), 2 * 18);
    EXPECT_EQ(this->events.scrolls, scrolls + 1);
    tree.Toggle(2); // no children, no button
    tree.Toggle(0); // scrolled out of view
    EXPECT_EQ(this->events.expansions.size(), 2u);
    tree.SetExpanded(0, false); // the first row shown was below: the root takes its place
    EXPECT_EQ(top(0), 0);
    EXPECT_EQ(top(7), 18);
    EXPECT_EQ(tree.ItemIndex(), 0);
    EXPECT_EQ(this->events.scrolls, scrolls + 1) << "the program's changes notify nothing";
    EXPECT_EQ(this->events.expansions.size(), 2u);
}

// Each key from where the one before left the tree: the node selected after it
// and the top of its row, with three rows showing in full.
TYPED_TEST(GuiControlsContract, TreeKeysMoveTheSelectionAndScrollItIntoView) {
    IControl& tree = this->Make(ControlKind::TreeView, "Tree", {10, 10, 200, 3 * 18 + 4});
    tree.SetRowHeight(18);
    tree.SetItems(kTree);
    tree.SetExpanded(0, true);
    tree.SetExpanded(1, true);
    tree.SetItemIndex(0);
    struct Step {
        int key;
        int selected;
        int top;
    };
    for (const Step& step : {Step{vk::Next, 3, 2 * 18}, Step{vk::Next, 6, 2 * 18}, Step{vk::Next, 7, 2 * 18},
                             Step{vk::Home, 0, 0}, Step{vk::End, 7, 2 * 18}, Step{vk::Prior, 4, 0}, Step{vk::Up, 3, 0},
                             Step{vk::Left, 1, 0}, Step{vk::Right, 2, 18}, Step{vk::Down, 3, 2 * 18}}) {
        SCOPED_TRACE(step.key);
        int clicks = this->events.clicks;
        tree.PressKey(step.key, false);
        EXPECT_EQ(tree.ItemIndex(), step.selected);
        ASSERT_TRUE(tree.ItemRect(step.selected));
        EXPECT_EQ(tree.ItemRect(step.selected)->Top, step.top);
        EXPECT_EQ(this->events.clicks, clicks + 1) << "each move tells the owner";
    }
    EXPECT_GT(this->events.scrolls, 0);
    EXPECT_TRUE(this->events.expansions.empty());
    // Left collapses the expanded node it is on, Right expands it again.
    tree.PressKey(vk::Home, false);
    tree.PressKey(vk::Left, false);
    EXPECT_FALSE(tree.Expanded(0));
    EXPECT_EQ(tree.ItemRect(7)->Top, 18);
    tree.PressKey(vk::Right, false);
    EXPECT_TRUE(tree.Expanded(0));
    EXPECT_EQ(this->events.expansions, (std::vector<int>{~0, 0}));
    EXPECT_EQ(tree.ItemIndex(), 0);
}

TYPED_TEST(GuiControlsContract, ComboBoxTakesTheChosenItemAsItsText) {
    IControl& combo = this->Make(ControlKind::ComboBox, "Combo", {10, 10, 145, 21});
    combo.SetItems({"Accessories", "Games"});
    combo.Choose(1);
    EXPECT_EQ(combo.Text(), "Games");
}

TYPED_TEST(GuiControlsContract, ListViewsShowTheirImageListsAndTheImagesOfTheirItems) {
    IControl& list = this->Make(ControlKind::ListView, "Drives", {10, 10, 300, 80});
    list.SetColumns({{"", 50}, {"Space Required:", 120}});
    EXPECT_EQ(list.GetImageList(ImageListRole::Small), ImageListInfo{});
    ImageListSpec images{16, 16, {{Pictures(2), kOlive}, {Pictures(1), std::nullopt}}};
    list.SetImageList(ImageListRole::Small, images);
    list.SetImageList(ImageListRole::State, images);
    EXPECT_EQ(list.GetImageList(ImageListRole::Small), (ImageListInfo{3, 16, 16}));
    EXPECT_EQ(list.GetImageList(ImageListRole::State), (ImageListInfo{3, 16, 16}));
    list.SetItems({"C\t1,024 Bytes", "D\t2,048 Bytes"});
    EXPECT_EQ(list.GetItemImages(), (std::vector<ItemImages>{{-1, -1}, {-1, -1}}));
    list.SetItemImages({{0, -1}, {0, 1}});
    EXPECT_EQ(list.GetItemImages(), (std::vector<ItemImages>{{0, -1}, {0, 1}}));
    list.SetColumns({{"", 50}}); // the items are shown anew, with their images
    EXPECT_EQ(list.GetItemImages(), (std::vector<ItemImages>{{0, -1}, {0, 1}}));
    list.SetItems({"E"});
    EXPECT_EQ(list.GetItemImages(), (std::vector<ItemImages>{{-1, -1}}));
    list.SetImageList(ImageListRole::State, {});
    EXPECT_EQ(list.GetImageList(ImageListRole::State), ImageListInfo{});
    EXPECT_EQ(list.GetImageList(ImageListRole::Small).Count, 3);
    list.SetImageList(ImageListRole::Small, {16, 16, {{"not a picture", kOlive}}});
    EXPECT_EQ(list.GetImageList(ImageListRole::Small).Count, 0);
    EXPECT_EQ(this->events.clicks, 0);
}

TYPED_TEST(GuiControlsContract, AnOwnerDrawnGridAsksForEveryCellInItsPlace) {
    IControl& grid = this->Make(ControlKind::Grid, "LanguageGrid", {10, 10, 290, 110});
    grid.SetColumns({{"", 140}, {"", 140}});
    grid.SetRowHeight(48);
    grid.SetItems({"English\tFrench", "German\t"});
    grid.SetItemIndex(1);
    grid.SetCellDrawing(CellDrawing::Owner);
    for (const std::string& picture : {Pictures(1), RunLengthPicture()}) {
        this->events.picture = picture;
        this->events.drawn.clear();
        grid.Repaint();
        EXPECT_EQ(this->events.drawn, (std::vector<DrawnCell>{{0, 0, {0, 0, 139, 47}, false},
                                                              {1, 0, {140, 0, 139, 47}, true},
                                                              {0, 1, {0, 48, 139, 47}, false},
                                                              {1, 1, {140, 48, 139, 47}, false}}));
        if constexpr (TypeParam::Real) {
            // The client area starts 2 pixels inside the grid's sunken edge.
            std::string shot = this->form->Capture();
            int x = 10 + 2, y = 10 + 2;
            EXPECT_EQ(PixelAt(shot, x + 100, y + 30), kGreen);
            EXPECT_EQ(PixelAt(shot, x + 240, y + 30), kRed);
            EXPECT_EQ(PixelAt(shot, x + 2 + 8, y + 2 + 8), 0xFF0000u) << "the picture";
            EXPECT_EQ(PixelAt(shot, x + 2 + 1, y + 2 + 1), kGreen) << "its olive left out";
        }
    }
    grid.SetCellDrawing(CellDrawing::Default);
    this->events.drawn.clear();
    grid.Repaint();
    EXPECT_TRUE(this->events.drawn.empty());
}

// Each key from where the one before left the grid (two columns, five rows,
// two rows showing in full): the cell selected after it; a key that would
// leave the grid does not move it and chooses nothing.
TYPED_TEST(GuiControlsContract, GridKeysMoveTheSelectionWithinTheGrid) {
    IControl& grid = this->Make(ControlKind::Grid, "Grid", {10, 10, 284, 2 * 24 + 4});
    grid.SetColumns({{"", 140}, {"", 140}});
    grid.SetRowHeight(24);
    grid.SetItems({"a\tb", "c\td", "e\tf", "g\th", "i\tj"});
    grid.SetItemIndex(0);
    struct Step {
        int key;
        int selected;
    };
    for (const Step& step : {Step{vk::End, 1}, Step{vk::Next, 5}, Step{vk::Next, 9}, Step{vk::Next, 9},
                             Step{vk::Home, 8}, Step{vk::Prior, 4}, Step{vk::Up, 2}, Step{vk::Left, 2},
                             Step{vk::Right, 3}, Step{vk::Right, 3}, Step{vk::Prior, 1}}) {
        SCOPED_TRACE(step.key);
        int before = grid.ItemIndex(), clicks = this->events.clicks;
        grid.PressKey(step.key, false);
        EXPECT_EQ(grid.ItemIndex(), step.selected);
        EXPECT_EQ(this->events.clicks, clicks + (step.selected != before ? 1 : 0));
    }
}

TYPED_TEST(GuiControlsContract, ProgressStaysInItsRange) {
    IControl& bar = this->Make(ControlKind::ProgressBar, "Bar", {10, 10, 200, 16});
    bar.SetRange(0, 100);
    bar.SetPosition(40);
    EXPECT_EQ(bar.Position(), 40);
    bar.SetPosition(250);
    EXPECT_EQ(bar.Position(), 100);
    bar.SetPosition(-5);
    EXPECT_EQ(bar.Position(), 0);
}

TYPED_TEST(GuiControlsContract, FontsReadBackWithTheirCharacterSet) {
    IControl& label = this->Make(ControlKind::Static, "L", {10, 10, 200, 20});
    FontSpec font;
    font.Face = "Arial";
    font.Size = 10;
    font.Bold = true;
    font.Charset = 204;
    label.SetFont(font, 0);
    FontSpec back = label.Font();
    EXPECT_EQ(back.Face, "Arial");
    EXPECT_EQ(back.Size, 10);
    EXPECT_TRUE(back.Bold);
    EXPECT_EQ(back.Charset, 204);
    Bounds one = this->backend.Gui().MeasureText(font, "Path:", 0);
    Bounds two = this->backend.Gui().MeasureText(font, "Path: Path: Path:", 0);
    EXPECT_GT(one.Height, 0);
    EXPECT_GT(two.Width, 2 * one.Width);
    EXPECT_EQ(this->backend.Gui().MeasureText(font, "", 0).Height, one.Height);
    Bounds wrapped = this->backend.Gui().MeasureText(font, "Path: Path: Path:", one.Width + 4);
    EXPECT_GE(wrapped.Height, 3 * one.Height);
}

#ifdef _WIN32
// What Windows holds as a window's text and as the first item of a list or tree, in UTF-16.
std::u16string WindowUnicode(IControl& control) {
    HWND window = win32::ControlWindow(control);
    wchar_t text[256] = {};
    switch (control.Kind()) {
    case ControlKind::ListBox:
        if (SendMessageW(window, LB_GETTEXTLEN, 0, 0) < 256)
            SendMessageW(window, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
        break;
    case ControlKind::TreeView: {
        TVITEMW item{};
        item.mask = TVIF_TEXT | TVIF_HANDLE;
        item.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(window, TVM_GETNEXTITEM, TVGN_ROOT, 0));
        item.pszText = text;
        item.cchTextMax = 256;
        SendMessageW(window, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        break;
    }
    default:
        GetWindowTextW(window, text, 256);
    }
    return std::u16string(text, text + wcslen(text));
}
#endif

// A text is bytes of the code page of its font's character set, whatever the
// system's: it reads back as given, and Windows shows the characters it
// stands for, set before the font or after it.
TYPED_TEST(GuiControlsContract, TextsAreInTheCodePageOfTheirFontsCharacterSet) {
    struct Case {
        int charset;
        std::string bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {0, "< Pr\351c\351dent", u"< Pr\u00E9c\u00E9dent"},               // ANSI_CHARSET, 1252
        {128, "\x8E\x9F\x82\xD6 >", u"\u6B21\u3078 >"},                   // SHIFTJIS_CHARSET, 932
        {204, "\xC4\xE0\xEB\xE5\xE5", u"\u0414\u0430\u043B\u0435\u0435"}, // RUSSIAN_CHARSET, 1251
    };
    const ControlKind kinds[] = {ControlKind::Static,   ControlKind::Button,   ControlKind::Edit,
                                 ControlKind::Memo,     ControlKind::ComboBox, ControlKind::ListBox,
                                 ControlKind::TreeView, ControlKind::GroupBox};
    for (const Case& c : cases) {
        FontSpec font;
        font.Face = "Arial";
        font.Charset = c.charset;
        for (bool fontFirst : {true, false}) {
            for (ControlKind kind : kinds) {
                SCOPED_TRACE(testing::Message() << "charset " << c.charset << ", kind " << static_cast<int>(kind)
                                                << (fontFirst ? ", font first" : ", text first"));
                IControl& control = this->Make(kind, "Text", {10, 10, 200, 60});
                const bool list = kind == ControlKind::ListBox || kind == ControlKind::TreeView;
                if (fontFirst)
                    control.SetFont(font, 0);
                if (list)
                    control.SetItems({c.bytes});
                else
                    control.SetText(c.bytes);
                if (!fontFirst)
                    control.SetFont(font, 0);
                if (!list) {
                    EXPECT_EQ(control.Text(), c.bytes);
                }
#ifdef _WIN32
                // A painted control draws the text it keeps; its window's is the system's code page's.
                if constexpr (TypeParam::Real) {
                    if (kind != ControlKind::GroupBox) {
                        EXPECT_EQ(WindowUnicode(control), c.text);
                    }
                }
#endif
                this->controls.pop_back();
            }
        }
    }
}

TYPED_TEST(GuiControlsContract, FocusGoesOnlyToShownEnabledControls) {
    IControl& a = this->Make(ControlKind::Edit, "A", {10, 10, 100, 21});
    IControl& b = this->Make(ControlKind::Button, "B", {10, 40, 75, 25});
    a.SetFocus();
    EXPECT_TRUE(a.Focused());
    b.SetEnabled(false);
    b.SetFocus();
    EXPECT_FALSE(b.Focused());
    b.SetEnabled(true);
    b.SetVisible(false);
    b.SetFocus();
    EXPECT_FALSE(b.Focused());
    b.SetVisible(true);
    b.SetFocus();
    EXPECT_TRUE(b.Focused());
    EXPECT_FALSE(a.Focused());
}

TYPED_TEST(GuiControlsContract, CaptureIsABmpOfTheClientArea) {
    IControl& panel = this->Make(ControlKind::Panel, "P", {0, 0, 100, 50});
    panel.SetColor(0x0000FF);
    std::string bmp = this->form->Capture();
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    auto le32 = [&](size_t at) {
        return static_cast<uint32_t>(static_cast<uint8_t>(bmp[at])) |
               static_cast<uint32_t>(static_cast<uint8_t>(bmp[at + 1])) << 8 |
               static_cast<uint32_t>(static_cast<uint8_t>(bmp[at + 2])) << 16;
    };
    EXPECT_EQ(le32(18), 470u);
    EXPECT_EQ(le32(22), 368u);
    EXPECT_EQ(bmp.size(), 54u + 470u * 3u * 368u + 368u * 2u); // rows padded to 4 bytes
}

} // namespace

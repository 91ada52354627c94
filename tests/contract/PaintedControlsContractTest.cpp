// Painted controls draw on their parent's window at their place, over what
// lies below them and with nothing of their own around what they draw; the
// canvas's lines, shapes, text and pictures land where they are asked; grids
// and trees tell their owner of keys; scroll bars show as told.
#include "ContractBackends.h"
#include "GuiPictures.h"
#include "platform/BmpFile.h"
#include "platform/fake/FakeCanvas.h"

#include <cstdio>
#include <cstdlib>
#include <functional>

using namespace sw;
using contract::kGreen;
using contract::kOlive;
using contract::kRed;
using contract::PixelAt;

namespace {

constexpr ColorRef kBlue = 0xFF0000;
constexpr ColorRef kWhite = 0xFFFFFF;
constexpr ColorRef kBlack = 0x000000;

struct Key {
    int key;
    bool shift;
    bool operator==(const Key&) const = default;
};

// One control's events: its drawing, the keys it hears (zeroed when `take`).
struct PaintEvents : IControlEvents {
    void OnClick() override {
        ++clicks;
        if (log)
            log->push_back(name + " click");
    }
    void OnMouse(const MouseInput& m) override {
        static const char* const actions[] = {"down", "move", "up", "double"};
        if (log)
            log->push_back(name + " " + actions[static_cast<int>(m.Action)] + " " + std::to_string(m.Button) + " " +
                           std::to_string(m.Keys) + " " + std::to_string(m.X) + "," + std::to_string(m.Y));
    }
    void OnChange() override {}
    void OnDrawCell(int, int, const Bounds&, bool, ICanvas&) override {}
    void OnExpand(int, bool) override {}
    void OnScroll() override {}
    void OnPaint(ICanvas& canvas) override {
        ++paints;
        if (draw)
            draw(canvas);
    }
    void OnKeyDown(int& key, bool shift) override {
        keys.push_back({key, shift});
        if (take)
            key = 0;
    }
    std::function<void(ICanvas&)> draw;
    int paints = 0;
    int clicks = 0;
    std::vector<Key> keys;
    bool take = false;
    std::vector<std::string>* log = nullptr; // the clicks and the mouse, after `name`
    std::string name;
};

// The box holding every pixel of `color` inside `area` of a capture.
Bounds BoxOf(const std::string& bmp, const Bounds& area, ColorRef color) {
    int left = area.Left + area.Width, top = area.Top + area.Height, right = area.Left - 1, bottom = area.Top - 1;
    for (int y = area.Top; y < area.Top + area.Height; ++y)
        for (int x = area.Left; x < area.Left + area.Width; ++x)
            if (PixelAt(bmp, x, y) == color) {
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x);
                bottom = std::max(bottom, y);
            }
    return {left, top, right - left + 1, bottom - top + 1};
}

template <typename Backend> class PaintedControlsContract : public ::testing::Test {
  protected:
    PaintedControlsContract() : form(backend.Gui().CreateForm("Painted", {20, 20, 500, 400}, formEvents)) {
        form->SetClientSize(470, 368);
        form->Show(ShowState::Normal);
    }
    ~PaintedControlsContract() override {
        while (!controls.empty())
            controls.pop_back();
        form.reset();
    }

    IControl& Make(ControlKind kind, const std::string& name, Bounds bounds, IControl* parent = nullptr) {
        events.push_back(std::make_unique<PaintEvents>());
        controls.push_back(form->CreateControl(kind, name, parent, bounds, *events.back()));
        return *controls.back();
    }
    PaintEvents& EventsOf(size_t index) { return *events[index]; }

    Backend backend;
    contract::NoFormEvents formEvents;
    std::unique_ptr<IForm> form;
    std::vector<std::unique_ptr<PaintEvents>> events;
    std::vector<std::unique_ptr<IControl>> controls;
};

TYPED_TEST_SUITE(PaintedControlsContract, contract::Backends, contract::BackendNames);

TYPED_TEST(PaintedControlsContract, DrawsAtItsPlaceInItsParentWithNoBoxOfItsOwn) {
    struct Case {
        const char* what;
        bool inPanel;
    };
    for (const Case& c : {Case{"on the form", false}, Case{"in a panel", true}}) {
        SCOPED_TRACE(c.what);
        IControl* panel = nullptr;
        int left = 40, top = 30;
        if (c.inPanel) {
            panel = &this->Make(ControlKind::Panel, "Panel", {200, 100, 200, 150});
            panel->SetColor(kBlue);
            left += 200;
            top += 100;
        }
        IControl& painted = this->Make(ControlKind::Painted, "Title", {40, 30, 60, 40}, panel);
        painted.SetColor(kGreen); // not painted: the control has no background
        this->events.back()->draw = [](ICanvas& canvas) {
            canvas.FillRect({5, 5, 10, 10}, kRed);
            canvas.FillRect({55, 0, 100, 10}, kRed); // past the right edge: cut off there
        };
        std::string shot = this->form->Capture();
        EXPECT_GT(this->events.back()->paints, 0);
        ColorRef below = PixelAt(shot, left - 5, top - 5);
        EXPECT_EQ(PixelAt(shot, left + 7, top + 7), kRed);
        EXPECT_EQ(PixelAt(shot, left + 57, top + 2), kRed);
        EXPECT_EQ(PixelAt(shot, left + 30, top + 30), below) << "the parent shows where nothing was drawn";
        EXPECT_EQ(PixelAt(shot, left + 62, top + 2), below) << "nothing lands outside the control";
        if (c.inPanel) {
            EXPECT_EQ(below, kBlue);
        }
        this->controls.clear();
    }
}

TYPED_TEST(PaintedControlsContract, TheLaterOfTwoPaintedControlsDrawsOverTheEarlier) {
    IControl& backdrop = this->Make(ControlKind::Painted, "Backdrop", {100, 100, 80, 60});
    this->EventsOf(0).draw = [](ICanvas& canvas) { canvas.FillRect({0, 0, 80, 60}, kBlue); };
    this->Make(ControlKind::Painted, "Label", {120, 110, 40, 40});
    this->EventsOf(1).draw = [](ICanvas& canvas) { canvas.FillRect({10, 10, 10, 10}, kRed); };
    std::string shot = this->form->Capture();
    EXPECT_EQ(PixelAt(shot, 120 + 15, 110 + 15), kRed);
    EXPECT_EQ(PixelAt(shot, 120 + 2, 110 + 2), kBlue) << "the lower control shows around the upper one's drawing";
    EXPECT_EQ(PixelAt(shot, 100 + 5, 100 + 5), kBlue);

    backdrop.SetVisible(false);
    shot = this->form->Capture();
    EXPECT_EQ(PixelAt(shot, 120 + 15, 110 + 15), kRed);
    EXPECT_NE(PixelAt(shot, 100 + 5, 100 + 5), kBlue) << "a hidden control draws nothing";
}

// The form's Update paints at once what changed since it last painted, and
// only that: a control whose text changed, not one beside it.
TYPED_TEST(PaintedControlsContract, TheFormsUpdatePaintsOnlyWhatChanged) {
    IControl& label = this->Make(ControlKind::Painted, "Label", {20, 20, 100, 20});
    this->Make(ControlKind::Painted, "Other", {20, 60, 100, 20});
    this->form->Repaint();
    this->EventsOf(0).paints = this->EventsOf(1).paints = 0;
    this->form->Update();
    EXPECT_EQ(this->EventsOf(0).paints, 0) << "nothing waited";
    label.SetText("file.dll");
    this->form->Update();
    EXPECT_EQ(this->EventsOf(0).paints, 1);
    EXPECT_EQ(this->EventsOf(1).paints, 0) << "the control beside it did not change";
}

TYPED_TEST(PaintedControlsContract, ClicksReachAShownEnabledPaintedControl) {
    IControl& painted = this->Make(ControlKind::Painted, "Box", {10, 10, 50, 50});
    painted.Click();
    EXPECT_EQ(this->EventsOf(0).clicks, 1);
    painted.SetEnabled(false);
    painted.Click();
    painted.SetEnabled(true);
    painted.SetVisible(false);
    painted.Click();
    EXPECT_EQ(this->EventsOf(0).clicks, 1);
    EXPECT_EQ(painted.GetBounds(), (Bounds{10, 10, 50, 50}));
}

// The mouse goes to the uppermost painted control under it; from a press
// until the last button is up it stays with the control pressed on; a left
// press and release on one control clicks it.
TYPED_TEST(PaintedControlsContract, TheMouseReachesThePaintedControlUnderItOrTheOneHoldingIt) {
    IControl* panel = &this->Make(ControlKind::Panel, "Panel", {20, 20, 300, 200});
    IControl& a = this->Make(ControlKind::Painted, "A", {40, 30, 60, 40}, panel);
    IControl& b = this->Make(ControlKind::Painted, "B", {80, 30, 60, 40}, panel); // over A's right third
    IControl& off = this->Make(ControlKind::Painted, "Off", {200, 100, 30, 30}, panel);
    std::vector<std::string> log;
    for (size_t i = 1; i < 4; ++i) {
        this->EventsOf(i).log = &log;
        this->EventsOf(i).name = this->controls[i]->Name();
    }
    off.SetEnabled(false);
    using enum MouseAction;
    const unsigned L = mk::Left, R = mk::Right;
    struct Case {
        IControl* via;
        MouseInput input;
        std::vector<std::string> heard;
    };
    const Case cases[] = {
        {&a, {Move, 0, 0, 10, 10}, {"A move 0 0 10,10"}},
        {&a, {Move, 0, 0, 50, 10}, {"B move 0 0 10,10"}},
        {&a, {Down, L, L, 50, 5}, {"B down 1 1 10,5"}},
        {&a, {Move, 0, L, -30, 50}, {"B move 0 1 -70,50"}},
        {&a, {Up, L, 0, 50, 5}, {"B click", "B up 1 0 10,5"}},
        {&a, {Down, L, L, 10, 10}, {"A down 1 1 10,10"}},
        {&a, {Up, L, 0, 10, 60}, {"A up 1 0 10,60"}}, // released off A: no click
        {&a, {Move, 0, 0, 10, 60}, {}},               // nothing under the mouse
        {&a, {DoubleClick, L, L, 10, 10}, {"A double 1 1 10,10"}},
        {&a, {Up, L, 0, 10, 10}, {"A up 1 0 10,10"}}, // a double click's release clicks nothing
        {&a, {Down, R, R | mk::Shift, 5, 6}, {"A down 2 6 5,6"}},
        {&a, {Down, L, L | R, 5, 6}, {"A down 1 3 5,6"}},
        {&a, {Up, R, L, 200, 6}, {"A up 2 1 200,6"}}, // the left button still holds the mouse
        {&a, {Up, L, 0, 6, 6}, {"A click", "A up 1 0 6,6"}},
        {&off, {Down, L, L, 5, 5}, {}}, // disabled
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.heard.empty() ? "nothing" : c.heard.back());
        log.clear();
        c.via->Mouse(c.input);
        this->backend.Gui().ProcessMessages();
        EXPECT_EQ(log, c.heard);
    }
    (void)b;
}

TYPED_TEST(PaintedControlsContract, ShapesLinesTextAndPicturesLandWhereAsked) {
    this->Make(ControlKind::Painted, "Canvas", {10, 10, 300, 200});
    TPixels olive(16, 16, 0x808000); // 0x00RRGGBB
    olive.FillRect(4, 4, 8, 8, 0x0000FF);
    std::string picture = olive.ToBmp();
    FontSpec arial;
    arial.Face = "Arial";
    arial.Size = 20;
    FontSpec turned = arial;
    turned.Escapement = 900;
    Bounds extent{};
    this->EventsOf(0).draw = [&](ICanvas& canvas) {
        canvas.FillRect({0, 0, 300, 200}, kGreen);
        canvas.SetPen({kBlack, 1});
        canvas.Rectangle({10, 10, 20, 20}, kRed);
        canvas.Polygon({{40, 10}, {80, 10}, {80, 50}, {40, 50}}, kBlue);
        canvas.SetPen({kRed, 3});
        canvas.MoveTo(0, 70);
        canvas.LineTo(100, 70);
        canvas.Draw(110, 10, picture, kOlive);
        canvas.TextOut(140, 10, "  ", arial, kBlack, kWhite);
        canvas.TextOut(140, 60, "  ", arial, kBlack, std::nullopt);
        extent = canvas.TextExtent("Setwright", turned);
        canvas.FillRect({180, 0, 120, 200}, kWhite);
        canvas.TextOut(220, 190, "Setwright", turned, kBlack, std::nullopt);
    };
    std::string shot = this->form->Capture();
    EXPECT_GT(extent.Width, extent.Height) << "measured unturned";
    if constexpr (TypeParam::Real) {
        struct Spot {
            const char* what;
            int x, y;
            ColorRef color;
        };
        for (const Spot& s :
             {Spot{"rectangle outline", 10, 10, kBlack}, Spot{"rectangle fill", 15, 15, kRed},
              Spot{"polygon outline", 40, 30, kBlack}, Spot{"polygon fill", 60, 30, kBlue},
              Spot{"thick line", 50, 71, kRed}, Spot{"past the line's end", 104, 70, kGreen},
              Spot{"picture", 110 + 8, 10 + 8, kBlue}, Spot{"picture's olive left out", 110 + 1, 10 + 1, kGreen},
              Spot{"opaque text", 142, 14, kWhite}, Spot{"transparent text", 142, 64, kGreen}}) {
            SCOPED_TRACE(s.what);
            EXPECT_EQ(PixelAt(shot, 10 + s.x, 10 + s.y), s.color);
        }
        Bounds text = BoxOf(shot, {10 + 180, 10, 120, 200}, kBlack);
        EXPECT_GT(text.Height, 2 * text.Width) << "text at 90 degrees runs upwards";
        EXPECT_LE(text.Top + text.Height, 10 + 191) << "from its origin";
    }
}

// A gradient of bands over the whole form, a turned title and a picture on
// it: both show the bands between their letters and around their picture.
// SW_CAPTURE names a file the Win32 capture is written to, to look at.
TYPED_TEST(PaintedControlsContract, ATitleAndAPictureOverABackdropOfBands) {
    auto band = [](int i) { return static_cast<ColorRef>((255 - i * 4) << 16 | (i * 2) << 8); };
    this->Make(ControlKind::Painted, "Backdrop", {0, 0, 470, 368});
    this->EventsOf(0).draw = [&](ICanvas& canvas) {
        for (int i = 0; i < 64; ++i)
            canvas.FillRect({0, i * 368 / 64, 470, (i + 1) * 368 / 64 - i * 368 / 64}, band(i));
    };
    this->Make(ControlKind::Painted, "Title", {20, 20, 80, 320});
    FontSpec title;
    title.Face = "Arial";
    title.Size = 28;
    title.Bold = true;
    title.Italic = true;
    title.Escapement = 900;
    this->EventsOf(1).draw = [&](ICanvas& canvas) {
        canvas.TextOut(21, 301, "Setwright", title, 0x808080, std::nullopt);
        canvas.TextOut(20, 300, "Setwright", title, kWhite, std::nullopt);
    };
    TPixels flag(32, 32, 0x808000);
    flag.FillRect(4, 8, 24, 16, 0xFF0000);
    std::string picture = flag.ToBmp();
    this->Make(ControlKind::Painted, "Flag", {200, 150, 32, 32});
    this->EventsOf(2).draw = [&](ICanvas& canvas) { canvas.Draw(0, 0, picture, kOlive); };

    std::string shot = this->form->Capture();
    if (const char* file = std::getenv("SW_CAPTURE"); file && TypeParam::Real) {
        std::FILE* out = std::fopen(file, "wb");
        ASSERT_TRUE(out);
        std::fwrite(shot.data(), 1, shot.size(), out);
        std::fclose(out);
    }
    auto bandAt = [&](int y) {
        int i = 0;
        while ((i + 1) * 368 / 64 <= y)
            ++i;
        return band(i);
    };
    EXPECT_EQ(PixelAt(shot, 5, 5), bandAt(5));
    EXPECT_EQ(PixelAt(shot, 5, 360), bandAt(360));
    EXPECT_EQ(PixelAt(shot, 200 + 1, 150 + 1), bandAt(151)) << "the picture's olive shows the bands";
    EXPECT_EQ(PixelAt(shot, 20 + 2, 20 + 2), bandAt(22)) << "the title has no box";
    if constexpr (TypeParam::Real) {
        EXPECT_EQ(PixelAt(shot, 200 + 16, 150 + 16), kRed) << "the picture's red";
        Bounds letters = BoxOf(shot, {20, 20, 80, 320}, kWhite);
        EXPECT_GT(letters.Height, 3 * letters.Width);
        int between = 0;
        for (int y = letters.Top; y < letters.Top + letters.Height; ++y)
            between += PixelAt(shot, letters.Left + letters.Width / 2, y) == bandAt(y);
        EXPECT_GT(between, 0) << "the bands show between the letters";
    }
}

// A panel its owner draws: nothing of a panel's own look shows, the painted
// control inside draws over it, a button inside stays a window on top; the
// canvas resolves system colours to what it paints for them.
TYPED_TEST(PaintedControlsContract, APaintedPanelIsDrawnWholeByItsOwnerBelowItsControls) {
    IControl& panel = this->Make(ControlKind::PaintedPanel, "Backdrop", {50, 40, 300, 200});
    panel.SetText("Caption"); // a painted panel writes no caption
    panel.SetBevel(BevelKind::Raised);
    ColorRef face = kColorBtnFace, green = 0;
    this->EventsOf(0).draw = [&](ICanvas& canvas) {
        face = canvas.Resolve(kColorBtnFace);
        green = canvas.Resolve(kGreen);
        canvas.FillRect({0, 0, 300, 100}, kBlue);
        canvas.FillRect({0, 100, 300, 100}, kColorBtnFace);
    };
    this->Make(ControlKind::Painted, "Title", {20, 20, 40, 40}, &panel);
    this->EventsOf(1).draw = [](ICanvas& canvas) { canvas.FillRect({10, 10, 10, 10}, kRed); };
    this->Make(ControlKind::Button, "Ok", {200, 150, 80, 30}, &panel);
    std::string shot = this->form->Capture();
    EXPECT_GT(this->EventsOf(0).paints, 0);
    EXPECT_EQ(face & 0xFF000000u, 0u) << "a resolved colour is no system colour";
    EXPECT_EQ(green, kGreen);
    EXPECT_EQ(PixelAt(shot, 50, 40), kBlue) << "no bevel at the corner";
    EXPECT_EQ(PixelAt(shot, 50 + 150, 40 + 50), kBlue) << "no caption in the middle";
    EXPECT_EQ(PixelAt(shot, 50 + 5, 40 + 150), face);
    EXPECT_EQ(PixelAt(shot, 50 + 20 + 15, 40 + 20 + 15), kRed);
    EXPECT_EQ(PixelAt(shot, 50 + 20 + 2, 40 + 20 + 2), kBlue) << "the panel shows around the title's drawing";
    EXPECT_EQ(this->form->FindControl("Ok")->GetBounds(), (Bounds{200, 150, 80, 30}));
}

TYPED_TEST(PaintedControlsContract, ScrollBarsShowAsTold) {
    IControl& grid = this->Make(ControlKind::Grid, "Grid", {10, 10, 200, 100});
    grid.SetColumns({{"", 140}, {"", 140}});
    grid.SetItems({"a\tb", "c\td", "e\tf"});
    EXPECT_FALSE(grid.ScrollBarShown(false));
    EXPECT_FALSE(grid.ScrollBarShown(true));
    for (auto [horizontal, vertical] : {std::pair{false, true}, {true, false}, {true, true}, {false, false}}) {
        grid.SetScrollBars(horizontal, vertical);
        EXPECT_EQ(grid.ScrollBarShown(true), horizontal);
        EXPECT_EQ(grid.ScrollBarShown(false), vertical);
    }
}

// Demo (0): Documentation (1): Manual (2). Other (3).
const std::vector<std::string> kKeyTree{"Demo", "\tDocumentation", "\t\tManual", "Other"};

TYPED_TEST(PaintedControlsContract, GridsAndTreesTellTheirOwnerOfKeysBeforeHandlingThem) {
    struct Case {
        ControlKind kind;
        int key;
        bool shift;
        int moved; // the selected item after the key, starting at 0
    };
    for (const Case& c :
         {Case{ControlKind::Grid, vk::Right, false, 1}, Case{ControlKind::Grid, vk::Down, true, 2},
          Case{ControlKind::TreeView, vk::Down, false, 3}, Case{ControlKind::TreeView, vk::Space, true, 0}}) {
        SCOPED_TRACE(static_cast<int>(c.kind) * 1000 + c.key);
        IControl& list = this->Make(c.kind, "List", {10, 10, 300, 150});
        list.SetColumns({{"", 140}, {"", 140}});
        list.SetItems(c.kind == ControlKind::Grid ? std::vector<std::string>{"a\tb", "c\td"} : kKeyTree);
        list.SetItemIndex(0);
        PaintEvents& events = *this->events.back();
        events.take = true;
        list.PressKey(c.key, c.shift);
        EXPECT_EQ(events.keys, (std::vector<Key>{{c.key, c.shift}}));
        EXPECT_EQ(list.ItemIndex(), 0) << "a key the owner took is not handled";
        events.take = false;
        list.PressKey(c.key, c.shift);
        EXPECT_EQ(events.keys.size(), 2u);
        EXPECT_EQ(list.ItemIndex(), c.moved);
        EXPECT_EQ(events.clicks, c.moved ? 1 : 0);
        list.SetEnabled(false);
        list.PressKey(c.key, c.shift);
        EXPECT_EQ(events.keys.size(), 2u) << "a disabled control hears no keys";
        this->controls.clear();
    }
}

} // namespace

// Every drawing operation is kept with what it was given, and lines and
// outlines with the pen in force.
TEST(FakeCanvas, KeepsEveryOperationWithItsParameters) {
    using Op = fake::CanvasOp;
    auto op = [](Op::Kind kind, Bounds rect) {
        Op o;
        o.What = kind;
        o.Rect = rect;
        return o;
    };
    FontSpec font;
    font.Escapement = 900;
    std::vector<Op> expected(7);
    expected[0] = op(Op::Kind::MoveTo, {1, 2, 0, 0});
    expected[1] = op(Op::Kind::LineTo, {30, 2, 0, 0});
    expected[1].Pen = {kRed, 3};
    expected[2] = op(Op::Kind::Rectangle, {5, 6, 7, 8});
    expected[2].Pen = {kRed, 3};
    expected[2].Fill = kBlue;
    expected[3] = op(Op::Kind::Polygon, {});
    expected[3].Points = {{0, 0}, {10, 0}, {5, 9}};
    expected[3].Pen = {kRed, 3};
    expected[3].Fill = kBlue;
    expected[4] = op(Op::Kind::TextOut, {3, 4, 0, 0});
    expected[4].Text = "Setup";
    expected[4].Font = font;
    expected[4].Color = kWhite;
    expected[4].Fill = kBlack;
    expected[5] = expected[4];
    expected[5].Fill = std::nullopt;
    expected[6] = op(Op::Kind::Rectangle, {0, 0, 2, 2});
    expected[6].Pen = {kRed, 3};

    std::vector<Op> ops;
    fake::FakeCanvas canvas(ops);
    canvas.MoveTo(1, 2);
    canvas.SetPen({kRed, 3});
    canvas.LineTo(30, 2);
    canvas.Rectangle({5, 6, 7, 8}, kBlue);
    canvas.Polygon({{0, 0}, {10, 0}, {5, 9}}, kBlue);
    canvas.TextOut(3, 4, "Setup", font, kWhite, kBlack);
    canvas.TextOut(3, 4, "Setup", font, kWhite, std::nullopt);
    canvas.Rectangle({0, 0, 2, 2}, std::nullopt);
    ASSERT_EQ(ops.size(), expected.size());
    for (size_t i = 0; i < ops.size(); ++i)
        EXPECT_EQ(ops[i], expected[i]) << "operation " << i;
    EXPECT_EQ(canvas.TextExtent("Setup", font), (Bounds{0, 0, 5 * 6, 13})) << "the fake's 8-point metrics";
}

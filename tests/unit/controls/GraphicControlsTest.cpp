// Controls drawn on their parent: a paint box's OnPaint draws on its canvas
// with the control's colour and font; the canvas's pen and brush reach the
// drawing; grids and trees pass keys to OnKeyDown, which may take them.
#include "ControlsFixture.h"
#include "controls/ComCtrls.h"
#include "controls/GraphicControls.h"
#include "controls/Grids.h"
#include "platform/fake/FakeControl.h"

namespace sw::test {
namespace {

using Op = fake::CanvasOp;
constexpr ColorRef kBlue = 0xFF0000;

constexpr const char* kForm = R"(object PaintForm: TForm
  object Title: TPaintBox
    Left = 8
    Top = 8
    Width = 200
    Height = 60
    Color = clBlue
  end
  object Languages: TStringGrid
    Left = 8
    Top = 80
    Width = 290
    Height = 110
    ColCount = 2
    RowCount = 2
    FixedCols = 0
    FixedRows = 0
    DefaultColWidth = 140
    DefaultRowHeight = 48
  end
  object Groups: TTreeView
    Left = 8
    Top = 200
    Width = 200
    Height = 100
  end
end
)";

struct GraphicControlsTest : ControlsTest {
    GraphicControlsTest() {
        form = ReadForm(kForm);
        box = static_cast<TPaintBox*>(form->FindComponent("Title"));
        grid = static_cast<TStringGrid*>(form->FindComponent("Languages"));
        tree = static_cast<TTreeView*>(form->FindComponent("Groups"));
    }
    const std::vector<Op>& Drawn(const std::string& name) {
        Window(name).Repaint();
        return static_cast<fake::FakeControl&>(Window(name)).Drawn();
    }
    TForm* form;
    TPaintBox* box;
    TStringGrid* grid;
    TTreeView* tree;
};

TEST_F(GraphicControlsTest, APaintBoxDrawsThroughItsCanvasOnlyWhilePainting) {
    box->Font()->SetName("Arial");
    box->OnPaint = TNotifyEvent("Paint", [&](TPersistent*) {
        TCanvas& canvas = box->Canvas();
        canvas.FillRect({0, 0, 200, 60});
        canvas.Pen.Color = clWhite;
        canvas.Pen.Width = 2;
        canvas.Rectangle(1, 2, 11, 22);
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.Polygon({{0, 0}, {9, 0}, {0, 9}});
        canvas.Font().SetEscapement(900);
        canvas.TextOut(4, 50, "Setup");
    });
    form->Show();
    ASSERT_EQ(Window("Title").Kind(), ControlKind::Painted);
    const std::vector<Op>& ops = Drawn("Title");
    ASSERT_EQ(ops.size(), 4u);
    EXPECT_EQ(ops[0].Color, kBlue) << "the brush starts in the control's colour";
    EXPECT_EQ(ops[1].Rect, (Bounds{1, 2, 10, 20}));
    EXPECT_EQ(ops[1].Pen, (PenSpec{static_cast<ColorRef>(clWhite), 2}));
    EXPECT_EQ(ops[1].Fill, kBlue);
    EXPECT_EQ(ops[2].Fill, std::nullopt) << "a clear brush fills nothing";
    EXPECT_EQ(ops[3].Fill, std::nullopt) << "nor writes on a background";
    EXPECT_EQ(ops[3].Font.Face, "Arial");
    EXPECT_EQ(ops[3].Font.Escapement, 900);

    // The next paint starts afresh: solid brush, black pen, the control's font.
    box->OnPaint = TNotifyEvent("Paint", [&](TPersistent*) {
        box->Canvas().Rectangle(0, 0, 5, 5);
        box->Canvas().TextOut(0, 0, "x");
    });
    const std::vector<Op>& again = Drawn("Title");
    EXPECT_EQ(again[0].Pen, PenSpec{});
    EXPECT_EQ(again[1].Fill, kBlue);
    EXPECT_EQ(again[1].Font.Escapement, 0);
    EXPECT_THROW(box->Canvas().LineTo(1, 1), EInvalidOperation);
}

TEST_F(GraphicControlsTest, KeysReachOnKeyDownWhichMayTakeThem) {
    std::vector<std::pair<int32_t, TShiftState>> heard;
    bool take = false;
    TKeyEvent record("KeyDown", [&](TPersistent*, int32_t& key, TShiftState shift) {
        heard.emplace_back(key, shift);
        if (take)
            key = 0;
    });
    grid->OnKeyDown = record;
    tree->OnKeyDown = record;
    TTreeNode* demo = tree->AddChild(nullptr, "Demo");
    TTreeNode* other = tree->AddChild(nullptr, "Other");
    form->Show();
    tree->SetSelected(demo);

    Window("Languages").PressKey(vk::Right, true);
    EXPECT_EQ(grid->Col(), 1);
    take = true;
    Window("Languages").PressKey(vk::Left, false);
    EXPECT_EQ(grid->Col(), 1) << "taken by the handler";
    Window("Groups").PressKey(vk::Down, false);
    EXPECT_EQ(tree->Selected(), demo);
    take = false;
    Window("Groups").PressKey(vk::Down, false);
    EXPECT_EQ(tree->Selected(), other);
    using Heard = std::vector<std::pair<int32_t, TShiftState>>;
    EXPECT_EQ(heard, (Heard{{vk::Right, 1u << ssShift}, {vk::Left, 0}, {vk::Down, 0}, {vk::Down, 0}}));
}

} // namespace
} // namespace sw::test

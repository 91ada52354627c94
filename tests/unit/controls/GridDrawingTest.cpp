// Grids whose cells their owner draws: the draw-cell event, bound by a stream
// or by the program, and what it draws through the canvas.
#include "ControlsFixture.h"
#include "controls/Grids.h"
#include "platform/BmpFile.h"
#include "platform/fake/FakeControl.h"
#include "support/SourceFiles.h"

namespace sw::test {
namespace {

using Op = fake::CanvasOp;

// A form class whose published method draws a cell as the language page does:
// the cell filled with the brush, a flag at 2 pixels from the left, centred.
class TFlagsForm : public TForm {
    SW_DECLARE_CLASS()
  public:
    using TForm::TForm;
    std::any FindMethod(std::string_view name) const override {
        auto* self = const_cast<TFlagsForm*>(this);
        if (name == "LanguageGridDrawCell")
            return std::function<void(TPersistent*, int32_t, int32_t, const Bounds&, TGridDrawState)>(
                [self](TPersistent* sender, int32_t col, int32_t row, const Bounds& rect, TGridDrawState state) {
                    self->DrawFlag(*static_cast<TStringGrid*>(sender), col, row, rect, state);
                });
        return TForm::FindMethod(name);
    }
    void DrawFlag(TStringGrid& grid, int32_t col, int32_t row, const Bounds& rect, TGridDrawState state) {
        States.push_back(state);
        grid.Canvas().FillRect(rect);
        if (grid.Cell(col, row).empty())
            return;
        grid.Canvas().Draw(rect.Left + 2, rect.Top + (rect.Height - Flag.Height() + 1) / 2, Flag);
    }
    TBitmap Flag;
    std::vector<TGridDrawState> States;
};
SW_CLASS_INFO(TFlagsForm, TForm)

constexpr const char* kFlagsForm = R"(object FlagsForm: TFlagsForm
  Color = clBtnFace
  object LanguageGrid: TStringGrid
    Left = 8
    Top = 8
    Width = 290
    Height = 110
    ColCount = 2
    RowCount = 2
    FixedCols = 0
    FixedRows = 0
    DefaultColWidth = 140
    DefaultRowHeight = 48
    DefaultDrawing = False
    Options = [goVertLine, goHorzLine, goDrawFocusSelected]
    OnDrawCell = LanguageGridDrawCell
  end
end
)";

struct GridDrawingTest : ControlsTest {
    GridDrawingTest() {
        RegisterClass<TFlagsForm>();
        form = static_cast<TFlagsForm*>(ReadForm(kFlagsForm));
        grid = static_cast<TStringGrid*>(form->FindComponent("LanguageGrid"));
        form->Flag.LoadFromFileBytes(TPixels(126, 45, 0x808000).ToBmp());
        form->Flag.TransparentColor = clOlive;
    }
    const std::vector<Op>& Drawn() {
        Window("LanguageGrid").Repaint();
        return static_cast<fake::FakeControl&>(Window("LanguageGrid")).Drawn();
    }
    static Op Fill(Bounds rect, ColorRef color) {
        return {Op::Kind::FillRect, rect, color, "", {}, "", {}, {}, {}, {}};
    }

    TFlagsForm* form;
    TStringGrid* grid;
};

TEST_F(GridDrawingTest, TheStreamsHandlerDrawsEveryCellAndTheTextIsNot) {
    grid->SetCell(0, 0, "English");
    grid->SetCell(1, 0, "French");
    grid->Select(1, 0);
    form->Show();
    const std::vector<Op>& ops = Drawn();
    std::string flag = form->Flag.FileBytes();
    std::vector<Op> expected{
        Fill({0, 0, 139, 47}, kColorWindow),
        {Op::Kind::Draw, {2, 1, 126, 45}, 0, "", {}, flag, 0x008080, {}, {}, {}},
        Fill({140, 0, 139, 47}, kColorHighlight),
        {Op::Kind::Draw, {142, 1, 126, 45}, 0, "", {}, flag, 0x008080, {}, {}, {}},
        Fill({0, 48, 139, 47}, kColorWindow),
        Fill({140, 48, 139, 47}, kColorWindow),
    };
    EXPECT_EQ(ops, expected);
    EXPECT_EQ(form->States, (std::vector<TGridDrawState>{0, 1u << gdSelected, 0, 0}));
}

TEST_F(GridDrawingTest, DefaultDrawingWritesTheTextFirstAndTheOwnerDrawsOver) {
    grid->SetDefaultDrawing(true);
    grid->SetCell(0, 1, "German");
    grid->Select(0, 0);
    grid->OnDrawCell =
        TDrawCellEvent("Mark", [&](TPersistent*, int32_t col, int32_t row, const Bounds& rect, TGridDrawState) {
            if (col == 0 && row == 1)
                grid->Canvas().TextOut(rect.Left, rect.Top, "!");
        });
    form->Show();
    std::vector<Op> ops = Drawn();
    ASSERT_EQ(ops.size(), 6u);
    EXPECT_EQ(ops[0], Fill({0, 0, 139, 47}, kColorHighlight));
    EXPECT_EQ(ops[3].What, Op::Kind::TextOut);
    EXPECT_EQ(ops[3].Text, "German");
    EXPECT_EQ(ops[4].Text, "!") << "the owner's drawing follows the window's";
    EXPECT_EQ(ops[4].Color, kColorWindowText);
    EXPECT_EQ(ops[4].Font.Face, grid->Font()->Spec().Face);

    grid->SetFixedRows(1);
    ops = Drawn();
    EXPECT_EQ(ops[4].What, Op::Kind::TextOut);
    grid->OnDrawCell = TDrawCellEvent("Fill", [&](TPersistent*, int32_t, int32_t, const Bounds& rect, TGridDrawState) {
        grid->Canvas().FillRect(rect);
    });
    ops = Drawn();
    EXPECT_EQ(ops[1], Fill({0, 0, 139, 47}, kColorBtnFace)) << "a fixed cell takes the fixed colour";
}

TEST_F(GridDrawingTest, TheCanvasDrawsOnlyWhileTheGridPaints) {
    try {
        grid->Canvas().FillRect({0, 0, 10, 10});
        FAIL() << "drew without a paint";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "Canvas does not allow drawing");
    }
}

TEST_F(GridDrawingTest, AnErrorWhileDrawingEndsThePaintAndGoesToTheApplicationOnce) {
    std::vector<std::string> reported;
    Application().OnException = [&](std::exception_ptr e) { reported.push_back(ExceptionText(e)); };
    fake.Gui().SetExceptionHandler([](std::exception_ptr e) { Application().HandleException(e); });
    grid->OnDrawCell = TDrawCellEvent("Broken", [](TPersistent*, int32_t, int32_t, const Bounds&, TGridDrawState) {
        throw Exception("Resource BM_LANG_NONE not found");
    });
    form->Show();
    EXPECT_TRUE(Drawn().empty());
    EXPECT_EQ(reported, (std::vector<std::string>{"Resource BM_LANG_NONE not found"}));
}

TEST_F(GridDrawingTest, AStreamWithoutTheHandlerMethodIsRefused) {
    std::string text = kFlagsForm;
    text.replace(text.find("LanguageGridDrawCell"), 20, "NoSuchMethod");
    EXPECT_NE(ReadError(text), "");
}

} // namespace
} // namespace sw::test

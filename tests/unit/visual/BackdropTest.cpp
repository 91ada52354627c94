// The backdrop: its gradient in bands from the recorded canvas, the
// main-backdrop rule of Tag, Assign, repainting on change.
#include "VisualFixture.h"
#include "visual/VisualState.h"

#include <map>

namespace sw::test {
namespace {

constexpr ColorRef kBlue = 0xFF0000, kRed = 0x0000FF, kGreen = 0x00FF00;

// The colour of each pixel along the axis, counting how often it is filled.
struct Coverage {
    std::map<int, int> fills;
    std::map<int, ColorRef> color;
};

Coverage Along(const std::vector<Op>& ops, bool rows, int across) {
    Coverage c;
    for (const Op& op : ops) {
        EXPECT_EQ(op.What, Op::Kind::FillRect);
        EXPECT_EQ(rows ? op.Rect.Width : op.Rect.Height, across) << "a band spans the whole control";
        int from = rows ? op.Rect.Top : op.Rect.Left, size = rows ? op.Rect.Height : op.Rect.Width;
        for (int p = from; p < from + size; ++p) {
            ++c.fills[p];
            c.color[p] = op.Color;
        }
    }
    return c;
}

TEST_F(VisualTest, EachDirectionRunsItsColoursAlongItsAxis) {
    struct Case {
        const char* direction;
        bool rows;                      // bands along the height
        ColorRef first, last;           // at pixels 0 and 255
        std::optional<ColorRef> middle; // at 127 and 128, mirrored
    };
    for (const Case& c :
         {Case{"bdUp", true, kRed, kGreen, {}}, Case{"bdDown", true, kGreen, kRed, {}},
          Case{"bdLeft", false, kRed, kGreen, {}}, Case{"bdRight", false, kGreen, kRed, {}},
          Case{"bdHorzIn", true, kGreen, kGreen, kRed}, Case{"bdHorzOut", true, kRed, kRed, kGreen},
          Case{"bdVertIn", false, kRed, kRed, kGreen}, Case{"bdVertOut", false, kGreen, kGreen, kRed}}) {
        SCOPED_TRACE(c.direction);
        Show(std::string("    Align = alNone\n    Width = 256\n    Height = 256\n    StartColor = clRed\n"
                         "    EndColor = clLime\n    Direction = ") +
             c.direction + "\n");
        const std::vector<Op>& ops = Drawn("Backdrop1");
        EXPECT_EQ(ops.size(), 256u) << "256 bands, or 128 pairs";
        Coverage along = Along(ops, c.rows, 256);
        for (int p = 0; p < 256; ++p)
            ASSERT_EQ(along.fills[p], 1) << "pixel " << p << " is filled once";
        EXPECT_EQ(along.color[0], c.first);
        EXPECT_EQ(along.color[255], c.last);
        if (c.middle) {
            EXPECT_EQ(along.color[127], *c.middle);
            EXPECT_EQ(along.color[128], *c.middle);
            EXPECT_EQ(along.color[1], along.color[254]) << "mirrored";
        }
        Reset();
    }
}

TEST_F(VisualTest, AHundredPixelsHighUpwardBackdropUsesAllBandsAndCoversEveryRowOnce) {
    Show("    Align = alNone\n    Width = 300\n    Height = 100\n");
    const std::vector<Op>& ops = Drawn("Backdrop1");
    ASSERT_EQ(ops.size(), 256u);
    Coverage along = Along(ops, true, 300);
    EXPECT_EQ(along.fills.size(), 100u);
    for (int row = 0; row < 100; ++row)
        EXPECT_EQ(along.fills[row], 1) << "row " << row;
    EXPECT_EQ(ops[31].Rect.Top + ops[31].Rect.Height, 13) << "32 x 100 / 256 = 12.5 rounds away from zero";
    EXPECT_EQ(ops[32].Rect.Top, 13);
    EXPECT_EQ(ops[0].Color, kBlue) << "the default start colour, in an empty band";
    EXPECT_EQ(along.color[0], 0xFE0000u) << "row 0 is band 1";
    EXPECT_EQ(along.color[99], 0x010000u) << "band 254, one step short of black: band 255 is empty";
}

TEST_F(VisualTest, EqualColoursPaintOneFlatColourAndSystemColoursAreResolved) {
    for (const char* direction : {"bdUp", "bdVertOut"}) {
        Show(std::string("    StartColor = clBtnFace\n    EndColor = clBtnFace\n    Direction = ") + direction + "\n");
        for (const Op& op : Drawn("Backdrop1"))
            EXPECT_EQ(op.Color, 0xC0C0C0u) << direction;
        Reset();
    }
}

TEST(GradientBands, ChannelStepsRoundHalvesAwayFromZeroAndStayEightBits) {
    // One step down in red: the last 127 bands reach it (i x -1 / 255 rounds to -1 from i = 128).
    std::vector<TBand> bands = GradientBands(0x000001, 0x000000, 256, false);
    EXPECT_EQ(bands[127].Color, 1u);
    EXPECT_EQ(bands[128].Color, 0u);
    bands = GradientBands(0x0000FF, 0xFF0000, 256, true);
    ASSERT_EQ(bands.size(), 256u);
    EXPECT_EQ(bands[0], (TBand{0, 1, 0x0000FF}));
    EXPECT_EQ(bands[1], (TBand{255, 256, 0x0000FF}));
    EXPECT_EQ(bands[254], (TBand{127, 128, 0xFF0000}));
    EXPECT_EQ(bands[255], (TBand{128, 129, 0xFF0000}));
    EXPECT_EQ(MulDiv(-5, 5, 2), -13);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
}

TEST_F(VisualTest, ASecondMainBackdropTakesTheRoleFromTheFirst) {
    Show("    Tag = -1\n");
    EXPECT_EQ(VisualState().MainBackdrop, backdrop);
    TOwned<TBackdrop> second(new TBackdrop(form));
    second->SetTag(-1);
    EXPECT_EQ(backdrop->Tag, 0);
    EXPECT_EQ(VisualState().MainBackdrop, second.get());
    second->SetTag(7);
    EXPECT_EQ(VisualState().MainBackdrop, nullptr) << "another value gives the role up";
    second->SetTag(-1);
    TComponent::Free(second.release());
    EXPECT_EQ(VisualState().MainBackdrop, nullptr) << "destroying the main backdrop clears it";

    TOwned<TForm> designed(new TForm(nullptr));
    designed->SetDesigning(true);
    auto* made = new TBackdrop(designed.get());
    EXPECT_EQ(made->Tag, -1) << "made while designing with no main backdrop";
    EXPECT_EQ((new TBackdrop(designed.get()))->Tag, 0);
}

TEST_F(VisualTest, ChangesRepaintAtOnceAndAssignCopiesTheGradient) {
    Show("    Align = alNone\n    Height = 256\n");
    auto& window = static_cast<fake::FakeControl&>(Window("Backdrop1"));
    backdrop->SetStartColor(static_cast<TColor>(kRed));
    ASSERT_FALSE(window.Drawn().empty()) << "painted without being asked";
    EXPECT_EQ(window.Drawn().front().Color, kRed);
    backdrop->SetDirection(TDirection::bdDown);
    EXPECT_EQ(window.Drawn().front().Color, 0u);
    backdrop->SetEndColor(static_cast<TColor>(kGreen));
    EXPECT_EQ(window.Drawn().front().Color, kGreen);

    TOwned<TBackdrop> copy(new TBackdrop(nullptr));
    copy->SetAlign(TAlign::alBottom);
    copy->Tag = 3;
    copy->Assign(*backdrop);
    EXPECT_EQ(copy->Direction(), TDirection::bdDown);
    EXPECT_EQ(copy->StartColor(), static_cast<TColor>(kRed));
    EXPECT_EQ(copy->EndColor(), static_cast<TColor>(kGreen));
    EXPECT_EQ(copy->Align(), TAlign::alNone);
    EXPECT_EQ(copy->Tag, 3);
}

} // namespace
} // namespace sw::test

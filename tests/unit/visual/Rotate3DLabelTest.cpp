// The rotated label: the style's setter rules, the main-label rule of Tag,
// and its painting as the recorded canvas shows it.
#include "VisualFixture.h"
#include "visual/VisualState.h"

namespace sw::test {
namespace {

constexpr ColorRef kWhite = 0xFFFFFF, kGray = 0x808080, kYellow = 0x00FFFF, kLabelRed = 0x0000FF;

TEST(LabelStyle, SettersKeepTheirRulesAndNotifyOnlyWhenTheLookChanges) {
    TLabelStyle style;
    int changes = 0;
    style.OnChange = [&] { ++changes; };
    struct AngleCase {
        int32_t set, stored, changes;
    };
    for (const AngleCase& c : {AngleCase{90, 90, 1}, AngleCase{90, 90, 0}, AngleCase{400, 0, 1}, AngleCase{359, 359, 1},
                               AngleCase{-90, 0, 1}, AngleCase{360, 0, 0}}) {
        changes = 0;
        style.SetAngle(c.set);
        EXPECT_EQ(style.Angle(), c.stored) << c.set;
        EXPECT_EQ(changes, c.changes) << c.set;
    }

    // The highlight is white while AShadeLTSet holds it; its own colour comes back after.
    changes = 0;
    style.SetAShadeLeftTop(static_cast<TColor>(kLabelRed));
    EXPECT_EQ(style.AShadeLeftTop(), clWhite);
    EXPECT_EQ(changes, 0);
    style.SetAShadeLTSet(false);
    style.SetAShadeLeftTop(static_cast<TColor>(kLabelRed));
    EXPECT_EQ(style.AShadeLeftTop(), static_cast<TColor>(kLabelRed));
    changes = 0;
    style.SetAShadeLTSet(true);
    EXPECT_EQ(style.AShadeLeftTop(), clWhite);
    EXPECT_EQ(changes, 1) << "raised, with a saved colour that is not white";
    style.SetAShadeLTSet(false);
    EXPECT_EQ(style.AShadeLeftTop(), static_cast<TColor>(kLabelRed));

    struct OffsetCase {
        T3DEffectShort style;
        int changes;
    };
    for (const OffsetCase& c : {OffsetCase{T3DEffectShort::A3dRaised, 0}, OffsetCase{T3DEffectShort::A3dResit, 0},
                                OffsetCase{T3DEffectShort::A3dNormal, 0}, OffsetCase{T3DEffectShort::A3dShadowed, 2}}) {
        style.SetAStyle3D(c.style);
        changes = 0;
        style.SetAHShadeOffSet(style.AHShadeOffSet() + 1);
        style.SetAVShadeOffSet(style.AVShadeOffSet() - 1);
        EXPECT_EQ(changes, c.changes) << static_cast<int>(c.style);
    }

    TLabelStyle copy;
    copy.OnChange = [&] { ++changes; };
    changes = 0;
    copy.Assign(style);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(copy.Angle(), 0);
    EXPECT_EQ(copy.AStyle3D(), T3DEffectShort::A3dShadowed);
    EXPECT_EQ(copy.AShadeLeftTop(), static_cast<TColor>(kLabelRed));
    EXPECT_FALSE(copy.AShadeLTSet());
    EXPECT_EQ(copy.AHShadeOffSet(), style.AHShadeOffSet());
    EXPECT_EQ(copy.AVShadeOffSet(), style.AVShadeOffSet());
}

// The fake's Arial at 8 points: 6 pixels a character, 13 high.
constexpr const char* kTitle = "      Width = 200\n      Height = 100\n      Caption = 'Setwright'\n";
constexpr int kTw = 9 * 6, kTh = 13, kCx = 100, kCy = 50;

TEST_F(VisualTest, TheCaptionStartsWhereItsAlignmentAndAngleSay) {
    struct Case {
        const char* alignment;
        int angle;
        int x, y;
    };
    for (const Case& c :
         {Case{"taCenter", 0, kCx - kTw / 2, kCy - kTh / 2}, Case{"taCenter", 90, kCx - kTh / 2, kCy + kTw / 2},
          Case{"taCenter", 180, kCx + kTw / 2, kCy + kTh / 2}, Case{"taLeftJustify", 0, 0, kCy - kTh / 2},
          Case{"taRightJustify", 90, 200 - kTw, kCy + kTw / 2}}) {
        SCOPED_TRACE(std::string(c.alignment) + " " + std::to_string(c.angle));
        Show("", std::string(kTitle) + "      Alignment = " + c.alignment +
                     "\n      LabelStyle.AStyle3D = A3dNormal\n      LabelStyle.Angle = " + std::to_string(c.angle) +
                     "\n");
        const std::vector<Op>& ops = Drawn("Title");
        ASSERT_EQ(ops.size(), 1u);
        EXPECT_EQ(ops[0].What, Op::Kind::TextOut);
        EXPECT_EQ(ops[0].Text, "Setwright");
        EXPECT_EQ(ops[0].Rect.Left, c.x);
        EXPECT_EQ(ops[0].Rect.Top, c.y);
        EXPECT_EQ(ops[0].Font.Escapement, c.angle * 10) << "turned by escapement";
        EXPECT_TRUE(ops[0].Font.TrueTypeOnly) << "an outline font, also upright";
        EXPECT_EQ(ops[0].Font.Face, "Arial");
        EXPECT_TRUE(ops[0].Font.Bold);
        EXPECT_EQ(ops[0].Fill, std::nullopt) << "on what lies below: no box of its own";
        Reset();
    }
}

TEST_F(VisualTest, EffectsDrawTheirCopiesBeforeTheFontColour) {
    const int x = kCx - kTw / 2, y = kCy - kTh / 2;
    struct Copy {
        int dx, dy;
        ColorRef color;
    };
    struct Case {
        const char* effect;
        std::vector<Copy> copies;
    };
    for (const Case& c :
         {Case{"A3dRaised", {{-1, -1, kWhite}, {1, 1, kGray}, {0, 0, kYellow}}},
          Case{"A3dResit", {{1, 1, kWhite}, {-1, -1, kGray}, {0, 0, kYellow}}},
          Case{"A3dShadowed", {{5, -5, kGray}, {0, 0, kYellow}}}, Case{"A3dNormal", {{0, 0, kYellow}}}}) {
        SCOPED_TRACE(c.effect);
        Show("", std::string(kTitle) +
                     "      Alignment = taCenter\n      Font.Color = clYellow\n"
                     "      LabelStyle.AStyle3D = " +
                     c.effect + "\n");
        const std::vector<Op>& ops = Drawn("Title");
        ASSERT_EQ(ops.size(), c.copies.size());
        for (size_t i = 0; i < ops.size(); ++i) {
            EXPECT_EQ(ops[i].Rect.Left, x + c.copies[i].dx) << i;
            EXPECT_EQ(ops[i].Rect.Top, y + c.copies[i].dy) << i;
            EXPECT_EQ(ops[i].Color, c.copies[i].color) << i;
            EXPECT_EQ(ops[i].Fill, std::nullopt) << i;
        }
        Reset();
    }
}

TEST_F(VisualTest, AnOpaqueLabelStandsFlatOnARotatedBoxOfItsColour) {
    Show("", std::string(kTitle) + "      Alignment = taCenter\n      Color = clRed\n      LabelStyle.Angle = 90\n");
    EXPECT_EQ(label->LabelStyle()->AStyle3D(), T3DEffectShort::A3dRaised);
    EXPECT_EQ(Drawn("Title").size(), 3u);
    label->SetMyTransparent(false);
    const std::vector<Op>& ops = Drawn("Title");
    EXPECT_EQ(label->LabelStyle()->AStyle3D(), T3DEffectShort::A3dNormal) << "made flat by the paint";
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[0].What, Op::Kind::Polygon);
    EXPECT_EQ(ops[0].Fill, kLabelRed);
    // W = 64, H = 20 turned by 90 degrees: T(W/2 x cos) is 0, T(H/2 x sin) is 10.
    EXPECT_EQ(
        ops[0].Points,
        (std::vector<Point>{{kCx - 10, kCy + 32}, {kCx - 10, kCy - 32}, {kCx + 10, kCy - 32}, {kCx + 10, kCy + 32}}));
    EXPECT_EQ(ops[1].What, Op::Kind::TextOut);
    EXPECT_EQ(ops[1].Fill, std::nullopt);
    EXPECT_NEAR(label->Cosine(), 0, 1e-9);
    EXPECT_NEAR(label->Sine(), 1, 1e-9);
}

TEST_F(VisualTest, TheMainLabelRuleAndAssign) {
    Show("", std::string(kTitle) + "      Tag = -1\n      LabelStyle.AShadeLTSet = False\n"
                                   "      LabelStyle.AShadeLeftTop = clRed\n");
    EXPECT_EQ(VisualState().MainLabel, label);
    EXPECT_EQ(label->LabelStyle()->AShadeLeftTop(), static_cast<TColor>(kLabelRed)) << "read as the stream holds it";
    TOwned<TRotate3DLabel> other(new TRotate3DLabel(form));
    EXPECT_EQ(other->Font()->Name(), "Arial");
    EXPECT_FALSE(other->AutoSize());
    EXPECT_TRUE(other->MyTransparent());
    other->SetTag(-1);
    EXPECT_EQ(label->Tag, 0);
    other->Assign(*label);
    EXPECT_EQ(other->Caption(), "Setwright");
    EXPECT_EQ(other->BoundsRect(), label->BoundsRect());
    EXPECT_EQ(other->LabelStyle()->AShadeLeftTop(), static_cast<TColor>(kLabelRed));
    TComponent::Free(other.release());
    EXPECT_EQ(VisualState().MainLabel, nullptr);
}

} // namespace
} // namespace sw::test

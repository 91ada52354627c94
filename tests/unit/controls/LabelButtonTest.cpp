#include "ControlsFixture.h"
#include "controls/StdCtrls.h"

namespace sw::test {
namespace {

const char kPage[] = R"(object Page: TForm
  Caption = 'Welcome'
  ClientWidth = 470
  ClientHeight = 368
  Font.Name = 'Arial'
  Font.Height = -11
  object Intro: TLabel
    Left = 8
    Top = 8
    Width = 300
    Caption = 'Welcome to the Setup program.'
    AutoSize = False
    WordWrap = True
  end
  object CancelBtn: TBitBtn
    Left = 387
    Top = 327
    Width = 75
    Height = 33
    Caption = 'Cancel'
    Kind = bkCancel
    Anchors = [akRight, akBottom]
    TabOrder = 2
  end
end
)";

TEST_F(ControlsTest, LabelAndGlyphButtonReadFromTheirTextForm) {
    TForm* form = ReadForm(kPage);
    auto* intro = dynamic_cast<TLabel*>(form->FindComponent("Intro"));
    auto* cancel = dynamic_cast<TBitBtn*>(form->FindComponent("CancelBtn"));
    ASSERT_TRUE(intro && cancel);
    EXPECT_EQ(intro->Parent(), form);
    EXPECT_EQ(intro->Caption(), "Welcome to the Setup program.");
    EXPECT_TRUE(intro->WordWrap());
    EXPECT_FALSE(intro->AutoSize());
    EXPECT_EQ(intro->Font()->Name(), "Arial"); // from the form
    EXPECT_TRUE(intro->ParentFont());
    EXPECT_EQ(cancel->Kind(), TBitBtnKind::bkCancel);
    EXPECT_EQ(cancel->ModalResult, mrCancel);
    EXPECT_TRUE(cancel->Cancel);
    EXPECT_EQ(cancel->TabOrder(), 2);
    EXPECT_EQ(cancel->Anchors(), (1u << akRight) | (1u << akBottom));
}

TEST_F(ControlsTest, WritingThenReadingGivesTheSameStream) {
    TForm* form = ReadForm(kPage);
    std::string first = WriteComponentStream(*form);
    TOwned<TComponent> again(ReadComponentStream(first, nullptr));
    EXPECT_EQ(WriteComponentStream(*again), first);
    // A child that follows its parent's font writes none of its own.
    std::string text = RecordsToText(ComponentToRecords(*form));
    EXPECT_EQ(text.find("Intro: TLabel\n    Left = 8\n    Top = 8\n    Width = 300\n    Height = 13\n"),
              text.find("Intro: TLabel"));
    EXPECT_EQ(text.find("Font", text.find("Intro: TLabel")), std::string::npos);
}

TEST_F(ControlsTest, ShownFormRealizesItsControlsHeadless) {
    TForm* form = ReadForm(kPage);
    int clicks = 0;
    auto* cancel = static_cast<TBitBtn*>(form->FindComponent("CancelBtn"));
    cancel->OnClick = TNotifyEvent("CancelClick", [&](TPersistent* sender) {
        EXPECT_EQ(sender, cancel);
        ++clicks;
    });
    form->Show();
    EXPECT_EQ(form->Window()->ClientBounds(), (Bounds{0, 0, 470, 368}));
    IControl& intro = Window("Intro");
    EXPECT_EQ(intro.Kind(), ControlKind::Static);
    EXPECT_EQ(intro.Text(), "Welcome to the Setup program.");
    EXPECT_EQ(intro.GetBounds(), (Bounds{8, 8, 300, 13}));
    EXPECT_EQ(intro.Font().Face, "Arial");
    IControl& button = Window("CancelBtn");
    EXPECT_EQ(button.Kind(), ControlKind::Button);
    EXPECT_EQ(button.Text(), "Cancel");
    button.Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form->ModalResult(), mrCancel);
    cancel->SetEnabled(false);
    button.Click(); // a disabled button cannot be pressed
    EXPECT_EQ(clicks, 1);
    cancel->SetCaption("Annuler");
    EXPECT_EQ(button.Text(), "Annuler");
}

TEST_F(ControlsTest, AutoSizedLabelTakesTheSizeOfItsText) {
    TForm* form = ReadForm(R"(object F: TForm
  object L: TLabel
    Left = 10
    Top = 10
    Caption = 'Path:'
  end
  object W: TLabel
    Left = 10
    Top = 40
    Width = 60
    Caption = 'one two three four'
    WordWrap = True
  end
  object Spacer: TLabel
    Top = 80
  end
end
)");
    auto* l = static_cast<TLabel*>(form->FindComponent("L"));
    auto* w = static_cast<TLabel*>(form->FindComponent("W"));
    auto* spacer = static_cast<TLabel*>(form->FindComponent("Spacer"));
    Bounds path = fake.Gui().MeasureText(l->Font()->Spec(), "Path:", 0);
    EXPECT_EQ(l->Width(), path.Width);
    EXPECT_EQ(l->Height(), path.Height);
    EXPECT_EQ(w->Width(), 60); // word-wrapped: only the height follows
    EXPECT_EQ(w->Height(), 2 * path.Height);
    EXPECT_EQ(spacer->Height(), path.Height); // an empty caption is one line high
    l->SetCaption("A longer path:");
    EXPECT_GT(l->Width(), path.Width);
    l->SetAutoSize(false);
    l->SetCaption("x");
    EXPECT_GT(l->Width(), path.Width);
}

TEST_F(ControlsTest, UnknownClassOrPropertyGivesTheReadError) {
    EXPECT_EQ(ReadError("object F: TForm\n object X: TFancyButton\n end\nend\n"),
              "Error reading X: Class TFancyButton not found");
    EXPECT_EQ(ReadError("object F: TForm\n object B: TBitBtn\n  Glow = 3\n end\nend\n"),
              "Error reading B.Glow: Property does not exist");
    EXPECT_EQ(ReadError("object F: TForm\n object B: TBitBtn\n  Kind = bkMaybe\n end\nend\n"),
              "Error reading B.Kind: Invalid property value");
    EXPECT_EQ(ReadError("object F: TForm\n object L: TLabel\n  object B: TButton\n  end\n end\nend\n"),
              "Error reading B: Control 'B' has no parent window");
}

} // namespace
} // namespace sw::test

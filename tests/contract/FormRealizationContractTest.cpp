// A dialog form in text form, shown on each backend: the controls' windows
// take the places the portable layout gives them and show the same texts,
// headless and under Win32 alike.
#include "ContractBackends.h"
#include "controls/Controls.h"
#include "controls/Forms.h"
#include "project/Reader.h"
#include "project/TextForm.h"
#include "support/ProgramStateForTests.h"

#include <map>

using namespace sw;

namespace {

const char kForm[] = R"(object Page: TForm
  Caption = 'Select folder in start menu'
  ClientWidth = 470
  ClientHeight = 368
  Font.Name = 'Arial'
  Font.Height = -11
  object ButtonBar: TPanel
    Left = 0
    Top = 316
    Width = 470
    Height = 52
    Align = alBottom
    BevelOuter = bvNone
    object Line: TBevel
      Left = 0
      Top = 0
      Width = 470
      Height = 2
      Align = alTop
      Shape = bsTopLine
    end
    object BackBtn: TBitBtn
      Left = 218
      Top = 10
      Width = 75
      Height = 33
      Caption = '< Previous'
      Anchors = [akRight, akBottom]
    end
    object ProceedBtn: TBitBtn
      Left = 300
      Top = 10
      Width = 75
      Height = 33
      Caption = 'Next >'
      Default = True
      Anchors = [akRight, akBottom]
    end
    object CancelBtn: TBitBtn
      Left = 387
      Top = 10
      Width = 75
      Height = 33
      Caption = 'Cancel'
      Kind = bkCancel
      Anchors = [akRight, akBottom]
    end
  end
  object ThemeBitmap: TImage
    Left = 0
    Top = 0
    Width = 136
    Height = 316
    Align = alLeft
  end
  object Content: TPanel
    Left = 136
    Top = 0
    Width = 334
    Height = 316
    Align = alClient
    BevelOuter = bvNone
    BorderWidth = 8
    object TopDescriptionLabel: TLabel
      Left = 8
      Top = 8
      Width = 318
      Height = 40
      Align = alTop
      AutoSize = False
      WordWrap = True
      Caption = 'Setup will add program icons to the Program Folder listed below.'
    end
    object FolderEdit: TEdit
      Left = 8
      Top = 60
      Width = 318
      Height = 21
      Anchors = [akLeft, akTop, akRight]
      Text = 'Setwright Demo'
    end
    object FolderListBox: TListBox
      Left = 8
      Top = 90
      Width = 318
      Height = 210
      Anchors = [akLeft, akTop, akRight, akBottom]
      Sorted = True
      Items.Strings = (
        'Startup'
        'Accessories')
    end
    object Agree: TCheckBox
      Left = 8
      Top = 300
      Width = 200
      Height = 17
      Caption = 'I agree'
    end
  end
end
)";

struct Seen {
    Bounds bounds;
    std::string text;
    std::vector<std::string> items;
    bool operator==(const Seen&) const = default;
};

// Every control's window as the backend shows it, by name.
template <typename Backend> std::map<std::string, Seen> ShowForm(Backend& backend, int clientWidth, int clientHeight) {
    ScopedPlatform installed(backend.platform.Get());
    RegisterControlClasses();
    auto* form = static_cast<TForm*>(ReadComponentRecords(TextToRecords(kForm, "page.txt"), nullptr));
    Application().Adopt(form);
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
        if (window)
            seen[name] = {window->GetBounds(), window->Text(), window->Items()};
    }
    test::RenewProgramState();
    return seen;
}

template <typename Backend> class FormRealizationContract : public ::testing::Test {
  protected:
    Backend backend;
};

TYPED_TEST_SUITE(FormRealizationContract, contract::Backends, contract::BackendNames);

TYPED_TEST(FormRealizationContract, ControlsTakeTheirLaidOutPlacesAndTexts) {
    auto seen = ShowForm(this->backend, 0, 0);
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
    auto seen = ShowForm(this->backend, 570, 418);
    EXPECT_EQ(seen["ButtonBar"].bounds, (Bounds{0, 366, 570, 52}));
    EXPECT_EQ(seen["CancelBtn"].bounds, (Bounds{487, 10, 75, 33}));
    EXPECT_EQ(seen["Content"].bounds, (Bounds{136, 0, 434, 366}));
    EXPECT_EQ(seen["FolderEdit"].bounds, (Bounds{8, 60, 418, 21}));
    EXPECT_EQ(seen["FolderListBox"].bounds, (Bounds{8, 90, 418, 260}));
}

#ifdef _WIN32
// The same form headless and as Win32 child windows, side by side.
TEST(FormRealizationContract, HeadlessAndWin32Agree) {
    contract::FakeBackend fake;
    contract::Win32Backend real;
    EXPECT_EQ(ShowForm(fake, 0, 0), ShowForm(real, 0, 0));
    EXPECT_EQ(ShowForm(fake, 570, 418), ShowForm(real, 570, 418));
}
#endif

} // namespace

// A dialog form in text form (tests/fixtures/forms/select-folder.txt), shown
// on each backend: the controls' windows take the places the portable layout
// gives them and show the same texts, headless and under Win32 alike.
#include "ContractBackends.h"
#include "controls/Controls.h"
#include "controls/Forms.h"
#include "project/Reader.h"
#include "project/TextForm.h"
#include "support/ProgramStateForTests.h"
#include "support/SourceFiles.h"

#include <map>

using namespace sw;

namespace {

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
    std::string text = test::ReadSourceFile("tests/fixtures/forms/select-folder.txt");
    auto* form = static_cast<TForm*>(ReadComponentRecords(TextToRecords(text, "select-folder.txt"), nullptr));
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

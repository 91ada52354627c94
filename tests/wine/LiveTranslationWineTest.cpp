// A small form shown through the real Win32 controls and translated live from
// English into the user's language with the shipped string tables: the
// windows' texts, read back through the API, are the tables' texts and their
// fonts are the language's. tests/wine/live-translation.sh runs these cases
// once per language with Wine's locale set to it (SW_LIVE_LANGUAGE names the
// language, SW_LIVE_SHOTS the folder for the screenshots); without it they
// are skipped.
#include "controls/Controls.h"
#include "controls/Edits.h"
#include "controls/Forms.h"
#include "lang/Translator.h"
#include "platform/win32/Win32Control.h"
#include "platform/win32/Win32Gui.h"
#include "platform/win32/Win32Platform.h"
#include "project/Reader.h"
#include "project/TextForm.h"
#include "support/ProgramStateForTests.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace sw::test {
namespace {

constexpr const char* kForm = R"(object LiveForm: TForm
  Caption = 'Welcome'
  ClientWidth = 460
  ClientHeight = 320
  object Intro: TTranslateLabel
    Left = 8
    Top = 8
    Width = 444
    Height = 16
    GLID = 10
    Caption = 'This program will install the software on your computer.'
  end
  object Heading: TLabel
    Left = 8
    Top = 32
    Width = 444
    Height = 16
    Caption = 'Select components to install'
  end
  object Notes: TMemo
    Left = 8
    Top = 56
    Width = 444
    Height = 110
    ReadOnly = True
    Lines.Strings = (
      'memo lines: set by the test')
  end
  object Types: TListBox
    Left = 8
    Top = 176
    Width = 444
    Height = 80
    Items.Strings = (
      'Typical'
      'Compact'
      'Custom')
  end
  object BackBtn: TTranslateBitBtn
    Left = 152
    Top = 272
    Width = 96
    Height = 33
    GLID = 4
    Caption = '< Previous'
  end
  object NextBtn: TTranslateBitBtn
    Left = 256
    Top = 272
    Width = 96
    Height = 33
    GLID = 5
    Caption = 'Next >'
  end
  object CancelBtn: TTranslateBitBtn
    Left = 360
    Top = 272
    Width = 92
    Height = 33
    GLID = 6
    Caption = 'Cancel'
  end
end
)";

// The memo holds the welcome page's two long texts; both tables get a memo
// entry made of their own texts of ids 11 and 12.
constexpr int32_t kMemoId = 900;

std::string WindowText(HWND window) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::vector<std::string> ListBoxItems(HWND window) {
    std::vector<std::string> items;
    LRESULT count = SendMessageA(window, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::string item(static_cast<size_t>(SendMessageA(window, LB_GETTEXTLEN, i, 0)) + 1, '\0');
        item.resize(static_cast<size_t>(SendMessageA(window, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
        items.push_back(item);
    }
    return items;
}

// The font the window was given, as GDI describes it.
LOGFONTA WindowFont(HWND window) {
    LOGFONTA font{};
    auto handle = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    EXPECT_NE(handle, nullptr);
    if (handle) {
        EXPECT_EQ(GetObjectA(handle, sizeof font, &font), static_cast<int>(sizeof font));
    }
    return font;
}

// The character set of the face GDI chose for that font.
int RealizedCharset(HWND window) {
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return metrics.tmCharSet;
}

struct Expected {
    TPlmrLanguage Ident;
    std::string Face; // in the language's code page
    int Charset;
};

// The languages the script runs, with the face and character set their
// controls must get.
const std::map<std::string, Expected>& Languages() {
    static const std::map<std::string, Expected> languages{
        {"French", {plFrench, "Arial", 0}},
        {"German", {plGerman, "MS Sans Serif", 0}},
        {"Russian", {plRussian, "Arial", 204}},
        // "MS P Gothic" in full-width letters and katakana, code page 932.
        {"Japanese", {plJapanese, "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e", 128}},
    };
    return languages;
}

class LiveTranslationWineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* name = std::getenv("SW_LIVE_LANGUAGE");
        if (!name || !Languages().count(name))
            GTEST_SKIP() << "no language of the test's locale (run by tests/wine/live-translation.sh)";
        language = name;
        expected = Languages().at(language);
        RegisterControlClasses();
        RegisterLanguageClasses();
        english = &Load(plEnglish);
        target = &Load(expected.Ident);
    }
    void TearDown() override {
        delete translator;
        RenewProgramState();
    }

    TLanguage& Load(TPlmrLanguage ident) {
        TLanguage& l = *translator->FindLanguage(ident);
        l.Strings()->LoadFromFile(std::string("Z:") + SW_SOURCE_DIR + "/src/resources/lang/" + l.TextFileName());
        l.Strings()->AddStrings({"#" + std::to_string(kMemoId), l.FindString(11)->Text, l.FindString(12)->Text, "#"});
        return l;
    }
    std::string Text(const TLanguage& l, int32_t id) {
        const TLanguageString* entry = l.FindString(id);
        return entry ? entry->Text : "<no id " + std::to_string(id) + ">";
    }
    HWND Window(const std::string& name) {
        IControl* control = form->Window()->FindControl(name);
        EXPECT_NE(control, nullptr) << name;
        return control ? win32::ControlWindow(*control) : nullptr;
    }
    void Screenshot(const std::string& name) {
        const char* folder = std::getenv("SW_LIVE_SHOTS");
        if (!folder)
            return;
        std::string path = std::string(*folder == '/' ? "Z:" : "") + folder + "/" + name + ".bmp";
        std::ofstream out(path, std::ios::binary);
        std::string picture = form->Window()->Capture();
        out.write(picture.data(), static_cast<std::streamsize>(picture.size()));
        EXPECT_TRUE(out.good()) << path;
    }

    win32::Win32Platform real;
    ScopedPlatform installed{real.Get()};
    TTranslator* translator = new TTranslator(nullptr);
    std::string language;
    Expected expected;
    TLanguage* english = nullptr;
    TLanguage* target = nullptr;
    TForm* form = nullptr;
};

TEST_F(LiveTranslationWineTest, TheShownFormTakesTheTextsAndFontsOfTheUsersLanguage) {
    form = static_cast<TForm*>(ReadComponentRecords(TextToRecords(kForm, "live.txt"), nullptr));
    Application().Adopt(form);
    dynamic_cast<TMemo&>(*form->FindComponent("Notes")).SetLines({Text(*english, 11), Text(*english, 12)});
    form->Show();
    real.Gui().ProcessMessages();
    Screenshot("English");
    ASSERT_EQ(WindowText(Window("CancelBtn")), "Cancel");

    // The user's language, from Wine's locale, is the one the form is shown in.
    ASSERT_EQ(translator->TranslateIntoLanguage(), plUser);
    ASSERT_NE(translator->CurrentLanguage(), nullptr);
    EXPECT_EQ(translator->CurrentLanguage()->LanguageIdent(), expected.Ident);
    EXPECT_EQ(LangIdToString(plUser), language);

    // What a dialog does when the language changes: fonts first, then texts.
    translator->ApplyLanguageFont(form, false);
    EXPECT_EQ(translator->TranslateComponent(plEnglish, form), plUser);
    real.Gui().ProcessMessages();
    Screenshot(language);

    for (auto [name, id] : std::vector<std::pair<std::string, int32_t>>{
             {"Intro", 10}, {"Heading", 27}, {"BackBtn", 4}, {"NextBtn", 5}, {"CancelBtn", 6}}) {
        EXPECT_NE(Text(*target, id), Text(*english, id)) << "id " << id << " is not translated in " << language;
        EXPECT_EQ(WindowText(Window(name)), Text(*target, id)) << name;
    }
    EXPECT_EQ(form->Caption(), Text(*target, 9));
    EXPECT_EQ(WindowText(Window("Notes")), Text(*target, 11) + "\r\n" + Text(*target, 12));
    EXPECT_EQ(ListBoxItems(Window("Types")),
              (std::vector<std::string>{Text(*target, 17), Text(*target, 19), Text(*target, 21)}));

    for (const char* name : {"Intro", "Heading", "Notes", "Types", "CancelBtn"}) {
        LOGFONTA font = WindowFont(Window(name));
        EXPECT_EQ(font.lfCharSet, expected.Charset) << name;
        EXPECT_STREQ(font.lfFaceName, expected.Face.c_str()) << name;
        EXPECT_EQ(RealizedCharset(Window(name)), expected.Charset) << name << ": no face of that character set";
    }
}

} // namespace
} // namespace sw::test

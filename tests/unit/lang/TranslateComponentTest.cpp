#include "LangFixture.h"

#include "controls/Boxes.h"
#include "controls/ComCtrls.h"
#include "controls/Edits.h"
#include "controls/Forms.h"
#include "controls/Lists.h"
#include "lang/TranslateControls.h"
#include "project/Errors.h"

#include <gtest/gtest.h>

using namespace sw;

namespace {

const std::vector<std::string> kEnglish = {"4;< Previous",
                                           "6;Cancel",
                                           "10;This program will install the software.",
                                           "29;Description",
                                           "45;Please insert disk number %d",
                                           "53;Yes, reboot",
                                           "54;No, do not reboot",
                                           "#20",
                                           "Licence line one",
                                           "Licence line two",
                                           "#"};
const std::vector<std::string> kFrench = {"4;< Pr\xE9\x63\xE9\x64\x65nt",
                                          "6;Annuler",
                                          "10;Ce programme va installer le logiciel.",
                                          "29;Description du composant",
                                          "45;Veuillez ins\xE9rer le disque %d",
                                          "53;Oui, red\xE9marrer",
                                          "54;Non, ne pas red\xE9marrer",
                                          "#20",
                                          "Ligne un",
                                          "Ligne deux",
                                          "#"};

template <class T> T* Make(TWinControl* parent, const std::string& name) {
    auto* c = new T(parent->Owner() ? parent->Owner() : parent);
    c->SetName(name);
    c->SetParent(parent);
    return c;
}

class TranslateComponentTest : public langtest::LangFixture {
  protected:
    TranslateComponentTest() {
        SetTable(plEnglish, kEnglish);
        SetTable(plFrench, kFrench);
        form->SetName("Page");
        form->SetCaption("Cancel");
    }
    TOwned<TForm> form{new TForm(nullptr)};
};

TEST_F(TranslateComponentTest, LabelsAndButtonsTakeTheirTextByIdOrByWording) {
    auto* byId = Make<TTranslateLabel>(form.get(), "ById");
    byId->GLID = 10;
    byId->SetCaption("designed text");
    auto* byWording = Make<TTranslateLabel>(form.get(), "ByWording");
    byWording->SetCaption("Cancel");
    auto* leftAlone = Make<TTranslateLabel>(form.get(), "LeftAlone");
    leftAlone->GLID = -1;
    leftAlone->SetCaption("Cancel");
    leftAlone->Hint = "Cancel";
    auto* missingId = Make<TTranslateLabel>(form.get(), "MissingId");
    missingId->GLID = 99;
    missingId->SetCaption("Cancel");
    auto* button = Make<TTranslateBitBtn>(form.get(), "CancelBtn");
    button->GLID = 6;
    button->SetCaption("Cancel");
    button->Hint = "Cancel";
    auto* plain = Make<TLabel>(form.get(), "Cancel");
    plain->SetCaption("  Cancel");
    plain->Hint = "< Previous";

    EXPECT_EQ(translator->TranslateComponentInto(plEnglish, plFrench, form.get()), plFrench);
    EXPECT_EQ(translator->TranslateIntoLanguage(), plUser); // restored
    EXPECT_EQ(form->Caption(), "Annuler");
    EXPECT_EQ(byId->Caption(), "Ce programme va installer le logiciel.");
    EXPECT_EQ(byWording->Caption(), "Annuler");
    EXPECT_EQ(leftAlone->Caption(), "Cancel");
    EXPECT_EQ(leftAlone->Hint, "Cancel"); // no string property of a GLID control is matched
    EXPECT_EQ(missingId->Caption(), "Cancel");
    EXPECT_EQ(button->Caption(), "Annuler");
    EXPECT_EQ(button->Hint, "Cancel");
    EXPECT_EQ(plain->Caption(), "  Cancel"); // looked up untrimmed
    EXPECT_EQ(plain->Hint, "< Pr\xE9\x63\xE9\x64\x65nt");
    EXPECT_EQ(plain->Name(), "Cancel");
}

TEST_F(TranslateComponentTest, AButtonUnderAnEmptyTableKeepsItsCaptionAndTheSourceIsReturned) {
    auto* button = Make<TTranslateBitBtn>(form.get(), "CancelBtn");
    button->GLID = 6;
    button->SetCaption("Cancel");
    EXPECT_EQ(translator->TranslateComponentInto(plEnglish, plItalian, form.get()), plEnglish);
    EXPECT_EQ(button->Caption(), "Cancel");
    EXPECT_EQ(form->Caption(), "Cancel");
    EXPECT_EQ(translator->TranslateComponent(plEnglish, nullptr), plEnglish);
}

TEST_F(TranslateComponentTest, AFormattedCaptionShowsTheTranslatedFormat) {
    auto* prompt = Make<TTranslateLabel>(form.get(), "Prompt");
    prompt->GLID = 45;
    prompt->SetCaption("Please insert disk number %d");
    translator->SetTranslateIntoLanguage(plFrench);
    translator->TranslateComponent(plEnglish, form.get());
    EXPECT_EQ(prompt->Caption(), "Veuillez ins\xE9rer le disque %d");
}

TEST_F(TranslateComponentTest, ListsMemosAndColumnsAreTranslatedButRichTextIsNot) {
    auto* memo = Make<TMemo>(form.get(), "Licence");
    memo->SetLines({"Licence line one", "Licence line two"});
    auto* rich = Make<TRichEdit>(form.get(), "Readme");
    rich->SetLines({"Licence line one", "Licence line two"});
    auto* list = Make<TListBox>(form.get(), "Choices");
    list->SetItems({"Cancel", "Not in the table"});
    auto* combo = Make<TComboBox>(form.get(), "Combo");
    combo->SetItems({"Description"});
    auto* group = Make<TRadioGroup>(form.get(), "Reboot");
    group->SetItems({"Yes, reboot", "No, do not reboot"});
    auto* view = Make<TListView>(form.get(), "Drives");
    view->AddColumn("Description", 120);
    view->AddColumn("Drive", 40);

    translator->SetTranslateIntoLanguage(plFrench);
    EXPECT_EQ(translator->TranslateComponent(plEnglish, form.get()), plFrench);
    EXPECT_EQ(memo->Lines()->Lines, (std::vector<std::string>{"Ligne un", "Ligne deux"}));
    EXPECT_EQ(rich->Lines()->Lines, (std::vector<std::string>{"Licence line one", "Licence line two"}));
    EXPECT_EQ(list->Items()->Lines, (std::vector<std::string>{"Annuler", "Not in the table"}));
    EXPECT_EQ(combo->Items()->Lines, std::vector<std::string>{"Description du composant"});
    EXPECT_EQ(group->Items()->Lines, (std::vector<std::string>{"Oui, red\xE9marrer", "Non, ne pas red\xE9marrer"}));
    ASSERT_EQ(view->Columns()->Count(), 2);
    EXPECT_EQ(static_cast<TListColumn*>(view->Columns()->Items(0))->Caption, "Description du composant");
    EXPECT_EQ(static_cast<TListColumn*>(view->Columns()->Items(0))->Width, 120);
    EXPECT_EQ(static_cast<TListColumn*>(view->Columns()->Items(1))->Caption, "Drive");
}

TEST_F(TranslateComponentTest, VisibilityAndAutoSizeAreRestoredAndOwnedFormsAreLeftAlone) {
    auto* shown = Make<TLabel>(form.get(), "Shown");
    shown->SetCaption("Cancel");
    auto* hidden = Make<TLabel>(form.get(), "Hidden");
    hidden->SetCaption("Cancel");
    hidden->SetVisible(false);
    hidden->SetAutoSize(false);
    auto* other = new TForm(form.get());
    other->SetName("OwnedForm");
    other->SetCaption("Cancel");

    translator->SetTranslateIntoLanguage(plFrench);
    translator->TranslateComponent(plEnglish, form.get());
    EXPECT_TRUE(shown->Visible());
    EXPECT_TRUE(shown->AutoSize());
    EXPECT_FALSE(hidden->Visible());
    EXPECT_FALSE(hidden->AutoSize());
    EXPECT_EQ(hidden->Caption(), "Annuler");
    EXPECT_EQ(other->Caption(), "Cancel");
}

TEST_F(TranslateComponentTest, TheUsersEmptyLanguageLeavesTextsEnglishAndFontsFollowEnglish) {
    fake.System().SetUserDefaultLangId(langtest::kItalian);
    auto* label = Make<TLabel>(form.get(), "Text");
    label->SetCaption("Cancel");
    label->Font()->SetName("Courier New");
    EXPECT_EQ(translator->TranslateComponent(plEnglish, form.get()), plEnglish);
    EXPECT_EQ(label->Caption(), "Cancel");
    translator->ApplyLanguageFont(form.get(), false);
    EXPECT_EQ(label->Font()->Name(), "Arial");
    EXPECT_EQ(label->Font()->Charset(), 0);
}

TEST_F(TranslateComponentTest, FontsTakeTheLanguagesCharsetFaceAndMinimumSize) {
    auto* small = Make<TLabel>(form.get(), "Small");
    small->Font()->SetSize(8);
    auto* large = Make<TLabel>(form.get(), "Large");
    large->Font()->SetSize(12);
    SetTable(plJapanese, {"6;\x83\x4C\x83\x83\x83\x93\x83\x5A\x83\x8B"});
    translator->ApplyLanguageFontInto(plJapanese, form.get(), false);
    EXPECT_EQ(translator->TranslateIntoLanguage(), plUser);
    for (TLabel* label : {small, large}) {
        EXPECT_EQ(label->Font()->Charset(), 128);
        EXPECT_EQ(label->Font()->Name(), "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E");
    }
    EXPECT_EQ(small->Font()->Size(), 9);
    EXPECT_EQ(large->Font()->Size(), 12);
    EXPECT_EQ(form->Font()->Charset(), 128);

    SetTable(plRussian, {"6;\xCE\xF2\xEC\xE5\xED\xE0"});
    translator->ApplyLanguageFontInto(plRussian, form.get(), false);
    EXPECT_EQ(small->Font()->Charset(), 204);
    EXPECT_EQ(small->Font()->Name(), "Arial");
}

TEST_F(TranslateComponentTest, AnEmptyTableUsesEnglishFontsUnlessKept) {
    auto* label = Make<TLabel>(form.get(), "Text");
    translator->ApplyLanguageFontInto(plGerman, form.get(), false);
    EXPECT_EQ(label->Font()->Name(), "Arial");
    translator->ApplyLanguageFontInto(plGerman, form.get(), true);
    EXPECT_EQ(label->Font()->Name(), "MS Sans Serif");
}

TEST_F(TranslateComponentTest, AnOverriddenFontIsCopiedWhole) {
    auto* label = Make<TLabel>(form.get(), "Text");
    TLanguage& greek = Lang(plGreek);
    greek.FontOverride = true;
    greek.Font()->SetName("Tahoma");
    greek.Font()->SetSize(11);
    greek.Font()->SetCharset(161);
    greek.Font()->SetStyle(1u << fsBold);
    translator->ApplyLanguageFontInto(plGreek, form.get(), true);
    EXPECT_TRUE(*label->Font() == *greek.Font());
}

TEST_F(TranslateComponentTest, HebrewHasNoFaceAndChangesNothing) {
    auto* label = Make<TLabel>(form.get(), "Text");
    label->Font()->SetName("Courier New");
    SetTable(plHebrew, {"6;\xE1\xE9\xE8\xE5\xEC"});
    std::vector<TPlmrLanguage> heard;
    translator->OnLanguageChanged = [&](TTranslator* t) { heard.push_back(t->TranslateIntoLanguage()); };
    try {
        translator->ApplyLanguageFontInto(plHebrew, form.get(), false);
        ADD_FAILURE() << "applied";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Unrecognized language");
    }
    EXPECT_EQ(label->Font()->Name(), "Courier New");
    EXPECT_EQ(translator->TranslateIntoLanguage(), plUser); // restored while the error passed
    EXPECT_EQ(heard, (std::vector<TPlmrLanguage>{plHebrew, plUser}));
}

TEST_F(TranslateComponentTest, TheGlobalFormsActOnTheGlobalTranslatorOrDoNothing) {
    auto* label = Make<TLabel>(form.get(), "Text");
    label->SetCaption("Cancel");
    EXPECT_EQ(TranslateComponentInto(plEnglish, plFrench, form.get()), plFrench);
    EXPECT_EQ(label->Caption(), "Annuler");
    ApplyLanguageFontInto(plFrench, form.get(), false);
    EXPECT_EQ(label->Font()->Name(), "Arial");

    TComponent::Free(translator.release());
    label->SetCaption("Cancel");
    label->Font()->SetName("Courier New");
    EXPECT_EQ(TranslateComponentInto(plEnglish, plFrench, form.get()), plEnglish);
    EXPECT_EQ(TranslateComponent(plGerman, form.get()), plGerman);
    ApplyLanguageFont(form.get(), false);
    EXPECT_EQ(label->Caption(), "Cancel");
    EXPECT_EQ(label->Font()->Name(), "Courier New");
}

} // namespace

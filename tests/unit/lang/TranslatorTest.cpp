#include "LangFixture.h"

#include "system/InstallErrors.h"
#include "project/Errors.h"

#include <gtest/gtest.h>

using namespace sw;
using langtest::LangFixture;

namespace {

const std::vector<std::string> kEnglishTable = {"* Common strings for standard dialogs",
                                                "6;Cancel",
                                                "25;Destination directory",
                                                "30;Destination directory",
                                                "33;bytes",
                                                "45;Please insert disk number %d",
                                                "#10",
                                                "Licence line one",
                                                "Licence line two",
                                                "#"};
const std::vector<std::string> kFrenchTable = {"6;Annuler",
                                               "25;Dossier de destination",
                                               "30;R\xE9pertoire cible",
                                               "33;octets",
                                               "45;Veuillez ins\xE9rer le disque n\xB0 %d",
                                               "#10",
                                               "Ligne un",
                                               "Ligne deux",
                                               "#"};

class TranslatorTest : public LangFixture {
  protected:
    TranslatorTest() {
        SetTable(plEnglish, kEnglishTable);
        SetTable(plFrench, kFrenchTable);
    }
};

TEST_F(TranslatorTest, LanguagesAreListedInIdentOrderWithVietnameseLast) {
    ASSERT_EQ(translator->LanguageCount(), 16);
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(translator->Languages(i)->LanguageIdent(), static_cast<TPlmrLanguage>(i));
    EXPECT_EQ(translator->Languages(15)->LanguageIdent(), plVietnamese);
    EXPECT_EQ(translator->FindLanguage(plUser), nullptr);
    EXPECT_EQ(translator->FindLanguage(static_cast<TPlmrLanguage>(17)), nullptr);
    EXPECT_EQ(translator->FindLanguage(plKorean)->FlagResource(), "BM_LANG_KOREAN");
    EXPECT_EQ(translator->FindLanguage(plPortugese)->TextFileName(), "plmiPortugese.txt");
    EXPECT_EQ(translator->TranslateIntoLanguage(), plUser);
}

TEST_F(TranslatorTest, TextsAreMatchedByWordingAndTakenById) {
    translator->SetTranslateIntoLanguage(plFrench);
    EXPECT_EQ(translator->TranslateString(plEnglish, "CANCEL"), "Annuler");
    EXPECT_EQ(translator->TranslateString(plEnglish, "Destination Directory"), "Dossier de destination");
    EXPECT_EQ(translator->TranslateString(plEnglish, "Not in the table"), "Not in the table");
    EXPECT_EQ(translator->TranslateString(plFrench, "annuler"), "Annuler");
    EXPECT_EQ(translator->TranslateString(plGerman, "Cancel"), "Cancel"); // empty source table
    EXPECT_EQ(translator->GetString(45, "x"), "Veuillez ins\xE9rer le disque n\xB0 %d");
    EXPECT_EQ(translator->GetString(99, "fallback"), "fallback");
    EXPECT_EQ(translator->TranslateLines(plEnglish, {"Licence line one", "Licence line two"}),
              (std::vector<std::string>{"Ligne un", "Ligne deux"}));
    EXPECT_EQ(translator->TranslateLines(plEnglish, {"licence line one", "Licence line two"}),
              (std::vector<std::string>{"licence line one", "Licence line two"})); // memos compare with case
}

TEST_F(TranslatorTest, WordingIsComparedInTheSourceLanguagesCodePage) {
    translator->SetTranslateIntoLanguage(plEnglish);
    EXPECT_EQ(translator->TranslateString(plFrench, "R\xC9PERTOIRE CIBLE"), "Destination directory");
    // Two katakana whose second bytes differ only by ASCII case are different texts.
    SetTable(plJapanese, {"6;\x83\x41", "7;\x83\x61"});
    EXPECT_EQ(Lang(plJapanese).FindStringByText("\x83\x61")->Id, 7);
}

TEST_F(TranslatorTest, EnglishIntoEnglishGivesTheTablesSpelling) {
    translator->SetTranslateIntoLanguage(plEnglish);
    EXPECT_EQ(TranslateEnglish("Bytes"), "bytes");
    EXPECT_EQ(translator->TranslateString(plEnglish, "destination DIRECTORY"), "Destination directory");
}

TEST_F(TranslatorTest, UserStandsForTheUsersDefaultLanguage) {
    fake.System().SetUserDefaultLangId(langtest::kFrench);
    EXPECT_EQ(translator->UserDefaultLanguage()->LanguageIdent(), plFrench);
    EXPECT_EQ(translator->CurrentLanguage()->LanguageIdent(), plFrench);
    EXPECT_EQ(translator->TranslateString(plEnglish, "Cancel"), "Annuler");
    EXPECT_EQ(translator->TranslateString(plUser, "Annuler"), "Annuler");
    EXPECT_EQ(LangIdToString(plUser), "French");

    fake.System().SetUserDefaultLangId(langtest::kItalian); // an empty table: texts stay English
    EXPECT_EQ(translator->TranslateString(plEnglish, "Cancel"), "Cancel");
    EXPECT_EQ(LangIdToString(plUser), "Italian");
}

TEST_F(TranslatorTest, WithoutAPlatformThereIsNoUserLanguage) {
    ScopedPlatform none(Platform{});
    EXPECT_EQ(translator->UserDefaultLanguage(), nullptr);
    EXPECT_EQ(translator->CurrentLanguage(), nullptr);
    EXPECT_EQ(translator->TranslateString(plEnglish, "Cancel"), "Cancel");
    EXPECT_EQ(LangIdToString(plUser), "");
}

TEST_F(TranslatorTest, EveryAssignmentOfTheTargetIsAnnounced) {
    std::vector<TPlmrLanguage> heard;
    translator->OnLanguageChanged = [&](TTranslator* t) { heard.push_back(t->TranslateIntoLanguage()); };
    translator->SetTranslateIntoLanguage(plGerman);
    translator->SetTranslateIntoLanguage(plGerman);
    translator->SetTranslateIntoLanguage(plUser);
    EXPECT_EQ(heard, (std::vector<TPlmrLanguage>{plGerman, plGerman, plUser}));
}

TEST_F(TranslatorTest, TheFirstTranslatorIsTheGlobalOneUntilItIsDestroyed) {
    EXPECT_EQ(GlobalTranslator(), translator.get());
    {
        TOwned<TTranslator> second(new TTranslator(nullptr));
        EXPECT_EQ(GlobalTranslator(), translator.get());
    }
    EXPECT_EQ(GlobalTranslator(), translator.get());
    TComponent::Free(translator.release());
    EXPECT_EQ(GlobalTranslator(), nullptr);
    EXPECT_EQ(TranslateEnglish("Cancel"), "Cancel");
    TOwned<TTranslator> next(new TTranslator(nullptr));
    EXPECT_EQ(GlobalTranslator(), next.get());
}

TEST_F(TranslatorTest, ConfigurationErrorsTranslateTheirMessagesAndFormats) {
    translator->SetTranslateIntoLanguage(plFrench);
    EXPECT_STREQ(IEInstall("Cancel").what(), "Annuler");
    EXPECT_STREQ(IEFileContainer("Please insert disk number %d", {3}).what(), "Veuillez ins\xE9rer le disque n\xB0 3");
    EXPECT_STREQ(IEInstall("Untranslated %s", {"text"}).what(), "Untranslated text");
    EXPECT_STREQ(EAIUserAbort().what(), "Installation aborted by the user"); // not of the family
    TComponent::Free(translator.release());
    EXPECT_STREQ(IEInstall("Cancel").what(), "Cancel");
}

TEST(LanguageData, NamesCharsetsAndWindowsIds) {
    EXPECT_EQ(LangIdToString(plChineseSimplified), "ChineseSimplified");
    EXPECT_EQ(LangIdToString(plPortugese), "Portugese");
    EXPECT_EQ(LanguageCharset(plCzech), 238);
    EXPECT_EQ(LanguageCharset(plPolish), 238);
    EXPECT_EQ(LanguageCharset(plRussian), 204);
    EXPECT_EQ(LanguageCharset(plJapanese), 128);
    EXPECT_EQ(LanguageCharset(plKorean), 129);
    EXPECT_EQ(LanguageCharset(plChineseSimplified), 134);
    EXPECT_EQ(LanguageCharset(plHebrew), 177);
    EXPECT_EQ(LanguageCharset(plVietnamese), 163);
    // The tables of these two are in code pages 1252 and 1253.
    EXPECT_EQ(LanguageCharset(plPortugese), 0);
    EXPECT_EQ(LanguageCharset(plGreek), 161);
    try {
        LanguageCharset(plUser);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Unrecognized language");
    }
    EXPECT_EQ(LanguageOfLangId(0x0411), plJapanese);
    EXPECT_EQ(LanguageOfLangId(0x0804), plChineseSimplified);
    EXPECT_EQ(LanguageOfLangId(0x0416), plPortugese);
    EXPECT_EQ(LanguageOfLangId(0x042A), plVietnamese);
    EXPECT_EQ(LanguageOfLangId(0x0C0A), plSpanish);
    EXPECT_EQ(LanguageOfLangId(0x0413), plEnglish); // Dutch
    EXPECT_EQ(LanguageOfLangId(0x0000), plEnglish);
    EXPECT_EQ(LanguageOfLangId(0xFC07), plGerman); // only the low ten bits count
}

} // namespace

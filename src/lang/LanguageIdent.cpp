#include "lang/LanguageIdent.h"

#include "platform/Platform.h"
#include "platform/SystemInfo.h"
#include "project/Errors.h"

#include <array>

namespace sw {

namespace {

// Greek and Portuguese tables are written in code pages 1253 and 1252, so
// they take the character sets that show those bytes (161 and 0).
constexpr std::array<TLanguageData, 17> kLanguages{{
    {"ChineseSimplified", "BM_LANG_SIMPCHINESE", "plmiChineseSimplified.txt", 0x04, 134, 936,
     "\xCB\xCE\xCC\xE5" /* SimSun */, 9},
    {"Czech", "BM_LANG_CZECH", "plmiCzech.txt", 0x05, 238, 1250, "Arial", 8},
    {"Danish", "BM_LANG_DANISH", "plmiDanish.txt", 0x06, 0, 1252, "Arial", 8},
    {"English", "BM_LANG_ENGLISH", "plmiEnglish.txt", 0x00, 0, 1252, "Arial", 8},
    {"French", "BM_LANG_FRENCH", "plmiFrench.txt", 0x0C, 0, 1252, "Arial", 8},
    {"German", "BM_LANG_GERMAN", "plmiGerman.txt", 0x07, 0, 1252, "MS Sans Serif", 8},
    {"Greek", "BM_LANG_GREEK", "plmiGreek.txt", 0x08, 161, 1253, "Arial", 8},
    {"Hebrew", "BM_LANG_HEBREW", "plmiHebrew.txt", 0x0D, 177, 1255, nullptr, 0},
    {"Italian", "BM_LANG_ITALIAN", "plmiItalian.txt", 0x10, 0, 1252, "Arial", 8},
    {"Japanese", "BM_LANG_JAPANESE", "plmiJapanese.txt", 0x11, 128, 932,
     "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E" /* MS PGothic */, 9},
    {"Korean", "BM_LANG_KOREAN", "plmiKorean.txt", 0x12, 129, 949, "\xB9\xD9\xC5\xC1" /* Batang */, 9},
    {"Polish", "BM_LANG_POLISH", "plmiPolish.txt", 0x15, 238, 1250, "Arial", 8},
    {"Portugese", "BM_LANG_PORTUGESE", "plmiPortugese.txt", 0x16, 0, 1252, "Arial", 8},
    {"Russian", "BM_LANG_RUSSIAN", "plmiRussian.txt", 0x19, 204, 1251, "Arial", 8},
    {"Spanish", "BM_LANG_SPANISH", "plmiSpanish.txt", 0x0A, 0, 1252, "Arial", 8},
    {}, // plUser
    {"Vietnamese", "BM_LANG_VIETNAMESE", "plmiVietnamese.txt", 0x2A, 163, 1258, "Arial", 8},
}};

[[noreturn]] void Unrecognized() { throw Exception("Unrecognized language"); }

} // namespace

const TEnumInfo& PlmrLanguageNames() {
    static const TEnumInfo names{{"plChineseSimplified", "plCzech", "plDanish", "plEnglish", "plFrench", "plGerman",
                                  "plGreek", "plHebrew", "plItalian", "plJapanese", "plKorean", "plPolish",
                                  "plPortugese", "plRussian", "plSpanish", "plUser", "plVietnamese"}};
    return names;
}

TPlmrLanguage LanguageAt(int index) {
    if (index < 0 || index >= kLanguageCount)
        Unrecognized();
    return index < plUser ? static_cast<TPlmrLanguage>(index) : plVietnamese;
}

const TLanguageData& LanguageData(TPlmrLanguage ident) {
    if (ident == plUser || ident >= kLanguages.size())
        Unrecognized();
    return kLanguages[ident];
}

TPlmrLanguage LanguageOfLangId(uint16_t langId) {
    const uint16_t primary = langId & 0x3FF;
    for (int i = 0; i < kLanguageCount; ++i) {
        const TLanguageData& data = kLanguages[LanguageAt(i)];
        if (data.PrimaryLangId != 0 && data.PrimaryLangId == primary)
            return LanguageAt(i);
    }
    return plEnglish;
}

std::optional<TPlmrLanguage> UserDefaultLanguageIdent() {
    try {
        ISystemInfo* system = GetPlatform().System;
        if (!system)
            return std::nullopt;
        return LanguageOfLangId(system->UserDefaultLangId());
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::string LangIdToString(TPlmrLanguage ident) {
    if (ident != plUser)
        return LanguageData(ident).Name;
    const auto user = UserDefaultLanguageIdent();
    return user ? LanguageData(*user).Name : "";
}

int LanguageCharset(TPlmrLanguage ident) { return LanguageData(ident).Charset; }

} // namespace sw

// The sixteen languages of the string tables and the fixed data of each: its
// name, flag bitmap, conventional table file, Windows primary language id,
// character set, table code page and the face used when the language's own
// font is not forced.
#pragma once

#include "project/PropInfo.h"

#include <cstdint>
#include <optional>
#include <string>

namespace sw {

enum TPlmrLanguage : uint8_t {
    plChineseSimplified,
    plCzech,
    plDanish,
    plEnglish,
    plFrench,
    plGerman,
    plGreek,
    plHebrew,
    plItalian,
    plJapanese,
    plKorean,
    plPolish,
    plPortugese,
    plRussian,
    plSpanish,
    plUser, // the user's default language, wherever a language is looked up
    plVietnamese,
};

inline constexpr int kLanguageCount = 16;

// The enumeration's names in ordinal order, plUser included.
const TEnumInfo& PlmrLanguageNames();

// The languages in list order: plChineseSimplified ... plSpanish, plVietnamese.
TPlmrLanguage LanguageAt(int index);

struct TLanguageData {
    const char* Name;         // LangIdToString
    const char* FlagResource; // BITMAP resource of the flag
    const char* TextFileName; // the table as a text file
    uint16_t PrimaryLangId;   // 0: English, which takes every id not listed
    int Charset;              // font character set
    unsigned CodePage;        // Windows code page of the table's bytes
    const char* Face;         // in the code page; none: no face
    int MinSize;              // points
};

// The fixed data of a real language; raises "Unrecognized language" for
// plUser and values outside the enumeration.
const TLanguageData& LanguageData(TPlmrLanguage ident);

// The language of a Windows language id: its low 10 bits (the primary
// language) mapped by the table; every other id gives plEnglish.
TPlmrLanguage LanguageOfLangId(uint16_t langId);

// The language of the user's default Windows language; none when the
// platform cannot say.
std::optional<TPlmrLanguage> UserDefaultLanguageIdent();

// The name of the language; for plUser the name of the user's default
// language, or "" when the platform cannot say.
std::string LangIdToString(TPlmrLanguage ident);
// The font character set; raises "Unrecognized language" for plUser.
int LanguageCharset(TPlmrLanguage ident);

} // namespace sw

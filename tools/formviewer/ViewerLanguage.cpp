#include "ViewerLanguage.h"

#include "lang/Translator.h"
#include "project/Errors.h"
#include "project/Text.h"

namespace sw::viewer {

namespace {

TPlmrLanguage LanguageNamed(const std::string& name) {
    std::string known;
    for (int i = 0; i < kLanguageCount; ++i) {
        TPlmrLanguage ident = LanguageAt(i);
        std::string each = LanguageData(ident).Name;
        if (SameText(each, name))
            return ident;
        known += (known.empty() ? "" : ", ") + each;
    }
    throw Exception("Unknown language " + name + " (languages: " + known + ")");
}

void LoadTable(TTranslator& translator, TPlmrLanguage ident, const std::string& tablesFolder) {
    TLanguage& language = *translator.FindLanguage(ident);
    if (language.Strings()->Count() == 0)
        language.Strings()->LoadFromFile(tablesFolder + "\\" + language.TextFileName());
}

} // namespace

void ApplyLanguage(TCustomForm& form, const std::string& language, const std::string& tablesFolder) {
    TPlmrLanguage target = LanguageNamed(language);
    TTranslator* translator = GlobalTranslator();
    if (!translator) {
        // Owned by the form, as a project's main form owns its translator.
        translator = new TTranslator(&form);
        LoadTable(*translator, plEnglish, tablesFolder);
        LoadTable(*translator, target, tablesFolder);
    }
    translator->ApplyLanguageFontInto(target, &form, false);
    translator->TranslateComponentInto(plEnglish, target, &form);
}

} // namespace sw::viewer

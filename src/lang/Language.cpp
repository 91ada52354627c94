#include "lang/Language.h"

#include "lang/TableText.h"
#include "platform/CodePages.h"
#include "platform/Platform.h"
#include "project/Errors.h"
#include "project/Text.h"

namespace sw {

SW_CLASS_INFO(TLanguage, TPersistent, prop::Boolean<TLanguage>("FontOverride", &TLanguage::FontOverride, false),
              prop::Object("Strings", &TLanguage::Strings))

TLanguage::TLanguage(TTranslator* translator, TPlmrLanguage ident)
    : translator_(translator), ident_(ident), flagResource_(LanguageData(ident).FlagResource),
      textFileName_(LanguageData(ident).TextFileName), strings_(std::make_unique<TLangFormatStrings>(*this)) {}

const TLanguageString* TLanguage::FindString(int32_t id) const {
    for (const TLanguageString& s : table_.Strings)
        if (s.Id == id)
            return &s;
    return nullptr;
}

const TLanguageMemo* TLanguage::FindMemo(int32_t id) const {
    for (const TLanguageMemo& m : table_.Memos)
        if (m.Id == id)
            return &m;
    return nullptr;
}

const TLanguageString* TLanguage::FindStringByText(const std::string& text) const {
    ICodePages* pages = nullptr;
    try {
        pages = GetPlatform().CodePages;
    } catch (const Exception&) {
        // No platform: compare as ASCII.
    }
    const unsigned codePage = LanguageData(ident_).CodePage;
    for (const TLanguageString& s : table_.Strings)
        if (pages ? pages->SameText(codePage, s.Text, text) : SameText(s.Text, text))
            return &s;
    return nullptr;
}

const TLanguageMemo* TLanguage::FindMemoByLines(const std::vector<std::string>& lines) const {
    const std::string joined = JoinTableText(lines);
    for (const TLanguageMemo& m : table_.Memos)
        if (JoinTableText(m.Lines) == joined)
            return &m;
    return nullptr;
}

void TLanguage::Parse() {
    if (!parseEnabled_)
        return;
    table_ = {};
    table_ = ParseStringTable(strings_->Lines(), this);
}

void TLanguage::LineDeleted(int index) {
    for (TLanguageString& s : table_.Strings)
        if (s.LineIndex > index)
            --s.LineIndex;
}

} // namespace sw

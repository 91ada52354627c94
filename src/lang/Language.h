// One language of the translator: its font, its string table and the
// entries parsed from the table's lines.
#pragma once

#include "lang/LangFormatStrings.h"
#include "lang/LanguageIdent.h"
#include "lang/StringTable.h"
#include "project/Persistent.h"

#include <memory>
#include <string>
#include <vector>

namespace sw {

class TTranslator;

class TLanguage : public TPersistent {
    SW_DECLARE_CLASS()
  public:
    TLanguage(TTranslator* translator, TPlmrLanguage ident);

    TTranslator* Translator() const { return translator_; }
    TPlmrLanguage LanguageIdent() const { return ident_; }
    const std::string& FlagResource() const { return flagResource_; }
    const std::string& TextFileName() const { return textFileName_; }

    bool FontOverride = false;

    TLangFormatStrings* Strings() const { return strings_.get(); }
    // Copies the lines.
    void SetStrings(const TLangFormatStrings& strings) { strings_->Assign(strings); }

    const std::vector<TLanguageString>& StringEntries() const { return table_.Strings; }
    const std::vector<TLanguageMemo>& MemoEntries() const { return table_.Memos; }

    // The first entry with that id; none when there is none.
    const TLanguageString* FindString(int32_t id) const;
    const TLanguageMemo* FindMemo(int32_t id) const;
    // The first string entry whose text equals `text` without regard to case.
    const TLanguageString* FindStringByText(const std::string& text) const;
    // The first memo whose lines, joined, equal `lines` joined (case counts).
    const TLanguageMemo* FindMemoByLines(const std::vector<std::string>& lines) const;

    // Re-parses the lines unless parsing is switched off; on a syntax error
    // the language keeps no entries and the error is passed on.
    void Parse();
    bool ParseEnabled() const { return parseEnabled_; }
    void SetParseEnabled(bool on) { parseEnabled_ = on; }
    // A line was deleted: string entries after it move up one line.
    void LineDeleted(int index);

  private:
    TTranslator* translator_;
    TPlmrLanguage ident_;
    std::string flagResource_;
    std::string textFileName_;
    std::unique_ptr<TLangFormatStrings> strings_;
    TParsedTable table_;
    bool parseEnabled_ = true;
};

} // namespace sw

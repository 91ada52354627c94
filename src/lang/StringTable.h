// The entries of a string table and the parser of its "GLID;Text" lines.
//
//   * comment                  skipped everywhere
//   4;< Previous               a string entry: id, ";", text (a third part is ignored)
//   #10;optional note          opens a memo; its lines follow, trimmed
//   first memo line
//   #                          closes the memo
//
// Lines are trimmed of blanks and control characters first; empty lines are
// skipped, inside memos too.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

class TLanguage;

class TLanguageElement {
  public:
    TLanguageElement(int32_t id, TLanguage* language, int lineIndex)
        : Id(id), Language(language), LineIndex(lineIndex) {}
    int32_t Id;
    TLanguage* Language;
    // Zero-based line of the entry (of a memo: of its opening marker).
    int LineIndex;
};

class TLanguageString : public TLanguageElement {
  public:
    // Texts longer than kMaxLength are cut.
    static constexpr size_t kMaxLength = 255;
    TLanguageString(int32_t id, TLanguage* language, int lineIndex, std::string_view text);
    std::string Text;
};

class TLanguageMemo : public TLanguageElement {
  public:
    TLanguageMemo(int32_t id, TLanguage* language, int lineIndex, std::vector<std::string> lines)
        : TLanguageElement(id, language, lineIndex), Lines(std::move(lines)) {}
    std::vector<std::string> Lines;
};

struct TParsedTable {
    std::vector<TLanguageString> Strings;
    std::vector<TLanguageMemo> Memos;
};

// Parses a whole table; a memo still open at the end is dropped. Raises
// sw::Exception with the line's zero-based index and text on a syntax error.
TParsedTable ParseStringTable(const std::vector<std::string>& lines, TLanguage* language);

// An id: an optional sign and decimal digits, or "$" and hexadecimal digits,
// within 32 bits; false otherwise.
bool ParseGlid(std::string_view text, int32_t& id);

} // namespace sw

#include "lang/StringTable.h"

#include "project/Errors.h"
#include "project/Text.h"

#include <charconv>

namespace sw {

namespace {

[[noreturn]] void RaiseFormat(int line, const std::string& text) {
    throw Exception(Format("The %d'th string (%s) does not have the proper format of GLID;Text", {line, text}));
}

[[noreturn]] void RaiseId(int line, const std::string& text) {
    throw Exception(
        Format("The %d'th string (%s) does not have the proper format of GLID;Text or .GLID;", {line, text}));
}

int32_t ParseId(std::string_view part, int line, const std::string& text) {
    if (part.empty())
        RaiseFormat(line, text);
    int32_t id = 0;
    if (!ParseGlid(part, id))
        RaiseId(line, text);
    return id;
}

} // namespace

TLanguageString::TLanguageString(int32_t id, TLanguage* language, int lineIndex, std::string_view text)
    : TLanguageElement(id, language, lineIndex), Text(text.substr(0, kMaxLength)) {}

bool ParseGlid(std::string_view text, int32_t& id) {
    int64_t value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    bool negative = false;
    int base = 10;
    if (first != last && *first == '$') {
        base = 16;
        ++first;
    } else if (first != last && (*first == '+' || *first == '-')) {
        negative = *first == '-';
        ++first;
    }
    if (first == last || *first == '+' || *first == '-')
        return false;
    auto [end, ec] = std::from_chars(first, last, value, base);
    if (ec != std::errc() || end != last)
        return false;
    if (negative)
        value = -value;
    // "$" ids are 32-bit patterns: $FFFFFFFF is -1.
    if (base == 16 && value <= 0xFFFFFFFFLL)
        value = static_cast<int32_t>(static_cast<uint32_t>(value));
    if (value < INT32_MIN || value > INT32_MAX)
        return false;
    id = static_cast<int32_t>(value);
    return true;
}

TParsedTable ParseStringTable(const std::vector<std::string>& lines, TLanguage* language) {
    TParsedTable table;
    std::vector<std::string> memoLines;
    bool inMemo = false;
    int32_t memoId = 0;
    int memoLine = 0;
    for (size_t n = 0; n < lines.size(); ++n) {
        const int i = static_cast<int>(n);
        const std::string line = Trim(lines[n]);
        if (line.empty() || line[0] == '*')
            continue;
        if (line == "#") {
            if (!inMemo)
                throw Exception(Format("Found the end of memo marker # at line %d. Was not in a memo however", {i}));
            table.Memos.emplace_back(memoId, language, memoLine, std::move(memoLines));
            memoLines.clear();
            inMemo = false;
        } else if (inMemo) {
            memoLines.push_back(line);
        } else if (line[0] == '#') {
            const std::string_view body = std::string_view(line).substr(1);
            memoId = ParseId(body.substr(0, body.find(';')), i, line);
            memoLine = i;
            memoLines.clear();
            inMemo = true;
        } else {
            const size_t first = line.find(';');
            const std::string_view view(line);
            const std::string_view idPart = view.substr(0, first);
            const std::string_view text = first == std::string::npos
                                              ? std::string_view()
                                              : view.substr(first + 1).substr(0, view.substr(first + 1).find(';'));
            if (idPart.empty() || Trim(text).empty())
                RaiseFormat(i, line);
            table.Strings.emplace_back(ParseId(idPart, i, line), language, i, text);
        }
    }
    return table;
}

} // namespace sw

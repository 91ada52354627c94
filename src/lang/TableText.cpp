#include "lang/TableText.h"

#include "platform/CodePages.h"
#include "platform/Platform.h"
#include "project/Errors.h"
#include "project/Text.h"

namespace sw {

namespace {

bool HasByteOrderMark(std::string_view bytes) {
    return bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
}

// True for well-formed UTF-8 that holds at least one character beyond ASCII:
// text in a Windows code page practically never reads so.
bool LooksLikeUtf8(std::string_view bytes) {
    bool beyondAscii = false;
    for (size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const size_t length = b < 0x80             ? 1
                              : (b & 0xE0) == 0xC0 ? 2
                              : (b & 0xF0) == 0xE0 ? 3
                              : (b & 0xF8) == 0xF0 ? 4
                                                   : 0;
        if (length == 0 || i + length > bytes.size())
            return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
                return false;
        beyondAscii |= length > 1;
        i += length;
    }
    return beyondAscii;
}

} // namespace

std::vector<std::string> SplitTableText(std::string_view bytes, unsigned codePage) {
    ICodePages* codePages = GetPlatform().CodePages;
    if (!codePages)
        throw Exception("The platform has no code page conversion");
    if (HasByteOrderMark(bytes) || LooksLikeUtf8(bytes) || !codePages->ToUnicode(codePage, bytes))
        throw Exception(Format("The string table is not in code page %d", {codePage}));
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        lines.push_back(std::move(line));
        line.clear();
    }
    if (!line.empty())
        lines.push_back(std::move(line));
    return lines;
}

std::string JoinTableText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

} // namespace sw

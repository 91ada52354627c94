#include "system/StringHelpers.h"

#include "project/Text.h"
#include "system/InstallErrors.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace sw {

int FieldCount(const std::string& text) {
    const auto separators = static_cast<int>(std::count(text.begin(), text.end(), ';'));
    if (text.empty() || text.back() == ';')
        return separators;
    return separators + 1;
}

std::string GetField(const std::string& text, int n) {
    if (n < 1 || n > FieldCount(text))
        return {};
    size_t start = 0;
    for (int i = 1; i < n; ++i)
        start = text.find(';', start) + 1;
    const size_t end = text.find(';', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::vector<std::string> SplitFields(const std::string& text) {
    std::vector<std::string> fields;
    const int count = FieldCount(text);
    for (int i = 1; i <= count; ++i)
        fields.push_back(GetField(text, i));
    return fields;
}

int32_t StrToInt(const std::string& text) {
    const size_t start = text.find_first_not_of(' ');
    const char* first = start == std::string::npos ? text.data() + text.size() : text.data() + start;
    const char* last = text.data() + text.size();
    if (first != last && *first == '+' && first + 1 != last && first[1] != '-')
        ++first;
    int32_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (first == last || error != std::errc() || end != last)
        throw EConvertError(Format("'%s' is not a valid integer value", {text}));
    return value;
}

std::string ExpandPercents(const std::string& text, const std::function<std::optional<std::string>(char)>& lookup,
                           bool keepUnknown) {
    std::string result;
    bool afterPercent = false;
    for (char c : text) {
        if (!afterPercent) {
            if (c == '%')
                afterPercent = true;
            else
                result += c;
            continue;
        }
        afterPercent = false;
        if (c == '%') {
            result += '%';
        } else if (std::optional<std::string> replacement = lookup(c)) {
            result += *replacement;
        } else if (keepUnknown) {
            result += c;
        }
    }
    return result;
}

std::string TextAfterColon(const std::string& text) {
    const size_t colon = text.find(':');
    return colon == std::string::npos ? text : text.substr(colon + 1);
}

std::string DirectorySafeName(const std::string& name) {
    std::string safe;
    for (char c : name) {
        if (c == '/')
            safe += '-';
        else if (!std::strchr("\"*:;<>?\\|", c) || c == '\0')
            safe += c;
    }
    return safe;
}

} // namespace sw

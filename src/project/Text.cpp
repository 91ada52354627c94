#include "project/Text.h"

#include <cctype>

namespace sw {

namespace {
char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }
char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
bool Blank(char c) { return static_cast<unsigned char>(c) <= ' '; }
} // namespace

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i]))
            return false;
    return true;
}

std::string UpperCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        c = Upper(c);
    return r;
}

std::string LowerCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        c = Lower(c);
    return r;
}

std::string Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && Blank(s[b]))
        ++b;
    while (e > b && Blank(s[e - 1]))
        --e;
    return std::string(s.substr(b, e - b));
}

std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args) {
    std::string out;
    auto next = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (c != '%' || i + 1 >= pattern.size()) {
            out += c;
            continue;
        }
        char spec = pattern[i + 1];
        if (spec == '%') {
            out += '%';
            ++i;
        } else if ((spec == 's' || spec == 'd') && next != args.end()) {
            out += next->isInt ? std::to_string(next->number) : std::string(next->text);
            ++next;
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace sw

#include "project/Text.h"

#include <algorithm>
#include <array>

namespace sw {

namespace {

TWideToAnsi& WideConversion() {
    static TWideToAnsi convert;
    return convert;
}

// The units that code page 1252 shows at 0x80 to 0x9F (0: none).
constexpr std::array<char16_t, 32> kCp1252High = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                                  0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char Cp1252Byte(char16_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    for (size_t i = 0; i < kCp1252High.size(); ++i)
        if (kCp1252High[i] == u)
            return static_cast<char>(0x80 + i);
    return '?';
}

bool HighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool LowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// ASCII letters only, whatever the C library's locale: the fold names compare by.
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool Blank(char c) { return static_cast<unsigned char>(c) <= ' '; }
} // namespace

bool TLessText::operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(Upper(x)) < static_cast<unsigned char>(Upper(y));
    });
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    // From the end: paths of one folder differ in their last characters.
    for (size_t i = a.size(); i-- > 0;)
        if (a[i] != b[i] && Upper(a[i]) != Upper(b[i]))
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

std::string WideToCodePage1252(std::u16string_view wide) {
    std::string s;
    s.reserve(wide.size());
    for (size_t i = 0; i < wide.size(); ++i) {
        // A character beyond the 16-bit range is one "?", not two.
        if (HighSurrogate(wide[i]) && i + 1 < wide.size() && LowSurrogate(wide[i + 1])) {
            s += '?';
            ++i;
            continue;
        }
        s += Cp1252Byte(wide[i]);
    }
    return s;
}

std::string WideToAnsi(std::u16string_view wide) {
    const TWideToAnsi& convert = WideConversion();
    return convert ? convert(wide) : WideToCodePage1252(wide);
}

void SetWideToAnsi(TWideToAnsi convert) { WideConversion() = std::move(convert); }

std::string EscapeControls(std::string_view s) {
    std::string out;
    for (char c : s) {
        auto u = static_cast<unsigned char>(c);
        if (u < 32 || u == 127)
            out += "#" + std::to_string(u);
        else
            out += c;
    }
    return out;
}

std::string UpperHex(uint32_t value, int digits) {
    std::string hex;
    do {
        hex.insert(hex.begin(), "0123456789ABCDEF"[value & 0xF]);
        value >>= 4;
    } while (value);
    if (static_cast<int>(hex.size()) < digits)
        hex.insert(0, static_cast<size_t>(digits) - hex.size(), '0');
    return hex;
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

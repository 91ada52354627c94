#include "project/TextFormSyntax.h"

#include "project/StreamRecord.h"
#include "project/Text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace sw::textform {

static_assert(sizeof(float) == 4 && sizeof(double) == 8, "IEEE single and double expected");

namespace {

// Makes sure a printed number reads back as a float, not an integer.
std::string MarkFloat(std::string s) {
    if (s.find_first_of(".eE") == std::string::npos)
        s += ".0";
    return s;
}

template <typename T> std::string RawOf(T v) {
    std::string raw(sizeof v, '\0');
    std::memcpy(raw.data(), &v, sizeof v);
    return raw;
}

template <typename T> T FromRaw(std::string_view raw) {
    T v;
    std::memcpy(&v, raw.data(), sizeof v);
    return v;
}

} // namespace

bool IsPlainName(std::string_view s, bool dotted) {
    bool atStart = true;
    for (char c : s) {
        if (atStart) {
            if (!IsIdentStart(c))
                return false;
            atStart = false;
        } else if (c == '.' && dotted) {
            atStart = true;
        } else if (!IsIdentChar(c)) {
            return false;
        }
    }
    return !atStart;
}

bool IsValueKeyword(std::string_view s) {
    for (std::string_view w : {"True", "False", "nil", "object", "inherited", "end"})
        if (SameText(s, w))
            return true;
    return false;
}

std::string ExtendedToDecimal(std::string_view raw10) {
    long double v = ExtendedToLongDouble(raw10);
    if (!std::isfinite(v))
        return "";
    char buf[64];
    for (int digits = 1; digits <= 21; ++digits) {
        std::snprintf(buf, sizeof buf, "%.*Lg", digits, v);
        std::string back;
        if (DecimalToExtended(buf, back) && back == raw10)
            return MarkFloat(buf);
    }
    return "";
}

std::string SingleToDecimal(std::string_view raw4) {
    float v = FromRaw<float>(raw4);
    if (!std::isfinite(v))
        return "";
    char buf[64];
    for (int digits = 1; digits <= 9; ++digits) {
        std::snprintf(buf, sizeof buf, "%.*g", digits, double(v));
        std::string back;
        if (DecimalToSingle(buf, back) && back == raw4)
            return MarkFloat(buf);
    }
    return "";
}

std::string DoubleToDecimal(std::string_view raw8) {
    double v = FromRaw<double>(raw8);
    if (!std::isfinite(v))
        return "";
    char buf[64];
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(buf, sizeof buf, "%.*g", digits, v);
        std::string back;
        if (DecimalToDouble(buf, back) && back == raw8)
            return MarkFloat(buf);
    }
    return "";
}

bool DecimalToExtended(const std::string& text, std::string& raw10) {
    long double v = std::strtold(text.c_str(), nullptr);
    if (std::isinf(v))
        return false;
    raw10 = LongDoubleToExtended(v);
    return true;
}

bool DecimalToSingle(const std::string& text, std::string& raw4) {
    float v = std::strtof(text.c_str(), nullptr);
    if (std::isinf(v))
        return false;
    raw4 = RawOf(v);
    return true;
}

bool DecimalToDouble(const std::string& text, std::string& raw8) {
    double v = std::strtod(text.c_str(), nullptr);
    if (std::isinf(v))
        return false;
    raw8 = RawOf(v);
    return true;
}

} // namespace sw::textform

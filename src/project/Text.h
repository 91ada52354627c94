// Small text helpers: 8-bit strings in the system code page, compared the way
// Windows compares names (without regard to case).
#pragma once

#include <concepts>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

namespace sw {

bool SameText(std::string_view a, std::string_view b);
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
std::string Trim(std::string_view s);
// Orders names as SameText compares them, for maps keyed by name.
struct TLessText {
    bool operator()(std::string_view a, std::string_view b) const;
};

// UTF-16 text as 8-bit text in the system code page; a character the code
// page cannot show becomes "?". The installed platform supplies the running
// system's conversion; without one, code page 1252 (Western) is used.
std::string WideToAnsi(std::u16string_view wide);
std::string WideToCodePage1252(std::u16string_view wide);
using TWideToAnsi = std::function<std::string(std::u16string_view)>;
// Installs the conversion WideToAnsi uses; an empty one restores code page 1252.
void SetWideToAnsi(TWideToAnsi convert);

// The text with each control byte (below 32, and 127) shown as #nn, so that
// it stays on one line.
std::string EscapeControls(std::string_view s);

// One argument of Format: a string for %s or an integer for %d.
struct FormatArg {
    FormatArg(std::string_view s) : text(s), isInt(false) {}
    FormatArg(const char* s) : text(s), isInt(false) {}
    FormatArg(const std::string& s) : text(s), isInt(false) {}
    template <std::integral T> FormatArg(T v) : number(static_cast<int64_t>(v)), isInt(true) {}
    std::string_view text;
    int64_t number = 0;
    bool isInt;
};

// `value` in upper-case hexadecimal, padded with zeros to at least `digits`
// digits ("%0*X" without the C library's formatter).
std::string UpperHex(uint32_t value, int digits);

// Replaces %s and %d in order with the arguments; "%%" is a literal percent.
// A placeholder without an argument is left as it stands.
std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args);

} // namespace sw

// Lexical rules and float conversions shared by the text form's printer and
// parser.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sw::textform {

// Binary values wrap at 64 hex digits a line; strings are split with '+' every
// 64 characters and after each line feed.
inline constexpr size_t kBytesPerBinaryLine = 32;
inline constexpr size_t kStringChunk = 64;

inline bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
inline bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }

// Name or Name.Name...: what may stand unquoted as an identifier or path.
bool IsPlainName(std::string_view s, bool dotted);
// Words that cannot stand for an identifier value: True, False, nil, and the
// block words object, inherited and end.
bool IsValueKeyword(std::string_view s);

// Shortest decimal that parses back to exactly the same payload, or "" when
// there is none (non-finite values, unnormal encodings).
std::string ExtendedToDecimal(std::string_view raw10);
std::string SingleToDecimal(std::string_view raw4);
std::string DoubleToDecimal(std::string_view raw8);

// Decimal text to payload; false when the text is out of the kind's range.
bool DecimalToExtended(const std::string& text, std::string& raw10);
bool DecimalToSingle(const std::string& text, std::string& raw4);
bool DecimalToDouble(const std::string& text, std::string& raw8);

} // namespace sw::textform

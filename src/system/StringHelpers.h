// Helpers over ";"-separated lists and names.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sw {

// The n-th field (from 1) of a ";"-separated list; empty when there are
// fewer fields. The last field runs to the end of the text.
std::string GetField(const std::string& text, int n);
// The number of separators, plus 1 unless the text ends with ";" (0 for an
// empty text).
int FieldCount(const std::string& text);
std::vector<std::string> SplitFields(const std::string& text);

// The decimal integer of a text (blanks before it allowed); EConvertError
// "'%s' is not a valid integer value" otherwise.
int32_t StrToInt(const std::string& text);

// Scans the text once, left to right: "%%" gives "%"; "%" and a character
// give what `lookup` has for it, or, when it has nothing, the character
// alone (`keepUnknown`) or nothing; a final "%" gives nothing. What lookup
// gives is not scanned again.
std::string ExpandPercents(const std::string& text, const std::function<std::optional<std::string>(char)>& lookup,
                           bool keepUnknown);

// The text after the first ":"; the whole text when it has none.
std::string TextAfterColon(const std::string& text);

// "/" becomes "-"; the characters " * : ; < > ? \ | are dropped.
std::string DirectorySafeName(const std::string& name);

} // namespace sw

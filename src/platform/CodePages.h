// Windows code pages: the 8-bit text of string tables and fonts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sw {

class ICodePages {
  public:
    virtual ~ICodePages() = default;
    // The UTF-16 text of `bytes` in `codePage`; none when the bytes are not
    // text of it (a byte the code page leaves undefined, a broken double-byte
    // character) or the code page is unknown.
    virtual std::optional<std::u16string> ToUnicode(unsigned codePage, std::string_view bytes) = 0;
    // The bytes of `text` in `codePage`; none when a character has no exact
    // form in it.
    virtual std::optional<std::string> FromUnicode(unsigned codePage, std::u16string_view text) = 0;
    // Whether two texts of `codePage` are equal without regard to case, in
    // the neutral locale; texts that are not text of it compare byte for byte.
    virtual bool SameText(unsigned codePage, std::string_view a, std::string_view b) = 0;
};

} // namespace sw

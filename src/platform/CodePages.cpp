#include "platform/CodePages.h"

namespace sw {

bool ICodePages::SameText(unsigned codePage, std::string_view a, std::string_view b) {
    const auto wideA = ToUnicode(codePage, a);
    const auto wideB = ToUnicode(codePage, b);
    if (!wideA || !wideB)
        return a == b;
    return SameUnicodeText(*wideA, *wideB);
}

} // namespace sw

// Code pages 932, 936, 949, 1250 to 1253, 1255 and 1258 from mapping
// tables, strict: a byte or character without a mapping fails.
#pragma once

#include "platform/CodePages.h"

namespace sw::fake {

class FakeCodePages : public ICodePages {
  public:
    std::optional<std::u16string> ToUnicode(unsigned codePage, std::string_view bytes) override;
    std::optional<std::string> FromUnicode(unsigned codePage, std::u16string_view text) override;
    bool SameText(unsigned codePage, std::string_view a, std::string_view b) override;
};

} // namespace sw::fake

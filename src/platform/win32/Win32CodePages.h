// Code pages through MultiByteToWideChar and WideCharToMultiByte.
#pragma once

#include "platform/CodePages.h"

namespace sw::win32 {

class Win32CodePages : public ICodePages {
  public:
    std::optional<std::u16string> ToUnicode(unsigned codePage, std::string_view bytes) override;
    std::optional<std::string> FromUnicode(unsigned codePage, std::u16string_view text) override;
    bool SameText(unsigned codePage, std::string_view a, std::string_view b) override;
};

} // namespace sw::win32

#include "platform/win32/Win32CodePages.h"

#include "platform/win32/Win32Api.h"

#ifndef WC_NO_BEST_FIT_CHARS
#define WC_NO_BEST_FIT_CHARS 0x400
#endif

namespace sw::win32 {

std::optional<std::u16string> Win32CodePages::ToUnicode(unsigned codePage, std::string_view bytes) {
    if (bytes.empty())
        return IsValidCodePage(codePage) ? std::optional<std::u16string>(u"") : std::nullopt;
    const int size = static_cast<int>(bytes.size());
    const int needed = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (needed <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), needed) != needed)
        return std::nullopt;
    return std::u16string(wide.begin(), wide.end());
}

std::optional<std::string> Win32CodePages::FromUnicode(unsigned codePage, std::u16string_view text) {
    if (text.empty())
        return IsValidCodePage(codePage) ? std::optional<std::string>("") : std::nullopt;
    const std::wstring wide(text.begin(), text.end());
    const int size = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int needed =
        WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, nullptr, &usedDefault);
    if (needed <= 0 || usedDefault)
        return std::nullopt;
    std::string bytes(static_cast<size_t>(needed), '\0');
    if (WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, bytes.data(), needed, nullptr,
                            &usedDefault) != needed ||
        usedDefault)
        return std::nullopt;
    return bytes;
}

bool Win32CodePages::SameText(unsigned codePage, std::string_view a, std::string_view b) {
    const auto wideA = ToUnicode(codePage, a);
    const auto wideB = ToUnicode(codePage, b);
    if (!wideA || !wideB)
        return a == b;
    const std::wstring textA(wideA->begin(), wideA->end());
    const std::wstring textB(wideB->begin(), wideB->end());
    return CompareStringW(LOCALE_NEUTRAL, NORM_IGNORECASE, textA.data(), static_cast<int>(textA.size()), textB.data(),
                          static_cast<int>(textB.size())) == CSTR_EQUAL;
}

} // namespace sw::win32

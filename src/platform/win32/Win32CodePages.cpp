#include "platform/win32/Win32CodePages.h"

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

bool Win32CodePages::SameUnicodeText(std::u16string_view a, std::u16string_view b) {
    const std::wstring textA(a.begin(), a.end());
    const std::wstring textB(b.begin(), b.end());
    return CompareStringW(LOCALE_NEUTRAL, NORM_IGNORECASE, textA.data(), static_cast<int>(textA.size()), textB.data(),
                          static_cast<int>(textB.size())) == CSTR_EQUAL;
}

unsigned CharsetCodePage(int charset) {
    switch (charset) {
    case ANSI_CHARSET:
        return 1252;
    case SHIFTJIS_CHARSET:
        return 932;
    case HANGEUL_CHARSET:
        return 949;
    case GB2312_CHARSET:
        return 936;
    case CHINESEBIG5_CHARSET:
        return 950;
    case GREEK_CHARSET:
        return 1253;
    case TURKISH_CHARSET:
        return 1254;
    case HEBREW_CHARSET:
        return 1255;
    case ARABIC_CHARSET:
        return 1256;
    case BALTIC_CHARSET:
        return 1257;
    case RUSSIAN_CHARSET:
        return 1251;
    case EASTEUROPE_CHARSET:
        return 1250;
    case VIETNAMESE_CHARSET:
        return 1258;
    case THAI_CHARSET:
        return 874;
    default:
        return GetACP();
    }
}

bool NeedsWideApi(unsigned codePage) {
    static const unsigned system = GetACP();
    return WindowsNt() && codePage != system && IsValidCodePage(codePage);
}

bool WindowsNt() {
    static const bool nt = (GetVersion() & 0x80000000) == 0;
    return nt;
}

std::wstring WideText(unsigned codePage, std::string_view bytes) {
    const int size = static_cast<int>(bytes.size());
    const int needed = size ? MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0) : 0;
    if (needed <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), needed);
    return wide;
}

std::string AnsiText(unsigned codePage, std::wstring_view text) {
    const int size = static_cast<int>(text.size());
    const int needed = size ? WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr) : 0;
    if (needed <= 0)
        return {};
    std::string bytes(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, bytes.data(), needed, nullptr, nullptr);
    return bytes;
}

void SetWindowTextIn(HWND window, unsigned codePage, const std::string& text) {
    if (NeedsWideApi(codePage))
        SetWindowTextW(window, WideText(codePage, text).c_str());
    else
        SetWindowTextA(window, text.c_str());
}

std::string WindowTextIn(HWND window, unsigned codePage) {
    if (NeedsWideApi(codePage)) {
        const int length = GetWindowTextLengthW(window);
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        const int got = GetWindowTextW(window, text.data(), length + 1);
        text.resize(static_cast<size_t>(got > 0 ? got : 0));
        return AnsiText(codePage, text);
    }
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int got = GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

int DrawTextIn(HDC dc, unsigned codePage, const std::string& text, RECT& rect, UINT format) {
    if (!NeedsWideApi(codePage))
        return DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
    std::wstring wide = WideText(codePage, text);
    return DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect, format);
}

void TextOutIn(HDC dc, unsigned codePage, int x, int y, const std::string& text) {
    if (!NeedsWideApi(codePage)) {
        TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
        return;
    }
    std::wstring wide = WideText(codePage, text);
    TextOutW(dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

SIZE TextExtentIn(HDC dc, unsigned codePage, const std::string& text) {
    SIZE size{};
    if (!NeedsWideApi(codePage)) {
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return size;
    }
    std::wstring wide = WideText(codePage, text);
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return size;
}

} // namespace sw::win32

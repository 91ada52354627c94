// Code pages through MultiByteToWideChar and WideCharToMultiByte, and the
// texts of windows and drawing in the code page of the font they are shown in.
#pragma once

#include "platform/CodePages.h"
#include "platform/win32/Win32Api.h"

#include <string>

namespace sw::win32 {

class Win32CodePages : public ICodePages {
  public:
    std::optional<std::u16string> ToUnicode(unsigned codePage, std::string_view bytes) override;
    std::optional<std::string> FromUnicode(unsigned codePage, std::u16string_view text) override;
    bool SameUnicodeText(std::u16string_view a, std::u16string_view b) override;
};

// The ANSI code page of a font character set; the system's for
// DEFAULT_CHARSET and the sets of no code page (symbol, OEM, ...).
unsigned CharsetCodePage(int charset);

// Windows NT decodes the text given to the ANSI API in the system's code
// page, whatever the font: text of another code page goes through the wide
// API there. Windows 95 decodes it by the font's character set (its wide
// functions of USER32 are stubs), so it keeps the ANSI API.
bool NeedsWideApi(unsigned codePage);
// Windows NT, whose windows hold their texts in Unicode.
bool WindowsNt();

// Lenient conversions for showing text: a byte or character without a form
// in the code page becomes the code page's default character.
std::wstring WideText(unsigned codePage, std::string_view bytes);
std::string AnsiText(unsigned codePage, std::wstring_view text);

// The window's text, given and read back as bytes of `codePage`.
void SetWindowTextIn(HWND window, unsigned codePage, const std::string& text);
std::string WindowTextIn(HWND window, unsigned codePage);

// DrawText, TextOut and GetTextExtentPoint32 on bytes of `codePage`.
int DrawTextIn(HDC dc, unsigned codePage, const std::string& text, RECT& rect, UINT format);
void TextOutIn(HDC dc, unsigned codePage, int x, int y, const std::string& text);
SIZE TextExtentIn(HDC dc, unsigned codePage, const std::string& text);

} // namespace sw::win32

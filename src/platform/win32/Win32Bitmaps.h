// Pictures for the screen from BMP files: device bitmaps and image lists of
// comctl32, and a canvas that draws on a device context.
#pragma once

#include "platform/Gui.h"
#include "platform/win32/Win32Api.h"

#include <commctrl.h>

namespace sw::win32 {

// A device bitmap of a BMP file; none when the file is no picture or its
// pixels run past its end.
HBITMAP BitmapFromBmp(const std::string& bmp);

// An image list holding the images of `spec` (the caller destroys it); none
// for a spec without strips.
HIMAGELIST CreateImageList(const ImageListSpec& spec);

class Win32Canvas : public ICanvas {
  public:
    explicit Win32Canvas(HDC dc) : dc_(dc) {}
    void FillRect(const Bounds& rect, ColorRef color) override;
    void TextOut(int x, int y, const std::string& text, const FontSpec& font, ColorRef color) override;
    void Draw(int x, int y, const std::string& bmp, std::optional<ColorRef> mask) override;

  private:
    HDC dc_;
};

// A colour of ours as Windows paints it (system colours looked up).
COLORREF ResolveColor(ColorRef c);

} // namespace sw::win32

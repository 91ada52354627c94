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

// Draws with GDI on a device context; the pen it selects is put back and
// deleted with it.
class Win32Canvas : public ICanvas {
  public:
    explicit Win32Canvas(HDC dc) : dc_(dc) {}
    ~Win32Canvas() override;
    Win32Canvas(const Win32Canvas&) = delete;
    Win32Canvas& operator=(const Win32Canvas&) = delete;
    void FillRect(const Bounds& rect, ColorRef color) override;
    void TextOut(int x, int y, const std::string& text, const FontSpec& font, ColorRef color,
                 std::optional<ColorRef> background) override;
    Bounds TextExtent(const std::string& text, const FontSpec& font) override;
    void Draw(int x, int y, const std::string& bmp, std::optional<ColorRef> mask) override;
    void SetPen(const PenSpec& pen) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Rectangle(const Bounds& rect, std::optional<ColorRef> fill) override;
    void Polygon(const std::vector<Point>& points, std::optional<ColorRef> fill) override;
    ColorRef Resolve(ColorRef color) override;

  private:
    // Selects the fill's brush (none: a hollow one) for one call.
    class Fill {
      public:
        Fill(HDC dc, std::optional<ColorRef> color);
        ~Fill();
        Fill(const Fill&) = delete;
        Fill& operator=(const Fill&) = delete;

      private:
        HDC dc_;
        HBRUSH brush_;
        HGDIOBJ old_;
    };
    void UsePen();

    HDC dc_;
    PenSpec penSpec_;
    HPEN pen_ = nullptr;
    HGDIOBJ oldPen_ = nullptr;
};

// A colour of ours as Windows paints it (system colours looked up).
COLORREF ResolveColor(ColorRef c);

} // namespace sw::win32

// What an owner draws with while a control paints: a pen for lines and
// outlines, a brush for filling, a font for text, and pictures.
#pragma once

#include "controls/Font.h"
#include "controls/Graphics.h"
#include "platform/Gui.h"

#include <string>
#include <vector>

namespace sw {

// Solid lines, Width pixels wide.
struct TPen {
    TColor Color = clBlack;
    int32_t Width = 1;
};

// bsClear: shapes are not filled and text leaves what is under it.
enum class TBrushStyle { bsSolid, bsClear };

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
};

// Draws only while its control paints (inside a Painting scope); any other
// time raises EInvalidOperation "Canvas does not allow drawing".
class TCanvas {
  public:
    TPen Pen;
    TBrush Brush;
    TFont& Font() { return font_; }

    // Fills with the brush's colour, whatever its style.
    void FillRect(const Bounds& rect);
    // In the font and its colour, on the brush's colour (bsClear: on what is there).
    void TextOut(int x, int y, const std::string& text);
    // The size of text in the font, unturned.
    Bounds TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).Width; }
    int TextHeight(const std::string& text) { return TextExtent(text).Height; }
    // The bitmap at its size, its transparent colour left out.
    void Draw(int x, int y, const TBitmap& bitmap);
    // A line with the pen from the pen's position to x,y (which it leaves out).
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    // Outlined with the pen, filled with the brush (bsSolid).
    void Rectangle(int left, int top, int right, int bottom);
    void Polygon(const std::vector<Point>& points);
    // The colour as it is painted: a system colour looked up.
    TColor ColorToRGB(TColor color);

    // Binds the canvas to the window's drawing for its lifetime.
    class Painting {
      public:
        Painting(TCanvas& canvas, ICanvas& target) : canvas_(canvas) { canvas_.target_ = &target; }
        ~Painting() { canvas_.target_ = nullptr; }
        Painting(const Painting&) = delete;
        Painting& operator=(const Painting&) = delete;

      private:
        TCanvas& canvas_;
    };

  private:
    ICanvas& Target();
    // The target, with the pen as it is now.
    ICanvas& PenTarget();
    std::optional<ColorRef> Fill() const;

    TFont font_;
    ICanvas* target_ = nullptr;
};

} // namespace sw

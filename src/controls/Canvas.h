// What an owner draws with while a control paints: a brush for filling, a
// font for text, and pictures.
#pragma once

#include "controls/Font.h"
#include "controls/Graphics.h"
#include "platform/Gui.h"

#include <string>

namespace sw {

struct TBrush {
    TColor Color = clWhite;
};

// Draws only while its control paints (inside a Painting scope); any other
// time raises EInvalidOperation "Canvas does not allow drawing".
class TCanvas {
  public:
    TBrush Brush;
    TFont& Font() { return font_; }

    // Fills with the brush.
    void FillRect(const Bounds& rect);
    // In the font and its colour; the background stays.
    void TextOut(int x, int y, const std::string& text);
    // The bitmap at its size, its transparent colour left out.
    void Draw(int x, int y, const TBitmap& bitmap);

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

    TFont font_;
    ICanvas* target_ = nullptr;
};

} // namespace sw

#include "controls/Canvas.h"

#include "project/Errors.h"

namespace sw {

ICanvas& TCanvas::Target() {
    if (!target_)
        throw EInvalidOperation("Canvas does not allow drawing");
    return *target_;
}

void TCanvas::FillRect(const Bounds& rect) { Target().FillRect(rect, static_cast<ColorRef>(Brush.Color)); }

void TCanvas::TextOut(int x, int y, const std::string& text) {
    Target().TextOut(x, y, text, font_.Spec(), static_cast<ColorRef>(font_.Color()));
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    ICanvas& target = Target();
    if (bitmap.Empty())
        return;
    std::optional<ColorRef> mask;
    if (bitmap.TransparentColor)
        mask = static_cast<ColorRef>(*bitmap.TransparentColor);
    target.Draw(x, y, bitmap.FileBytes(), mask);
}

} // namespace sw

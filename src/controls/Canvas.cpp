#include "controls/Canvas.h"

#include "project/Errors.h"

namespace sw {

ICanvas& TCanvas::Target() {
    if (!target_)
        throw EInvalidOperation("Canvas does not allow drawing");
    return *target_;
}

ICanvas& TCanvas::PenTarget() {
    ICanvas& target = Target();
    target.SetPen({static_cast<ColorRef>(Pen.Color), Pen.Width});
    return target;
}

std::optional<ColorRef> TCanvas::Fill() const {
    if (Brush.Style == TBrushStyle::bsClear)
        return std::nullopt;
    return static_cast<ColorRef>(Brush.Color);
}

void TCanvas::FillRect(const Bounds& rect) { Target().FillRect(rect, static_cast<ColorRef>(Brush.Color)); }

void TCanvas::TextOut(int x, int y, const std::string& text) {
    Target().TextOut(x, y, text, font_.Spec(), static_cast<ColorRef>(font_.Color()), Fill());
}

Bounds TCanvas::TextExtent(const std::string& text) { return Target().TextExtent(text, font_.Spec()); }

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    ICanvas& target = Target();
    if (bitmap.Empty())
        return;
    std::optional<ColorRef> mask;
    if (bitmap.TransparentColor)
        mask = static_cast<ColorRef>(*bitmap.TransparentColor);
    target.Draw(x, y, bitmap.FileBytes(), mask);
}

void TCanvas::MoveTo(int x, int y) { Target().MoveTo(x, y); }

void TCanvas::LineTo(int x, int y) { PenTarget().LineTo(x, y); }

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    PenTarget().Rectangle({left, top, right - left, bottom - top}, Fill());
}

void TCanvas::Polygon(const std::vector<Point>& points) { PenTarget().Polygon(points, Fill()); }

TColor TCanvas::ColorToRGB(TColor color) { return static_cast<TColor>(Target().Resolve(static_cast<ColorRef>(color))); }

} // namespace sw

#include "platform/fake/FakeCanvas.h"

#include "platform/BmpFile.h"

namespace sw::fake {

void FakeCanvas::FillRect(const Bounds& rect, ColorRef color) {
    CanvasOp op;
    op.What = CanvasOp::Kind::FillRect;
    op.Rect = rect;
    op.Color = color;
    ops_.push_back(op);
}

void FakeCanvas::TextOut(int x, int y, const std::string& text, const FontSpec& font, ColorRef color,
                         std::optional<ColorRef> background) {
    CanvasOp op;
    op.What = CanvasOp::Kind::TextOut;
    op.Rect = {x, y, 0, 0};
    op.Color = color;
    op.Text = text;
    op.Font = font;
    op.Fill = background;
    ops_.push_back(op);
}

// The metrics FakeGui::MeasureText uses: at 96 dots per inch, characters half
// as wide as the font is high, lines two pixels higher.
Bounds FakeCanvas::Extent(const std::string& text, const FontSpec& font) {
    int pixels = font.Size < 0 ? -font.Size * 96 / 72 : (font.Size * 96 + 36) / 72;
    return {0, 0, static_cast<int>(text.size()) * ((pixels + 1) / 2), pixels + 2};
}

ColorRef FakeCanvas::ResolveColor(ColorRef c) {
    if (!(c & 0x80000000))
        return c & 0xFFFFFF;
    switch (c & 0xFF) {
    case kColorWindow & 0xFF:
        return 0xFFFFFF;
    case kColorWindowText & 0xFF:
        return 0x000000;
    case kColorHighlight & 0xFF:
        return 0x800000;
    case kColorHighlightText & 0xFF:
        return 0xFFFFFF;
    default:
        return 0xC0C0C0;
    }
}

Bounds FakeCanvas::TextExtent(const std::string& text, const FontSpec& font) { return Extent(text, font); }

// Like Windows, a file that is no picture draws nothing.
void FakeCanvas::Draw(int x, int y, const std::string& bmp, std::optional<ColorRef> mask) {
    std::optional<BmpSize> size = BmpDimensions(bmp);
    if (!size)
        return;
    CanvasOp op;
    op.What = CanvasOp::Kind::Draw;
    op.Rect = {x, y, size->Width, size->Height};
    op.Bmp = bmp;
    op.Mask = mask;
    ops_.push_back(op);
}

void FakeCanvas::MoveTo(int x, int y) {
    CanvasOp op;
    op.What = CanvasOp::Kind::MoveTo;
    op.Rect = {x, y, 0, 0};
    ops_.push_back(op);
}

void FakeCanvas::LineTo(int x, int y) {
    CanvasOp op;
    op.What = CanvasOp::Kind::LineTo;
    op.Rect = {x, y, 0, 0};
    op.Pen = pen_;
    ops_.push_back(op);
}

void FakeCanvas::Rectangle(const Bounds& rect, std::optional<ColorRef> fill) {
    CanvasOp op;
    op.What = CanvasOp::Kind::Rectangle;
    op.Rect = rect;
    op.Fill = fill;
    op.Pen = pen_;
    ops_.push_back(op);
}

void FakeCanvas::Polygon(const std::vector<Point>& points, std::optional<ColorRef> fill) {
    CanvasOp op;
    op.What = CanvasOp::Kind::Polygon;
    op.Points = points;
    op.Fill = fill;
    op.Pen = pen_;
    ops_.push_back(op);
}

} // namespace sw::fake

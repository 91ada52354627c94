// A headless canvas: it keeps every drawing operation, in order, for a test
// to read.
#pragma once

#include "platform/Gui.h"

#include <optional>
#include <string>
#include <vector>

namespace sw::fake {

struct CanvasOp {
    enum class Kind { FillRect, TextOut, Draw, MoveTo, LineTo, Rectangle, Polygon };
    Kind What = Kind::FillRect;
    // FillRect and Rectangle: the rectangle; TextOut, Draw, MoveTo and LineTo:
    // the point, and for Draw the picture's size.
    Bounds Rect;
    ColorRef Color = 0;
    std::string Text;
    FontSpec Font;
    std::string Bmp;
    std::optional<ColorRef> Mask;
    // Rectangle and Polygon: the fill; TextOut: the background.
    std::optional<ColorRef> Fill;
    // LineTo, Rectangle and Polygon: the pen they were drawn with.
    PenSpec Pen;
    std::vector<Point> Points;
    bool operator==(const CanvasOp&) const = default;
};

class FakeCanvas : public ICanvas {
  public:
    explicit FakeCanvas(std::vector<CanvasOp>& ops) : ops_(ops) {}
    void FillRect(const Bounds& rect, ColorRef color) override;
    void TextOut(int x, int y, const std::string& text, const FontSpec& font, ColorRef color,
                 std::optional<ColorRef> background) override;
    Bounds TextExtent(const std::string& text, const FontSpec& font) override;
    void Draw(int x, int y, const std::string& bmp, std::optional<ColorRef> mask) override;
    void SetPen(const PenSpec& pen) override { pen_ = pen; }
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Rectangle(const Bounds& rect, std::optional<ColorRef> fill) override;
    void Polygon(const std::vector<Point>& points, std::optional<ColorRef> fill) override;
    ColorRef Resolve(ColorRef color) override { return ResolveColor(color); }

    // Text as wide as the fake's measure of a font gives it, each character
    // alike.
    static Bounds Extent(const std::string& text, const FontSpec& font);
    // System colours as Windows 98 shows them by default.
    static ColorRef ResolveColor(ColorRef color);

  private:
    std::vector<CanvasOp>& ops_;
    PenSpec pen_;
};

} // namespace sw::fake

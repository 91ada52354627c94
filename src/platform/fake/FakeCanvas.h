// A headless canvas: it keeps every drawing operation, in order, for a test
// to read.
#pragma once

#include "platform/Gui.h"

#include <optional>
#include <string>
#include <vector>

namespace sw::fake {

struct CanvasOp {
    enum class Kind { FillRect, TextOut, Draw };
    Kind What = Kind::FillRect;
    // FillRect: the rectangle; TextOut and Draw: the top left, and for Draw the picture's size.
    Bounds Rect;
    ColorRef Color = 0;
    std::string Text;
    FontSpec Font;
    std::string Bmp;
    std::optional<ColorRef> Mask;
    bool operator==(const CanvasOp&) const = default;
};

class FakeCanvas : public ICanvas {
  public:
    explicit FakeCanvas(std::vector<CanvasOp>& ops) : ops_(ops) {}
    void FillRect(const Bounds& rect, ColorRef color) override;
    void TextOut(int x, int y, const std::string& text, const FontSpec& font, ColorRef color) override;
    void Draw(int x, int y, const std::string& bmp, std::optional<ColorRef> mask) override;

  private:
    std::vector<CanvasOp>& ops_;
};

} // namespace sw::fake

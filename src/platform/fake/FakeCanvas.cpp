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

void FakeCanvas::TextOut(int x, int y, const std::string& text, const FontSpec& font, ColorRef color) {
    CanvasOp op;
    op.What = CanvasOp::Kind::TextOut;
    op.Rect = {x, y, 0, 0};
    op.Color = color;
    op.Text = text;
    op.Font = font;
    ops_.push_back(op);
}

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

} // namespace sw::fake

// TBackdrop: the panel that fills the main window with a colour gradient
// behind the product title. It paints itself whole, in 256 bands.
#pragma once

#include "controls/Canvas.h"
#include "controls/ExtCtrls.h"

#include <vector>

namespace sw {

enum class TDirection { bdUp, bdDown, bdLeft, bdRight, bdHorzIn, bdHorzOut, bdVertIn, bdVertOut };

const TEnumInfo& DirectionNames();
const TEnumInfo& DragModeNames();

// One band of a gradient: from Start to End (pixels along the axis, End
// excluded) in Color (0x00BBGGRR).
struct TBand {
    int32_t Start = 0;
    int32_t End = 0;
    ColorRef Color = 0;
    bool operator==(const TBand&) const = default;
};

// The bands of a gradient `extent` pixels long, in the order they are
// filled, from colour `a` to `b` (both RGB); mirrored: `a` at both ends and
// `b` in the middle, each band followed by its mirror image.
std::vector<TBand> GradientBands(ColorRef a, ColorRef b, int32_t extent, bool mirrored);

class TBackdrop : public TPanel {
    SW_DECLARE_CLASS()
  public:
    explicit TBackdrop(TComponent* owner);
    ~TBackdrop() override;

    TDirection Direction() const { return direction_; }
    void SetDirection(TDirection d);
    TColor StartColor() const { return startColor_; }
    void SetStartColor(TColor c);
    TColor EndColor() const { return endColor_; }
    void SetEndColor(TColor c);
    // -1 marks the main backdrop (see VisualState.h).
    int32_t GetTag() const { return Tag; }
    void SetTag(int32_t tag);

    // Copies Direction, EndColor, StartColor and Align, then invalidates.
    void Assign(const TBackdrop& other);

    // Kept for the stream; the setup program has no cursors or menus of its own.
    TCursor Cursor = crDefault;
    int32_t HelpContext = 0;
    TComponent* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TComponent* menu);
    void Notification(TComponent* component, TOperation operation) override;

  protected:
    ControlKind WindowKind() const override { return ControlKind::PaintedPanel; }
    void WindowPaint(ICanvas& target) override;
    // Fills the whole control with the bands of its gradient.
    virtual void Paint();
    TCanvas& Canvas() { return canvas_; }

  private:
    TCanvas canvas_;
    TDirection direction_ = TDirection::bdUp;
    TColor startColor_ = 0xFF0000; // blue
    TColor endColor_ = clBlack;
    TComponent* popupMenu_ = nullptr;
};

} // namespace sw

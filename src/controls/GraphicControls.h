// Controls without a window of their own, drawn on their parent's over what
// lies below them: TGraphicControl, the base of those that draw themselves
// (Paint on Canvas), and TPaintBox, whose owner draws it (OnPaint).
#pragma once

#include "controls/Canvas.h"
#include "controls/Control.h"

namespace sw {

class TGraphicControl : public TControl {
    SW_DECLARE_CLASS()
  public:
    explicit TGraphicControl(TComponent* owner);

    // Valid while the control paints; its font is the control's.
    TCanvas& Canvas() { return canvas_; }

  protected:
    ControlKind WindowKind() const override { return ControlKind::Painted; }
    // Draws the control on Canvas, 0,0 at its top left.
    virtual void Paint() {}
    void WindowPaint(ICanvas& target) override;

  private:
    TCanvas canvas_;
};

class TPaintBox : public TGraphicControl {
    SW_DECLARE_CLASS()
  public:
    explicit TPaintBox(TComponent* owner);

    TNotifyEvent OnPaint;

  protected:
    void Paint() override { OnPaint(this); }
};

} // namespace sw

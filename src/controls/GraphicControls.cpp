#include "controls/GraphicControls.h"

#include "controls/ControlProps.h"

namespace sw {

SW_CLASS_INFO(TGraphicControl, TControl, ctlprop::Join({ctlprop::Placement(), ctlprop::State()}))

SW_CLASS_INFO(TPaintBox, TGraphicControl,
              ctlprop::Join({ctlprop::Placement(),
                             ctlprop::State(),
                             ctlprop::Looks(clBtnFace),
                             {prop::Event("OnPaint", &Self::OnPaint)},
                             ctlprop::Click<TPaintBox>()}))

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

// The brush starts in the control's colour and the pen black, as each paint
// finds them.
void TGraphicControl::WindowPaint(ICanvas& target) {
    canvas_.Font().Assign(*Font());
    canvas_.Brush = {Color(), TBrushStyle::bsSolid};
    canvas_.Pen = {};
    TCanvas::Painting painting(canvas_, target);
    Paint();
}

TPaintBox::TPaintBox(TComponent* owner) : TGraphicControl(owner) { SetBounds({0, 0, 105, 105}); }

} // namespace sw

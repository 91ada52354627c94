#include "visual/Rotate3DLabel.h"

#include "controls/ControlProps.h"
#include "project/ProgramState.h"
#include "visual/VisualState.h"

#include <cmath>
#include <numbers>

namespace sw {

const TEnumInfo& Effect3DNames() {
    static const TEnumInfo names{{"A3dNormal", "A3dResit", "A3dRaised", "A3dShadowed"}};
    return names;
}

SW_CLASS_INFO(TLabelStyle, TPersistent, prop::Integer("Angle", &Self::Angle, &Self::SetAngle, 0),
              prop::Enumeration("AStyle3D", &Self::AStyle3D, &Self::SetAStyle3D, Effect3DNames(),
                                std::optional(T3DEffectShort::A3dRaised)),
              prop::Integer("AShadeRightBottom", &Self::AShadeRightBottom, &Self::SetAShadeRightBottom, clGray,
                            &ColorIdents()),
              prop::Integer("AShadeLeftTop", &Self::AShadeLeftTop, &Self::SetAShadeLeftTop, clWhite, &ColorIdents()),
              prop::Boolean("AShadeLTSet", &Self::AShadeLTSet, &Self::SetAShadeLTSet, true),
              prop::Integer("AHShadeOffSet", &Self::AHShadeOffSet, &Self::SetAHShadeOffSet, 5),
              prop::Integer("AVShadeOffSet", &Self::AVShadeOffSet, &Self::SetAVShadeOffSet, -5))

void TLabelStyle::SetAngle(int32_t degrees) {
    if (degrees < 0 || degrees > 359)
        degrees = 0;
    if (degrees == angle_)
        return;
    angle_ = degrees;
    if (!Storing())
        Changed();
}

void TLabelStyle::SetAStyle3D(T3DEffectShort style) {
    if (style == style_)
        return;
    style_ = style;
    if (!Storing())
        Changed();
}

void TLabelStyle::SetAShadeRightBottom(TColor color) {
    if (color == shade_)
        return;
    shade_ = color;
    if (!Storing())
        Changed();
}

void TLabelStyle::SetAShadeLeftTop(TColor color) {
    if (Storing()) {
        highlight_ = color;
        return;
    }
    if (ltSet_ || color == highlight_)
        return;
    highlight_ = color;
    Changed();
}

void TLabelStyle::SetAShadeLTSet(bool on) {
    if (Storing()) {
        ltSet_ = on;
        return;
    }
    if (on == ltSet_)
        return;
    if (on) {
        saved_ = highlight_;
        highlight_ = clWhite;
    } else {
        highlight_ = saved_;
    }
    ltSet_ = on;
    if (on && (style_ == T3DEffectShort::A3dResit || style_ == T3DEffectShort::A3dRaised) && saved_ != clWhite)
        Changed();
}

void TLabelStyle::SetAHShadeOffSet(int32_t offset) {
    if (offset == hOffset_)
        return;
    hOffset_ = offset;
    if (!Storing() && style_ == T3DEffectShort::A3dShadowed)
        Changed();
}

void TLabelStyle::SetAVShadeOffSet(int32_t offset) {
    if (offset == vOffset_)
        return;
    vOffset_ = offset;
    if (!Storing() && style_ == T3DEffectShort::A3dShadowed)
        Changed();
}

void TLabelStyle::Assign(const TLabelStyle& other) {
    angle_ = other.angle_;
    style_ = other.style_;
    shade_ = other.shade_;
    highlight_ = other.highlight_;
    ltSet_ = other.ltSet_;
    hOffset_ = other.hOffset_;
    vOffset_ = other.vOffset_;
    Changed();
}

void TLabelStyle::Loaded() {
    if (ltSet_ && highlight_ != clWhite) {
        saved_ = highlight_;
        highlight_ = clWhite;
    }
}

namespace {

// Arial in bold, which the stream leaves out.
class TLabelFont : public TFont {
    SW_DECLARE_CLASS()
  public:
    TLabelFont() {
        SetName("Arial");
        SetStyle(1u << fsBold);
    }
};

} // namespace

SW_CLASS_INFO(TLabelFont, TFont, prop::String("Name", &TFont::Name, &TFont::SetName, "Arial"),
              prop::Set("Style", &TFont::Style, &TFont::SetStyle, FontStyleNames(), 1u << fsBold))

// A label of its own kind: the table starts from the control's, as a custom
// label's would.
SW_CLASS_INFO(
    TRotate3DLabel, TControl,
    ctlprop::Join({ctlprop::Placement(),
                   {prop::Boolean("Visible", &TControl::Visible, &TControl::SetVisible, true),
                    prop::Boolean("Enabled", &TControl::Enabled, &TControl::SetEnabled, true),
                    prop::Boolean("ShowHint", &TControl::ShowHint, false),
                    prop::Boolean("ParentShowHint", &TControl::ParentShowHint, true)},
                   ctlprop::Replace(ctlprop::Looks(clBtnFace), prop::Boolean("ParentFont", &TControl::ParentFont,
                                                                             &TControl::SetParentFont, false)),
                   ctlprop::Caption(),
                   {prop::Enumeration("Alignment", &Self::Alignment, &Self::SetAlignment, AlignmentNames(),
                                      std::optional(TAlignment::taLeftJustify)),
                    prop::Boolean("ShowAccelChar", &Self::ShowAccelChar, true),
                    prop::Reference("FocusControl", &Self::FocusControl, &Self::SetFocusControl),
                    prop::Integer("DragCursor", &Self::DragCursor, crDrag, &CursorIdents()),
                    prop::Enumeration("DragMode", &Self::DragMode, DragModeNames(), std::optional(TDragMode::dmManual)),
                    prop::Reference("PopupMenu", &Self::PopupMenu, &Self::SetPopupMenu),
                    prop::Integer("Tag", &Self::GetTag, &Self::SetTag, 0),
                    prop::Object("LabelStyle", &Self::LabelStyle),
                    prop::Boolean("MyTransparent", &Self::MyTransparent, &Self::SetMyTransparent, true)},
                   ctlprop::Click<TRotate3DLabel>(),
                   {prop::Event("OnDblClick", &Self::OnDblClick), prop::Event("OnDragDrop", &Self::OnDragDrop),
                    prop::Event("OnDragOver", &Self::OnDragOver), prop::Event("OnEndDrag", &Self::OnEndDrag),
                    prop::Event("OnMouseDown", &Self::OnMouseDown), prop::Event("OnMouseMove", &Self::OnMouseMove),
                    prop::Event("OnMouseUp", &Self::OnMouseUp), prop::Event("OnStartDrag", &Self::OnStartDrag)}}))

TRotate3DLabel::TRotate3DLabel(TComponent* owner) : TLabel(owner), style_(std::make_unique<TLabelStyle>(this)) {
    Transparent = true;
    SetAutoSize(false);
    UseFont(std::make_unique<TLabelFont>());
    style_->OnChange = [this] { Invalidate(); };
    if (owner && owner->IsDesigning() && !VisualState().MainLabel)
        SetTag(-1);
}

TRotate3DLabel::~TRotate3DLabel() {
    if (HasProgramState() && VisualState().MainLabel == this)
        VisualState().MainLabel = nullptr;
}

void TRotate3DLabel::SetLabelStyle(TLabelStyle* style) {
    if (style)
        style_->Assign(*style);
}

void TRotate3DLabel::SetMyTransparent(bool on) {
    if (on == myTransparent_)
        return;
    myTransparent_ = on;
    if (!on)
        SetColor(Color());
    Invalidate();
}

void TRotate3DLabel::SetTag(int32_t tag) {
    if (tag == Tag)
        return;
    Tag = tag;
    ApplyMainTag(VisualState().MainLabel, this, tag, [](TRotate3DLabel& other, int32_t t) { other.SetTag(t); });
}

void TRotate3DLabel::SetAlignment(TAlignment a) {
    if (a == Alignment())
        return;
    TLabel::SetAlignment(a);
    Invalidate();
}

void TRotate3DLabel::Assign(const TRotate3DLabel& other) {
    SetCaption(other.Caption());
    style_->Assign(*other.style_);
    Font()->Assign(*other.Font());
    SetAlign(other.Align());
    SetBounds(other.BoundsRect());
    SetMyTransparent(other.myTransparent_);
}

void TRotate3DLabel::SetPopupMenu(TComponent* menu) {
    popupMenu_ = menu;
    if (menu)
        menu->FreeNotification(this);
}

void TRotate3DLabel::Notification(TComponent* component, TOperation operation) {
    TLabel::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popupMenu_)
        popupMenu_ = nullptr;
}

void TRotate3DLabel::Loaded() {
    TLabel::Loaded();
    style_->Loaded();
}

void TRotate3DLabel::WindowPaint(ICanvas& target) {
    canvas_.Font().Assign(*Font());
    canvas_.Brush = {Color(), TBrushStyle::bsSolid};
    canvas_.Pen = {};
    TCanvas::Painting painting(canvas_, target);
    Paint();
}

void TRotate3DLabel::DrawCaption(int x, int y, TColor color) {
    canvas_.Font().SetColor(color);
    canvas_.TextOut(x, y, Caption());
}

void TRotate3DLabel::Paint() {
    const double radians = style_->Angle() * (std::numbers::pi / 180);
    const double c = std::cos(radians), s = std::sin(radians);
    cos_ = c;
    sin_ = s;
    const TColor fontColor = Font()->Color();
    if (!myTransparent_)
        style_->SetAStyle3D(T3DEffectShort::A3dNormal);
    const T3DEffectShort effect = style_->AStyle3D();
    int h = 0, k = 0;
    if (effect == T3DEffectShort::A3dRaised) {
        h = -1;
        k = 1;
    } else if (effect == T3DEffectShort::A3dResit) {
        h = 1;
        k = -1;
    }

    canvas_.Font().Assign(*Font());
    canvas_.Brush.Style = TBrushStyle::bsClear;
    Bounds extent = canvas_.TextExtent(Caption());
    canvas_.Font().SetEscapement(style_->Angle() * 10);
    canvas_.Font().SetTrueTypeOnly(true);
    const double tw = extent.Width, th = extent.Height;
    const int cx = Width() / 2, cy = Height() / 2;
    auto T = [](double v) { return static_cast<int>(v); };

    int x = 0;
    switch (Alignment()) {
    case TAlignment::taLeftJustify:
        break;
    case TAlignment::taRightJustify:
        x = Width() - extent.Width;
        break;
    case TAlignment::taCenter:
        x = cx - T(tw / 2 * c) - T(th / 2 * s);
        break;
    }
    const int y = cy + T(tw / 2 * s) - T(th / 2 * c);

    if (!myTransparent_) {
        const double w = tw + 10, hh = th + 7;
        canvas_.Brush = {Color(), TBrushStyle::bsSolid};
        canvas_.Polygon({{cx - T(w / 2 * c) - T(hh / 2 * s), cy + T(w / 2 * s) - T(hh / 2 * c)},
                         {cx + T(w / 2 * c) - T(hh / 2 * s), cy - T(w / 2 * s) - T(hh / 2 * c)},
                         {cx + T(w / 2 * c) + T(hh / 2 * s), cy - T(w / 2 * s) + T(hh / 2 * c)},
                         {cx - T(w / 2 * c) + T(hh / 2 * s), cy + T(w / 2 * s) + T(hh / 2 * c)}});
        canvas_.Brush.Style = TBrushStyle::bsClear;
    }

    if (effect != T3DEffectShort::A3dNormal) {
        if (effect == T3DEffectShort::A3dShadowed) {
            DrawCaption(x + style_->AHShadeOffSet(), y + style_->AVShadeOffSet(), style_->AShadeRightBottom());
        } else {
            DrawCaption(x + h, y + h, style_->AShadeLeftTop());
            DrawCaption(x + k, y + k, style_->AShadeRightBottom());
        }
    }
    DrawCaption(x, y, fontColor);
    canvas_.Font().Assign(*Font());
}

} // namespace sw

#include "controls/ExtCtrls.h"

#include "controls/ControlProps.h"

#include <algorithm>

namespace sw {

const TEnumInfo& BorderStyleNames() {
    static const TEnumInfo names{{"bsNone", "bsSingle"}};
    return names;
}

namespace {
const TEnumInfo kPanelBevels{{"bvNone", "bvLowered", "bvRaised", "bvSpace"}};
const TEnumInfo& kBorderStyles = BorderStyleNames();
const TEnumInfo kBevelShapes{
    {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"}};
const TEnumInfo kBevelStyles{{"bsLowered", "bsRaised"}};
} // namespace

SW_CLASS_INFO(TPanel, TWinControl,
              ctlprop::Join({ctlprop::Placement(),
                             ctlprop::State(),
                             ctlprop::Looks(clBtnFace),
                             ctlprop::Caption(),
                             ctlprop::Tabs(false),
                             {prop::Enumeration("Alignment", &Self::Alignment, &Self::SetAlignment, AlignmentNames(),
                                                std::optional(TAlignment::taCenter)),
                              prop::Enumeration("BevelInner", &Self::BevelInner, &Self::SetBevelInner, kPanelBevels,
                                                std::optional(TPanelBevel::bvNone)),
                              prop::Enumeration("BevelOuter", &Self::BevelOuter, &Self::SetBevelOuter, kPanelBevels,
                                                std::optional(TPanelBevel::bvRaised)),
                              prop::Integer("BevelWidth", &Self::BevelWidth, &Self::SetBevelWidth, 1),
                              prop::Enumeration("BorderStyle", &Self::BorderStyle, &Self::SetBorderStyle, kBorderStyles,
                                                std::optional(TBorderStyle::bsNone)),
                              prop::Integer("BorderWidth", &Self::BorderWidth, &Self::SetBorderWidth, 0),
                              prop::Boolean("Locked", &Self::Locked, false)},
                             ctlprop::Click<TPanel>()}))

SW_CLASS_INFO(TBevel, TControl,
              ctlprop::Join({ctlprop::Placement(),
                             {prop::Boolean("Visible", &Self::Visible, &Self::SetVisible, true),
                              prop::Enumeration("Shape", &Self::Shape, &Self::SetShape, kBevelShapes,
                                                std::optional(TBevelShape::bsBox)),
                              prop::Enumeration("Style", &Self::Style, &Self::SetStyle, kBevelStyles,
                                                std::optional(TBevelStyle::bsLowered))}}))

SW_CLASS_INFO(TImage, TControl,
              ctlprop::Join({ctlprop::Placement(),
                             ctlprop::State(),
                             {prop::Object("Picture", &Self::Picture),
                              prop::Boolean("Stretch", &Self::Stretch, &Self::SetStretch, false),
                              prop::Boolean("Center", &Self::Center, false),
                              prop::Boolean("AutoSize", &Self::AutoSize, false),
                              prop::Boolean("Transparent", &Self::Transparent, false)},
                             ctlprop::Click<TImage>()}))

TPanel::TPanel(TComponent* owner) : TWinControl(owner) { SetBounds({0, 0, 185, 41}); }

void TPanel::SetAlignment(TAlignment a) {
    alignment_ = a;
    if (Handle())
        Handle()->SetAlignment(ToTextAlign(a));
}

void TPanel::SetBevelInner(TPanelBevel b) {
    bevelInner_ = b;
    BevelChanged();
}

void TPanel::SetBevelOuter(TPanelBevel b) {
    bevelOuter_ = b;
    BevelChanged();
}

void TPanel::SetBevelWidth(int32_t w) {
    bevelWidth_ = std::max(1, w);
    BevelChanged();
}

void TPanel::SetBorderStyle(TBorderStyle s) {
    borderStyle_ = s;
    BevelChanged();
}

void TPanel::SetBorderWidth(int32_t w) {
    borderWidth_ = std::max(0, w);
    BevelChanged();
}

void TPanel::BevelChanged() {
    if (Handle())
        ApplyTo(*Handle());
    if (!InLoading())
        Realign();
}

// The outer bevel is drawn; a single border draws a frame.
void TPanel::ApplyTo(IControl& window) {
    TWinControl::ApplyTo(window);
    window.SetAlignment(ToTextAlign(alignment_));
    BevelKind kind = borderStyle_ == TBorderStyle::bsSingle  ? BevelKind::Frame
                     : bevelOuter_ == TPanelBevel::bvLowered ? BevelKind::Lowered
                     : bevelOuter_ == TPanelBevel::bvRaised  ? BevelKind::Raised
                                                             : BevelKind::None;
    window.SetBevel(kind);
}

Bounds TPanel::AlignRect() const {
    int inset = borderWidth_ + (borderStyle_ == TBorderStyle::bsSingle ? 1 : 0);
    if (bevelOuter_ != TPanelBevel::bvNone)
        inset += bevelWidth_;
    if (bevelInner_ != TPanelBevel::bvNone)
        inset += bevelWidth_;
    return {inset, inset, std::max(0, Width() - 2 * inset), std::max(0, Height() - 2 * inset)};
}

TBevel::TBevel(TComponent* owner) : TControl(owner) { SetBounds({0, 0, 50, 50}); }

void TBevel::SetShape(TBevelShape s) {
    shape_ = s;
    if (Handle())
        Handle()->SetBevel(Kind());
}

void TBevel::SetStyle(TBevelStyle s) {
    style_ = s;
    if (Handle())
        Handle()->SetBevel(Kind());
}

BevelKind TBevel::Kind() const {
    switch (shape_) {
    case TBevelShape::bsBox:
        return style_ == TBevelStyle::bsLowered ? BevelKind::Lowered : BevelKind::Raised;
    case TBevelShape::bsFrame:
        return BevelKind::Frame;
    case TBevelShape::bsTopLine:
        return BevelKind::TopLine;
    case TBevelShape::bsBottomLine:
        return BevelKind::BottomLine;
    case TBevelShape::bsLeftLine:
        return BevelKind::LeftLine;
    case TBevelShape::bsRightLine:
        return BevelKind::RightLine;
    case TBevelShape::bsSpacer:
        break;
    }
    return BevelKind::None;
}

void TBevel::ApplyTo(IControl& window) {
    TControl::ApplyTo(window);
    window.SetBevel(Kind());
}

TImage::TImage(TComponent* owner) : TControl(owner), picture_(std::make_unique<TPicture>()) {
    SetBounds({0, 0, 105, 105});
}

void TImage::SetStretch(bool on) {
    stretch_ = on;
    PictureChanged();
}

void TImage::Loaded() {
    TControl::Loaded();
    PictureChanged();
}

void TImage::PictureChanged() {
    if (AutoSize && !picture_->Bitmap().Empty() && !InLoading())
        SetBounds({Left(), Top(), picture_->Bitmap().Width(), picture_->Bitmap().Height()});
    if (Handle())
        Handle()->SetPicture(picture_->Bitmap().FileBytes(), stretch_);
}

void TImage::ApplyTo(IControl& window) {
    TControl::ApplyTo(window);
    window.SetPicture(picture_->Bitmap().FileBytes(), stretch_);
}

} // namespace sw

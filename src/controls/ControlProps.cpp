#include "controls/ControlProps.h"

namespace sw::ctlprop {

// Left, Top, Width, Height, Align, Anchors.
std::vector<TPropInfo> Placement() {
    return {
        prop::Integer("Left", &TControl::Left, &TControl::SetLeft, std::nullopt),
        prop::Integer("Top", &TControl::Top, &TControl::SetTop, std::nullopt),
        prop::Integer("Width", &TControl::Width, &TControl::SetWidth, std::nullopt),
        prop::Integer("Height", &TControl::Height, &TControl::SetHeight, std::nullopt),
        prop::Enumeration("Align", &TControl::Align, &TControl::SetAlign, AlignNames(), std::optional(TAlign::alNone)),
        prop::Set("Anchors", &TControl::Anchors, &TControl::SetAnchors, AnchorNames(), kDefaultAnchors)};
}

// Visible, Enabled, Hint, ShowHint, ParentShowHint.
std::vector<TPropInfo> State() {
    return {prop::Boolean("Visible", &TControl::Visible, &TControl::SetVisible, true),
            prop::Boolean("Enabled", &TControl::Enabled, &TControl::SetEnabled, true),
            prop::String("Hint", &TControl::Hint), prop::Boolean("ShowHint", &TControl::ShowHint, false),
            prop::Boolean("ParentShowHint", &TControl::ParentShowHint, true)};
}

// Color, ParentColor, Font, ParentFont: the colour and font are written only
// when they are the control's own.
std::vector<TPropInfo> Looks(TColor defaultColor) {
    auto own = [](auto flag) {
        return [flag](const TPersistent& o) { return !(static_cast<const TControl&>(o).*flag)(); };
    };
    return {
        prop::WithStored(prop::Integer("Color", &TControl::Color, &TControl::SetColor, defaultColor, &ColorIdents()),
                         own(&TControl::ParentColor)),
        prop::Boolean("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, false),
        prop::WithStored(prop::Object("Font", &TControl::Font), own(&TControl::ParentFont)),
        prop::Boolean("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true)};
}

std::vector<TPropInfo> Caption() { return {prop::String("Caption", &TControl::Caption, &TControl::SetCaption)}; }
std::vector<TPropInfo> Text() { return {prop::String("Text", &TControl::Text, &TControl::SetText)}; }

std::vector<TPropInfo> Replace(std::vector<TPropInfo> props, TPropInfo p) {
    for (TPropInfo& old : props)
        if (old.Name == p.Name)
            old = p;
    return props;
}

// TabOrder, TabStop.
std::vector<TPropInfo> Tabs(bool tabStop) {
    return {prop::Integer("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder, -1),
            prop::Boolean("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, tabStop)};
}

} // namespace sw::ctlprop

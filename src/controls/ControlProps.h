// Groups of published properties that many control classes share, so that
// each class lists them once: its table joins the groups it publishes.
#pragma once

#include "controls/Control.h"

#include <initializer_list>
#include <vector>

namespace sw::ctlprop {

inline std::vector<TPropInfo> Join(std::initializer_list<std::vector<TPropInfo>> groups) {
    std::vector<TPropInfo> all;
    for (const auto& g : groups)
        all.insert(all.end(), g.begin(), g.end());
    return all;
}

const TEnumInfo& AnchorNames();

// Left, Top, Width, Height, Align, Anchors.
template <class C> std::vector<TPropInfo> Placement() {
    return {prop::Integer("Left", &C::Left, &C::SetLeft, std::nullopt),
            prop::Integer("Top", &C::Top, &C::SetTop, std::nullopt),
            prop::Integer("Width", &C::Width, &C::SetWidth, std::nullopt),
            prop::Integer("Height", &C::Height, &C::SetHeight, std::nullopt),
            prop::Enumeration("Align", &C::Align, &C::SetAlign, AlignNames(), std::optional(TAlign::alNone)),
            prop::Set("Anchors", &C::Anchors, &C::SetAnchors, AnchorNames(), kDefaultAnchors)};
}

// Visible, Enabled, Hint, ShowHint, ParentShowHint.
template <class C> std::vector<TPropInfo> State() {
    return {prop::Boolean("Visible", &C::Visible, &C::SetVisible, true),
            prop::Boolean("Enabled", &C::Enabled, &C::SetEnabled, true), prop::String("Hint", &C::Hint),
            prop::Boolean("ShowHint", &C::ShowHint, false), prop::Boolean("ParentShowHint", &C::ParentShowHint, true)};
}

// Color, ParentColor, Font, ParentFont: the colour and font are written only
// when they are the control's own.
template <class C> std::vector<TPropInfo> Looks(TColor defaultColor) {
    auto own = [](auto flag) { return [flag](const TPersistent& o) { return !(static_cast<const C&>(o).*flag)(); }; };
    return {prop::WithStored(prop::Integer("Color", &C::Color, &C::SetColor, defaultColor, &ColorIdents()),
                             own(&C::ParentColor)),
            prop::Boolean("ParentColor", &C::ParentColor, &C::SetParentColor, false),
            prop::WithStored(prop::Object("Font", &C::Font), own(&C::ParentFont)),
            prop::Boolean("ParentFont", &C::ParentFont, &C::SetParentFont, true)};
}

template <class C> std::vector<TPropInfo> Caption() { return {prop::String("Caption", &C::Caption, &C::SetCaption)}; }
template <class C> std::vector<TPropInfo> Text() { return {prop::String("Text", &C::Text, &C::SetText)}; }

// TabOrder, TabStop.
template <class C> std::vector<TPropInfo> Tabs(bool tabStop) {
    return {prop::Integer("TabOrder", &C::TabOrder, &C::SetTabOrder, -1),
            prop::Boolean("TabStop", &C::TabStop, &C::SetTabStop, tabStop)};
}

template <class C> std::vector<TPropInfo> Click() { return {prop::Event("OnClick", &C::OnClick)}; }

} // namespace sw::ctlprop

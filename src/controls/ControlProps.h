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
std::vector<TPropInfo> Placement();
// Visible, Enabled, Hint, ShowHint, ParentShowHint.
std::vector<TPropInfo> State();
// Color, ParentColor, Font, ParentFont: the colour and font are written only
// when they are the control's own.
std::vector<TPropInfo> Looks(TColor defaultColor);
std::vector<TPropInfo> Caption();
std::vector<TPropInfo> Text();
// TabOrder, TabStop.
std::vector<TPropInfo> Tabs(bool tabStop);

// `props` with the property of the same name as `p` replaced by it (another default).
std::vector<TPropInfo> Replace(std::vector<TPropInfo> props, TPropInfo p);

template <class C> std::vector<TPropInfo> Click() { return {prop::Event("OnClick", &C::OnClick)}; }

} // namespace sw::ctlprop

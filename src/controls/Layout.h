// Alignment and anchors: where the children of a control go when its client
// area has a given size. Computed here once for every realization.
#pragma once

#include "platform/Gui.h"

#include <cstdint>
#include <vector>

namespace sw {

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum TAnchorKind { akLeft, akTop, akRight, akBottom };
inline constexpr uint32_t kDefaultAnchors = (1u << akLeft) | (1u << akTop);

struct TLayoutItem {
    TAlign Align = TAlign::alNone;
    uint32_t Anchors = kDefaultAnchors; // bits of TAnchorKind
    bool Visible = true;
    // The bounds the control was given, and the size of its parent's client
    // area then: anchors keep the distances they had.
    Bounds Designed;
    int DesignedParentWidth = 0;
    int DesignedParentHeight = 0;
};

// `area` is the part of the client area that aligned controls share (inside
// borders); `clientWidth` and `clientHeight` the whole client area, which
// anchors follow. Aligned controls take their places in the order top,
// bottom, left, right, client, each group by its designed position; hidden
// ones keep their bounds and take no room.
std::vector<Bounds> ComputeLayout(const Bounds& area, int clientWidth, int clientHeight,
                                  const std::vector<TLayoutItem>& items);

} // namespace sw

#include "controls/Layout.h"

#include <algorithm>

namespace sw {

namespace {

// Near edge, size, and the parent's change along one axis.
void Anchor(bool nearSide, bool farSide, int delta, int& position, int& size) {
    if (nearSide && farSide)
        size = std::max(0, size + delta);
    else if (farSide)
        position += delta;
    else if (!nearSide)
        position += delta / 2;
}

Bounds Anchored(const TLayoutItem& item, int clientWidth, int clientHeight) {
    Bounds b = item.Designed;
    auto has = [&](TAnchorKind k) { return (item.Anchors & (1u << k)) != 0; };
    Anchor(has(akLeft), has(akRight), clientWidth - item.DesignedParentWidth, b.Left, b.Width);
    Anchor(has(akTop), has(akBottom), clientHeight - item.DesignedParentHeight, b.Top, b.Height);
    return b;
}

// Aligned controls of one kind in the order they stack from their edge.
std::vector<size_t> OrderOf(TAlign align, const std::vector<TLayoutItem>& items) {
    std::vector<size_t> order;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].Visible && items[i].Align == align)
            order.push_back(i);
    auto key = [&](size_t i) {
        const Bounds& d = items[i].Designed;
        switch (align) {
        case TAlign::alTop:
            return d.Top;
        case TAlign::alBottom:
            return -(d.Top + d.Height);
        case TAlign::alLeft:
            return d.Left;
        case TAlign::alRight:
            return -(d.Left + d.Width);
        default:
            return 0;
        }
    };
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return key(a) < key(b); });
    return order;
}

} // namespace

std::vector<Bounds> ComputeLayout(const Bounds& area, int clientWidth, int clientHeight,
                                  const std::vector<TLayoutItem>& items) {
    std::vector<Bounds> result(items.size());
    for (size_t i = 0; i < items.size(); ++i)
        result[i] =
            items[i].Align == TAlign::alNone ? Anchored(items[i], clientWidth, clientHeight) : items[i].Designed;
    int left = area.Left, top = area.Top;
    int right = area.Left + area.Width, bottom = area.Top + area.Height;
    for (TAlign align : {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
        for (size_t i : OrderOf(align, items)) {
            Bounds& b = result[i];
            int w = std::max(0, right - left), h = std::max(0, bottom - top);
            switch (align) {
            case TAlign::alTop:
                b = {left, top, w, std::min(b.Height, h)};
                top += b.Height;
                break;
            case TAlign::alBottom:
                b = {left, bottom - std::min(b.Height, h), w, std::min(b.Height, h)};
                bottom -= b.Height;
                break;
            case TAlign::alLeft:
                b = {left, top, std::min(b.Width, w), h};
                left += b.Width;
                break;
            case TAlign::alRight:
                b = {right - std::min(b.Width, w), top, std::min(b.Width, w), h};
                right -= b.Width;
                break;
            default:
                b = {left, top, w, h};
                break;
            }
        }
    }
    return result;
}

} // namespace sw

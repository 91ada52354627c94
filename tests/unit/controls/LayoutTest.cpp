#include "controls/Layout.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

TLayoutItem Item(TAlign align, Bounds designed, uint32_t anchors = kDefaultAnchors) {
    TLayoutItem item;
    item.Align = align;
    item.Anchors = anchors;
    item.Designed = designed;
    item.DesignedParentWidth = 470;
    item.DesignedParentHeight = 368;
    return item;
}

TEST(Layout, AlignedControlsStackFromTheirEdgesAndClientTakesTheRest) {
    std::vector<TLayoutItem> items = {
        Item(TAlign::alClient, {0, 0, 10, 10}), Item(TAlign::alBottom, {0, 300, 470, 52}),
        Item(TAlign::alTop, {0, 20, 470, 30}),  Item(TAlign::alTop, {0, 0, 470, 20}),
        Item(TAlign::alLeft, {0, 0, 136, 10}),  Item(TAlign::alRight, {400, 0, 20, 10}),
    };
    auto b = ComputeLayout({0, 0, 470, 368}, 470, 368, items);
    EXPECT_EQ(b[3], (Bounds{0, 0, 470, 20})); // the top one designed higher comes first
    EXPECT_EQ(b[2], (Bounds{0, 20, 470, 30}));
    EXPECT_EQ(b[1], (Bounds{0, 316, 470, 52}));
    EXPECT_EQ(b[4], (Bounds{0, 50, 136, 266}));
    EXPECT_EQ(b[5], (Bounds{450, 50, 20, 266}));
    EXPECT_EQ(b[0], (Bounds{136, 50, 314, 266}));
}

TEST(Layout, HiddenAlignedControlsTakeNoRoomAndAreaInsetsApply) {
    std::vector<TLayoutItem> items = {Item(TAlign::alTop, {0, 0, 10, 40}), Item(TAlign::alClient, {0, 0, 1, 1})};
    items[0].Visible = false;
    auto b = ComputeLayout({2, 2, 96, 46}, 100, 50, items);
    EXPECT_EQ(b[0], (Bounds{0, 0, 10, 40}));
    EXPECT_EQ(b[1], (Bounds{2, 2, 96, 46}));
}

TEST(Layout, AnchorsKeepDistancesWhenTheParentGrows) {
    std::vector<TLayoutItem> items = {
        Item(TAlign::alNone, {387, 327, 75, 33}, (1u << akRight) | (1u << akBottom)),
        Item(TAlign::alNone, {8, 8, 454, 20}, (1u << akLeft) | (1u << akTop) | (1u << akRight)),
        Item(TAlign::alNone, {200, 100, 70, 20}, 0),
        Item(TAlign::alNone, {8, 40, 100, 20}),
    };
    auto b = ComputeLayout({0, 0, 570, 418}, 570, 418, items);
    EXPECT_EQ(b[0], (Bounds{487, 377, 75, 33}));
    EXPECT_EQ(b[1], (Bounds{8, 8, 554, 20}));
    EXPECT_EQ(b[2], (Bounds{250, 125, 70, 20}));
    EXPECT_EQ(b[3], (Bounds{8, 40, 100, 20}));
    // Shrinking never gives a negative size.
    auto small = ComputeLayout({0, 0, 10, 10}, 10, 10, items);
    EXPECT_EQ(small[1].Width, 0);
}

TEST(Layout, AlignedControlsNeverOverflowTheArea) {
    std::vector<TLayoutItem> items = {Item(TAlign::alTop, {0, 0, 10, 80}), Item(TAlign::alBottom, {0, 0, 10, 80}),
                                      Item(TAlign::alClient, {0, 0, 1, 1})};
    auto b = ComputeLayout({0, 0, 100, 100}, 100, 100, items);
    EXPECT_EQ(b[0], (Bounds{0, 0, 100, 80}));
    EXPECT_EQ(b[1], (Bounds{0, 80, 100, 20}));
    EXPECT_EQ(b[2], (Bounds{0, 80, 100, 0}));
}

} // namespace
} // namespace sw

#include "platform/TreeRows.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

TEST(TreeRows, ItemsNameTheirParentsByIndentation) {
    std::vector<TreeItem> nodes = TreeItems({"Demo", "\tDocs", "\t\t\tDeep", "\tSamples", "Other", "\t"});
    ASSERT_EQ(nodes.size(), 6u);
    EXPECT_EQ(nodes[0].Parent, -1);
    EXPECT_EQ(nodes[1].Parent, 0);
    EXPECT_EQ(nodes[2].Parent, 1) << "two levels too deep counts as one below";
    EXPECT_EQ(nodes[2].Text, "Deep");
    EXPECT_EQ(nodes[3].Parent, 0);
    EXPECT_EQ(nodes[4].Parent, -1);
    EXPECT_EQ(nodes[5].Parent, 4);
    EXPECT_EQ(nodes[5].Text, "");
    EXPECT_TRUE(HasChildren(nodes, 1));
    EXPECT_FALSE(HasChildren(nodes, 3));
    EXPECT_FALSE(HasChildren(nodes, 5));
    EXPECT_TRUE(IsBelow(nodes, 2, 0));
    EXPECT_FALSE(IsBelow(nodes, 0, 0));
    EXPECT_FALSE(IsBelow(nodes, -1, 0));
}

TEST(TreeRows, OnlyNodesWithEveryParentExpandedTakeRows) {
    std::vector<TreeItem> nodes = TreeItems({"Demo", "\tDocs", "\t\tManual", "\tSamples", "Other"});
    EXPECT_EQ(ShownRows(nodes, {false, true, false, false, false}), (std::vector<int>{0, -1, -1, -1, 1}));
    EXPECT_EQ(ShownRows(nodes, {true, false, false, false, false}), (std::vector<int>{0, 1, -1, 2, 3}));
    EXPECT_EQ(ShownRows(nodes, {true, true, false, false, false}), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_TRUE(ShownRows({}, {}).empty());
}

} // namespace
} // namespace sw

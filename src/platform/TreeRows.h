// The rows a tree view shows. Its nodes come as items, each after its parent
// and indented one tab more; a node shows when every parent is expanded, and
// the shown nodes take one row each, top down.
#pragma once

#include <string>
#include <vector>

namespace sw {

struct TreeItem {
    int Parent = -1; // index of the parent item, -1 for a root
    std::string Text;
};

// The nodes of tab-indented items. A line indented deeper than one level
// below the line before it counts as one level below it.
std::vector<TreeItem> TreeItems(const std::vector<std::string>& items);

bool HasChildren(const std::vector<TreeItem>& items, int index);

// Whether `node` lies below `ancestor`.
bool IsBelow(const std::vector<TreeItem>& items, int node, int ancestor);

// The row of each node among the shown ones; -1 for a node with a collapsed parent.
std::vector<int> ShownRows(const std::vector<TreeItem>& items, const std::vector<bool>& expanded);

} // namespace sw

#include "platform/TreeRows.h"

#include <algorithm>

namespace sw {

std::vector<TreeItem> TreeItems(const std::vector<std::string>& items) {
    std::vector<TreeItem> nodes;
    nodes.reserve(items.size());
    std::vector<int> parents; // the open node of each level
    for (const auto& item : items) {
        size_t level = item.find_first_not_of('\t');
        level = level == std::string::npos ? item.size() : level;
        parents.resize(std::min(level, parents.size()));
        nodes.push_back({parents.empty() ? -1 : parents.back(), item.substr(level)});
        parents.push_back(static_cast<int>(nodes.size()) - 1);
    }
    return nodes;
}

bool HasChildren(const std::vector<TreeItem>& items, int index) {
    size_t next = static_cast<size_t>(index) + 1;
    return index >= 0 && next < items.size() && items[next].Parent == index;
}

bool IsBelow(const std::vector<TreeItem>& items, int node, int ancestor) {
    for (int at = node < 0 ? -1 : items[static_cast<size_t>(node)].Parent; at >= 0;
         at = items[static_cast<size_t>(at)].Parent)
        if (at == ancestor)
            return true;
    return false;
}

std::vector<int> ShownRows(const std::vector<TreeItem>& items, const std::vector<bool>& expanded) {
    std::vector<int> rows(items.size(), -1);
    int next = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        int parent = items[i].Parent;
        bool shown = parent < 0 || (rows[static_cast<size_t>(parent)] >= 0 && expanded[static_cast<size_t>(parent)]);
        if (shown)
            rows[i] = next++;
    }
    return rows;
}

} // namespace sw

#include "platform/GridCells.h"

#include <algorithm>

namespace sw {

std::vector<std::string> RowCells(const std::string& row) {
    std::vector<std::string> cells;
    size_t start = 0;
    for (;;) {
        size_t tab = row.find('\t', start);
        cells.push_back(row.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            return cells;
        start = tab + 1;
    }
}

int GridKeyTarget(int index, int key, int columns, int rows, int pageRows) {
    if (columns <= 0 || rows <= 0)
        return -1;
    index = std::max(0, index);
    int col = index % columns, row = index / columns, page = std::max(1, pageRows);
    switch (key) {
    case vk::Left:
        col = std::max(0, col - 1);
        break;
    case vk::Right:
        col = std::min(columns - 1, col + 1);
        break;
    case vk::Up:
        row = std::max(0, row - 1);
        break;
    case vk::Down:
        row = std::min(rows - 1, row + 1);
        break;
    case vk::Home:
        col = 0;
        break;
    case vk::End:
        col = columns - 1;
        break;
    case vk::Prior:
        row = std::max(0, row - page);
        break;
    case vk::Next:
        row = std::min(rows - 1, row + page);
        break;
    default:
        return -1;
    }
    return row * columns + col;
}

std::vector<GridCell> GridCells(const std::vector<ColumnSpec>& columns, int rowCount, int rowHeight) {
    std::vector<GridCell> cells;
    for (int row = 0; row < rowCount; ++row) {
        int left = 0;
        for (size_t col = 0; col < columns.size(); ++col) {
            int width = columns[col].Width;
            cells.push_back({static_cast<int>(col),
                             row,
                             {left, row * rowHeight, std::max(0, width - 1), std::max(0, rowHeight - 1)}});
            left += width;
        }
    }
    return cells;
}

} // namespace sw

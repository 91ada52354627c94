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

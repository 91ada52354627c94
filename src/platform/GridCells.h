// Where the cells of a grid lie: columns side by side from the left, rows of
// one height from the top, the last pixel column and row of each cell taken
// by the grid lines.
#pragma once

#include "platform/Gui.h"

#include <string>
#include <vector>

namespace sw {

struct GridCell {
    int Col = 0;
    int Row = 0;
    // The cell without its grid lines.
    Bounds Rect;
};

// The cells of a row of a grid or list view: its text split at tabs.
std::vector<std::string> RowCells(const std::string& row);

// Every cell, row by row.
std::vector<GridCell> GridCells(const std::vector<ColumnSpec>& columns, int rowCount, int rowHeight);

} // namespace sw

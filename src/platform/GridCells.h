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

// The cell a key moves a grid's selection to (-1: the key does not move it):
// the arrows by a cell or a row, Home and End to the first and last cell of
// the row, Page Up and Page Down by the rows that show in full (`pageRows`);
// never beyond the grid's edges.
int GridKeyTarget(int index, int key, int columns, int rows, int pageRows);

// Every cell, row by row.
std::vector<GridCell> GridCells(const std::vector<ColumnSpec>& columns, int rowCount, int rowHeight);

} // namespace sw
